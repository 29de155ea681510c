// SPDX-License-Identifier: GPL-3.0-or-later
// The reader of the work inside pictures, over any bytes: it never crashes,
// and what it accepts keeps its promises: at most kMostPlots plots, each
// with an area and a calibration factor no window would refuse, and a text
// written again from it that reads back to the same text.

#include "output/work_in_picture.h"
#include "output/work_text.h"
#include "require.h"

#include <cmath>
#include <cstddef>
#include <cstdint>

using namespace lumetra::output;

namespace {

void checkAccepted(const std::variant<Work, WorkError>& read) {
    const Work* work = std::get_if<Work>(&read);
    if (work == nullptr) {
        require(!std::get<WorkError>(read).reason.isEmpty(), "a refusal gives its reason");
        return;
    }
    require(work->record.size() <= kMostPlots, "at most kMostPlots plots");
    require(std::isfinite(work->Incr) && work->Incr > 0.0, "a finite, positive factor");
    for (const RecordedPlot& plot : work->record.plots()) {
        require(plot.width >= 1 && plot.height >= 1, "a drawing area of one pixel at least");
        require(std::isfinite(plot.Incr) && plot.Incr > 0.0, "a plot's factor finite, positive");
        require(!std::isinf(plot.VALa) && !std::isinf(plot.VALb) && !std::isinf(plot.VALe),
                "no infinite parameter");
    }
    const QByteArray text = workText(work->record);
    const auto again = parseWork(text);
    require(std::holds_alternative<Work>(again), "the work written again reads back");
    require(workText(std::get<Work>(again).record) == text, "and to the same text");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QByteArrayView bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    checkAccepted(parseWork(bytes));
    checkAccepted(workInPicture(bytes));
    return 0;
}
