#include "surface/scale.h"

#include "runtime/run_time_error.h"

#include <cmath>

namespace lumetra::surface {

namespace {

constexpr double kTwipsPerPixel = 15.0;

void requireNonZero(float extent) {
    if (extent == 0.0F || !std::isfinite(extent)) {
        throw runtime::RunTimeError(runtime::ErrorCode::InvalidCall);
    }
}

} // namespace

void Scale::setMode(std::int16_t kind, double logicalWidth, double logicalHeight) {
    mode = kind;
    if (kind == 7) {
        width = static_cast<float>(logicalWidth / kPixelsPerCentimetre);
        height = static_cast<float>(logicalHeight / kPixelsPerCentimetre);
    } else if (kind == 1) {
        width = static_cast<float>(logicalWidth * kTwipsPerPixel);
        height = static_cast<float>(logicalHeight * kTwipsPerPixel);
    }
}

void Scale::setWidth(float extent) {
    requireNonZero(extent);
    width = extent;
    mode = 0;
}

void Scale::setHeight(float extent) {
    requireNonZero(extent);
    height = extent;
    mode = 0;
}

double userToPixelExact(float user, float extent, int devicePixels) {
    return static_cast<double>(user) * pixelsPerUnit(extent, devicePixels);
}

int userToPixel(float user, float extent, int devicePixels) {
    return nearestPixel(userToPixelExact(user, extent, devicePixels));
}

} // namespace lumetra::surface
