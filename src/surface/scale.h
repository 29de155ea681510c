#pragma once

#include <cstdint>

namespace lumetra::surface {

// The user scale of a drawing window: how many user units span its client
// area across and down. The origin is always the top-left corner.
struct Scale {
    std::int16_t mode = 1; // the platform's starting kind of scale (twips)
    float width = 0.0F;
    float height = 0.0F;

    // ScaleMode on a client area of the given logical size: 7 (centimetres)
    // and 1 (twips) span it from the origin; 0 keeps the values as a user scale.
    void setMode(std::int16_t kind, double logicalWidth, double logicalHeight);
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

// A user coordinate on an axis of `devicePixels` pixels that spans `extent`
// user units, as a pixel position: the pixel whose centre is nearest.
int userToPixel(float user, float extent, int devicePixels);

// The same position before rounding, in (fractional) pixels.
double userToPixelExact(float user, float extent, int devicePixels);

// One logical centimetre in device-independent pixels at 96 dots per inch.
inline constexpr double kPixelsPerCentimetre = 96.0 / 2.54;

} // namespace lumetra::surface
