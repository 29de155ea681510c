#include "support/recording_target.h"

#include "surface/scale.h"

namespace lumetra::testing {

RecordingTarget::RecordingTarget(int pixelWidth, int pixelHeight)
    : pixelWidth_(pixelWidth), pixelHeight_(pixelHeight),
      width_(static_cast<float>(pixelWidth * 15)), height_(static_cast<float>(pixelHeight * 15)) {}

void RecordingTarget::setScaleMode(std::int16_t mode) {
    mode_ = mode;
    if (mode == 7) {
        width_ = static_cast<float>(pixelWidth_ / surface::kPixelsPerCentimetre);
        height_ = static_cast<float>(pixelHeight_ / surface::kPixelsPerCentimetre);
    }
}

void RecordingTarget::setScaleWidth(float width) {
    width_ = width;
    mode_ = 0;
}

void RecordingTarget::setScaleHeight(float height) {
    height_ = height;
    mode_ = 0;
}

void RecordingTarget::pset(float x, float y) {
    ops_.push_back({Kind::Point, x, y, x, y, std::nullopt, drawWidth_});
}

void RecordingTarget::pset(float x, float y, runtime::Rgb colour) {
    ops_.push_back({Kind::Point, x, y, x, y, colour, drawWidth_});
}

void RecordingTarget::line(float x1, float y1, float x2, float y2) {
    ops_.push_back({Kind::Line, x1, y1, x2, y2, std::nullopt, drawWidth_});
}

void RecordingTarget::line(float x1, float y1, float x2, float y2, runtime::Rgb colour) {
    ops_.push_back({Kind::Line, x1, y1, x2, y2, colour, drawWidth_});
}

void RecordingTarget::cls() {
    ops_.push_back({Kind::Clear, 0, 0, 0, 0, std::nullopt, drawWidth_});
}

std::vector<RecordingTarget::Op> RecordingTarget::points() const {
    std::vector<Op> result;
    for (const Op& op : ops_) {
        if (op.kind == Kind::Point) {
            result.push_back(op);
        }
    }
    return result;
}

std::vector<RecordingTarget::Op> RecordingTarget::lines() const {
    std::vector<Op> result;
    for (const Op& op : ops_) {
        if (op.kind == Kind::Line) {
            result.push_back(op);
        }
    }
    return result;
}

} // namespace lumetra::testing
