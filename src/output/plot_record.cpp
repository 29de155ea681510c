#include "output/plot_record.h"

#include <algorithm>
#include <limits>

namespace lumetra::output {

namespace {

constexpr std::size_t kFewestSpare = 16;

double numberOf(const runtime::Value& value) {
    return value.isString() ? std::numeric_limits<double>::quiet_NaN() : value.arithmetic();
}

} // namespace

void PlotRecord::add(const RecordedPlot& plot) {
    // An eighth more room at a time rather than twice as much: the steps of
    // the undo history share the same budget of bytes per plot.
    if (plots_.size() == plots_.capacity()) {
        plots_.reserve(plots_.size() + std::max(kFewestSpare, plots_.size() / 8));
    }
    plots_.push_back(plot);
}

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
