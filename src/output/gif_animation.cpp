// SPDX-License-Identifier: GPL-3.0-or-later
#include "output/gif_animation.h"

#include <gif_lib.h>

#include <algorithm>
#include <cstring>
#include <utility>

namespace lumetra::output {

namespace {

constexpr int kTableSize = 256;
// The index of a delta frame's unchanged pixels, never a colour.
constexpr std::uint8_t kTransparent = kTableSize - 1;
// "GIF89a" and the logical screen descriptor come before the global colour table.
constexpr qsizetype kTableOffset = 6 + 7;

int appendTo(GifFileType* gif, const GifByteType* bytes, int length) {
    static_cast<QByteArray*>(gif->UserData)->append(reinterpret_cast<const char*>(bytes), length);
    return length;
}

QImage opaqueRgb(const QImage& frame) {
    return frame.format() == QImage::Format_RGB32 ? frame
                                                  : frame.convertToFormat(QImage::Format_RGB32);
}

const QRgb* rowOf(const QImage& image, int y) {
    return reinterpret_cast<const QRgb*>(image.constScanLine(y));
}

std::size_t slotOf(QRgb key) {
    // Fibonacci hashing: neighbouring colours land far apart.
    return (key * 2654435761U) >> 22U;
}

int distance(QRgb a, QRgb b) {
    const int red = qRed(a) - qRed(b);
    const int green = qGreen(a) - qGreen(b);
    const int blue = qBlue(a) - qBlue(b);
    return red * red + green * green + blue * blue;
}

} // namespace

std::uint8_t ColourTable::indexOf(QRgb colour) {
    const QRgb key = colour | 0xFF000000U;
    std::size_t slot = slotOf(key);
    while (keys_[slot] != 0) {
        if (keys_[slot] == key) {
            return indices_[slot];
        }
        slot = (slot + 1) % kSlots;
    }
    // At most 255 of the 1024 slots are taken, so a free one is always found.
    if (full()) {
        const auto [known, added] = nearest_.try_emplace(key, 0);
        if (added) {
            known->second = nearestIndex(key);
        }
        return known->second;
    }
    const auto index = static_cast<std::uint8_t>(colours_.size());
    colours_.push_back(key);
    keys_[slot] = key;
    indices_[slot] = index;
    return index;
}

std::uint8_t ColourTable::nearestIndex(QRgb colour) const {
    const auto nearest =
        std::min_element(colours_.begin(), colours_.end(), [colour](QRgb a, QRgb b) {
            return distance(a, colour) < distance(b, colour);
        });
    return static_cast<std::uint8_t>(nearest - colours_.begin());
}

GifAnimation::GifAnimation(QSize size) : size_(size) {
    int error = 0;
    gif_ = EGifOpen(&bytes_, appendTo, &error);
    if (gif_ == nullptr) {
        failed_ = true;
        return;
    }
    EGifSetGifVersion(gif_, true);
    // The colours are known only at the end: the table is written with room
    // for all 256 and filled in by finish().
    ColorMapObject* table = GifMakeMapObject(kTableSize, nullptr);
    failed_ = table == nullptr ||
              EGifPutScreenDesc(gif_, size.width(), size.height(), 8, 0, table) == GIF_ERROR ||
              !putLooping();
    GifFreeMapObject(table);
    line_.resize(static_cast<std::size_t>(std::max(size.width(), 0)));
}

GifAnimation::~GifAnimation() {
    if (gif_ != nullptr) {
        EGifCloseFile(gif_, nullptr);
    }
}

bool GifAnimation::putLooping() {
    // The Netscape application block: loop count 0 means for ever.
    static constexpr GifByteType kApplication[] = {'N', 'E', 'T', 'S', 'C', 'A',
                                                   'P', 'E', '2', '.', '0'};
    static constexpr GifByteType kLoop[] = {1, 0, 0};
    return EGifPutExtensionLeader(gif_, APPLICATION_EXT_FUNC_CODE) != GIF_ERROR &&
           EGifPutExtensionBlock(gif_, sizeof kApplication, kApplication) != GIF_ERROR &&
           EGifPutExtensionBlock(gif_, sizeof kLoop, kLoop) != GIF_ERROR &&
           EGifPutExtensionTrailer(gif_) != GIF_ERROR;
}

QRect GifAnimation::changedRect(const QImage& frame) const {
    const int width = size_.width();
    int top = -1;
    int bottom = -1;
    int left = width;
    int right = -1;
    for (int y = 0; y < size_.height(); ++y) {
        const QRgb* now = rowOf(frame, y);
        const QRgb* before = rowOf(previous_, y);
        if (std::memcmp(now, before, sizeof(QRgb) * static_cast<std::size_t>(width)) == 0) {
            continue;
        }
        if (top < 0) {
            top = y;
        }
        bottom = y;
        const int first = static_cast<int>(std::mismatch(now, now + width, before).first - now);
        left = std::min(left, first);
        int last = width - 1;
        while (now[last] == before[last]) {
            --last;
        }
        right = std::max(right, last);
    }
    // A frame like the one before is still a frame: one transparent pixel.
    return top < 0 ? QRect(0, 0, 1, 1) : QRect(QPoint(left, top), QPoint(right, bottom));
}

bool GifAnimation::putFrame(const QImage& frame, QRect rect, bool delta, int delay) {
    GraphicsControlBlock control{};
    control.DisposalMode = DISPOSE_DO_NOT;
    control.UserInputFlag = false;
    control.DelayTime = delay;
    control.TransparentColor = delta ? kTransparent : NO_TRANSPARENT_COLOR;
    GifByteType extension[4];
    const auto length = static_cast<int>(EGifGCBToExtension(&control, extension));
    if (EGifPutExtension(gif_, GRAPHICS_EXT_FUNC_CODE, length, extension) == GIF_ERROR ||
        EGifPutImageDesc(gif_, rect.x(), rect.y(), rect.width(), rect.height(), false, nullptr) ==
            GIF_ERROR) {
        return false;
    }
    for (int y = rect.top(); y <= rect.bottom(); ++y) {
        const QRgb* now = rowOf(frame, y) + rect.x();
        const QRgb* before = delta ? rowOf(previous_, y) + rect.x() : nullptr;
        for (int x = 0; x < rect.width(); ++x) {
            line_[static_cast<std::size_t>(x)] =
                before != nullptr && now[x] == before[x] ? kTransparent : table_.indexOf(now[x]);
        }
        if (EGifPutLine(gif_, line_.data(), rect.width()) == GIF_ERROR) {
            return false;
        }
    }
    return true;
}

bool GifAnimation::addFrame(const QImage& frame, int delay) {
    if (failed_ || frame.size() != size_) {
        failed_ = true;
        return false;
    }
    const QImage image = opaqueRgb(frame);
    const bool delta = !previous_.isNull();
    failed_ = !putFrame(image, delta ? changedRect(image) : image.rect(), delta, delay);
    previous_ = image;
    return !failed_;
}

std::optional<QByteArray> GifAnimation::finish() {
    if (gif_ == nullptr) {
        return std::nullopt;
    }
    const bool closed = EGifCloseFile(gif_, nullptr) != GIF_ERROR;
    gif_ = nullptr;
    if (failed_ || !closed || previous_.isNull()) {
        return std::nullopt;
    }
    char* table = bytes_.data() + kTableOffset;
    for (const QRgb colour : table_.colours()) {
        *table++ = static_cast<char>(qRed(colour));
        *table++ = static_cast<char>(qGreen(colour));
        *table++ = static_cast<char>(qBlue(colour));
    }
    return std::move(bytes_);
}

} // namespace lumetra::output
