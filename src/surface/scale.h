#pragma once

#include <cstdint>

namespace lumetra::surface {

// The user scale of a drawing window: how many user units span its client
// area across and down. The origin is always the top-left corner.
struct Scale {
    std::int16_t mode = 1; // the platform's starting kind of scale (twips)
    float width = 0.0F;
    float height = 0.0F;
};

// A user coordinate on an axis of `devicePixels` pixels that spans `extent`
// user units, as a pixel position: the pixel whose centre is nearest.
int userToPixel(float user, float extent, int devicePixels);

// The same position before rounding, in (fractional) pixels.
double userToPixelExact(float user, float extent, int devicePixels);

// One logical centimetre in device-independent pixels at 96 dots per inch.
inline constexpr double kPixelsPerCentimetre = 96.0 / 2.54;

} // namespace lumetra::surface
