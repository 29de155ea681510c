// SPDX-License-Identifier: GPL-3.0-or-later
#include "output/plot_construction.h"

#include "geometry/plot_frame.h"
#include "output/plot_run.h"
#include "runtime/run_time_error.h"

namespace lumetra::output {

PlotConstruction constructionOf(const RecordedPlot& plot) {
    geometry::PlotVariables vars;
    const PlotStart start = startOf(plot, vars);
    PlotConstruction result{{}, plot.area()};
    runtime::ScaleKeeper scale;
    try {
        geometry::setUpPlotFrame(scale, vars, start.Incr, start.params.VALe);
    } catch (const runtime::RunTimeError&) {
        return result; // a calibration the set-up cannot take: nothing is drawn
    }
    result.construction = geometry::constructionOf(vars, start.params, start.chords);
    result.scaleWidth = scale.scaleWidth();
    result.scaleHeight = scale.scaleHeight();
    return result;
}

} // namespace lumetra::output
