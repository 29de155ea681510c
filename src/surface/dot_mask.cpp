// SPDX-License-Identifier: GPL-3.0-or-later
#include "surface/dot_mask.h"

namespace lumetra::surface {

std::vector<DotOffset> roundDot(int diameter) {
    if (diameter <= 1) {
        return {{0, 0}};
    }
    std::vector<DotOffset> offsets;
    const double radius = diameter / 2.0;
    // Distance from a pixel's centre to the dot's centre: an even dot's centre
    // lies on a pixel corner, half a pixel from the centres around it.
    const double shift = (diameter % 2 == 0) ? 0.5 : 0.0;
    const int low = -(diameter / 2);
    const int high = low + diameter - 1;
    for (int dy = low; dy <= high; ++dy) {
        for (int dx = low; dx <= high; ++dx) {
            const double fx = dx + shift;
            const double fy = dy + shift;
            if (fx * fx + fy * fy <= radius * radius) {
                offsets.push_back({dx, dy});
            }
        }
    }
    return offsets;
}

} // namespace lumetra::surface
