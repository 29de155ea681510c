#include "surface/dot_stamp.h"

#include "surface/dot_mask.h"

#include <algorithm>
#include <array>
#include <cstring>

namespace lumetra::surface {

DotStamp::DotStamp(int diameter, int width, int height, qsizetype stride)
    : insideFrom_(diameter / 2), insideRight_(width - diameter / 2),
      insideBottom_(height - diameter / 2), reach_(diameter / 2), width_(width), height_(height),
      stride_(stride) {
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

// Writes `colour` to two neighbouring pixels at once.
void writePair(QRgb* first, quint64 twice) {
    std::memcpy(first, &twice, sizeof twice);
}

// Writes a dot by its offsets from the centre pixel: of pairs, then of single pixels.
void writeByOffsets(QRgb* centre, QRgb colour, std::span<const qsizetype> pairs,
                    std::span<const qsizetype> singles) {
    const quint64 twice = colour | (quint64{colour} << 32);
    for (const qsizetype offset : pairs) {
        writePair(centre + offset, twice);
    }
    for (const qsizetype offset : singles) {
        centre[offset] = colour;
    }
}

} // namespace

void DotStamp::stampInside(uchar* bits, int px, int py, QRgb colour) const {
    writeByOffsets(reinterpret_cast<QRgb*>(bits + py * stride_) + px, colour, pairOffsets_,
                   singleOffsets_);
}

namespace {

QRgb dotColour(const runtime::Dot& dot, QRgb foreground) {
    return dot.colour ? opaque(*dot.colour) : foreground;
}

// Where dots lie wholly inside the image, as shifted positions (a pixel
// position plus one half), and how to find them in its memory.
struct Inside {
    double from;
    double right;
    double bottom;
    uchar* bits;
    qsizetype stride;
    double unitX;
    double unitY;
    QRgb foreground;
};

// Stamps the dots from the first on while they lie wholly inside, as nearly
// every dot does; returns how many. A loop with no call in it, so that all it
// needs stays in registers, and kept out of line: inlined into the loop that
// calls for the dots at the edge, it had its values kept in memory again.
template <typename WriteDot>
[[gnu::noinline]] std::size_t stampWhileInside(std::span<const runtime::Dot> dots,
                                               const Inside inside, WriteDot writeDot) {
    std::size_t i = 0;
    for (; i < dots.size(); ++i) {
        const double shiftedX = static_cast<double>(dots[i].x) * inside.unitX + 0.5;
        const double shiftedY = static_cast<double>(dots[i].y) * inside.unitY + 0.5;
        // The shifted position is positive, so truncation finds the nearest pixel.
        if (!(shiftedX >= inside.from && shiftedY >= inside.from && shiftedX < inside.right &&
              shiftedY < inside.bottom)) {
            break;
        }
        writeDot(reinterpret_cast<QRgb*>(inside.bits + static_cast<int>(shiftedY) * inside.stride) +
                     static_cast<int>(shiftedX),
                 dotColour(dots[i], inside.foreground));
    }
    return i;
}

} // namespace

// Stamps each dot, those wholly inside by `writeDot(centre, colour)`.
template <typename WriteDot>
bool DotStamp::stampEach(uchar* bits, std::span<const runtime::Dot> dots, double unitX,
                         double unitY, QRgb foreground, WriteDot writeDot) const {
    const Inside inside{insideFrom_, insideRight_, insideBottom_, bits,
                        stride_,     unitX,        unitY,         foreground};
    bool stamped = false;
    while (!dots.empty()) {
        const std::size_t stampedInside = stampWhileInside(dots, inside, writeDot);
        stamped = stamped || stampedInside > 0;
        dots = dots.subspan(stampedInside);
        if (!dots.empty()) {
            const runtime::Dot& dot = dots.front();
            stamped = stampClipped(bits, nearestPixel(static_cast<double>(dot.x) * unitX),
                                   nearestPixel(static_cast<double>(dot.y) * unitY),
                                   dotColour(dot, foreground)) ||
                      stamped;
            dots = dots.subspan(1);
        }
    }
    return stamped;
}

// `Pairs` is the number of pairs of pixels the pen writes, when known at
// compile time so that a dot's stores need no loop; 0 when it is not.
template <std::size_t Pairs>
bool DotStamp::stampByOffsets(uchar* bits, std::span<const runtime::Dot> dots, double unitX,
                              double unitY, QRgb foreground) const {
    std::array<qsizetype, Pairs> fixed{};
    std::copy_n(pairOffsets_.begin(), Pairs, fixed.begin());
    const std::span<const qsizetype> pairs =
        Pairs > 0 ? std::span<const qsizetype>(fixed) : std::span<const qsizetype>(pairOffsets_);
    const std::span<const qsizetype> singles(singleOffsets_);
    return stampEach(bits, dots, unitX, unitY, foreground, [&](QRgb* centre, QRgb colour) {
        writeByOffsets(centre, colour, pairs, singles);
    });
}

// The plot's pen at pixel ratio 1: each row two overlapping pairs, addressed
// from one pointer and the line length with no offsets to load.
bool DotStamp::stampSquares(uchar* bits, std::span<const runtime::Dot> dots, double unitX,
                            double unitY, QRgb foreground) const {
    const qsizetype pixelsPerLine = stride_ / static_cast<qsizetype>(sizeof(QRgb));
    return stampEach(bits, dots, unitX, unitY, foreground, [=](QRgb* centre, QRgb colour) {
        const quint64 twice = colour | (quint64{colour} << 32);
        QRgb* row = centre - pixelsPerLine - 1;
        for (int line = 0; line < 3; ++line, row += pixelsPerLine) {
            writePair(row, twice);
            writePair(row + 1, twice);
        }
    });
}

bool DotStamp::stampAll(uchar* bits, std::span<const runtime::Dot> dots, double unitX, double unitY,
                        QRgb foreground) const {
    if (square3_) {
        return stampSquares(bits, dots, unitX, unitY, foreground);
    }
    // The plot's pen 6 pixels wide at pixel ratio 2, and the narrower ones,
    // with their stores unrolled.
    switch (pairOffsets_.size()) {
    case 2:
        return stampByOffsets<2>(bits, dots, unitX, unitY, foreground);
    case 3:
        return stampByOffsets<3>(bits, dots, unitX, unitY, foreground);
    case 16:
        return stampByOffsets<16>(bits, dots, unitX, unitY, foreground);
    default:
        return stampByOffsets<0>(bits, dots, unitX, unitY, foreground);
    }
}

bool DotStamp::stampClipped(uchar* bits, int px, int py, QRgb colour) const {
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

} // namespace lumetra::surface
