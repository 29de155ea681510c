// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "output/construction_frame.h"

#include <QByteArray>

namespace lumetra::output {

// How long each pass of an animated construction shows, in hundredths of a
// second: 901 passes take 18 seconds.
inline constexpr int kPassDelay = 2;

// The construction as an animated SVG document (SMIL) of the plot's area:
// the plot's axes and the segment OA from the start; pass by pass the points
// and chords appear where the plot's SVG has them, to the last digit of their
// singles, while the direction BETA1 x sin(A2), its projections and the rings
// around the pass's two points move with the passes; the animation ends on
// the last pass over the whole plot and stays there.
QByteArray constructionSvg(const PlotConstruction& construction, const FrameColours& colours);

} // namespace lumetra::output
