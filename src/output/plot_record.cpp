// SPDX-License-Identifier: GPL-3.0-or-later
#include "output/plot_record.h"

#include <algorithm>

namespace lumetra::output {

namespace {

constexpr std::size_t kFewestSpare = 16;

} // namespace

void PlotRecord::add(const RecordedPlot& plot) {
    // An eighth more room at a time rather than twice as much: the steps of
    // the undo history share the same budget of bytes per plot.
    if (plots_.size() == plots_.capacity()) {
        plots_.reserve(plots_.size() + std::max(kFewestSpare, plots_.size() / 8));
    }
    plots_.push_back(plot);
}

} // namespace lumetra::output
