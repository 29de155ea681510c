// How long a plot takes, with and without real drawing, at two screen sizes,
// and whether repainting the plot window depends on how many curves it holds.
// Every plot is measured against the floor of its arithmetic, the sweep alone:
// a plot should cost little more than the sines and cosines it cannot avoid,
// and a repaint only copies the kept image.

#include "geometry/calcola.h"
#include "geometry/plot_frame.h"
#include "geometry/plot_variables.h"
#include "runtime/accumulated_loop.h"
#include "runtime/checked_numbers.h"
#include "runtime/draw_target.h"
#include "runtime/value.h"
#include "surface/drawing_surface.h"
#include "surface/surface_window.h"

#include "offscreen_main.h"

#include <benchmark/benchmark.h>

#include <QApplication>

#include <cmath>
#include <memory>

namespace {

using lumetra::geometry::CALCOLA;
using lumetra::geometry::Chords;
using lumetra::runtime::Value;

// A target that only counts what it is asked to draw.
class CountingTarget : public lumetra::runtime::DrawTarget {
public:
    void setScaleMode(lumetra::runtime::ScaleMode) override {}
    void setScaleWidth(float width) override { width_ = width; }
    void setScaleHeight(float height) override { height_ = height; }
    float scaleWidth() const override { return width_; }
    float scaleHeight() const override { return height_; }
    void setDrawWidth(std::int16_t) override {}
    void pset(float, float) override { ++operations; }
    void pset(float, float, lumetra::runtime::Rgb) override { ++operations; }
    void line(float, float, float, float) override { ++operations; }
    void line(float, float, float, float, lumetra::runtime::Rgb) override { ++operations; }
    void cls() override { ++operations; }
    // A plot hands its points over in batches; counted, not looked at.
    void psetMany(std::span<const lumetra::runtime::Dot> dots) override {
        operations += static_cast<long>(dots.size());
    }

    long operations = 0;

private:
    float width_ = 1.0F;
    float height_ = 1.0F;
};

// The parameter window's defaults and the plot window's variables after an
// activation with the factor of a 16:9 screen.
struct Plot {
    explicit Plot(lumetra::runtime::DrawTarget& target) {
        lumetra::geometry::setUpPlotFrame(target, vars, Value(kIncr), VALe);
    }

    void draw(lumetra::runtime::DrawTarget& target) {
        CALCOLA(target, vars, {VALa, VALb, VALe, Miocolor}, Chords::Off);
    }

    static constexpr double kIncr = 0.5625;
    Value VALa{86.0};
    Value VALb{55.0};
    Value VALe{1.0};
    std::int16_t Miocolor = 0;
    lumetra::geometry::PlotVariables vars;
};

// The floor: the plot's sweep and nothing else, 901 passes of the accumulated
// 0.1 counter, each with the sine and cosine of the angle in radians.
void BM_Sweep(benchmark::State& state) {
    const double P1 = lumetra::runtime::degreesToRadiansFactor();
    for (auto _ : state) {
        lumetra::runtime::forEachAccumulated(0.0, 90.0, 0.1, [P1](double ALFA) {
            const double angle = ALFA * P1;
            double cosine = std::cos(angle);
            double sine = std::sin(angle);
            benchmark::DoNotOptimize(cosine);
            benchmark::DoNotOptimize(sine);
        });
    }
}

void BM_CalcolaCounting(benchmark::State& state) {
    CountingTarget target;
    Plot plot(target);
    for (auto _ : state) {
        plot.draw(target);
    }
    benchmark::DoNotOptimize(target.operations);
    state.counters["points"] =
        static_cast<double>(target.operations) / static_cast<double>(state.iterations());
}

void BM_CalcolaSurface(benchmark::State& state) {
    lumetra::surface::DrawingSurface surface(Qt::black, Qt::lightGray);
    surface.resize(QSize(static_cast<int>(state.range(0)), static_cast<int>(state.range(1))), 1.0);
    Plot plot(surface);
    for (auto _ : state) {
        plot.draw(surface);
    }
    benchmark::DoNotOptimize(surface.image().constBits());
}

// One plot window of 1920 x 1080 for every repaint benchmark, so that the
// counts compare the same widget and the same memory. It must go before the
// application does.
struct PlotWindow {
    PlotWindow() {
        window.resize(1920, 1080);
        window.show();
        QApplication::processEvents();
    }

    // Clears the window first when it holds more than `count` curves.
    void holdCurves(int count) {
        auto& surface = window.surface();
        if (curves > count || !plot) {
            surface.cls();
            plot = std::make_unique<Plot>(surface);
            curves = 0;
        }
        for (; curves < count; ++curves) {
            plot->draw(surface);
        }
        QApplication::processEvents();
    }

    lumetra::surface::SurfaceWindow window;
    std::unique_ptr<Plot> plot;
    int curves = 0;
};

std::unique_ptr<PlotWindow> plotWindow;

void BM_Repaint(benchmark::State& state) {
    if (!plotWindow) {
        plotWindow = std::make_unique<PlotWindow>();
    }
    plotWindow->holdCurves(static_cast<int>(state.range(0)));
    if (plotWindow->window.surface().image().size() != QSize(1920, 1080)) {
        state.SkipWithError("the window did not get its 1920 x 1080 client area");
        return;
    }
    for (auto _ : state) {
        plotWindow->window.repaint();
    }
}

BENCHMARK(BM_Sweep)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_CalcolaCounting)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_CalcolaSurface)->Args({1920, 1080})->Args({3840, 2160})->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Repaint)->Arg(1)->Arg(1000)->Unit(benchmark::kMicrosecond);

} // namespace

int main(int argc, char** argv) {
    // The repaint needs real widgets.
    return runOffscreen<QApplication>(argc, argv, [] { plotWindow.reset(); });
}
