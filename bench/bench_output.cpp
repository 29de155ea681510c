// SPDX-License-Identifier: GPL-3.0-or-later
// What a saved picture costs against drawing the same curve on screen: the
// PNG encodes the kept image, the SVG and the PDF draw every curve again from
// the plot record. Also 1000 curves as SVG and PDF, which the program saves
// behind a progress dialog, and the command line's 100 curves into each
// format, from the parsed arguments to the written file.

#include "cli/render.h"
#include "geometry/calcola.h"
#include "geometry/plot_frame.h"
#include "output/picture_file.h"
#include "surface/drawing_surface.h"

#include "offscreen_main.h"
#include "screen_plot.h"

#include <benchmark/benchmark.h>

#include <QGuiApplication>
#include <QTemporaryDir>

namespace {

using lumetra::output::PictureFormat;
using lumetra::runtime::Value;

// The parameter window's defaults, plotted `curves` times after one activation.
lumetra::output::Picture pictureOf(int curves) {
    lumetra::output::Picture picture{QImage(), {}, kArea, Qt::black, Qt::lightGray};
    for (int i = 0; i < curves; ++i) {
        picture.record.add({86.0, 55.0, 1.0, kIncr, kArea.width(), kArea.height(),
                            static_cast<std::int16_t>(i % 13), false, false, false, i == 0});
    }
    lumetra::surface::DrawingSurface surface(picture.foreground, picture.background);
    surface.resize(kArea, 1.0);
    picture.image = surface.image();
    return picture;
}

// The SVG document built in memory: the vector replay alone.
void BM_SvgReplay(benchmark::State& state) {
    const lumetra::output::Picture picture = pictureOf(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        benchmark::DoNotOptimize(lumetra::output::svgPicture(picture, {}));
    }
}

void save(benchmark::State& state, PictureFormat format) {
    const lumetra::output::Picture picture = pictureOf(static_cast<int>(state.range(0)));
    const QTemporaryDir folder;
    const QString name =
        folder.filePath(QStringLiteral("picture.") + lumetra::output::extensionOf(format));
    for (auto _ : state) {
        if (lumetra::output::savePicture({name, format}, picture, {}).status !=
            lumetra::output::SaveResult::Status::Saved) {
            state.SkipWithError("the picture was not saved");
            return;
        }
    }
}

void BM_SavePng(benchmark::State& state) {
    save(state, PictureFormat::Png);
}
void BM_SaveSvg(benchmark::State& state) {
    save(state, PictureFormat::Svg);
}
void BM_SavePdf(benchmark::State& state) {
    save(state, PictureFormat::Pdf);
}

// A family of 100 curves, their angles 0.9 degrees apart, at the command
// line's default size: the time a curve costs, and no start-up.
void commandLine(benchmark::State& state, PictureFormat format) {
    const QTemporaryDir folder;
    lumetra::cli::Request request;
    for (int i = 0; i < 100; ++i) {
        request.curves.push_back({86.0, 0.9 * i, 1.0});
    }
    request.size = QSize(1280, 800);
    request.Incr = 0.625;
    request.file = {
        folder.filePath(QStringLiteral("curves.") + lumetra::output::extensionOf(format)), format};
    for (auto _ : state) {
        const lumetra::cli::Rendering rendering =
            lumetra::cli::render(request, Qt::black, Qt::lightGray);
        if (lumetra::output::savePicture(request.file, rendering.picture, {}).status !=
            lumetra::output::SaveResult::Status::Saved) {
            state.SkipWithError("the picture was not saved");
            return;
        }
    }
    state.SetItemsProcessed(state.iterations() * 100);
}

void BM_CommandLinePng(benchmark::State& state) {
    commandLine(state, PictureFormat::Png);
}
void BM_CommandLineSvg(benchmark::State& state) {
    commandLine(state, PictureFormat::Svg);
}
void BM_CommandLinePdf(benchmark::State& state) {
    commandLine(state, PictureFormat::Pdf);
}

BENCHMARK(BM_ScreenPlot)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_SvgReplay)->Arg(1)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_SavePng)->Arg(1)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_SaveSvg)->Arg(1)->Arg(1000)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_SavePdf)->Arg(1)->Arg(1000)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_CommandLinePng)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_CommandLineSvg)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_CommandLinePdf)->Unit(benchmark::kMicrosecond);

} // namespace

int main(int argc, char** argv) {
    return runOffscreen<QGuiApplication>(argc, argv);
}
