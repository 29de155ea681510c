#pragma once

#include "runtime/draw_target.h"

#include <cstdint>

namespace lumetra::fuzz {

// A plot window's drawing area that aborts on any drawing the plot must never
// do. While the frame is set up it keeps a scale like a window of the given
// pixel size and accepts only the two axes; once the plot begins it accepts
// first-family points (foreground colour), second-family points and chords
// (curve colours 1..15) inside 0..2 CX by 0..2 CY, points 3 pixels wide and
// chords 1 pixel wide, and counts them.
class CheckingTarget : public runtime::DrawTarget {
public:
    CheckingTarget(int pixelWidth, int pixelHeight);

    // From here on only the curve construction draws, inside the given origin.
    void beginPlot(float CX, float CY);

    void setScaleMode(std::int16_t mode) override;
    void setScaleWidth(float width) override;
    void setScaleHeight(float height) override;
    float scaleWidth() const override { return width_; }
    float scaleHeight() const override { return height_; }
    void setDrawWidth(std::int16_t width) override;

    void pset(float x, float y) override;
    void pset(float x, float y, runtime::Rgb colour) override;
    void line(float x1, float y1, float x2, float y2) override;
    void line(float x1, float y1, float x2, float y2, runtime::Rgb colour) override;
    void cls() override;

    int firstFamily() const { return firstFamily_; }
    int secondFamily() const { return secondFamily_; }
    int chords() const { return chords_; }

private:
    void requireInside(float x, float y) const;

    int pixelWidth_;
    int pixelHeight_;
    float width_ = 0.0F;
    float height_ = 0.0F;
    std::int16_t drawWidth_ = 1;
    bool plotting_ = false;
    float right_ = 0.0F;
    float bottom_ = 0.0F;
    int firstFamily_ = 0;
    int secondFamily_ = 0;
    int chords_ = 0;
};

} // namespace lumetra::fuzz
