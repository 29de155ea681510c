// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "runtime/draw_target.h"
#include "surface/scale.h"

#include <optional>
#include <vector>

namespace lumetra::testing {

// A draw target that records every drawing operation in order, with the pen
// width in force, and keeps a scale and scale mode like a window of
// `pixelWidth` x `pixelHeight` device-independent pixels would.
class RecordingTarget : public runtime::DrawTarget {
public:
    enum class Kind { Point, Line, Clear };
    struct Op {
        Kind kind;
        float x1, y1, x2, y2;
        std::optional<runtime::Rgb> colour; // none: the foreground colour
        std::int16_t drawWidth;
        bool operator==(const Op&) const = default;
    };

    explicit RecordingTarget(int pixelWidth = 1000, int pixelHeight = 550)
        : pixelWidth_(pixelWidth), pixelHeight_(pixelHeight),
          width_(static_cast<float>(pixelWidth * runtime::kTwipsPerPixel)),
          height_(static_cast<float>(pixelHeight * runtime::kTwipsPerPixel)) {}

    void setScaleMode(runtime::ScaleMode mode) override {
        mode_ = mode;
        if (mode == runtime::ScaleMode::Centimetres) {
            width_ = static_cast<float>(pixelWidth_ / surface::kPixelsPerCentimetre);
            height_ = static_cast<float>(pixelHeight_ / surface::kPixelsPerCentimetre);
        }
    }
    void setScaleWidth(float width) override { setUserScale(width_, width); }
    void setScaleHeight(float height) override { setUserScale(height_, height); }
    float scaleWidth() const override { return width_; }
    float scaleHeight() const override { return height_; }
    runtime::ScaleMode scaleMode() const { return mode_; }
    void setDrawWidth(std::int16_t width) override { drawWidth_ = width; }
    std::int16_t drawWidth() const { return drawWidth_; }

    void pset(float x, float y) override { add(Kind::Point, x, y, x, y, {}); }
    void pset(float x, float y, runtime::Rgb c) override { add(Kind::Point, x, y, x, y, c); }
    void line(float x1, float y1, float x2, float y2) override {
        add(Kind::Line, x1, y1, x2, y2, {});
    }
    void line(float x1, float y1, float x2, float y2, runtime::Rgb c) override {
        add(Kind::Line, x1, y1, x2, y2, c);
    }
    void cls() override { add(Kind::Clear, 0, 0, 0, 0, {}); }

    const std::vector<Op>& ops() const { return ops_; }
    void clear() { ops_.clear(); }

private:
    void setUserScale(float& side, float units) {
        side = units;
        mode_ = runtime::ScaleMode::User;
    }
    void add(Kind kind, float x1, float y1, float x2, float y2, std::optional<runtime::Rgb> c) {
        ops_.push_back({kind, x1, y1, x2, y2, c, drawWidth_});
    }

    int pixelWidth_, pixelHeight_;
    float width_, height_;
    runtime::ScaleMode mode_ = runtime::ScaleMode::Twips;
    std::int16_t drawWidth_ = 1;
    std::vector<Op> ops_;
};

} // namespace lumetra::testing
