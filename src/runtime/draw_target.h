// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "runtime/palette.h"

#include <cstdint>
#include <optional>
#include <span>

namespace lumetra::runtime {

// The kinds of scale a window's drawing code uses. A surface starts in twips;
// centimetres puts the origin back at the top-left corner; setting a width or
// a height makes the scale a user scale.
enum class ScaleMode : std::int16_t { User = 0, Twips = 1, Centimetres = 7 };

// Window geometry is given in twips, 1/1440 inch: 15 to a pixel at 96 dots per inch.
inline constexpr int kTwipsPerPixel = 15;

// A point to draw: where, in user units, and its colour; none is the window's
// foreground colour.
struct Dot {
    float x;
    float y;
    std::optional<Rgb> colour;
};

// The graphics of a window as its drawing code sees them: a scale in user
// units, a pen width in pixels, points, lines and clearing. Coordinates are
// singles; a drawing without a colour uses the window's foreground colour.
// Anything that falls outside the area is clipped without error.
class DrawTarget {
public:
    virtual ~DrawTarget() = default;

    // User keeps the current values; Centimetres puts the origin at (0, 0).
    virtual void setScaleMode(ScaleMode mode) = 0;
    virtual void setScaleWidth(float width) = 0;
    virtual void setScaleHeight(float height) = 0;
    virtual float scaleWidth() const = 0;
    virtual float scaleHeight() const = 0;
    virtual void setDrawWidth(std::int16_t width) = 0;

    virtual void pset(float x, float y) = 0;
    virtual void pset(float x, float y, Rgb colour) = 0;
    virtual void line(float x1, float y1, float x2, float y2) = 0;
    virtual void line(float x1, float y1, float x2, float y2, Rgb colour) = 0;
    virtual void cls() = 0;

    // The points in order, exactly as one pset each would draw them; a plot
    // hands over hundreds at a time, which a surface draws in one go.
    virtual void psetMany(std::span<const Dot> dots) {
        for (const Dot& dot : dots) {
            if (dot.colour) {
                pset(dot.x, dot.y, *dot.colour);
            } else {
                pset(dot.x, dot.y);
            }
        }
    }
};

// A target that draws nothing: what a plot leaves besides its picture (the
// colour counter, its scale) without the cost of drawing it.
class NoDrawing : public DrawTarget {
public:
    void pset(float, float) override {}
    void pset(float, float, Rgb) override {}
    void line(float, float, float, float) override {}
    void line(float, float, float, float, Rgb) override {}
    void cls() override {}
};

// A target that keeps the scale it is given and draws nothing: where a
// plot's points fall, and what that leaves, without their pixels.
class ScaleKeeper final : public NoDrawing {
public:
    void setScaleMode(ScaleMode) override {}
    void setScaleWidth(float width) override { width_ = width; }
    void setScaleHeight(float height) override { height_ = height; }
    float scaleWidth() const override { return width_; }
    float scaleHeight() const override { return height_; }
    void setDrawWidth(std::int16_t) override {}

private:
    float width_ = 1.0F;
    float height_ = 1.0F;
};

} // namespace lumetra::runtime
