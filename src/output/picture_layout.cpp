// SPDX-License-Identifier: GPL-3.0-or-later
#include "output/picture_layout.h"

#include "output/picture.h"
#include "output/replay.h"
#include "output/vector_target.h"

#include <algorithm>
#include <cmath>

namespace lumetra::output {

namespace {

constexpr double kMillimetresPerInch = 25.4;
constexpr double kCropMargin = 5.0 * kScreenDotsPerInch / kMillimetresPerInch;
// A legend enlarged for paper makes the frame larger, which shrinks it again:
// a few rounds settle it.
constexpr int kLegendRounds = 8;

// Gathers where dots and coloured lines fall; the lines without a colour of
// their own are the axes, which stretch across the whole area.
class BoundsTarget final : public VectorTarget {
public:
    explicit BoundsTarget(QSize area)
        : VectorTarget(Qt::black, Qt::white), shown_(QPointF(0, 0), area) {}
    using VectorTarget::line;
    void line(float, float, float, float) override {}
    QRectF box() const { return box_; }

protected:
    void dot(QPointF centre, double diameter, QColor) override {
        add(QRectF(centre.x() - diameter / 2, centre.y() - diameter / 2, diameter, diameter));
    }
    void segment(QPointF from, QPointF to, double width, QColor) override {
        add(QRectF(from, to).normalized().adjusted(-width / 2, -width / 2, width / 2, width / 2));
    }
    void fill(QSize, QColor) override {}

private:
    void add(const QRectF& mark) {
        const QRectF shown = mark.intersected(shown_);
        if (!shown.isEmpty()) {
            box_ = box_.isNull() ? shown : box_.united(shown);
        }
    }

    QRectF shown_;
    QRectF box_;
};

QRectF cropped(const QRectF& curves, QSize area) {
    return curves.isEmpty() ? QRectF(QPointF(0, 0), area)
                            : curves.adjusted(-kCropMargin, -kCropMargin, kCropMargin, kCropMargin);
}

// The frame and its legend, the legend at the frame's corner and `grow` times its size.
PictureLayout arrange(const Picture& picture, const QRectF& curves, double grow) {
    PictureLayout layout{QRectF(QPointF(0, 0), picture.area), std::nullopt};
    const bool legend = picture.options.legend && !picture.record.empty();
    if (!picture.options.crop) {
        if (legend) {
            layout.legend = layOutLegend(picture.record, picture.area, {}, grow);
        }
        return layout;
    }
    layout.frame = cropped(curves, picture.area);
    if (legend) {
        // Above the curves, so that it covers none of them.
        const Legend sized = layOutLegend(picture.record, picture.area, {}, grow);
        const QRectF box = sized.box;
        layout.frame.setTop(layout.frame.top() - box.bottom());
        layout.frame.setWidth(std::max(layout.frame.width(), box.right() + box.left()));
        layout.legend = layOutLegend(picture.record, picture.area, layout.frame.topLeft(), grow);
    }
    return layout;
}

double fitting(const QRectF& frame, QSizeF room) {
    return std::min(room.width() / frame.width(), room.height() / frame.height());
}

} // namespace

QRectF curvesBox(const PlotRecord& record, QSize area) {
    BoundsTarget bounds(area);
    replay(record, bounds, [&bounds](const RecordedPlot& plot) {
        bounds.setArea(plot.area());
        return true;
    });
    return bounds.box();
}

PictureLayout layOutPicture(const Picture& picture, const QRectF& curves,
                            std::optional<QSizeF> room) {
    PictureLayout layout = arrange(picture, curves, 1.0);
    if (!room) {
        return layout;
    }
    double grow = 1.0;
    for (int round = 0; round < kLegendRounds && layout.legend; ++round) {
        grow = std::max(1.0, 1.0 / fitting(layout.frame, *room));
        layout = arrange(picture, curves, grow);
    }
    layout.scale = fitting(layout.frame, *room);
    return layout;
}

QPageLayout paperFor(const QPageLayout& paper, bool orientByFigure, const QRectF& frame) {
    QPageLayout turned = paper;
    if (orientByFigure) {
        turned.setOrientation(frame.width() >= frame.height() ? QPageLayout::Landscape
                                                              : QPageLayout::Portrait);
    }
    return turned;
}

QSizeF roomOn(const QPageLayout& paper) {
    return paper.paintRect(QPageLayout::Millimeter).size() * kScreenDotsPerInch /
           kMillimetresPerInch;
}

} // namespace lumetra::output
