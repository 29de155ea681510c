// SPDX-License-Identifier: GPL-3.0-or-later
// One step of the "Costruzione" window against one plot on the same screen:
// the frame of the last pass drawn afresh at 1920 x 1080, the trail of 900
// passes under it, with and without the words in the corner; and the trail
// alone, without the construction over it.

#include "output/construction_frame.h"

#include "offscreen_main.h"
#include "screen_plot.h"

#include <benchmark/benchmark.h>

#include <QGuiApplication>

namespace {

lumetra::output::PlotConstruction defaultConstruction() {
    return lumetra::output::constructionOf(
        {86.0, 55.0, 1.0, kIncr, kArea.width(), kArea.height(), 0, false, false, true, true});
}

// Steps between the last two passes, as a user pressing Left and Right does.
void frameSteps(benchmark::State& state, bool words) {
    const lumetra::output::PlotConstruction construction = defaultConstruction();
    const int last = lumetra::output::passCount(construction);
    int k = last;
    for (auto _ : state) {
        k = k == last ? last - 1 : last;
        benchmark::DoNotOptimize(
            lumetra::output::constructionFrame(construction, k, kArea, 1.0, words).constBits());
    }
}

void BM_ConstructionStep(benchmark::State& state) {
    frameSteps(state, false);
}

void BM_ConstructionStepWithWords(benchmark::State& state) {
    frameSteps(state, true);
}

void BM_ConstructionTrail(benchmark::State& state) {
    const lumetra::output::PlotConstruction construction = defaultConstruction();
    const int last = lumetra::output::passCount(construction);
    for (auto _ : state) {
        benchmark::DoNotOptimize(
            lumetra::output::constructionTrail(construction, last, kArea, 1.0).constBits());
    }
}

} // namespace

BENCHMARK(BM_ScreenPlot);
BENCHMARK(BM_ConstructionStep);
BENCHMARK(BM_ConstructionStepWithWords);
BENCHMARK(BM_ConstructionTrail);

int main(int argc, char** argv) {
    return runOffscreen<QGuiApplication>(argc, argv);
}
