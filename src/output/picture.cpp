// SPDX-License-Identifier: GPL-3.0-or-later
#include "output/picture.h"

#include "output/legend.h"
#include "output/replay.h"
#include "output/svg_target.h"
#include "output/vector_target.h"
#include "output/work_in_picture.h"

#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>

#include <cmath>

namespace lumetra::output {

namespace {

constexpr double kInchesPerMetre = 1.0 / 0.0254;
constexpr double kPointsPerInch = 72.0;
constexpr qsizetype kSvgBytesPerPlot = 2 * 901 * 64; // two dots a pass, a circle about 60 bytes
const QString kTitle = QStringLiteral("LUMETRA");

// Sets each plot's drawing area on the target and reports progress.
BeforePlot beforeEachPlot(VectorTarget& target, const Progress& progress) {
    return [&target, &progress](const RecordedPlot& plot) {
        target.setArea(plot.area());
        return !progress || progress();
    };
}

} // namespace

QImage areaImage(const Picture& picture) {
    // The kept image may be larger, from a larger window before: only the drawing area counts.
    const qreal ratio = picture.image.devicePixelRatio();
    const QRect area(QPoint(0, 0), (QSizeF(picture.area) * ratio).toSize());
    QImage image = picture.image.rect() == area ? picture.image : picture.image.copy(area);
    const auto dotsPerMetre =
        static_cast<int>(std::lround(picture.dotsPerInch * ratio * kInchesPerMetre));
    // Setting a resolution copies a shared image, even to the same value.
    if (image.dotsPerMeterX() != dotsPerMetre || image.dotsPerMeterY() != dotsPerMetre) {
        image.setDotsPerMeterX(dotsPerMetre);
        image.setDotsPerMeterY(dotsPerMetre);
    }
    if (picture.legend && !picture.record.empty()) {
        QPainter painter(&image);
        paintLegend(painter, layOutLegend(picture.record, picture.area), picture.foreground);
    }
    return image;
}

QList<std::pair<QString, QString>> pictureTexts(const Picture& picture) {
    QStringList curves;
    for (const RecordedPlot& plot : picture.record.plots()) {
        curves << legendText(plot);
    }
    return {{QStringLiteral("Title"), kTitle}, {QStringLiteral("Description"), curves.join(u'\n')}};
}

QImage rasterPicture(const Picture& picture) {
    QImage image = areaImage(picture);
    for (const auto& [key, text] : pictureTexts(picture)) {
        image.setText(key, text);
    }
    return image;
}

std::optional<QByteArray> svgPicture(const Picture& picture, const Progress& progress) {
    const QByteArray width = QByteArray::number(picture.area.width());
    const QByteArray height = QByteArray::number(picture.area.height());
    QByteArray svg = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                     "<svg xmlns=\"http://www.w3.org/2000/svg\" version=\"1.1\" width=\"" +
                     width + "\" height=\"" + height + "\" viewBox=\"0 0 " + width + ' ' + height +
                     "\">\n<title>" + kTitle.toUtf8() + "</title>\n" +
                     svgWorkMetadata(workText(picture.record));
    // Grown once rather than copied over and over as it fills.
    svg.reserve(static_cast<qsizetype>(picture.record.size()) * kSvgBytesPerPlot);
    SvgTarget target(svg, picture.foreground, picture.background);
    target.setArea(picture.area);
    target.cls();
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
    if (picture.legend && !picture.record.empty()) {
        svg += svgLegend(layOutLegend(picture.record, picture.area), picture.foreground);
    }
    svg += "</svg>\n";
    return svg;
}

bool paintPicture(QPainter& painter, const QRectF& page, const Picture& picture,
                  const Progress& progress) {
    const QSizeF area = picture.area;
    const double scale = std::min(page.width() / area.width(), page.height() / area.height());
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.translate(page.center() - QPointF(area.width(), area.height()) * scale / 2.0);
    painter.scale(scale, scale);
    painter.setClipRect(QRectF(QPointF(0, 0), area));
    PainterTarget target(painter, picture.foreground, picture.background);
    const bool complete = replay(picture.record, target, beforeEachPlot(target, progress));
    if (complete && picture.legend && !picture.record.empty()) {
        paintLegend(painter, layOutLegend(picture.record, picture.area), picture.foreground);
    }
    painter.restore();
    return complete;
}

bool writePdf(QIODevice& device, const Picture& picture, const Progress& progress) {
    QPdfWriter writer(&device);
    writer.setCreator(kTitle);
    writer.setTitle(kTitle);
    writer.setDocumentXmpMetadata(pdfWorkMetadata(kTitle, workText(picture.record)));
    writer.setResolution(static_cast<int>(std::lround(picture.dotsPerInch)));
    if (picture.paper) {
        writer.setPageLayout(*picture.paper);
    } else {
        // One point of the page per logical pixel at the screen's resolution.
        const QSizeF points = QSizeF(picture.area) * kPointsPerInch / picture.dotsPerInch;
        writer.setPageSize(QPageSize(points, QPageSize::Point, QString(), QPageSize::ExactMatch));
        writer.setPageMargins(QMarginsF());
    }
    QPainter painter(&writer);
    return paintPicture(painter, QRectF(0, 0, writer.width(), writer.height()), picture, progress);
}

} // namespace lumetra::output
