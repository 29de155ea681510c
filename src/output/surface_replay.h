// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "output/plot_record.h"
#include "surface/drawing_surface.h"

#include <cstdint>

namespace lumetra::output {

// Draws the record again on a window's own surface: cleared, then every plot at
// the drawing area and the scale it had, so that the surface shows pixel for
// pixel what the window showed after those plots. The surface keeps its
// present area and scale for the plots to come.
void replayOnSurface(const PlotRecord& record, surface::DrawingSurface& surface);

// Draws one more plot of a record on the surface the same way; gives the colour counter as
// the plot left it.
std::int16_t replayPlotOnSurface(const RecordedPlot& plot, surface::DrawingSurface& surface);

} // namespace lumetra::output
