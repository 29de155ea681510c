// SPDX-License-Identifier: GPL-3.0-or-later
#include "surface/drawing_surface.h"

#include "runtime/run_time_error.h"

#include <QPainter>

#include <algorithm>
#include <array>
#include <cmath>
#include <utility>

namespace lumetra::surface {

namespace {

QSize devicePixels(QSize logicalSize, qreal devicePixelRatio) {
    return {static_cast<int>(std::lround(logicalSize.width() * devicePixelRatio)),
            static_cast<int>(std::lround(logicalSize.height() * devicePixelRatio))};
}

// Clips the segment p0-p1 to [lo, hi] on both axes (Liang-Barsky); false when
// nothing of it is left. An end cut by an edge is put on that edge exactly:
// far-off ends would leave rounding errors larger than the area.
bool clipSegment(double& x0, double& y0, double& x1, double& y1, double loX, double loY, double hiX,
                 double hiY) {
    double t0 = 0.0;
    double t1 = 1.0;
    int enter = -1;
    int leave = -1;
    const double dx = x1 - x0;
    const double dy = y1 - y0;
    const double p[4] = {-dx, dx, -dy, dy};
    const double q[4] = {x0 - loX, hiX - x0, y0 - loY, hiY - y0};
    const double edge[4] = {loX, hiX, loY, hiY};
    for (int i = 0; i < 4; ++i) {
        if (p[i] == 0.0) {
            if (q[i] < 0.0) {
                return false;
            }
            continue;
        }
        const double t = q[i] / p[i];
        if (p[i] < 0.0 && t > t0) {
            t0 = t;
            enter = i;
        } else if (p[i] > 0.0 && t < t1) {
            t1 = t;
            leave = i;
        }
        if (t0 > t1) {
            return false;
        }
    }
    const double sx = x0;
    const double sy = y0;
    x0 = enter == 0 || enter == 1 ? edge[enter] : sx + t0 * dx;
    y0 = enter == 2 || enter == 3 ? edge[enter] : sy + t0 * dy;
    x1 = leave == 0 || leave == 1 ? edge[leave] : sx + t1 * dx;
    y1 = leave == 2 || leave == 3 ? edge[leave] : sy + t1 * dy;
    return true;
}

} // namespace

DrawingSurface::DrawingSurface(QColor foreground, QColor background)
    : foreground_(foreground), background_(background), foregroundRgb_(foreground.rgb()) {
    resize(QSize(1, 1), 1.0);
}

void DrawingSurface::setColours(QColor foreground, QColor background) {
    foreground_ = foreground;
    foregroundRgb_ = foreground.rgb();
    background_ = background;
}

void DrawingSurface::setChangeListener(std::function<void()> listener) {
    listener_ = std::move(listener);
}

void DrawingSurface::resize(QSize logicalSize, qreal devicePixelRatio) {
    logicalSize = logicalSize.expandedTo(QSize(1, 1));
    const QSize pixels = devicePixels(logicalSize, devicePixelRatio);
    if (pixels == QSize(width_, height_) && devicePixelRatio == ratio_) {
        logicalSize_ = logicalSize;
        return;
    }
    if (!retain(logicalSize, devicePixelRatio)) {
        return; // no memory for the larger picture: keep the one there is
    }
    width_ = pixels.width();
    height_ = pixels.height();
    updatePen();
    logicalSize_ = logicalSize;
    // A scale that follows the client size keeps following it; a user scale stays.
    setScaleMode(scale_.mode);
    changed();
}

bool DrawingSurface::retain(QSize logicalSize, qreal devicePixelRatio) {
    const QSize retained = retainedSize_.expandedTo(logicalSize);
    if (retained == retainedSize_ && devicePixelRatio == ratio_) {
        return true;
    }
    QImage next(devicePixels(retained, devicePixelRatio), QImage::Format_RGB32);
    if (next.isNull()) {
        return false;
    }
    next.fill(background_);
    next.setDevicePixelRatio(devicePixelRatio);
    // The picture survives a move to a screen of another pixel ratio too,
    // scaled pixel for pixel to the same place in the window.
    QPainter(&next).drawImage(QPoint(0, 0), image_);
    image_ = std::move(next);
    stride_ = image_.bytesPerLine();
    retainedSize_ = retained;
    ratio_ = devicePixelRatio;
    return true;
}

void DrawingSurface::setScaleMode(runtime::ScaleMode mode) {
    scale_.setMode(mode, logicalSize_.width(), logicalSize_.height());
    updateMapping();
}

void DrawingSurface::setScaleWidth(float width) {
    scale_.setWidth(width);
    updateMapping();
}

void DrawingSurface::setScaleHeight(float height) {
    scale_.setHeight(height);
    updateMapping();
}

void DrawingSurface::setDrawWidth(std::int16_t width) {
    if (width < 1) {
        throw runtime::RunTimeError(runtime::ErrorCode::InvalidCall);
    }
    // A plot sets the same width before every point: keep the dot it has.
    if (width == drawWidth_) {
        return;
    }
    drawWidth_ = width;
    updatePen();
}

int DrawingSurface::penPixels() const {
    return std::max(1, static_cast<int>(std::lround(drawWidth_ * ratio_)));
}

void DrawingSurface::updatePen() {
    pen_ = DotStamp(penPixels(), width_, height_, stride_);
}

void DrawingSurface::updateMapping() {
    unitX_ = pixelsPerUnit(scale_.width, width_);
    unitY_ = pixelsPerUnit(scale_.height, height_);
}

void DrawingSurface::drawLine(float x1, float y1, float x2, float y2, QRgb colour) {
    double ax = pixelX(x1);
    double ay = pixelY(y1);
    double bx = pixelX(x2);
    double by = pixelY(y2);
    // An end that is NaN or infinite lies nowhere on the surface: such a line
    // draws nothing, and the clipping and rounding below get finite ends only.
    if (!std::isfinite(ax) || !std::isfinite(ay) || !std::isfinite(bx) || !std::isfinite(by)) {
        return;
    }
    // Keep a margin of a pen width so that a wide line just outside still
    // shows the part that reaches into the area.
    const double margin = penPixels() + 1.0;
    if (!clipSegment(ax, ay, bx, by, -margin, -margin, width_ - 1 + margin, height_ - 1 + margin)) {
        return;
    }
    int x = static_cast<int>(std::floor(ax + 0.5));
    int y = static_cast<int>(std::floor(ay + 0.5));
    const int xEnd = static_cast<int>(std::floor(bx + 0.5));
    const int yEnd = static_cast<int>(std::floor(by + 0.5));
    const int dx = std::abs(xEnd - x);
    const int dy = -std::abs(yEnd - y);
    const int sx = x < xEnd ? 1 : -1;
    const int sy = y < yEnd ? 1 : -1;
    int error = dx + dy;
    // One detach for the line: bits() detaches at every call.
    uchar* const bits = image_.bits();
    for (;;) {
        pen_.stamp(bits, x, y, colour);
        if (x == xEnd && y == yEnd) {
            break;
        }
        const int twice = 2 * error;
        if (twice >= dy) {
            error += dy;
            x += sx;
        }
        if (twice <= dx) {
            error += dx;
            y += sy;
        }
    }
    changed();
}

void DrawingSurface::pset(float x, float y) {
    psetMany(std::array{runtime::Dot{x, y, std::nullopt}});
}

void DrawingSurface::pset(float x, float y, runtime::Rgb colour) {
    psetMany(std::array{runtime::Dot{x, y, colour}});
}

void DrawingSurface::psetMany(std::span<const runtime::Dot> dots) {
    // One detach for the whole batch: bits() detaches at every call.
    if (pen_.stampAll(image_.bits(), dots, unitX_, unitY_, foregroundRgb_)) {
        changed();
    }
}

void DrawingSurface::line(float x1, float y1, float x2, float y2) {
    drawLine(x1, y1, x2, y2, foregroundRgb_);
}

void DrawingSurface::line(float x1, float y1, float x2, float y2, runtime::Rgb colour) {
    drawLine(x1, y1, x2, y2, opaque(colour));
}

void DrawingSurface::cls() {
    image_.fill(background_);
    changed();
}

void DrawingSurface::notifyChange() {
    dirty_ = true;
    if (listener_) {
        listener_();
    }
}

} // namespace lumetra::surface
