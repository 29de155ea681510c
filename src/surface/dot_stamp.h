// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "runtime/draw_target.h"
#include "surface/colours.h"

#include <QImage>

#include <span>
#include <vector>

namespace lumetra::surface {

// Writes the round dots of one pen straight into the memory of a 32-bit image:
// a dot wholly inside by its precomputed pixel offsets (the plot's 3 x 3 pen
// by its rows), one at the edge row by row, clipped. Built again whenever the
// pen or the image changes.
class DotStamp {
public:
    DotStamp() = default;
    // A pen `diameter` pixels across on an image `width` x `height` pixels
    // with lines `stride` bytes apart.
    DotStamp(int diameter, int width, int height, qsizetype stride);

    // Stamps the dot centred on pixel (px, py) into the image's `bits`; false
    // when none of it lies on the image.
    bool stamp(uchar* bits, int px, int py, QRgb colour) const;

    // Stamps each of `dots`, centred on the pixel nearest to its user
    // coordinates times (unitX, unitY), in its colour or `foreground`; false
    // when none lies on the image.
    bool stampAll(uchar* bits, std::span<const runtime::Dot> dots, double unitX, double unitY,
                  QRgb foreground) const;

private:
    template <typename WriteDot>
    bool stampEach(uchar* bits, std::span<const runtime::Dot> dots, double unitX, double unitY,
                   QRgb foreground, WriteDot writeDot) const;
    bool stampClipped(uchar* bits, int px, int py, QRgb colour) const;

    struct Row {
        int dy;
        int firstDx;
        int lastDx;
    };
    std::vector<Row> rows_; // the dot as runs of pixels along its rows
    // The same runs as offsets from the centre pixel: of two pixels written at
    // once (the last pair of an odd run overlaps the one before), and of runs of one.
    std::vector<qsizetype> pairOffsets_;
    std::vector<qsizetype> singleOffsets_;
    bool square3_ = false; // the dot is a whole 3 x 3 square
    int reach_ = 0;        // how far a dot reaches from its centre pixel
    int width_ = 0;
    int height_ = 0;
    qsizetype stride_ = 0;
};

} // namespace lumetra::surface
