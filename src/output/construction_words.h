// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "output/plot_construction.h"

#include <QString>
#include <QStringList>

namespace lumetra::output {

// Pass k of the construction in words, a line each, in Italian and with the
// user's decimal separator: the pass and ALFA as the accumulated counter
// gives it, A2 and the direction of the second-family point, the two
// factors, the two points relative to O, the chord; and for a pass that
// draws nothing, or only one point, why. Pass 0 says that nothing is drawn yet.
QStringList passWords(const PlotConstruction& construction, int k);

// The sweep angle of pass k as the words give it, for a slider's label.
QString sweepAngleText(const PlotConstruction& construction, int k);

} // namespace lumetra::output
