// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "output/plot_record.h"
#include "runtime/draw_target.h"

#include <functional>

namespace lumetra::output {

// Runs before each plot of a replay; returning false stops the replay there.
using BeforePlot = std::function<bool(const RecordedPlot& plot)>;

// Draws the record again into `target` through the construction that drew it
// on screen: for each plot the plot window's set-up (its axes only when the
// plot began with an activation), then CALCOLA with the recorded parameters,
// check-box answers and colour counter. A plot that stopped on a run-time
// error stops at the same place again, silently, and the next plot goes on,
// as on screen. False when `beforePlot` stopped the replay.
bool replay(const PlotRecord& record, runtime::DrawTarget& target, const BeforePlot& beforePlot);

// Draws one plot of a record as replay() does; gives the colour counter as the
// plot left it, which is what the screen's counter became when it ran.
std::int16_t replayPlot(const RecordedPlot& plot, runtime::DrawTarget& target);

// The colour counter as the plot leaves it, without drawing it anywhere.
std::int16_t counterAfter(const RecordedPlot& plot);

// Draws only what the plot drew before its curve: the axes of an activation.
void replayAxes(const RecordedPlot& plot, runtime::DrawTarget& target);

} // namespace lumetra::output
