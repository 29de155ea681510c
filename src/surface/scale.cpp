#include "surface/scale.h"

namespace lumetra::surface {

double userToPixelExact(float user, float extent, int devicePixels) {
    return static_cast<double>(user) * pixelsPerUnit(extent, devicePixels);
}

int userToPixel(float user, float extent, int devicePixels) {
    return nearestPixel(userToPixelExact(user, extent, devicePixels));
}

} // namespace lumetra::surface
