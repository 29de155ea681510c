// SPDX-License-Identifier: GPL-3.0-or-later
// What the construction's animations cost against one plot of the same curve
// at the same size, 640 x 400: the GIF of its 901 frames, made and encoded
// (target: under 2 s), the GIF's frames alone, and the animated SVG.

#include "geometry/calcola.h"
#include "geometry/plot_frame.h"
#include "output/animation_file.h"
#include "output/construction_svg.h"
#include "output/plot_construction.h"
#include "surface/drawing_surface.h"

#include "offscreen_main.h"

#include <benchmark/benchmark.h>

#include <QGuiApplication>

namespace {

using lumetra::runtime::Value;

const QSize kSize(640, 400);
constexpr double kIncr = 400.0 / 640.0;
const lumetra::output::FrameColours kColours{Qt::black, QColor(0xf0, 0xf0, 0xf0)};

lumetra::output::PlotConstruction defaultCurve() {
    return lumetra::output::constructionOf(
        {86.0, 55.0, 1.0, kIncr, kSize.width(), kSize.height(), 0, false, false, true, true});
}

// The yardstick: the plot window's activation at 640 x 400, the axes and the default curve.
void BM_Plot(benchmark::State& state) {
    lumetra::surface::DrawingSurface surface(kColours.foreground, kColours.background);
    surface.resize(kSize, 1.0);
    lumetra::geometry::PlotVariables vars;
    const Value VALa(86.0), VALb(55.0), VALe(1.0);
    for (auto _ : state) {
        lumetra::geometry::setUpPlotFrame(surface, vars, Value(kIncr), VALe);
        lumetra::geometry::PlotParameters params{VALa, VALb, VALe, 0};
        lumetra::geometry::CALCOLA(surface, vars, params, lumetra::geometry::Chords::On);
    }
    benchmark::DoNotOptimize(surface.image().constBits());
}

void BM_ConstructionGif(benchmark::State& state) {
    const lumetra::output::PlotConstruction construction = defaultCurve();
    for (auto _ : state) {
        const std::optional<QByteArray> gif =
            lumetra::output::constructionGif(construction, kSize, kColours, {});
        if (!gif) {
            state.SkipWithError("no GIF was made");
            return;
        }
        state.counters["bytes"] = static_cast<double>(gif->size());
    }
}

// The frames as the window paints them, without the GIF.
void BM_ConstructionFrames(benchmark::State& state) {
    const lumetra::output::PlotConstruction construction = defaultCurve();
    for (auto _ : state) {
        for (int k = 1; k <= lumetra::output::passCount(construction); ++k) {
            benchmark::DoNotOptimize(
                lumetra::output::constructionFrame(construction, k, kSize, 1.0, false, kColours)
                    .constBits());
        }
    }
}

void BM_ConstructionSvg(benchmark::State& state) {
    const lumetra::output::PlotConstruction construction = defaultCurve();
    for (auto _ : state) {
        const QByteArray svg = lumetra::output::constructionSvg(construction, kColours);
        state.counters["bytes"] = static_cast<double>(svg.size());
    }
}

BENCHMARK(BM_Plot)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_ConstructionGif)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ConstructionFrames)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ConstructionSvg)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    return runOffscreen<QGuiApplication>(argc, argv);
}
