// SPDX-License-Identifier: GPL-3.0-or-later
#include "surface/scale.h"

#include "runtime/run_time_error.h"

#include <cmath>

namespace lumetra::surface {

namespace {

void requireNonZero(float extent) {
    if (extent == 0.0F || !std::isfinite(extent)) {
        throw runtime::RunTimeError(runtime::ErrorCode::InvalidCall);
    }
}

} // namespace

void Scale::setMode(runtime::ScaleMode kind, double logicalWidth, double logicalHeight) {
    using runtime::ScaleMode;
    mode = kind;
    if (kind == ScaleMode::Centimetres) {
        width = static_cast<float>(logicalWidth / kPixelsPerCentimetre);
        height = static_cast<float>(logicalHeight / kPixelsPerCentimetre);
    } else if (kind == ScaleMode::Twips) {
        width = static_cast<float>(logicalWidth * runtime::kTwipsPerPixel);
        height = static_cast<float>(logicalHeight * runtime::kTwipsPerPixel);
    }
}

void Scale::setWidth(float extent) {
    requireNonZero(extent);
    width = extent;
    mode = runtime::ScaleMode::User;
}

void Scale::setHeight(float extent) {
    requireNonZero(extent);
    height = extent;
    mode = runtime::ScaleMode::User;
}

} // namespace lumetra::surface
