#include "output/replay.h"

#include "geometry/plot_frame.h"
#include "runtime/run_time_error.h"

namespace lumetra::output {

namespace {

// Passes the scale through and drops the drawing: a plot made without an
// activation found the scale and origin of the last one, not its axes.
class ScaleOnly final : public runtime::DrawTarget {
public:
    explicit ScaleOnly(runtime::DrawTarget& target) : target_(target) {}

    void setScaleMode(runtime::ScaleMode mode) override { target_.setScaleMode(mode); }
    void setScaleWidth(float width) override { target_.setScaleWidth(width); }
    void setScaleHeight(float height) override { target_.setScaleHeight(height); }
    float scaleWidth() const override { return target_.scaleWidth(); }
    float scaleHeight() const override { return target_.scaleHeight(); }
    void setDrawWidth(std::int16_t width) override { target_.setDrawWidth(width); }
    void pset(float, float) override {}
    void pset(float, float, runtime::Rgb) override {}
    void line(float, float, float, float) override {}
    void line(float, float, float, float, runtime::Rgb) override {}
    void cls() override {}

private:
    runtime::DrawTarget& target_;
};

std::int16_t drawPlot(const RecordedPlot& plot, runtime::DrawTarget& target,
                      geometry::PlotVariables& vars) {
    const runtime::Value VALa(plot.VALa);
    const runtime::Value VALb(plot.VALb);
    const runtime::Value VALe(plot.VALe);
    const runtime::Value Incr(plot.Incr);
    std::int16_t Miocolor = plot.Miocolor;
    vars.Risposta1 = plot.xCosine ? geometry::kCosineAnswer : geometry::kSineAnswer;
    vars.Risposta2 = plot.yCosine ? geometry::kCosineAnswer : geometry::kSineAnswer;
    try {
        if (plot.activation) {
            geometry::setUpPlotFrame(target, vars, Incr, VALe);
        } else {
            ScaleOnly scale(target);
            geometry::setUpPlotFrame(scale, vars, Incr, VALe);
        }
        geometry::CALCOLA(target, vars, {VALa, VALb, VALe, Miocolor},
                          plot.chords ? geometry::Chords::On : geometry::Chords::Off);
    } catch (const runtime::RunTimeError&) {
        // The screen showed this error when the plot ran; its picture ends here.
    }
    return Miocolor;
}

} // namespace

bool replay(const PlotRecord& record, runtime::DrawTarget& target, const BeforePlot& beforePlot) {
    geometry::PlotVariables vars;
    for (const RecordedPlot& plot : record.plots()) {
        if (beforePlot && !beforePlot(plot)) {
            return false;
        }
        drawPlot(plot, target, vars);
    }
    return true;
}

std::int16_t replayPlot(const RecordedPlot& plot, runtime::DrawTarget& target) {
    geometry::PlotVariables vars;
    return drawPlot(plot, target, vars);
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
        // As in drawPlot: the set-up stopped here on screen too.
    }
}

} // namespace lumetra::output
