// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "runtime/draw_target.h"

namespace lumetra::surface {

// The user scale of a drawing window: how many user units span its client
// area across and down. The origin is always the top-left corner.
struct Scale {
    runtime::ScaleMode mode = runtime::ScaleMode::Twips;
    float width = 0.0F;
    float height = 0.0F;

    // ScaleMode on a client area of the given logical size: centimetres and
    // twips span it from the origin; User keeps the values as a user scale.
    void setMode(runtime::ScaleMode kind, double logicalWidth, double logicalHeight);
    // ScaleWidth, ScaleHeight: a user scale from now on. Zero or a value that
    // is not finite raises InvalidCall.
    void setWidth(float extent);
    void setHeight(float extent);
};

// How many pixels one user unit spans on an axis of `devicePixels` pixels that
// spans `extent` user units.
inline double pixelsPerUnit(float extent, int devicePixels) {
    return static_cast<double>(devicePixels) / static_cast<double>(extent);
}

// A position in fractional pixels as the pixel whose centre is nearest; far-off
// positions only need to land somewhere outside the area.
inline int nearestPixel(double exact) {
    constexpr double kFarOff = 1.0e9;
    const double shifted = exact + 0.5;
    if (!(shifted > -kFarOff && shifted < kFarOff)) {
        return shifted < 0 ? -static_cast<int>(kFarOff) : static_cast<int>(kFarOff);
    }
    // Truncation rounds towards zero; step down for negative fractions (floor).
    int pixel = static_cast<int>(shifted);
    if (static_cast<double>(pixel) > shifted) {
        --pixel;
    }
    return pixel;
}

// One logical centimetre in device-independent pixels at 96 dots per inch.
inline constexpr double kPixelsPerCentimetre = 96.0 / 2.54;

} // namespace lumetra::surface
