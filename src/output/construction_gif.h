// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "output/construction_frame.h"

#include <QByteArray>
#include <QSize>

#include <functional>
#include <optional>

namespace lumetra::output {

// Runs before each frame of an animation is made, with the frames made so
// far and their number; returning false cancels.
using FrameProgress = std::function<bool(int done, int total)>;

// How long the last frame shows before the animation starts again, in
// hundredths of a second.
inline constexpr int kLastFrameDelay = 300;

// The construction as an animated GIF that loops: a frame per pass as the
// construction's window shows it, at `logical` size and pixel ratio 1, each
// shown for kPassDelay hundredths of a second, the last for
// kLastFrameDelay. Nothing when cancelled or when the memory ran out.
std::optional<QByteArray> constructionGif(const PlotConstruction& construction, QSize logical,
                                          const FrameColours& colours,
                                          const FrameProgress& progress);

} // namespace lumetra::output
