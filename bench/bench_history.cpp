// SPDX-License-Identifier: GPL-3.0-or-later
// Taking back the last of 1000 curves in a 1920 x 1080 plot window: the
// picture is cleared and the other 999 are drawn again from the record. Also
// what the record and the history hold in memory for each plot.

#include "forms/host.h"
#include "forms/plot_history.h"
#include "output/surface_replay.h"

#include "offscreen_main.h"

#include <benchmark/benchmark.h>

#include <QAction>
#include <QApplication>
#include <QWidget>

#include <malloc.h>

namespace {

using lumetra::runtime::Value;

// The two windows the plot window reads: the calibration factor of a 16:9
// screen and the parameter window's defaults.
class BenchHost final : public lumetra::forms::Host {
public:
    void show(lumetra::forms::FormId) override {}
    void end() override {}
    void run(QWidget*, const std::function<void()>& handler) override { handler(); }
    void message(QWidget*, const QString&) override {}
    const Value& calibrationFactor() override { return Incr; }
    lumetra::geometry::PlotParameters plotParameters() override {
        return {VALa, VALb, VALe, Miocolor};
    }
    void setMiocolor(std::int16_t value) override { Miocolor = value; }
    void setParameters(double, double, double) override {}

    Value Incr{0.5625};
    Value VALa{86.0};
    Value VALb{55.0};
    Value VALe{1.0};
    std::int16_t Miocolor = 0;
};

const QSize kArea(1920, 1080);

// The plot window's history with `curves` plots after one activation; with
// `turned`, each curve one degree further round, so that no two are alike.
struct Window {
    Window(int curves, bool turned) : history(widget, surface, record, host) {
        surface.resize(kArea, 1.0);
        for (int i = 0; i < curves; ++i) {
            host.VALb = Value(turned ? 55.0 + i : 55.0);
            history.plot({86.0, host.VALb.arithmetic(), 1.0, 0.5625, kArea.width(), kArea.height(),
                          host.Miocolor, false, false, false, i == 0});
            host.Miocolor = lumetra::output::replayPlotOnSurface(record.plots().back(), surface);
        }
    }

    QWidget widget;
    lumetra::surface::DrawingSurface surface{Qt::black, Qt::lightGray};
    lumetra::output::PlotRecord record;
    BenchHost host;
    lumetra::forms::PlotHistory history;
};

// Undo rebuilds the picture from the other curves; the redo that follows
// draws the last one again and is not timed.
void BM_UndoLastCurve(benchmark::State& state) {
    Window window(static_cast<int>(state.range(0)), state.range(1) != 0);
    for (auto _ : state) {
        window.history.undoAction()->trigger();
        state.PauseTiming();
        window.history.redoAction()->trigger();
        state.ResumeTiming();
    }
    benchmark::DoNotOptimize(window.surface.image().constBits());
}

// Bytes taken from the heap, large blocks mapped on their own included.
std::size_t heapBytes() {
    const struct mallinfo2 info = mallinfo2();
    return info.uordblks + info.hblkhd;
}

// What 10,000 plots cost in memory with their steps, the record's spare room included.
void BM_MemoryPerPlot(benchmark::State& state) {
    constexpr int kPlots = 10000;
    for (auto _ : state) {
        Window window(0, false);
        const std::size_t before = heapBytes();
        for (int i = 0; i < kPlots; ++i) {
            window.history.plot({});
        }
        state.counters["bytes_per_plot"] = static_cast<double>(heapBytes() - before) / kPlots;
    }
}

BENCHMARK(BM_UndoLastCurve)
    ->ArgNames({"curves", "turned"})
    ->Args({1000, 0})
    ->Args({1000, 1})
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_MemoryPerPlot)->Iterations(1)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    return runOffscreen<QApplication>(argc, argv);
}
