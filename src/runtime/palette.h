// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>

namespace lumetra::runtime {

// A 24-bit colour, 0xRRGGBB.
using Rgb = std::uint32_t;

inline constexpr int kPaletteSize = 16;

// The 16-colour palette in its standard order (bit 1 blue, 2 green, 4 red,
// 8 high intensity). An index outside 0..15 raises InvalidCall.
Rgb QBColor(int index);

} // namespace lumetra::runtime
