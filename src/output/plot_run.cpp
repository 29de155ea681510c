// SPDX-License-Identifier: GPL-3.0-or-later
#include "output/plot_run.h"

#include "geometry/plot_frame.h"

#include <limits>

namespace lumetra::output {

namespace {

// Passes the scale through and drops the drawing: a plot made without an
// activation finds the scale and origin of the last one, not its axes.
class ScaleOnly final : public runtime::NoDrawing {
public:
    explicit ScaleOnly(runtime::DrawTarget& target) : target_(target) {}

    void setScaleMode(runtime::ScaleMode mode) override { target_.setScaleMode(mode); }
    void setScaleWidth(float width) override { target_.setScaleWidth(width); }
    void setScaleHeight(float height) override { target_.setScaleHeight(height); }
    float scaleWidth() const override { return target_.scaleWidth(); }
    float scaleHeight() const override { return target_.scaleHeight(); }
    void setDrawWidth(std::int16_t width) override { target_.setDrawWidth(width); }

private:
    runtime::DrawTarget& target_;
};

// A rejected entry (a text) is kept as NaN, which fails at the same step as
// the text does, before anything of the curve is drawn.
double numberOf(const runtime::Value& value) {
    return value.isString() ? std::numeric_limits<double>::quiet_NaN() : value.arithmetic();
}

} // namespace

RecordedPlot recordOf(const PlotStart& start, const geometry::PlotVariables& vars) {
    RecordedPlot plot;
    plot.VALa = numberOf(start.params.VALa);
    plot.VALb = numberOf(start.params.VALb);
    plot.VALe = numberOf(start.params.VALe);
    plot.Incr = numberOf(start.Incr);
    plot.width = start.area.width();
    plot.height = start.area.height();
    plot.Miocolor = start.params.Miocolor;
    plot.xCosine = vars.Risposta1.equalsNumber(geometry::kCosineAnswer);
    plot.yCosine = vars.Risposta2.equalsNumber(geometry::kCosineAnswer);
    plot.chords = start.chords == geometry::Chords::On;
    plot.activation = start.activation;
    return plot;
}

void runPlot(PlotStart& start, geometry::PlotVariables& vars, runtime::DrawTarget& target,
             const RecordPlot& record) {
    if (record) {
        record(recordOf(start, vars));
    }
    if (start.activation) {
        geometry::setUpPlotFrame(target, vars, start.Incr, start.params.VALe);
    } else {
        ScaleOnly scale(target);
        geometry::setUpPlotFrame(scale, vars, start.Incr, start.params.VALe);
    }
    geometry::CALCOLA(target, vars, start.params, start.chords);
}

PlotStart startOf(const RecordedPlot& plot, geometry::PlotVariables& vars) {
    vars.Risposta1 = geometry::answerOf(plot.xCosine);
    vars.Risposta2 = geometry::answerOf(plot.yCosine);
    return {{plot.VALa, plot.VALb, plot.VALe, plot.Miocolor},
            runtime::Value(plot.Incr),
            plot.chords ? geometry::Chords::On : geometry::Chords::Off,
            plot.activation,
            plot.area()};
}

} // namespace lumetra::output
