// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

#include <string_view>

namespace lumetra::controls {

// The face to ask for when a layout names `family` (UTF-8): that face where it
// is installed, else the stand-in that start-up registered as its substitute.
// Naming an installed face spares the font database two searches through the
// fallback faces for every font, which the first paint would otherwise wait for.
QString installedFace(std::string_view family);

} // namespace lumetra::controls
