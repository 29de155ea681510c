// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "runtime/palette.h"

#include <QColor>
#include <QRgb>

namespace lumetra::surface {

// A palette colour as an opaque pixel.
inline QRgb opaque(runtime::Rgb colour) {
    return 0xFF000000U | (colour & 0xFFFFFFU);
}

// A palette colour as Qt's painters take it.
inline QColor colourOf(runtime::Rgb colour) {
    return QColor::fromRgb(opaque(colour));
}

} // namespace lumetra::surface
