// SPDX-License-Identifier: GPL-3.0-or-later
#include "output/construction_frame.h"

#include "geometry/calcola.h"
#include "geometry/plot_frame.h"
#include "geometry/plot_output.h"
#include "output/construction_words.h"
#include "surface/colours.h"
#include "surface/drawing_surface.h"

#include <QFontMetricsF>
#include <QPainter>
#include <QPainterPath>

#include <algorithm>
#include <cmath>
#include <numbers>
#include <vector>

namespace lumetra::output {

namespace {

using geometry::ConstructionPass;

constexpr qreal kDotRadius = 2.0;
constexpr qreal kArcRadius = 36.0;
constexpr qreal kTurnedArcRadius = 72.0;
constexpr qreal kLabelGap = 6.0;
constexpr qreal kWordsMargin = 8.0;
constexpr qreal kWordsPadding = 6.0;
constexpr qreal kWordsOpacity = 0.85;

// User units to logical pixels as the plot window's picture of the frame's size maps them.
class FigureMap {
public:
    FigureMap(const PlotConstruction& construction, QSize logical, qreal ratio)
        : ratio_(ratio), unitX_(logical.width() / static_cast<double>(construction.scaleWidth)),
          unitY_(logical.height() / static_cast<double>(construction.scaleHeight)),
          CX_(construction.construction.CX), CY_(construction.construction.CY) {}

    // A point relative to O, y upwards.
    QPointF cartesian(double x, double y) const {
        return {(static_cast<double>(CX_) + x) * unitX_, (static_cast<double>(CY_) - y) * unitY_};
    }
    QPointF origin() const { return cartesian(0.0, 0.0); }

    // The centre of the pixel on which the surface stamps a dot drawn at `at`.
    QPointF dotCentre(geometry::Position at) const {
        const double unitX = unitX_ * ratio_;
        const double unitY = unitY_ * ratio_;
        return {(std::floor(static_cast<double>(at.x) * unitX + 0.5) + 0.5) / ratio_,
                (std::floor(static_cast<double>(at.y) * unitY + 0.5) + 0.5) / ratio_};
    }

private:
    qreal ratio_;
    double unitX_;
    double unitY_;
    float CX_;
    float CY_;
};

void drawPasses(const geometry::Construction& c, int k, surface::DrawingSurface& surface) {
    geometry::PlotOutput output(surface, geometry::kPointWidth);
    std::vector<runtime::Dot> dots;
    dots.reserve(2 * static_cast<std::size_t>(k));
    for (int i = 0; i < k; ++i) {
        const ConstructionPass& pass = c.passes[static_cast<std::size_t>(i)];
        if (pass.drawsFirst()) {
            dots.push_back({pass.first.x, pass.first.y, std::nullopt});
        }
        if (pass.drawsPartner()) {
            dots.push_back({pass.partner.x, pass.partner.y, pass.colour});
        }
        if (pass.chord) {
            output.points(dots);
            dots.clear();
            output.line(pass.first.x, pass.first.y, pass.partner.x, pass.partner.y, pass.colour,
                        geometry::kChordWidth);
        }
    }
    output.points(dots);
}

QPen pen(const QColor& colour, qreal width, Qt::PenStyle style = Qt::SolidLine) {
    QPen result(colour, width, style);
    result.setCapStyle(Qt::FlatCap);
    return result;
}

// The angle of the screen direction from O to `to`, in degrees counter-clockwise as
// QPainter's arcs count them: with a scale taller than wide the angles look flatter.
qreal screenAngle(QPointF from, QPointF to) {
    const QPointF d = to - from;
    return std::atan2(-d.y(), d.x()) * 180.0 / std::numbers::pi;
}

void drawLabel(QPainter& painter, QPointF at, const QString& text) {
    painter.drawText(at + QPointF(kLabelGap, -kLabelGap), text);
}

// An arc of `radius` from the X axis to the direction of `towards`, labelled half-way.
void drawAngle(QPainter& painter, QPointF origin, QPointF towards, qreal radius,
               const QString& text) {
    const qreal angle = screenAngle(origin, towards);
    const QRectF box(origin - QPointF(radius, radius), QSizeF(2, 2) * radius);
    painter.drawArc(box, 0, static_cast<int>(std::lround(angle * 16.0)));
    const qreal middle = angle / 2.0 * std::numbers::pi / 180.0;
    drawLabel(painter, origin + QPointF(std::cos(middle), -std::sin(middle)) * (radius + kLabelGap),
              text);
}

// From the end of an arm, dotted to both axes; from the factors' marks on the
// axes, dotted to the point they give.
void drawProjections(QPainter& painter, const FigureMap& map, QPointF end, double x, double y,
                     QPointF point, const QColor& colour) {
    painter.setPen(pen(colour, 1.0, Qt::DotLine));
    const QPointF endOnX(end.x(), map.origin().y());
    const QPointF endOnY(map.origin().x(), end.y());
    painter.drawLine(end, endOnX);
    painter.drawLine(end, endOnY);
    const QPointF pointOnX = map.cartesian(x, 0.0);
    const QPointF pointOnY = map.cartesian(0.0, y);
    painter.drawLine(pointOnX, point);
    painter.drawLine(pointOnY, point);
    painter.setPen(pen(colour, 2.0));
    constexpr qreal kTick = 4.0;
    painter.drawLine(pointOnX - QPointF(0, kTick), pointOnX + QPointF(0, kTick));
    painter.drawLine(pointOnY - QPointF(kTick, 0), pointOnY + QPointF(kTick, 0));
}

// The pass's point at full strength over the faint trail, ringed.
void drawRing(QPainter& painter, QPointF centre, const QColor& colour) {
    painter.setPen(Qt::NoPen);
    painter.setBrush(colour);
    painter.drawEllipse(centre, kDotRadius, kDotRadius);
    painter.setPen(pen(colour, 2.0));
    painter.setBrush(Qt::NoBrush);
    painter.drawEllipse(centre, kRingRadius, kRingRadius);
}

void drawAxesThroughOrigin(QPainter& painter, const FigureMap& map, QSizeF size,
                           const QColor& colour) {
    const QPointF origin = map.origin();
    painter.setPen(pen(colour, 1.0));
    painter.drawLine(QPointF(0, origin.y()), QPointF(size.width(), origin.y()));
    painter.drawLine(QPointF(origin.x(), 0), QPointF(origin.x(), size.height()));
    painter.drawText(origin + QPointF(-kLabelGap - painter.fontMetrics().horizontalAdvance(u'O'),
                                      painter.fontMetrics().ascent() + kLabelGap / 2),
                     QStringLiteral("O"));
}

void drawPass(QPainter& painter, const PlotConstruction& construction, const FigureMap& map,
              const ConstructionPass& pass, const FrameColours& colours) {
    const geometry::Construction& c = construction.construction;
    const QColor curve = surface::colourOf(pass.colour);
    const QPointF origin = map.origin();
    const QPointF end = map.cartesian(c.OA * std::cos(c.BETA1), c.OA * std::sin(c.BETA1));
    painter.setPen(pen(colours.foreground, 2.0));
    painter.drawLine(origin, end);
    drawLabel(painter, end, QStringLiteral("A"));
    painter.setPen(pen(colours.foreground, 1.0));
    drawAngle(painter, origin, end, kArcRadius, QStringLiteral("BETA1"));
    if (pass.outcome == geometry::PassOutcome::Stopped) {
        return;
    }
    const QPointF turned = map.cartesian(c.OA * std::cos(pass.gamma), c.OA * std::sin(pass.gamma));
    painter.setPen(pen(curve, 2.0, Qt::DashLine));
    painter.drawLine(origin, turned);
    painter.setPen(pen(curve, 1.0));
    // Further out than BETA1's arc, so that the labels stay apart when the directions meet.
    drawAngle(painter, origin, turned, kTurnedArcRadius,
              QStringLiteral("A2 = %1\u00B0").arg(pass.A2));
    if (pass.outcome == geometry::PassOutcome::ZeroFactor) {
        return;
    }
    const QPointF first =
        pass.drawsFirst() ? map.dotCentre(pass.first) : map.cartesian(pass.X1, pass.Y1);
    drawProjections(painter, map, end, pass.X1, pass.Y1, first, colours.foreground);
    if (pass.outcome == geometry::PassOutcome::FirstOutOfRange) {
        return;
    }
    const QPointF partner =
        pass.drawsPartner() ? map.dotCentre(pass.partner) : map.cartesian(pass.XS, pass.YS);
    drawProjections(painter, map, turned, pass.XS, pass.YS, partner, curve);
    if (pass.chord) {
        painter.setPen(pen(curve, 2.0));
        painter.drawLine(first, partner);
    }
    drawRing(painter, first, colours.foreground);
    if (pass.drawsPartner()) {
        drawRing(painter, partner, curve);
    }
}

void drawWords(QPainter& painter, const QStringList& lines, const FrameColours& colours) {
    const QFontMetricsF metrics(painter.font());
    qreal width = 0.0;
    for (const QString& line : lines) {
        width = std::max(width, metrics.horizontalAdvance(line));
    }
    const QRectF box(kWordsMargin, kWordsMargin, width + 2 * kWordsPadding,
                     metrics.lineSpacing() * lines.size() + 2 * kWordsPadding);
    QColor back = colours.background;
    back.setAlphaF(kWordsOpacity);
    painter.setPen(Qt::NoPen);
    painter.setBrush(back);
    painter.drawRect(box);
    painter.setPen(colours.foreground);
    QPointF at = box.topLeft() + QPointF(kWordsPadding, kWordsPadding + metrics.ascent());
    for (const QString& line : lines) {
        painter.drawText(at, line);
        at.ry() += metrics.lineSpacing();
    }
}

// A plot whose set-up failed (a calibration factor of 0) has no scale to draw in.
bool hasScale(const PlotConstruction& construction) {
    return construction.scaleWidth != 0.0F && construction.scaleHeight != 0.0F;
}

} // namespace

int passCount(const PlotConstruction& construction) {
    return static_cast<int>(construction.construction.passes.size());
}

QImage constructionTrail(const PlotConstruction& construction, int k, QSize logical, qreal ratio,
                         const FrameColours& colours) {
    const geometry::Construction& c = construction.construction;
    surface::DrawingSurface surface(colours.foreground, colours.background);
    surface.resize(logical, ratio);
    if (!hasScale(construction)) {
        return surface.image();
    }
    surface.setScaleMode(runtime::ScaleMode::Centimetres);
    surface.setScaleWidth(construction.scaleWidth);
    surface.setScaleHeight(construction.scaleHeight);
    surface.setDrawWidth(geometry::kAxisWidth);
    geometry::drawPlotAxes(surface, c.CX, c.CY);
    drawPasses(c, std::clamp(k, 0, passCount(construction)), surface);
    return surface.image();
}

QImage constructionFrame(const PlotConstruction& construction, int k, QSize logical, qreal ratio,
                         bool words, const FrameColours& colours, Edges edges) {
    QImage frame = constructionTrail(construction, k, logical, ratio, colours);
    if (!hasScale(construction)) {
        return frame;
    }
    QPainter painter(&frame);
    QColor wash = colours.background;
    wash.setAlphaF(1.0 - kTrailStrength);
    painter.fillRect(QRectF(QPointF(0, 0), QSizeF(logical)), wash);
    if (edges == Edges::Smooth) {
        painter.setRenderHint(QPainter::Antialiasing);
    } else {
        QFont font = painter.font();
        font.setStyleStrategy(QFont::NoAntialias);
        painter.setFont(font);
    }
    const FigureMap map(construction, logical, ratio);
    drawAxesThroughOrigin(painter, map, logical, colours.foreground);
    if (k >= 1 && k <= passCount(construction)) {
        drawPass(painter, construction, map, construction.construction.passes[k - 1], colours);
    }
    if (words) {
        drawWords(painter, passWords(construction, k), colours);
    }
    return frame;
}

} // namespace lumetra::output
