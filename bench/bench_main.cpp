// SPDX-License-Identifier: GPL-3.0-or-later
// How long a plot takes, with and without real drawing, at two screen sizes,
// and whether repainting the plot window depends on how many curves it holds.
// Every plot is measured against the floor of its arithmetic, the sweep alone:
// a plot should cost little more than the sines and cosines it cannot avoid,
// and a repaint only copies the kept image.

#include "controls/surface_window.h"
#include "geometry/calcola.h"
#include "geometry/plot_frame.h"
#include "geometry/plot_variables.h"
#include "runtime/accumulated_loop.h"
#include "runtime/checked_numbers.h"
#include "runtime/draw_target.h"
#include "runtime/value.h"
#include "surface/drawing_surface.h"

#include "offscreen_main.h"

#include <benchmark/benchmark.h>

#include <QApplication>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <iterator>
#include <limits>
#include <memory>
#include <string>
#include <vector>

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
        lumetra::geometry::PlotParameters params{VALa, VALb, VALe, Miocolor};
        CALCOLA(target, vars, params, Chords::Off);
        Miocolor = params.Miocolor;
    }

    static constexpr double kIncr = 0.5625;
    Value VALa{86.0};
    Value VALb{55.0};
    Value VALe{1.0};
    std::int16_t Miocolor = 0;
    lumetra::geometry::PlotVariables vars;
};

void sweepOnce(double P1) {
    lumetra::runtime::forEachAccumulated(0.0, 90.0, 0.1, [P1](double ALFA) {
        const double angle = ALFA * P1;
        double cosine = std::cos(angle);
        double sine = std::sin(angle);
        benchmark::DoNotOptimize(cosine);
        benchmark::DoNotOptimize(sine);
    });
}

// The floor: the plot's sweep and nothing else, 901 passes of the accumulated
// 0.1 counter, each with the sine and cosine of the angle in radians.
void BM_Sweep(benchmark::State& state) {
    const double P1 = lumetra::runtime::degreesToRadiansFactor();
    for (auto _ : state) {
        sweepOnce(P1);
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

// The ratios of the plain benchmarks, from moments a few milliseconds long.
// A core shared with other work slows a plot's many cheap instructions far
// more than the floor's library calls, and the sharing changes within a tenth
// of a second. Each moment times the floor, the three
// plots and the floor again, 64 runs each; the moments whose two floors are
// within 5% of the fastest floor ran on a quiet core. Their median ratios, and
// those of all moments, are the counters.
struct Moment {
    double floorBefore;
    double construction;
    double hd;
    double uhd;
    double floorAfter;
};

template <typename Run> double microsecondsPerRun(Run run) {
    constexpr int kRuns = 64;
    const auto start = std::chrono::steady_clock::now();
    for (int i = 0; i < kRuns; ++i) {
        run();
    }
    const std::chrono::duration<double, std::micro> spent =
        std::chrono::steady_clock::now() - start;
    return spent.count() / kRuns;
}

double medianOf(std::vector<double> values) {
    if (values.empty()) {
        return 0.0;
    }
    std::sort(values.begin(), values.end());
    const std::size_t half = values.size() / 2;
    return values.size() % 2 ? values[half] : (values[half - 1] + values[half]) / 2;
}

void reportRatios(benchmark::State& state, const std::vector<Moment>& moments, const char* suffix) {
    std::vector<double> a;
    std::vector<double> b;
    std::vector<double> c;
    for (const Moment& m : moments) {
        const double floor = (m.floorBefore + m.floorAfter) / 2;
        a.push_back(m.construction / floor);
        b.push_back(m.hd / floor);
        c.push_back(m.uhd / m.hd);
    }
    state.counters[std::string("a_") + suffix] = medianOf(a);
    state.counters[std::string("b_") + suffix] = medianOf(b);
    state.counters[std::string("c_") + suffix] = medianOf(c);
}

void BM_QuietRatios(benchmark::State& state) {
    const double P1 = lumetra::runtime::degreesToRadiansFactor();
    CountingTarget counting;
    Plot alone(counting);
    lumetra::surface::DrawingSurface hd(Qt::black, Qt::lightGray);
    hd.resize(QSize(1920, 1080), 1.0);
    Plot onHd(hd);
    lumetra::surface::DrawingSurface uhd(Qt::black, Qt::lightGray);
    uhd.resize(QSize(3840, 2160), 1.0);
    Plot onUhd(uhd);

    std::vector<Moment> moments;
    for (auto _ : state) {
        Moment m{};
        m.floorBefore = microsecondsPerRun([&] { sweepOnce(P1); });
        m.construction = microsecondsPerRun([&] { alone.draw(counting); });
        m.hd = microsecondsPerRun([&] { onHd.draw(hd); });
        m.uhd = microsecondsPerRun([&] { onUhd.draw(uhd); });
        m.floorAfter = microsecondsPerRun([&] { sweepOnce(P1); });
        moments.push_back(m);
    }
    double fastest = std::numeric_limits<double>::infinity();
    for (const Moment& m : moments) {
        fastest = std::min({fastest, m.floorBefore, m.floorAfter});
    }
    std::vector<Moment> quiet;
    std::copy_if(moments.begin(), moments.end(), std::back_inserter(quiet), [&](const Moment& m) {
        return std::max(m.floorBefore, m.floorAfter) <= 1.05 * fastest;
    });
    state.counters["moments"] = static_cast<double>(moments.size());
    state.counters["quiet"] = static_cast<double>(quiet.size());
    state.counters["floor_us"] = fastest;
    reportRatios(state, quiet, "quiet");
    reportRatios(state, moments, "all");
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

    lumetra::controls::SurfaceWindow window;
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
BENCHMARK(BM_QuietRatios)->Iterations(1000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Repaint)->Arg(1)->Arg(1000)->Unit(benchmark::kMicrosecond);

} // namespace

int main(int argc, char** argv) {
    // The repaint needs real widgets.
    return runOffscreen<QApplication>(argc, argv, [] { plotWindow.reset(); });
}
