#pragma once

#include "runtime/draw_target.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>

namespace lumetra::geometry {

// What a plot draws, handed to its target in the order drawn: points in
// batches of a few hundred, one call each rather than one per point, and the
// pen width only where it changes. Whatever is waiting must be handed over
// with `flush()` before the plot ends, an error included.
class PlotOutput {
public:
    PlotOutput(runtime::DrawTarget& target, std::int16_t pointWidth)
        : target_(target), pointWidth_(pointWidth) {}
    PlotOutput(const PlotOutput&) = delete;
    PlotOutput& operator=(const PlotOutput&) = delete;

    void point(float x, float y) { add(x, y, std::nullopt); }
    void point(float x, float y, runtime::Rgb colour) { add(x, y, colour); }

    // A line in its own pen width, after the points before it.
    void line(float x1, float y1, float x2, float y2, runtime::Rgb colour, std::int16_t width) {
        flush();
        setPen(width);
        target_.line(x1, y1, x2, y2, colour);
    }

    void flush() {
        if (next_ == dots_.data()) {
            return;
        }
        setPen(pointWidth_);
        target_.psetMany(std::span<const runtime::Dot>(dots_.data(), next_));
        next_ = dots_.data();
    }

private:
    // Written member by member: a whole Dot built aside and copied in costs a
    // stall on every point, its halves stored and then read back as one.
    void add(float x, float y, std::optional<runtime::Rgb> colour) {
        if (next_ == dots_.data() + dots_.size()) {
            flush();
        }
        next_->x = x;
        next_->y = y;
        next_->colour = colour;
        ++next_;
    }

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
    std::array<runtime::Dot, 256> dots_;
    runtime::Dot* next_ = dots_.data();
};

} // namespace lumetra::geometry
