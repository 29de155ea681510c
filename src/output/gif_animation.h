// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QImage>
#include <QRgb>
#include <QSize>

#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

struct GifFileType;

namespace lumetra::output {

// An animated GIF made in memory, frame by frame, that loops for ever. Each
// frame after the first keeps only the rectangle that differs from the frame
// before it, its unchanged pixels transparent, so that a frame that moves a
// line costs a few hundred bytes. The colours are the frames' own, exactly:
// up to 255 of them (one index is the transparent one); beyond that a colour
// takes the nearest of those already in the table.
class GifAnimation {
public:
    explicit GifAnimation(QSize size);
    ~GifAnimation();
    GifAnimation(const GifAnimation&) = delete;
    GifAnimation& operator=(const GifAnimation&) = delete;

    // Adds a frame of the animation's size in pixels, shown for `delay`
    // hundredths of a second. False when giflib or the memory failed; the
    // animation is then of no further use.
    bool addFrame(const QImage& frame, int delay);

    // The file's bytes; nothing when a frame failed or none was added.
    std::optional<QByteArray> finish();

    // The colours met so far, in the order of their indices.
    const std::vector<QRgb>& colours() const { return colours_; }

private:
    struct Changed {
        QRect rect;
        bool any = false;
    };
    Changed changedRect(const QImage& frame) const;
    std::uint8_t indexOf(QRgb colour);
    std::uint8_t nearestIndex(QRgb colour) const;
    bool putFrame(const QImage& frame, QRect rect, bool delta, int delay);
    bool putLooping();

    QSize size_;
    QByteArray bytes_;
    GifFileType* gif_ = nullptr;
    QImage previous_;
    std::vector<QRgb> colours_;
    // Open addressing from a colour to its index, for the millions of pixels looked up.
    static constexpr std::size_t kSlots = 1024;
    std::array<QRgb, kSlots> keys_{};
    std::array<std::int16_t, kSlots> indices_{};
    std::vector<std::uint8_t> line_;
    bool failed_ = false;
};

} // namespace lumetra::output
