// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <vector>

namespace lumetra::surface {

// The pixels of a filled round dot `diameter` pixels across, as offsets from
// the pixel that holds its centre. Odd diameters centre on that pixel, even
// ones on its bottom-right corner; no anti-aliasing.
struct DotOffset {
    int dx;
    int dy;
};

std::vector<DotOffset> roundDot(int diameter);

} // namespace lumetra::surface
