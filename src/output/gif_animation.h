// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QImage>
#include <QRect>
#include <QRgb>
#include <QSize>

#include <array>
#include <cstdint>
#include <optional>
#include <unordered_map>
#include <vector>

struct GifFileType;

namespace lumetra::output {

// Up to 255 colours, each with its index in the order they came; the 256th
// index is left for the transparent pixels of a delta frame. A colour that
// comes when the table is full takes the index of the nearest.
class ColourTable {
public:
    static constexpr int kCapacity = 255;

    // The colour's index, the colour added when new and there is room.
    std::uint8_t indexOf(QRgb colour);
    // Whether there is room for another colour.
    bool full() const { return colours_.size() == static_cast<std::size_t>(kCapacity); }

    const std::vector<QRgb>& colours() const { return colours_; }

private:
    std::uint8_t nearestIndex(QRgb colour) const;

    // Open addressing from a colour of the table to its index, for the many
    // pixels looked up; a colour with alpha bits set is never 0, a free slot.
    static constexpr std::size_t kSlots = 1024;
    std::array<QRgb, kSlots> keys_{};
    std::array<std::uint8_t, kSlots> indices_{};
    std::vector<QRgb> colours_;
    // The colours that came too late, with the index of their nearest.
    std::unordered_map<QRgb, std::uint8_t> nearest_;
};

// An animated GIF made in memory, frame by frame, that loops for ever. Each
// frame after the first keeps only the rectangle that differs from the frame
// before it, its unchanged pixels transparent, so that a frame that moves a
// line costs a few hundred bytes. One table of 255 colours serves every
// frame, the frames' colours as they come; a colour that comes after the
// table is full is drawn in the nearest one it holds.
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

private:
    QRect changedRect(const QImage& frame) const;
    bool putFrame(const QImage& frame, QRect rect, bool delta, int delay);
    bool putLooping();

    QSize size_;
    QByteArray bytes_;
    GifFileType* gif_ = nullptr;
    QImage previous_;
    ColourTable table_;
    std::vector<std::uint8_t> line_;
    bool failed_ = false;
};

} // namespace lumetra::output
