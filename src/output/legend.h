// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "output/plot_record.h"

#include <QByteArray>
#include <QColor>
#include <QFont>
#include <QRectF>
#include <QString>

#include <vector>

class QPainter;

namespace lumetra::output {

// A curve's parameters as one line, the way its legend row and the picture's
// text show it: "OA 86 · 55° · incr. 1 · X=OA Cos · corde".
QString legendText(const RecordedPlot& plot);

// The curve in short, its first two parameters: "OA 86 · 55°".
QString curveName(const RecordedPlot& plot);

// The colour of a curve's second family, which tells the curves apart.
QColor curveColourOf(const RecordedPlot& plot);

// The legend box in the top-left corner of a picture: a row per curve, a
// swatch of its colour and its parameters. Rows that do not fit the picture's
// height give way to a last row that counts them. `grow` enlarges it all, for
// a picture shrunk onto paper.
struct Legend {
    struct Row {
        QRectF swatch; // empty for the row that counts the curves left out
        QPointF baseline;
        QString text;
        QColor colour;
    };
    QFont font;
    QRectF box;
    std::vector<Row> rows;
};

Legend layOutLegend(const PlotRecord& record, QSize area, QPointF corner = {}, double grow = 1.0);

// The row that counts the curves a list leaves out: "… e altre 3 curve".
QString curvesLeftOut(std::size_t count);

void paintLegend(QPainter& painter, const Legend& legend, QColor ink);

// The same legend as SVG elements.
QByteArray svgLegend(const Legend& legend, QColor ink);

} // namespace lumetra::output
