// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "output/legend.h"
#include "output/plot_record.h"

#include <QPageLayout>
#include <QRectF>
#include <QSizeF>

#include <optional>

namespace lumetra::output {

struct Picture;

// Logical pixels of a drawing area per inch: what "true size" means on paper.
inline constexpr double kScreenDotsPerInch = 96.0;

// Where the dots and chords of the record's curves fall, in the logical pixels
// of the drawing area, as far as the area shows them; the axes do not count.
// Empty when no curve shows anything.
QRectF curvesBox(const PlotRecord& record, QSize area);

// What a picture shows and where: the part of the drawing (logical pixels of
// its drawing area, possibly reaching beyond it) and the legend, if asked for.
struct PictureLayout {
    QRectF frame;
    std::optional<Legend> legend;
    // Drawing pixels to true size on paper: below 1 when fitted onto a smaller paper.
    double scale = 1.0;
};

// The layout of the picture, fitted into `room` (in 96-dpi pixels, true size)
// when it goes onto paper. A cropped picture is its curves' box with a margin
// of a few millimetres, the legend above it; the legend grows so that it
// stays as large on paper as on a 96-dpi screen. `curves` is curvesBox() of
// the picture, needed only when it is cropped.
PictureLayout layOutPicture(const Picture& picture, const QRectF& curves,
                            std::optional<QSizeF> room = std::nullopt);

// The paper of the picture's options turned to the frame's shape when the
// options say so.
QPageLayout paperFor(const QPageLayout& paper, bool orientByFigure, const QRectF& frame);

// The paper's printable part in 96-dpi pixels.
QSizeF roomOn(const QPageLayout& paper);

} // namespace lumetra::output
