// SPDX-License-Identifier: GPL-3.0-or-later
#include "output/surface_replay.h"

#include "output/replay.h"

#include <bit>
#include <limits>
#include <set>
#include <tuple>
#include <vector>

namespace lumetra::output {

namespace {

// Everything that decides where a plot's dots and chords fall and how far it
// goes, its colours aside; numbers by their bits, so that equal means the same.
using Shape = std::tuple<std::uint64_t, std::uint64_t, std::uint64_t, std::uint64_t, std::int32_t,
                         std::int32_t, bool, bool, bool>;

Shape shapeOf(const RecordedPlot& plot) {
    return {std::bit_cast<std::uint64_t>(plot.VALa),
            std::bit_cast<std::uint64_t>(plot.VALb),
            std::bit_cast<std::uint64_t>(plot.VALe),
            std::bit_cast<std::uint64_t>(plot.Incr),
            plot.width,
            plot.height,
            plot.xCosine,
            plot.yCosine,
            plot.chords};
}

// A colour counter above this overflows while the plot runs, which can stop it
// before its shape would.
constexpr std::int16_t kLastSafeCounter = std::numeric_limits<std::int16_t>::max() - 2;

// The plots whose curve a later plot of the same shape draws over entirely:
// every dot and chord again at the same pixels with the same pen, only the
// colours differ. Those curves cannot show, so they need not be drawn again;
// a teacher pressing "TRACCIA" again and again makes many of them.
std::vector<bool> hiddenCurves(const PlotRecord& record) {
    const std::vector<RecordedPlot>& plots = record.plots();
    std::vector<bool> hidden(plots.size(), false);
    std::set<Shape> later;
    for (std::size_t i = plots.size(); i-- > 0;) {
        const Shape shape = shapeOf(plots[i]);
        hidden[i] = later.contains(shape);
        if (plots[i].Miocolor <= kLastSafeCounter) {
            later.insert(shape);
        }
    }
    return hidden;
}

// The surface's area and scale, put back once plots of other areas and scales
// have been drawn on it.
struct SurfaceState {
    QSize area;
    runtime::ScaleMode mode;
    float width;
    float height;
    std::int16_t drawWidth;
};

SurfaceState stateOf(const surface::DrawingSurface& surface) {
    return {surface.logicalSize(), surface.scaleMode(), surface.scaleWidth(), surface.scaleHeight(),
            surface.drawWidth()};
}

void restore(surface::DrawingSurface& surface, const SurfaceState& state) {
    surface.resize(state.area, surface.devicePixelRatio());
    surface.setScaleMode(state.mode);
    // Values the surface accepted before: these cannot raise an error.
    if (state.mode == runtime::ScaleMode::User) {
        surface.setScaleWidth(state.width);
        surface.setScaleHeight(state.height);
    }
    surface.setDrawWidth(state.drawWidth);
}

std::int16_t drawAtItsArea(const RecordedPlot& plot, surface::DrawingSurface& surface) {
    surface.resize(plot.area(), surface.devicePixelRatio());
    return replayPlot(plot, surface);
}

} // namespace

void replayOnSurface(const PlotRecord& record, surface::DrawingSurface& surface) {
    const SurfaceState state = stateOf(surface);
    const std::vector<bool> hidden = hiddenCurves(record);
    surface.cls();
    for (std::size_t i = 0; i < record.size(); ++i) {
        const RecordedPlot& plot = record.plots()[i];
        if (hidden[i]) {
            surface.resize(plot.area(), surface.devicePixelRatio());
            replayAxes(plot, surface);
        } else {
            drawAtItsArea(plot, surface);
        }
    }
    restore(surface, state);
}

std::int16_t replayPlotOnSurface(const RecordedPlot& plot, surface::DrawingSurface& surface) {
    const SurfaceState state = stateOf(surface);
    const std::int16_t Miocolor = drawAtItsArea(plot, surface);
    restore(surface, state);
    return Miocolor;
}

} // namespace lumetra::output
