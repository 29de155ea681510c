// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "runtime/draw_target.h"

#include <cstdint>
#include <span>

namespace lumetra::geometry {

// What a plot draws, handed to its target in the order drawn: points in
// batches, one call each rather than one per point, and the pen width only
// where it changes.
class PlotOutput {
public:
    PlotOutput(runtime::DrawTarget& target, std::int16_t pointWidth)
        : target_(target), pointWidth_(pointWidth) {}

    void points(std::span<const runtime::Dot> dots) {
        if (!dots.empty()) {
            setPen(pointWidth_);
            target_.psetMany(dots);
        }
    }

    // A line in its own pen width.
    void line(float x1, float y1, float x2, float y2, runtime::Rgb colour, std::int16_t width) {
        setPen(width);
        target_.line(x1, y1, x2, y2, colour);
    }

private:
    // A width set again is no change: set it only when this plot has not yet.
    void setPen(std::int16_t width) {
        if (pen_ != width) {
            target_.setDrawWidth(width);
            pen_ = width;
        }
    }

    runtime::DrawTarget& target_;
    std::int16_t pointWidth_;
    std::int16_t pen_ = 0; // none set yet
};

} // namespace lumetra::geometry
