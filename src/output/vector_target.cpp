// SPDX-License-Identifier: GPL-3.0-or-later
#include "output/vector_target.h"

#include "runtime/run_time_error.h"
#include "surface/colours.h"

#include <QPainter>

namespace lumetra::output {

void VectorTarget::setScaleMode(runtime::ScaleMode mode) {
    scale_.setMode(mode, area_.width(), area_.height());
}

void VectorTarget::setDrawWidth(std::int16_t width) {
    if (width < 1) {
        throw runtime::RunTimeError(runtime::ErrorCode::InvalidCall);
    }
    drawWidth_ = width;
}

QPointF VectorTarget::at(float x, float y) const {
    return {static_cast<double>(x) * area_.width() / static_cast<double>(scale_.width),
            static_cast<double>(y) * area_.height() / static_cast<double>(scale_.height)};
}

void VectorTarget::pset(float x, float y, runtime::Rgb colour) {
    dot(at(x, y), drawWidth_, surface::colourOf(colour));
}

void VectorTarget::line(float x1, float y1, float x2, float y2) {
    segment(at(x1, y1), at(x2, y2), drawWidth_, foreground_);
}

void VectorTarget::line(float x1, float y1, float x2, float y2, runtime::Rgb colour) {
    segment(at(x1, y1), at(x2, y2), drawWidth_, surface::colourOf(colour));
}

void PainterTarget::dot(QPointF centre, double diameter, QColor colour) {
    // A point drawn with a round pen is a filled circle of the pen's width; on
    // a PDF page or a printer it costs a fifth of an ellipse.
    painter_.setPen(QPen(colour, diameter, Qt::SolidLine, Qt::RoundCap));
    painter_.drawPoint(centre);
}

void PainterTarget::segment(QPointF from, QPointF to, double width, QColor colour) {
    painter_.setPen(QPen(colour, width, Qt::SolidLine, Qt::RoundCap));
    painter_.drawLine(from, to);
}

void PainterTarget::fill(QSize area, QColor colour) {
    painter_.fillRect(QRect(QPoint(0, 0), area), colour);
}

} // namespace lumetra::output
