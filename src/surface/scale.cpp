#include "surface/scale.h"

#include <cmath>

namespace lumetra::surface {

double userToPixelExact(float user, float extent, int devicePixels) {
    return static_cast<double>(user) * devicePixels / static_cast<double>(extent);
}

int userToPixel(float user, float extent, int devicePixels) {
    const double exact = userToPixelExact(user, extent, devicePixels);
    // Far-off points only need to land somewhere outside the area.
    const double limit = 1.0e9;
    if (!(std::abs(exact) < limit)) {
        return exact < 0 ? -static_cast<int>(limit) : static_cast<int>(limit);
    }
    return static_cast<int>(std::floor(exact + 0.5));
}

} // namespace lumetra::surface
