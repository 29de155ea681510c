#include "checking_target.h"

#include "require.h"
#include "runtime/palette.h"

#include <cmath>

namespace lumetra::fuzz {

namespace {

constexpr double kPixelsPerCentimetre = 96.0 / 2.54;
constexpr std::int16_t kAxisWidth = 2;
constexpr std::int16_t kPointWidth = 3;
constexpr std::int16_t kChordWidth = 1;

bool isCurveColour(runtime::Rgb colour) {
    for (int index = 1; index < runtime::kPaletteSize; ++index) {
        if (colour == runtime::QBColor(index)) {
            return true;
        }
    }
    return false;
}

} // namespace

CheckingTarget::CheckingTarget(int pixelWidth, int pixelHeight)
    : pixelWidth_(pixelWidth), pixelHeight_(pixelHeight) {}

void CheckingTarget::beginPlot(float CX, float CY) {
    plotting_ = true;
    right_ = 2.0F * CX;
    bottom_ = 2.0F * CY;
}

void CheckingTarget::setScaleMode(std::int16_t mode) {
    require(!plotting_ && mode == 7, "the frame alone sets the centimetre scale");
    width_ = static_cast<float>(pixelWidth_ / kPixelsPerCentimetre);
    height_ = static_cast<float>(pixelHeight_ / kPixelsPerCentimetre);
}

void CheckingTarget::setScaleWidth(float width) {
    require(!plotting_ && std::isfinite(width) && width > 0.0F, "a positive scale width");
    width_ = width;
}

void CheckingTarget::setScaleHeight(float height) {
    require(!plotting_ && std::isfinite(height) && height > 0.0F, "a positive scale height");
    height_ = height;
}

void CheckingTarget::setDrawWidth(std::int16_t width) {
    if (plotting_) {
        require(width == kPointWidth || width == kChordWidth, "pen width 1 or 3 in a plot");
    } else {
        require(width == kAxisWidth, "pen width 2 for the axes");
    }
    drawWidth_ = width;
}

void CheckingTarget::requireInside(float x, float y) const {
    require(std::isfinite(x) && std::isfinite(y), "finite coordinates");
    require(x >= 0.0F && x <= right_ && y >= 0.0F && y <= bottom_,
            "coordinates within 0..2 CX and 0..2 CY");
}

void CheckingTarget::pset(float x, float y) {
    require(plotting_ && drawWidth_ == kPointWidth, "first-family points 3 wide, in a plot");
    requireInside(x, y);
    ++firstFamily_;
}

void CheckingTarget::pset(float x, float y, runtime::Rgb colour) {
    require(plotting_ && drawWidth_ == kPointWidth, "second-family points 3 wide, in a plot");
    require(isCurveColour(colour), "second-family points in palette colours 1..15");
    requireInside(x, y);
    ++secondFamily_;
}

void CheckingTarget::line(float x1, float y1, float x2, float y2) {
    require(!plotting_ && drawWidth_ == kAxisWidth, "foreground lines only as axes, 2 wide");
    require(std::isfinite(x1) && std::isfinite(y1) && std::isfinite(x2) && std::isfinite(y2),
            "finite axes");
}

void CheckingTarget::line(float x1, float y1, float x2, float y2, runtime::Rgb colour) {
    require(plotting_ && drawWidth_ == kChordWidth, "chords 1 wide, in a plot");
    require(isCurveColour(colour), "chords in palette colours 1..15");
    requireInside(x1, y1);
    requireInside(x2, y2);
    ++chords_;
}

void CheckingTarget::cls() {
    require(false, "neither the frame nor the plot clears the area");
}

} // namespace lumetra::fuzz
