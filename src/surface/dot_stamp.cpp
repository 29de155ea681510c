// SPDX-License-Identifier: GPL-3.0-or-later
#include "surface/dot_stamp.h"

#include "surface/dot_mask.h"
#include "surface/scale.h"

#include <algorithm>
#include <cstring>

namespace lumetra::surface {

DotStamp::DotStamp(int diameter, int width, int height, qsizetype stride)
    : reach_(diameter / 2), width_(width), height_(height), stride_(stride) {
    for (const DotOffset& o : roundDot(diameter)) {
        if (rows_.empty() || rows_.back().dy != o.dy) {
            rows_.push_back({o.dy, o.dx, o.dx});
        } else {
            rows_.back().lastDx = o.dx;
        }
    }
    const qsizetype pixelsPerLine = stride / static_cast<qsizetype>(sizeof(QRgb));
    for (const Row& row : rows_) {
        const qsizetype start = row.dy * pixelsPerLine;
        if (row.firstDx == row.lastDx) {
            singleOffsets_.push_back(start + row.firstDx);
            continue;
        }
        for (int dx = row.firstDx; dx <= row.lastDx; dx += 2) {
            pairOffsets_.push_back(start + std::min(dx, row.lastDx - 1));
        }
    }
    square3_ = rows_.size() == 3 && std::all_of(rows_.begin(), rows_.end(), [](const Row& row) {
                   return row.firstDx == -1 && row.lastDx == 1;
               });
}

namespace {

// Writes a dot by its offsets from the centre pixel: of pairs, then of single pixels.
void writeByOffsets(QRgb* centre, QRgb colour, std::span<const qsizetype> pairs,
                    std::span<const qsizetype> singles) {
    const quint64 twice = colour | (quint64{colour} << 32);
    for (const qsizetype offset : pairs) {
        std::memcpy(centre + offset, &twice, sizeof twice);
    }
    for (const qsizetype offset : singles) {
        centre[offset] = colour;
    }
}

// Writes the plot's pen at pixel ratio 1, a 3 x 3 square, as two overlapping
// pairs a row with no offsets to load: the loop over offsets makes a plot on
// a 1080p surface a sixth slower.
void writeSquare(QRgb* centre, QRgb colour, qsizetype pixelsPerLine) {
    const quint64 twice = colour | (quint64{colour} << 32);
    QRgb* row = centre - pixelsPerLine - 1;
    for (int line = 0; line < 3; ++line, row += pixelsPerLine) {
        std::memcpy(row, &twice, sizeof twice);
        std::memcpy(row + 1, &twice, sizeof twice);
    }
}

} // namespace

// Inline, so that the loop over a plot's dots calls nothing: a call there
// would send the values the loop keeps in registers to memory at every dot,
// which costs more than the stores.
inline bool DotStamp::stampClipped(uchar* bits, int px, int py, QRgb colour) const {
    if (px < -reach_ || py < -reach_ || px >= width_ + reach_ || py >= height_ + reach_) {
        return false;
    }
    for (const Row& row : rows_) {
        const int y = py + row.dy;
        if (y < 0 || y >= height_) {
            continue;
        }
        const int first = std::max(px + row.firstDx, 0);
        const int last = std::min(px + row.lastDx, width_ - 1);
        QRgb* const line = reinterpret_cast<QRgb*>(bits + y * stride_);
        for (int x = first; x <= last; ++x) {
            line[x] = colour;
        }
    }
    return true;
}

bool DotStamp::stamp(uchar* bits, int px, int py, QRgb colour) const {
    if (px < reach_ || py < reach_ || px >= width_ - reach_ || py >= height_ - reach_) {
        return stampClipped(bits, px, py, colour);
    }
    writeByOffsets(reinterpret_cast<QRgb*>(bits + py * stride_) + px, colour, pairOffsets_,
                   singleOffsets_);
    return true;
}

// Stamps each dot, those wholly inside by `writeDot(centre, colour)`.
template <typename WriteDot>
bool DotStamp::stampEach(uchar* bits, std::span<const runtime::Dot> dots, double unitX,
                         double unitY, QRgb foreground, WriteDot writeDot) const {
    // Where dots lie wholly inside, as shifted positions (a pixel position plus
    // one half), tested in doubles; in locals, which the stores into the
    // image cannot be taken to change.
    const double from = reach_;
    const double right = width_ - reach_;
    const double bottom = height_ - reach_;
    const qsizetype stride = stride_;
    bool stamped = false;
    for (const runtime::Dot& dot : dots) {
        const QRgb colour = dot.colour ? opaque(*dot.colour) : foreground;
        const double shiftedX = static_cast<double>(dot.x) * unitX + 0.5;
        const double shiftedY = static_cast<double>(dot.y) * unitY + 0.5;
        const bool inside =
            shiftedX >= from && shiftedY >= from && shiftedX < right && shiftedY < bottom;
        // Nearly every dot is: said so, the loop keeps its registers for them.
        if (inside) [[likely]] {
            // Positive, so truncation finds the nearest pixel.
            writeDot(reinterpret_cast<QRgb*>(bits + static_cast<int>(shiftedY) * stride) +
                         static_cast<int>(shiftedX),
                     colour);
            stamped = true;
        } else {
            stamped = stampClipped(bits, nearestPixel(static_cast<double>(dot.x) * unitX),
                                   nearestPixel(static_cast<double>(dot.y) * unitY), colour) ||
                      stamped;
        }
    }
    return stamped;
}

bool DotStamp::stampAll(uchar* bits, std::span<const runtime::Dot> dots, double unitX, double unitY,
                        QRgb foreground) const {
    if (square3_) {
        const qsizetype pixelsPerLine = stride_ / static_cast<qsizetype>(sizeof(QRgb));
        return stampEach(bits, dots, unitX, unitY, foreground, [=](QRgb* centre, QRgb colour) {
            writeSquare(centre, colour, pixelsPerLine);
        });
    }
    const std::span<const qsizetype> pairs(pairOffsets_);
    const std::span<const qsizetype> singles(singleOffsets_);
    return stampEach(bits, dots, unitX, unitY, foreground, [=](QRgb* centre, QRgb colour) {
        writeByOffsets(centre, colour, pairs, singles);
    });
}

} // namespace lumetra::surface
