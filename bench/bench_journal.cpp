// SPDX-License-Identifier: GPL-3.0-or-later
// What keeping the work costs a step of the plot window: a plot added to the
// journal and a plot taken back, with 100 and with 10,000 curves in the
// record, against the plot itself drawn on a 1920 x 1080 surface. Also the
// journal written anew with the curves, as its start does and as a step does
// when the file has grown to several times what the record needs.

#include "geometry/calcola.h"
#include "geometry/plot_frame.h"
#include "output/work_journal.h"
#include "surface/drawing_surface.h"

#include "offscreen_main.h"
#include "screen_plot.h"

#include <benchmark/benchmark.h>

#include <QGuiApplication>
#include <QTemporaryDir>

#include <chrono>
#include <functional>

namespace {

using lumetra::output::PlotRecord;
using lumetra::output::RecordedPlot;
using lumetra::output::WorkJournal;
using lumetra::runtime::Value;

// Each curve a hundredth of a degree further round, so that their lines differ.
RecordedPlot curve(int i) {
    return {86.0,           55.0 + 0.01 * i,      1.0,   kIncr, kArea.width(),
            kArea.height(), std::int16_t(i % 15), false, false, false,
            i == 0};
}

PlotRecord curves(std::int64_t count) {
    PlotRecord record;
    for (int i = 0; i < count; ++i) {
        record.add(curve(i));
    }
    return record;
}

double secondsOf(const std::function<bool()>& step) {
    const auto start = std::chrono::steady_clock::now();
    const bool kept = step();
    const std::chrono::duration<double> taken = std::chrono::steady_clock::now() - start;
    return kept ? taken.count() : -1.0;
}

// A plot added and taken back, over and over, on a record of `state.range(0)`
// curves; only the journal's call for the step `timedAdd` names is timed. The
// rewritings that the growing file calls for fall in one of the two.
void keepSteps(benchmark::State& state, bool timedAdd) {
    PlotRecord record = curves(state.range(0));
    const QTemporaryDir folder;
    WorkJournal journal(record);
    if (journal.start(folder.filePath(QStringLiteral("work.journal")))) {
        state.SkipWithError("the journal did not start");
        return;
    }
    const auto add = [&] { return !journal.added(); };
    const auto drop = [&] { return !journal.dropped(); };
    for (auto _ : state) {
        record.add(curve(-1));
        const double added = timedAdd ? secondsOf(add) : (add() ? 0.0 : -1.0);
        record.removeLast();
        const double dropped = timedAdd ? (drop() ? 0.0 : -1.0) : secondsOf(drop);
        if (added < 0.0 || dropped < 0.0) {
            state.SkipWithError("the journal failed");
            return;
        }
        state.SetIterationTime(timedAdd ? added : dropped);
    }
}

void BM_KeepPlot(benchmark::State& state) {
    keepSteps(state, true);
}

void BM_KeepUndo(benchmark::State& state) {
    keepSteps(state, false);
}

// The whole record written to a new file that replaces the journal once it is on the disk.
void BM_KeepRewrite(benchmark::State& state) {
    const PlotRecord record = curves(state.range(0));
    const QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("work.journal"));
    WorkJournal journal(record);
    for (auto _ : state) {
        if (journal.start(path)) {
            state.SkipWithError("the journal was not written");
            return;
        }
    }
}

BENCHMARK(BM_ScreenPlot)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_KeepPlot)->Arg(100)->Arg(10000)->UseManualTime()->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_KeepUndo)->Arg(100)->Arg(10000)->UseManualTime()->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_KeepRewrite)->Arg(10000)->Unit(benchmark::kMicrosecond);

} // namespace

int main(int argc, char** argv) {
    return runOffscreen<QGuiApplication>(argc, argv);
}
