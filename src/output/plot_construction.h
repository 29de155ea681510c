// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "geometry/construction.h"
#include "output/plot_record.h"

#include <QSize>

namespace lumetra::output {

// A recorded plot's construction with the scale its set-up gives: user
// units map to the area's logical pixels by area / scale, the origin of the
// units at the area's top-left corner.
struct PlotConstruction {
    geometry::Construction construction;
    QSize area;               // the drawing area, in logical pixels
    float scaleWidth = 0.0F;  // user units across the area
    float scaleHeight = 0.0F; // user units down the area
};

// The construction of the plot as the plot window ran it.
PlotConstruction constructionOf(const RecordedPlot& plot);

} // namespace lumetra::output
