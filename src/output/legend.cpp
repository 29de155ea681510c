// SPDX-License-Identifier: GPL-3.0-or-later
#include "output/legend.h"

#include "geometry/calcola.h"
#include "geometry/plot_variables.h"
#include "output/svg_target.h"
#include "output/vector_target.h"
#include "runtime/locale_numbers.h"
#include "surface/colours.h"

#include <QFontMetricsF>
#include <QPainter>

#include <algorithm>
#include <cmath>

namespace lumetra::output {

namespace {

constexpr int kColourAfterWrap = 2; // the colour counter starts again at 1
constexpr int kFontPixels = 12;
constexpr double kMargin = 8.0;
constexpr double kPadding = 6.0;
constexpr double kSwatch = 10.0;
constexpr double kGap = 6.0;
constexpr double kRowSpacing = 3.0;
const QColor kBoxFill = Qt::white;
const QString kSeparator = QStringLiteral(" \u00B7 ");

QString numberText(double value) {
    return std::isnan(value) ? QStringLiteral("?") : runtime::formatLocaleNumber(value);
}

QByteArray colourName(QColor colour) {
    return colour.name().toLatin1();
}

} // namespace

QString curveName(const RecordedPlot& plot) {
    return QStringLiteral("OA ") + numberText(plot.VALa) + kSeparator + numberText(plot.VALb) +
           QStringLiteral("\u00B0");
}

QString legendText(const RecordedPlot& plot) {
    QString text = curveName(plot) + kSeparator + QStringLiteral("incr. ") + numberText(plot.VALe);
    if (plot.xCosine) {
        text += kSeparator + QStringLiteral("X=OA Cos");
    }
    if (plot.yCosine) {
        text += kSeparator + QStringLiteral("Y=OA Cos");
    }
    if (plot.chords) {
        text += kSeparator + QStringLiteral("corde");
    }
    return text;
}

QColor curveColourOf(const RecordedPlot& plot) {
    // The plot raises the counter first and draws in counter + 1; a counter
    // raised to 14 gives one point colour 15 and all the others colour 2.
    const int counter = plot.Miocolor + 1;
    return surface::colourOf(geometry::curveColour(
        counter == geometry::kLastCurveColour ? kColourAfterWrap : counter + 1));
}

QString curvesLeftOut(std::size_t count) {
    return QStringLiteral("\u2026 e altre %1 curve").arg(count);
}

Legend layOutLegend(const PlotRecord& record, QSize area, QPointF corner, double grow) {
    Legend legend;
    legend.font = QFont(QStringLiteral("Liberation Sans"));
    // Rounded up: a legend grown to a size on paper is never below it.
    legend.font.setPixelSize(static_cast<int>(std::ceil(kFontPixels * grow - 1e-9)));
    const QFontMetricsF metrics(legend.font);
    const double margin = kMargin * grow;
    const double padding = kPadding * grow;
    const double swatch = kSwatch * grow;
    const double gap = kGap * grow;
    const double spacing = kRowSpacing * grow;
    const double rowHeight = std::ceil(metrics.height()) + spacing;
    const auto fitting = static_cast<std::size_t>(
        std::max(1.0, std::floor((area.height() - 2 * (margin + padding)) / rowHeight)));
    const std::size_t total = record.size();
    const std::size_t listed = total <= fitting ? total : fitting - 1;

    const double left = corner.x() + margin + padding;
    double top = corner.y() + margin + padding;
    double widest = 0.0;
    const auto addRow = [&](const QString& text, const QColor& colour, bool withSwatch) {
        const double textLeft = withSwatch ? left + swatch + gap : left;
        const QRectF swatchRect =
            withSwatch ? QRectF(left, top + (rowHeight - swatch) / 2, swatch, swatch) : QRectF();
        legend.rows.push_back({swatchRect,
                               QPointF(textLeft, top + (rowHeight - spacing) / 2 +
                                                     (metrics.ascent() - metrics.descent()) / 2),
                               text, colour});
        widest = std::max(widest, textLeft - left + metrics.horizontalAdvance(text));
        top += rowHeight;
    };
    for (std::size_t i = 0; i < listed; ++i) {
        const RecordedPlot& plot = record.plots()[i];
        addRow(legendText(plot), curveColourOf(plot), true);
    }
    if (listed < total) {
        addRow(curvesLeftOut(total - listed), QColor(), false);
    }
    legend.box = QRectF(corner.x() + margin, corner.y() + margin, widest + 2 * padding,
                        top - corner.y() - margin + padding);
    return legend;
}

void paintLegend(QPainter& painter, const Legend& legend, QColor ink) {
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(ink, 1.0));
    painter.setBrush(kBoxFill);
    painter.drawRect(legend.box);
    painter.setFont(legend.font);
    for (const Legend::Row& row : legend.rows) {
        if (!row.swatch.isEmpty()) {
            painter.setBrush(row.colour);
            painter.drawRect(row.swatch);
        }
        painter.drawText(row.baseline, row.text);
    }
    painter.restore();
}

QByteArray svgLegend(const Legend& legend, QColor ink) {
    const QByteArray inkName = colourName(ink);
    QByteArray out("<g stroke-width=\"1\" font-family=\"Liberation Sans, Arial, sans-serif\" "
                   "font-size=\"");
    out.append(QByteArray::number(legend.font.pixelSize())).append("\">\n");
    const auto rect = [&](const QRectF& r, const QByteArray& fill) {
        out.append("<rect x=\"");
        appendNumber(out, r.x());
        out.append("\" y=\"");
        appendNumber(out, r.y());
        out.append("\" width=\"");
        appendNumber(out, r.width());
        out.append("\" height=\"");
        appendNumber(out, r.height());
        out.append("\" fill=\"").append(fill).append("\" stroke=\"").append(inkName);
        out.append("\"/>\n");
    };
    rect(legend.box, colourName(kBoxFill));
    for (const Legend::Row& row : legend.rows) {
        if (!row.swatch.isEmpty()) {
            rect(row.swatch, colourName(row.colour));
        }
        out.append("<text x=\"");
        appendNumber(out, row.baseline.x());
        out.append("\" y=\"");
        appendNumber(out, row.baseline.y());
        out.append("\" fill=\"").append(inkName).append("\">");
        out.append(svgText(row.text)).append("</text>\n");
    }
    out.append("</g>\n");
    return out;
}

} // namespace lumetra::output
