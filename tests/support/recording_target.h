#pragma once

#include "runtime/draw_target.h"

#include <optional>
#include <vector>

namespace lumetra::testing {

// A draw target that records every drawing operation in order, with the pen
// width in force, and keeps a scale like a window of `pixelWidth` x
// `pixelHeight` device-independent pixels would.
class RecordingTarget : public runtime::DrawTarget {
public:
    enum class Kind { Point, Line, Clear };
    struct Op {
        Kind kind;
        float x1, y1, x2, y2;
        std::optional<runtime::Rgb> colour; // none: the foreground colour
        std::int16_t drawWidth;
    };

    explicit RecordingTarget(int pixelWidth = 1000, int pixelHeight = 550);

    void setScaleMode(std::int16_t mode) override;
    void setScaleWidth(float width) override;
    void setScaleHeight(float height) override;
    float scaleWidth() const override { return width_; }
    float scaleHeight() const override { return height_; }
    void setDrawWidth(std::int16_t width) override { drawWidth_ = width; }
    std::int16_t drawWidth() const { return drawWidth_; }
    std::int16_t scaleMode() const { return mode_; }

    void pset(float x, float y) override;
    void pset(float x, float y, runtime::Rgb colour) override;
    void line(float x1, float y1, float x2, float y2) override;
    void line(float x1, float y1, float x2, float y2, runtime::Rgb colour) override;
    void cls() override;

    const std::vector<Op>& ops() const { return ops_; }
    std::vector<Op> points() const;
    std::vector<Op> lines() const;
    void clear() { ops_.clear(); }

private:
    int pixelWidth_;
    int pixelHeight_;
    std::int16_t mode_ = 1;
    float width_;
    float height_;
    std::int16_t drawWidth_ = 1;
    std::vector<Op> ops_;
};

} // namespace lumetra::testing
