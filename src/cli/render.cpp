// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/render.h"

#include "output/legend.h"
#include "output/plot_construction.h"
#include "output/plot_run.h"
#include "runtime/run_time_error.h"
#include "surface/drawing_surface.h"

#include <algorithm>

namespace lumetra::cli {

namespace {

// Gives the surface the area; false when there is no memory for its image.
bool fit(surface::DrawingSurface& surface, QSize area) {
    surface.resize(area, 1.0);
    return surface.logicalSize() == area;
}

// Runs the plot of the record's index `index`, which the record takes as it
// starts when not yet there; a run-time error stops this plot only, and is
// reported.
void runCurve(std::size_t index, output::PlotStart& start, geometry::PlotVariables& vars,
              surface::DrawingSurface& surface, Rendering& rendering,
              const output::RecordPlot& record = {}) {
    try {
        output::runPlot(start, vars, surface, record);
    } catch (const runtime::RunTimeError& error) {
        rendering.errors << QStringLiteral("curva %1 (%2) interrotta: %3")
                                .arg(index + 1)
                                .arg(output::legendText(rendering.picture.record.plots()[index]),
                                     QString::fromStdString(error.message()));
    }
}

// Whether a pass of the plot has a point the construction leaves undrawn as
// out of range.
bool leavesThePicture(const output::RecordedPlot& plot) {
    const std::vector<geometry::ConstructionPass> passes =
        output::constructionOf(plot).construction.passes;
    return std::any_of(passes.begin(), passes.end(), [](const geometry::ConstructionPass& pass) {
        return pass.outcome == geometry::PassOutcome::FirstOnly ||
               pass.outcome == geometry::PassOutcome::FirstOutOfRange;
    });
}

// A line for each plot of the picture that leaves it.
void reportLeaving(Rendering& rendering) {
    const std::vector<output::RecordedPlot>& plots = rendering.picture.record.plots();
    for (std::size_t i = 0; i < plots.size(); ++i) {
        if (leavesThePicture(plots[i])) {
            rendering.leaving << QStringLiteral("curva %1 (%2) esce dall'immagine")
                                     .arg(i + 1)
                                     .arg(output::curveName(plots[i]));
        }
    }
}

// The work's plots, each at the new area.
output::PlotRecord atArea(const output::PlotRecord& record, QSize area) {
    output::PlotRecord resized;
    for (output::RecordedPlot plot : record.plots()) {
        plot.width = area.width();
        plot.height = area.height();
        resized.add(plot);
    }
    return resized;
}

} // namespace

Rendering render(const Request& request, QColor foreground, QColor background) {
    Rendering rendering{{QImage(), {}, request.size, foreground, background}, {}, {}};
    rendering.picture.options = request.options;
    surface::DrawingSurface surface(foreground, background);
    if (request.drawsPixels() && !fit(surface, request.size)) {
        rendering.complete = false;
        return rendering;
    }
    geometry::PlotVariables vars;
    std::int16_t Miocolor = 0;
    for (std::size_t i = 0; i < request.curves.size(); ++i) {
        const Curve& curve = request.curves[i];
        // The check boxes as the user would tick them before this plot.
        vars.Risposta1 = geometry::answerOf(curve.xCosine);
        vars.Risposta2 = geometry::answerOf(curve.yCosine);
        output::PlotStart start{{curve.VALa, curve.VALb, curve.VALe, Miocolor},
                                request.Incr,
                                curve.chords ? geometry::Chords::On : geometry::Chords::Off,
                                i == 0,
                                request.size};
        runCurve(i, start, vars, surface, rendering,
                 [&](const output::RecordedPlot& plot) { rendering.picture.record.add(plot); });
        Miocolor = start.params.Miocolor;
    }
    rendering.picture.image = surface.image();
    reportLeaving(rendering);
    return rendering;
}

Rendering renderWork(const Request& request, const output::PlotRecord& record, QColor foreground,
                     QColor background) {
    const bool resized = request.size.isValid();
    const QSize area = resized          ? request.size
                       : record.empty() ? kDefaultSize
                                        : record.plots().back().area();
    Rendering rendering{
        {QImage(), resized ? atArea(record, area) : record, area, foreground, background}, {}, {}};
    rendering.picture.options = request.options;
    const bool png = request.drawsPixels();
    surface::DrawingSurface surface(foreground, background);
    geometry::PlotVariables vars;
    const std::vector<output::RecordedPlot>& plots = rendering.picture.record.plots();
    for (std::size_t i = 0; i < plots.size(); ++i) {
        // Each plot at the area it had, as the window drew it.
        if (png && !fit(surface, plots[i].area())) {
            rendering.complete = false;
            return rendering;
        }
        output::PlotStart start = output::startOf(plots[i], vars);
        runCurve(i, start, vars, surface, rendering);
    }
    if (png && !fit(surface, area)) {
        rendering.complete = false;
        return rendering;
    }
    rendering.picture.image = surface.image();
    reportLeaving(rendering);
    return rendering;
}

} // namespace lumetra::cli
