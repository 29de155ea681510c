// SPDX-License-Identifier: GPL-3.0-or-later
#include "output/construction_gif.h"

#include "output/construction_svg.h"
#include "output/gif_animation.h"

#include <algorithm>

namespace lumetra::output {

namespace {

// The figure as the window shows it, its words beside it rather than in it,
// in its own colours only: a few dozen, which the GIF's palette holds exactly.
QImage frameOf(const PlotConstruction& construction, int k, QSize logical,
               const FrameColours& colours) {
    return constructionFrame(construction, k, logical, 1.0, false, colours, Edges::Exact);
}

} // namespace

std::optional<QByteArray> constructionGif(const PlotConstruction& construction, QSize logical,
                                          const FrameColours& colours,
                                          const FrameProgress& progress) {
    // A plot that drew nothing still shows its axes, in one frame.
    const int frames = std::max(passCount(construction), 1);
    GifAnimation gif(logical);
    for (int k = 1; k <= frames; ++k) {
        if (progress && !progress(k - 1, frames)) {
            return std::nullopt;
        }
        const QImage frame = frameOf(construction, k, logical, colours);
        if (frame.isNull() || !gif.addFrame(frame, k == frames ? kLastFrameDelay : kPassDelay)) {
            return std::nullopt;
        }
    }
    return gif.finish();
}

} // namespace lumetra::output
