// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "output/vector_target.h"

#include <QByteArray>
#include <QString>

namespace lumetra::output {

// Vectors as SVG elements appended to a document's body: a point is a
// <circle>, a line a <line>, with coordinates written to the last digit a
// single needs, so that they read back as the very singles drawn.
class SvgTarget final : public VectorTarget {
public:
    SvgTarget(QByteArray& body, QColor foreground, QColor background)
        : VectorTarget(foreground, background), body_(body) {}

    // A group whose title a browser shows on hover; groups do not nest.
    void beginGroup(const QString& title);
    void endGroup();

protected:
    void dot(QPointF centre, double diameter, QColor colour) override;
    void segment(QPointF from, QPointF to, double width, QColor colour) override;
    void fill(QSize area, QColor colour) override;

private:
    QByteArray& body_;
    // A curve's dots share their size: its text, so that each dot writes only
    // its centre and colour.
    double lastDiameter_ = -1.0;
    QByteArray radius_;
};

// The number as SVG text: the shortest that reads back as the same single.
void appendNumber(QByteArray& out, double value);

// Text for an SVG element's content or attribute, escaped.
QByteArray svgText(const QString& text);

} // namespace lumetra::output
