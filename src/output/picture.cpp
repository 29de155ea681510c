// SPDX-License-Identifier: GPL-3.0-or-later
#include "output/picture.h"

#include "output/legend.h"
#include "output/picture_layout.h"
#include "output/replay.h"
#include "output/surface_replay.h"
#include "output/svg_target.h"
#include "output/vector_target.h"
#include "output/work_in_picture.h"
#include "surface/drawing_surface.h"

#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>

#include <cmath>

namespace lumetra::output {

namespace {

constexpr double kInchesPerMetre = 1.0 / 0.0254;
constexpr double kMillimetresPerInch = 25.4;
constexpr double kPointsPerInch = 72.0;
constexpr qsizetype kSvgBytesPerPlot = 2 * 901 * 64; // two dots a pass, a circle about 60 bytes
constexpr std::size_t kCurvesInTitle = 3;
const QString kTitle = QStringLiteral("LUMETRA");

// Sets each plot's drawing area on the target and reports progress.
BeforePlot beforeEachPlot(VectorTarget& target, const Progress& progress) {
    return [&target, &progress](const RecordedPlot& plot) {
        target.setArea(plot.area());
        return !progress || progress();
    };
}

QColor backgroundOf(const Picture& picture) {
    return picture.options.screenBackground ? picture.background : QColor(Qt::white);
}

QRectF curvesOf(const Picture& picture) {
    return picture.options.crop ? curvesBox(picture.record, picture.area) : QRectF();
}

QRect pixelsOf(QSize area, qreal ratio) {
    return {QPoint(0, 0), (QSizeF(area) * ratio).toSize()};
}

void replaceColour(QImage& image, QRgb from, QRgb to) {
    for (int y = 0; y < image.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        std::replace(line, line + image.width(), from, to);
    }
}

// The drawing area at `ratio` device pixels per logical pixel, in the
// picture's background: the kept image when it has that ratio, else drawn
// again from the record. Null when there is no memory for it.
QImage drawingAt(const Picture& picture, qreal ratio) {
    const QColor background = backgroundOf(picture);
    if (!picture.image.isNull() && ratio == picture.image.devicePixelRatio()) {
        // The kept image may be larger, from a larger window before: only the drawing area counts.
        const QRect area = pixelsOf(picture.area, ratio);
        QImage image = picture.image.rect() == area ? picture.image : picture.image.copy(area);
        // Colours are opaque on the surface: a pixel of the background colour is background.
        if (background != picture.background) {
            replaceColour(image, picture.background.rgb(), background.rgb());
        }
        return image;
    }
    surface::DrawingSurface surface(picture.foreground, background);
    surface.resize(picture.area, ratio);
    if (surface.logicalSize() != picture.area) {
        return {};
    }
    replayOnSurface(picture.record, surface);
    const QRect area = pixelsOf(picture.area, ratio);
    return surface.image().rect() == area ? surface.image() : surface.image().copy(area);
}

void setResolution(QImage& image, double dotsPerInch) {
    const auto dotsPerMetre = static_cast<int>(std::lround(dotsPerInch * kInchesPerMetre));
    // Setting a resolution copies a shared image, even to the same value.
    if (image.dotsPerMeterX() != dotsPerMetre || image.dotsPerMeterY() != dotsPerMetre) {
        image.setDotsPerMeterX(dotsPerMetre);
        image.setDotsPerMeterY(dotsPerMetre);
    }
}

// Where the picture's pixels come from: so many device pixels per logical
// pixel, the frame's place in an image of a size.
struct RasterPlan {
    PictureLayout layout;
    qreal ratio;
    QSize pixels;
    QPointF frameAt; // the frame's top-left corner in the image
};

RasterPlan planRaster(const Picture& picture, const QRectF& curves, double dotsPerInch) {
    const qreal screenRatio = picture.image.isNull() ? 1.0 : picture.image.devicePixelRatio();
    const std::optional<int> chosen = picture.options.dotsPerInch;
    if (!picture.options.paper) {
        const PictureLayout layout = layOutPicture(picture, curves);
        const qreal ratio = chosen ? *chosen / kScreenDotsPerInch : screenRatio;
        const QSize pixels(static_cast<int>(std::lround(layout.frame.width() * ratio)),
                           static_cast<int>(std::lround(layout.frame.height() * ratio)));
        return {layout, ratio, pixels, QPointF(0, 0)};
    }
    const QPageLayout paper = paperFor(*picture.options.paper, picture.options.orientByFigure,
                                       layOutPicture(picture, curves).frame);
    const PictureLayout layout = layOutPicture(picture, curves, roomOn(paper));
    const qreal ratio = dotsPerInch / kScreenDotsPerInch * layout.scale;
    // Millimetres, which the ISO sizes are made of; Qt rounds inches to hundredths.
    const double perMillimetre = dotsPerInch / kMillimetresPerInch;
    const QSizeF full = paper.fullRect(QPageLayout::Millimeter).size() * perMillimetre;
    const QRectF paintMm = paper.paintRect(QPageLayout::Millimeter);
    const QRectF paint(paintMm.topLeft() * perMillimetre, paintMm.size() * perMillimetre);
    const QSizeF frame = layout.frame.size() * ratio;
    return {layout, ratio,
            QSize(static_cast<int>(std::lround(full.width())),
                  static_cast<int>(std::lround(full.height()))),
            paint.center() - QPointF(frame.width(), frame.height()) / 2.0};
}

// The picture in vectors within `page`, laid out with the curves' box `curves`.
bool paintLaidOut(QPainter& painter, const QRectF& page, const Picture& picture,
                  const QRectF& curves, const Progress& progress) {
    const double unit = painter.device()->logicalDpiX() / kScreenDotsPerInch;
    const PictureLayout layout = layOutPicture(picture, curves, page.size() / unit);
    const QRectF frame = layout.frame;
    const double scale = layout.scale * unit;
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.translate(page.center() - QPointF(frame.width(), frame.height()) * scale / 2.0);
    painter.scale(scale, scale);
    painter.translate(-frame.topLeft());
    painter.setClipRect(frame);
    painter.fillRect(frame, backgroundOf(picture));
    painter.setClipRect(QRectF(QPointF(0, 0), picture.area), Qt::IntersectClip);
    PainterTarget target(painter, picture.foreground, backgroundOf(picture));
    const bool complete = replay(picture.record, target, beforeEachPlot(target, progress));
    painter.setClipRect(frame);
    if (complete && layout.legend) {
        paintLegend(painter, *layout.legend, picture.foreground);
    }
    painter.restore();
    return complete;
}

} // namespace

QImage rasterImage(const Picture& picture) {
    const std::optional<int> chosen = picture.options.dotsPerInch;
    const qreal screenRatio = picture.image.isNull() ? 1.0 : picture.image.devicePixelRatio();
    const double dotsPerInch = chosen ? *chosen : picture.dotsPerInch * screenRatio;
    const RasterPlan plan = planRaster(picture, curvesOf(picture), dotsPerInch);
    QImage drawing = drawingAt(picture, plan.ratio);
    if (drawing.isNull()) {
        return {};
    }
    const QRectF whole(QPointF(0, 0), picture.area);
    QImage image;
    QPointF areaAt;
    if (!picture.options.paper && plan.layout.frame == whole) {
        image = std::move(drawing);
    } else {
        image = QImage(plan.pixels, QImage::Format_RGB32);
        if (image.isNull()) {
            return {};
        }
        image.fill(backgroundOf(picture));
        areaAt = (plan.frameAt - plan.layout.frame.topLeft() * plan.ratio).toPoint();
        drawing.setDevicePixelRatio(1.0);
        QPainter painter(&image);
        painter.setClipRect(QRectF(plan.frameAt, plan.layout.frame.size() * plan.ratio));
        painter.drawImage(areaAt, drawing);
    }
    image.setDevicePixelRatio(1.0);
    if (plan.layout.legend) {
        QPainter painter(&image);
        painter.translate(areaAt);
        painter.scale(plan.ratio, plan.ratio);
        paintLegend(painter, *plan.layout.legend, picture.foreground);
    }
    setResolution(image, dotsPerInch);
    image.setDevicePixelRatio(plan.ratio);
    return image;
}

QString pdfTitle(const PlotRecord& record) {
    if (record.empty()) {
        return kTitle;
    }
    QStringList curves;
    for (std::size_t i = 0; i < std::min(record.size(), kCurvesInTitle); ++i) {
        curves << legendText(record.plots()[i]);
    }
    if (record.size() > kCurvesInTitle) {
        curves << curvesLeftOut(record.size() - kCurvesInTitle);
    }
    return curves.join(QStringLiteral("; "));
}

QList<std::pair<QString, QString>> pictureTexts(const Picture& picture) {
    QStringList curves;
    for (const RecordedPlot& plot : picture.record.plots()) {
        curves << legendText(plot);
    }
    return {{QStringLiteral("Title"), kTitle}, {QStringLiteral("Description"), curves.join(u'\n')}};
}

QImage rasterPicture(const Picture& picture) {
    QImage image = rasterImage(picture);
    for (const auto& [key, text] : pictureTexts(picture)) {
        image.setText(key, text);
    }
    return image;
}

std::optional<QByteArray> svgPicture(const Picture& picture, const Progress& progress) {
    const PictureLayout layout = layOutPicture(picture, curvesOf(picture));
    const QRectF frame = layout.frame;
    QByteArray size;
    appendNumber(size, frame.width());
    size += "\" height=\"";
    appendNumber(size, frame.height());
    QByteArray view;
    for (const double number : {frame.x(), frame.y(), frame.width(), frame.height()}) {
        appendNumber(view, number);
        view += ' ';
    }
    view.chop(1);
    const QColor background = backgroundOf(picture);
    QByteArray svg = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                     "<svg xmlns=\"http://www.w3.org/2000/svg\" version=\"1.1\" width=\"" +
                     size + "\" viewBox=\"" + view + "\">\n<title>" + kTitle.toUtf8() +
                     "</title>\n" + svgWorkMetadata(workText(picture.record));
    // Grown once rather than copied over and over as it fills.
    svg.reserve(static_cast<qsizetype>(picture.record.size()) * kSvgBytesPerPlot);
    svg += "<rect x=\"";
    appendNumber(svg, frame.x());
    svg += "\" y=\"";
    appendNumber(svg, frame.y());
    svg += "\" width=\"" + size + "\" fill=\"" + background.name().toLatin1() + "\"/>\n";
    // The drawing shows within its area only, also where the frame reaches beyond it.
    svg += "<clipPath id=\"area\"><rect width=\"" + QByteArray::number(picture.area.width()) +
           "\" height=\"" + QByteArray::number(picture.area.height()) +
           "\"/></clipPath>\n<g clip-path=\"url(#area)\">\n";
    SvgTarget target(svg, picture.foreground, background);
    target.setArea(picture.area);
    const BeforePlot next = beforeEachPlot(target, progress);
    bool inGroup = false;
    const bool complete = replay(picture.record, target, [&](const RecordedPlot& plot) {
        if (inGroup) {
            target.endGroup();
        }
        if (!next(plot)) {
            return false;
        }
        target.beginGroup(legendText(plot));
        inGroup = true;
        return true;
    });
    if (!complete) {
        return std::nullopt;
    }
    if (inGroup) {
        target.endGroup();
    }
    svg += "</g>\n";
    if (layout.legend) {
        svg += svgLegend(*layout.legend, picture.foreground);
    }
    svg += "</svg>\n";
    return svg;
}

bool paintPicture(QPainter& painter, const QRectF& page, const Picture& picture,
                  const Progress& progress) {
    return paintLaidOut(painter, page, picture, curvesOf(picture), progress);
}

bool writePdf(QIODevice& device, const Picture& picture, const Progress& progress) {
    const QRectF curves = curvesOf(picture);
    const QString title = pdfTitle(picture.record);
    QPdfWriter writer(&device);
    writer.setCreator(kTitle);
    writer.setTitle(title);
    writer.setDocumentXmpMetadata(pdfWorkMetadata(title, workText(picture.record)));
    writer.setResolution(
        static_cast<int>(std::lround(picture.options.dotsPerInch.value_or(picture.dotsPerInch))));
    const QRectF frame = layOutPicture(picture, curves).frame;
    if (picture.options.paper) {
        writer.setPageLayout(
            paperFor(*picture.options.paper, picture.options.orientByFigure, frame));
    } else {
        // One point of the page per logical pixel at the screen's resolution.
        const QSizeF points = frame.size() * kPointsPerInch / picture.dotsPerInch;
        writer.setPageSize(QPageSize(points, QPageSize::Point, QString(), QPageSize::ExactMatch));
        writer.setPageMargins(QMarginsF());
    }
    QPainter painter(&writer);
    return paintLaidOut(painter, QRectF(0, 0, writer.width(), writer.height()), picture, curves,
                        progress);
}

} // namespace lumetra::output
