#include "output/plot_record.h"

#include <limits>

namespace lumetra::output {

namespace {

double numberOf(const runtime::Value& value) {
    return value.isString() ? std::numeric_limits<double>::quiet_NaN() : value.arithmetic();
}

} // namespace

RecordedPlot recordedPlot(const geometry::PlotParameters& params,
                          const geometry::PlotVariables& vars, const runtime::Value& Incr,
                          QSize area, geometry::Chords chords, bool activation) {
    RecordedPlot plot;
    plot.VALa = numberOf(params.VALa);
    plot.VALb = numberOf(params.VALb);
    plot.VALe = numberOf(params.VALe);
    plot.Incr = numberOf(Incr);
    plot.width = area.width();
    plot.height = area.height();
    plot.Miocolor = params.Miocolor;
    plot.xCosine = vars.Risposta1.equalsNumber(geometry::kCosineAnswer);
    plot.yCosine = vars.Risposta2.equalsNumber(geometry::kCosineAnswer);
    plot.chords = chords == geometry::Chords::On;
    plot.activation = activation;
    return plot;
}

} // namespace lumetra::output
