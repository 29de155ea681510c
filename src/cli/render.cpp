#include "cli/render.h"

#include "output/legend.h"
#include "output/plot_run.h"
#include "runtime/run_time_error.h"
#include "surface/drawing_surface.h"

namespace lumetra::cli {

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
    geometry::PlotVariables vars;
    vars.Risposta1 = geometry::answerOf(request.xCosine);
    vars.Risposta2 = geometry::answerOf(request.yCosine);
    std::int16_t Miocolor = 0;
    for (std::size_t i = 0; i < request.curves.size(); ++i) {
        const Curve& curve = request.curves[i];
        output::PlotStart start{{curve.VALa, curve.VALb, curve.VALe, Miocolor},
                                request.Incr,
                                request.chords ? geometry::Chords::On : geometry::Chords::Off,
                                i == 0,
                                request.size};
        try {
            output::runPlot(start, vars, surface, [&](const output::RecordedPlot& plot) {
                rendering.picture.record.add(plot);
            });
        } catch (const runtime::RunTimeError& error) {
            rendering.errors << QStringLiteral("curva %1 (%2) interrotta: %3")
                                    .arg(i + 1)
                                    .arg(output::legendText(rendering.picture.record.plots()[i]),
                                         QString::fromStdString(error.message()));
        }
        Miocolor = start.params.Miocolor;
    }
    rendering.picture.image = surface.image();
    return rendering;
}

} // namespace lumetra::cli
