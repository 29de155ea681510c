#include "support/recording_target.h"

#include "surface/scale.h"

#include <algorithm>

namespace lumetra::testing {

RecordingTarget::RecordingTarget(int pixelWidth, int pixelHeight)
    : pixelWidth_(pixelWidth), pixelHeight_(pixelHeight),
      width_(static_cast<float>(pixelWidth * runtime::kTwipsPerPixel)),
      height_(static_cast<float>(pixelHeight * runtime::kTwipsPerPixel)) {}

void RecordingTarget::setScaleMode(runtime::ScaleMode mode) {
    if (mode == runtime::ScaleMode::Centimetres) {
        width_ = static_cast<float>(pixelWidth_ / surface::kPixelsPerCentimetre);
        height_ = static_cast<float>(pixelHeight_ / surface::kPixelsPerCentimetre);
    }
}

std::vector<RecordingTarget::Op> RecordingTarget::of(Kind kind) const {
    std::vector<Op> result;
    std::copy_if(ops_.begin(), ops_.end(), std::back_inserter(result),
                 [kind](const Op& op) { return op.kind == kind; });
    return result;
}

} // namespace lumetra::testing
