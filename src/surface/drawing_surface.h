// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "runtime/draw_target.h"
#include "surface/dot_stamp.h"
#include "surface/scale.h"

#include <QColor>
#include <QImage>
#include <QSize>

#include <functional>
#include <vector>

namespace lumetra::surface {

// The drawing surface of one window, retained in an image at the screen's
// device pixel ratio. The image is as large as the largest client area the
// window has had, so a shrink and regrow loses nothing; drawing maps to and is
// clipped by the current client area, at the image's top-left. Pen widths
// count in device-independent pixels, so a dot is as large on a 2x screen as
// on a 1x one, and sharper. Nothing is anti-aliased.
class DrawingSurface final : public runtime::DrawTarget {
public:
    DrawingSurface(QColor foreground, QColor background);

    // The client area changed size or moved to a screen with another pixel
    // ratio; what was drawn stays at the top-left, parts never drawn on are
    // background.
    void resize(QSize logicalSize, qreal devicePixelRatio);
    void setColours(QColor foreground, QColor background);

    const QImage& image() const { return image_; }
    QSize logicalSize() const { return logicalSize_; }
    qreal devicePixelRatio() const { return ratio_; }
    QColor foreground() const { return foreground_; }
    QColor background() const { return background_; }
    runtime::ScaleMode scaleMode() const { return scale_.mode; }
    std::int16_t drawWidth() const { return drawWidth_; }

    // Called once when the image first changes after `markPainted`.
    void setChangeListener(std::function<void()> listener);
    void markPainted() { dirty_ = false; }

    void setScaleMode(runtime::ScaleMode mode) override;
    void setScaleWidth(float width) override;
    void setScaleHeight(float height) override;
    float scaleWidth() const override { return scale_.width; }
    float scaleHeight() const override { return scale_.height; }
    void setDrawWidth(std::int16_t width) override;

    void pset(float x, float y) override;
    void pset(float x, float y, runtime::Rgb colour) override;
    void line(float x1, float y1, float x2, float y2) override;
    void line(float x1, float y1, float x2, float y2, runtime::Rgb colour) override;
    void cls() override;
    void psetMany(std::span<const runtime::Dot> dots) override;

private:
    int penPixels() const;
    void updatePen();
    void updateMapping();
    double pixelX(float x) const { return static_cast<double>(x) * unitX_; }
    double pixelY(float y) const { return static_cast<double>(y) * unitY_; }
    void drawLine(float x1, float y1, float x2, float y2, QRgb colour);
    void changed() {
        if (!dirty_) {
            notifyChange();
        }
    }
    void notifyChange();
    // Grows the image to hold a client area of `logicalSize` at
    // `devicePixelRatio`; false when there is no memory for it.
    bool retain(QSize logicalSize, qreal devicePixelRatio);

    QImage image_;
    QSize retainedSize_; // the largest client area so far, device-independent
    QSize logicalSize_;
    qreal ratio_ = 1.0;
    QColor foreground_;
    QColor background_;
    QRgb foregroundRgb_;
    Scale scale_;
    std::int16_t drawWidth_ = 1;
    DotStamp pen_;  // the pen's dot, clipped to the client area
    int width_ = 0; // the client area's size in device pixels
    int height_ = 0;
    qsizetype stride_ = 0;
    double unitX_ = 1.0; // pixels per user unit, across and down
    double unitY_ = 1.0;
    std::function<void()> listener_;
    bool dirty_ = false;
};

} // namespace lumetra::surface
