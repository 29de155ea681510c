// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QPageLayout>

#include <optional>

namespace lumetra::output {

// How a picture leaves the program, the same for every format: the plot
// window's menu and the command line both fill this, and every saved, copied
// and printed picture reads it.
struct PictureOptions {
    bool legend = false;
    // The window's background colour rather than white, which goes onto paper.
    bool screenBackground = false;
    // The curves and a margin around them rather than the whole drawing area.
    bool crop = false;
    // True size on paper at this resolution: the drawing grows so that it
    // looks on paper as on a 96-dpi screen. None: the screen's own pixels.
    std::optional<int> dotsPerInch;
    // The paper the figure is fitted on. None: a page the figure's size.
    std::optional<QPageLayout> paper;
    // The paper turned to the figure's shape rather than as it is given.
    bool orientByFigure = false;
};

inline constexpr int kSmallestDotsPerInch = 72;
inline constexpr int kLargestDotsPerInch = 1200;

} // namespace lumetra::output
