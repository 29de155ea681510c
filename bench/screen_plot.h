// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "geometry/calcola.h"
#include "geometry/plot_frame.h"
#include "surface/drawing_surface.h"

#include <benchmark/benchmark.h>

#include <QSize>

// A 1920 x 1080 screen and the calibration factor of its 16:9 shape.
inline const QSize kArea(1920, 1080);
inline constexpr double kIncr = 0.5625;

// The yardstick of the picture and journal benchmarks: what an activation
// draws on that screen: the scale, the axes and the default curve.
inline void BM_ScreenPlot(benchmark::State& state) {
    using lumetra::runtime::Value;
    lumetra::surface::DrawingSurface surface(Qt::black, Qt::lightGray);
    surface.resize(kArea, 1.0);
    lumetra::geometry::PlotVariables vars;
    const Value VALa(86.0), VALb(55.0), VALe(1.0);
    for (auto _ : state) {
        lumetra::geometry::setUpPlotFrame(surface, vars, Value(kIncr), VALe);
        lumetra::geometry::PlotParameters params{VALa, VALb, VALe, 0};
        lumetra::geometry::CALCOLA(surface, vars, params, lumetra::geometry::Chords::Off);
    }
    benchmark::DoNotOptimize(surface.image().constBits());
}
