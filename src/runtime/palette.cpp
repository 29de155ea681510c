// SPDX-License-Identifier: GPL-3.0-or-later
#include "runtime/palette.h"

#include "runtime/run_time_error.h"

#include <array>

namespace lumetra::runtime {

namespace {
constexpr std::array<Rgb, kPaletteSize> kPalette = {
    0x000000, // 0 black
    0x000080, // 1 blue
    0x008000, // 2 green
    0x008080, // 3 cyan
    0x800000, // 4 red
    0x800080, // 5 magenta
    0x808000, // 6 brown
    0xC0C0C0, // 7 light grey
    0x808080, // 8 dark grey
    0x0000FF, // 9 light blue
    0x00FF00, // 10 light green
    0x00FFFF, // 11 light cyan
    0xFF0000, // 12 light red
    0xFF00FF, // 13 light magenta
    0xFFFF00, // 14 yellow
    0xFFFFFF, // 15 bright white
};
} // namespace

Rgb QBColor(int index) {
    if (index < 0 || index >= kPaletteSize) {
        throw RunTimeError(ErrorCode::InvalidCall);
    }
    return kPalette[static_cast<std::size_t>(index)];
}

} // namespace lumetra::runtime
