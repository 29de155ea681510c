// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "geometry/calcola.h"
#include "geometry/plot_variables.h"
#include "output/plot_record.h"
#include "runtime/draw_target.h"
#include "runtime/value.h"

#include <QSize>

#include <functional>

namespace lumetra::output {

// Everything one plot starts from: the parameter window's values with the
// colour counter, the calibration factor of the activation in force, the
// chord command, and whether the plot begins with an activation's set-up.
// The check-box answers are the plot window's own, in its PlotVariables.
struct PlotStart {
    geometry::PlotParameters params;
    runtime::Value Incr;
    geometry::Chords chords = geometry::Chords::Off;
    bool activation = false;
    QSize area; // the drawing area, in logical pixels
};

// Takes the record of a plot as it starts.
using RecordPlot = std::function<void(const RecordedPlot& plot)>;

// Runs one plot on `target`, the one way the plot window, a replay and the
// command line all plot: `record` (when given) takes the plot as it starts;
// then the activation's set-up, or for a plot without one only the scale
// that the last activation left; then CALCOLA. start.params.Miocolor ends as
// the plot left it, also when a run-time error stops the plot; the error goes
// on to the caller, and what was drawn before it stays drawn.
void runPlot(PlotStart& start, geometry::PlotVariables& vars, runtime::DrawTarget& target,
             const RecordPlot& record = {});

// The record of a plot that starts from `start` with the check-box answers of `vars`.
RecordedPlot recordOf(const PlotStart& start, const geometry::PlotVariables& vars);

// How a recorded plot started, with its check-box answers put into `vars`.
PlotStart startOf(const RecordedPlot& plot, geometry::PlotVariables& vars);

} // namespace lumetra::output
