// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>

#include <benchmark/benchmark.h>

#include <functional>

// The main of a benchmark program: the benchmarks named on its command line,
// inside a Qt application of type `Application` on the offscreen platform
// (they need fonts, widgets or the PDF writer, not a screen). `beforeExit`
// releases what must go before the application does.
template <typename Application>
int runOffscreen(int argc, char** argv, const std::function<void()>& beforeExit = {}) {
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) {
        return 1;
    }
    qputenv("QT_QPA_PLATFORM", "offscreen");
    Application application(argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    if (beforeExit) {
        beforeExit();
    }
    benchmark::Shutdown();
    return 0;
}
