// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "runtime/draw_target.h"
#include "surface/scale.h"

#include <QColor>
#include <QPointF>
#include <QSize>

class QPainter;

namespace lumetra::output {

// The drawing surface's operations as vectors: user units map to the logical
// pixels of a drawing area exactly as on screen, but nothing is rounded to
// pixels. A point is a filled circle as wide as the pen, a line a stroke as
// wide as the pen with round ends; the picture's bounds clip both.
class VectorTarget : public runtime::DrawTarget {
public:
    VectorTarget(QColor foreground, QColor background)
        : foreground_(foreground), background_(background) {}

    // The drawing area the next drawing maps to: the window's, in logical
    // pixels, when that drawing was made on screen.
    void setArea(QSize area) { area_ = area; }

    void setScaleMode(runtime::ScaleMode mode) override;
    void setScaleWidth(float width) override { scale_.setWidth(width); }
    void setScaleHeight(float height) override { scale_.setHeight(height); }
    float scaleWidth() const override { return scale_.width; }
    float scaleHeight() const override { return scale_.height; }
    void setDrawWidth(std::int16_t width) override;

    void pset(float x, float y) override { dot(at(x, y), drawWidth_, foreground_); }
    void pset(float x, float y, runtime::Rgb colour) override;
    void line(float x1, float y1, float x2, float y2) override;
    void line(float x1, float y1, float x2, float y2, runtime::Rgb colour) override;
    // Fills the drawing area with the background colour.
    void cls() override { fill(area_, background_); }

    // Where a position in user units lies in the drawing area's logical pixels.
    QPointF at(float x, float y) const;

protected:
    virtual void dot(QPointF centre, double diameter, QColor colour) = 0;
    virtual void segment(QPointF from, QPointF to, double width, QColor colour) = 0;
    virtual void fill(QSize area, QColor colour) = 0;

private:
    QColor foreground_;
    QColor background_;
    QSize area_;
    surface::Scale scale_;
    std::int16_t drawWidth_ = 1;
};

// Vectors on any QPainter: a PDF page, a printer, a preview, an image.
class PainterTarget final : public VectorTarget {
public:
    PainterTarget(QPainter& painter, QColor foreground, QColor background)
        : VectorTarget(foreground, background), painter_(painter) {}

protected:
    void dot(QPointF centre, double diameter, QColor colour) override;
    void segment(QPointF from, QPointF to, double width, QColor colour) override;
    void fill(QSize area, QColor colour) override;

private:
    QPainter& painter_;
};

} // namespace lumetra::output
