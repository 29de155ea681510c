#include "cli/render.h"

#include "geometry/calcola.h"
#include "geometry/plot_frame.h"
#include "output/legend.h"
#include "runtime/run_time_error.h"
#include "surface/drawing_surface.h"

namespace lumetra::cli {

namespace {

runtime::Value answerOf(bool cosine) {
    return cosine ? geometry::kCosineAnswer : geometry::kSineAnswer;
}

} // namespace

Rendering render(const Request& request, QColor foreground, QColor background) {
    Rendering rendering{{QImage(), {}, request.size, foreground, background}, {}};
    rendering.picture.legend = request.legend;
    surface::DrawingSurface surface(foreground, background);
    if (request.file.format == output::PictureFormat::Png) {
        surface.resize(request.size, 1.0);
        if (surface.logicalSize() != request.size) {
            rendering.complete = false;
            return rendering;
        }
    }
    const runtime::Value Incr(request.Incr);
    const geometry::Chords chords = request.chords ? geometry::Chords::On : geometry::Chords::Off;
    geometry::PlotVariables vars;
    vars.Risposta1 = answerOf(request.xCosine);
    vars.Risposta2 = answerOf(request.yCosine);
    std::int16_t Miocolor = 0;
    for (std::size_t i = 0; i < request.curves.size(); ++i) {
        const runtime::Value VALa(request.curves[i].VALa);
        const runtime::Value VALb(request.curves[i].VALb);
        const runtime::Value VALe(request.curves[i].VALe);
        const geometry::PlotParameters params{VALa, VALb, VALe, Miocolor};
        const bool activation = i == 0;
        const output::RecordedPlot plot =
            output::recordedPlot(params, vars, Incr, request.size, chords, activation);
        rendering.picture.record.add(plot);
        try {
            if (activation) {
                geometry::setUpPlotFrame(surface, vars, Incr, VALe);
            }
            geometry::CALCOLA(surface, vars, params, chords);
        } catch (const runtime::RunTimeError& error) {
            rendering.errors << QStringLiteral("curva %1 (%2) interrotta: %3")
                                    .arg(i + 1)
                                    .arg(output::legendText(plot),
                                         QString::fromStdString(error.message()));
        }
    }
    rendering.picture.image = surface.image();
    return rendering;
}

} // namespace lumetra::cli
