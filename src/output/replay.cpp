// SPDX-License-Identifier: GPL-3.0-or-later
#include "output/replay.h"

#include "geometry/plot_frame.h"
#include "output/plot_run.h"
#include "runtime/run_time_error.h"

namespace lumetra::output {

namespace {

std::int16_t replayPlot(const RecordedPlot& plot, runtime::DrawTarget& target,
                        geometry::PlotVariables& vars) {
    PlotStart start = startOf(plot, vars);
    try {
        runPlot(start, vars, target);
    } catch (const runtime::RunTimeError&) {
        // The screen showed this error when the plot ran; its picture ends here.
    }
    return start.params.Miocolor;
}

} // namespace

bool replay(const PlotRecord& record, runtime::DrawTarget& target, const BeforePlot& beforePlot) {
    geometry::PlotVariables vars;
    for (const RecordedPlot& plot : record.plots()) {
        if (beforePlot && !beforePlot(plot)) {
            return false;
        }
        replayPlot(plot, target, vars);
    }
    return true;
}

std::int16_t replayPlot(const RecordedPlot& plot, runtime::DrawTarget& target) {
    geometry::PlotVariables vars;
    return replayPlot(plot, target, vars);
}

std::int16_t counterAfter(const RecordedPlot& plot) {
    runtime::ScaleKeeper nowhere;
    return replayPlot(plot, nowhere);
}

void replayAxes(const RecordedPlot& plot, runtime::DrawTarget& target) {
    if (!plot.activation) {
        return;
    }
    geometry::PlotVariables vars;
    try {
        geometry::setUpPlotFrame(target, vars, runtime::Value(plot.Incr),
                                 runtime::Value(plot.VALe));
    } catch (const runtime::RunTimeError&) {
        // As in replayPlot: the set-up stopped here on screen too.
    }
}

} // namespace lumetra::output
