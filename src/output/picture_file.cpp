// SPDX-License-Identifier: GPL-3.0-or-later
#include "output/picture_file.h"

#include "output/checked_file.h"
#include "output/work_in_picture.h"

#include <QBuffer>
#include <QDir>
#include <QImageWriter>

namespace lumetra::output {

namespace {

constexpr PictureFormat kFormats[] = {PictureFormat::Png, PictureFormat::Svg, PictureFormat::Pdf};

SaveResult failed(const QString& name, const QString& reason) {
    return {SaveResult::Status::Failed, QStringLiteral("Impossibile salvare l'immagine %1: %2")
                                            .arg(QDir::toNativeSeparators(name), reason)};
}

// The picture as PNG, with its texts and its work; nothing when it could not be encoded,
// which in memory means the memory ran out.
std::optional<QByteArray> pngPicture(const Picture& picture) {
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    // The texts go to the writer, so that the image need not be copied to carry them.
    QImageWriter writer(&buffer, "png");
    for (const auto& [key, text] : pictureTexts(picture)) {
        writer.setText(key, text);
    }
    if (!writer.write(rasterImage(picture))) {
        return std::nullopt;
    }
    return pngWithWork(buffer.data(), workText(picture.record));
}

std::optional<QByteArray> pdfPicture(const Picture& picture, const Progress& progress) {
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    if (!writePdf(buffer, picture, progress)) {
        return std::nullopt;
    }
    return buffer.data();
}

} // namespace

QString extensionOf(PictureFormat format) {
    switch (format) {
    case PictureFormat::Png:
        return QStringLiteral("png");
    case PictureFormat::Svg:
        return QStringLiteral("svg");
    case PictureFormat::Pdf:
        return QStringLiteral("pdf");
    }
    return {};
}

std::optional<PictureFormat> formatOfName(const QString& name) {
    for (const PictureFormat format : kFormats) {
        if (name.endsWith(u'.' + extensionOf(format), Qt::CaseInsensitive)) {
            return format;
        }
    }
    return std::nullopt;
}

PictureFile pictureFileFor(const QString& name, PictureFormat chosen) {
    if (const std::optional<PictureFormat> format = formatOfName(name)) {
        return {name, *format};
    }
    return {name + u'.' + extensionOf(chosen), chosen};
}

std::optional<QByteArray> pictureBytes(PictureFormat format, const Picture& picture,
                                       const Progress& progress) {
    switch (format) {
    case PictureFormat::Png:
        return pngPicture(picture);
    case PictureFormat::Svg:
        return svgPicture(picture, progress);
    case PictureFormat::Pdf:
        return pdfPicture(picture, progress);
    }
    return std::nullopt;
}

SaveResult savePicture(const PictureFile& file, const Picture& picture, const Progress& progress) {
    // Opened first, so that a folder that takes no file fails before a long drawing.
    CheckedFile out(file.name);
    if (!out.open()) {
        return failed(file.name, out.failure());
    }
    const std::optional<QByteArray> bytes = pictureBytes(file.format, picture, progress);
    if (!bytes && file.format == PictureFormat::Png) {
        return failed(file.name, QStringLiteral("memoria insufficiente"));
    }
    if (!bytes) {
        return {SaveResult::Status::Cancelled, {}};
    }
    if (!out.write(*bytes) || !out.commit()) {
        return failed(file.name, out.failure());
    }
    return {SaveResult::Status::Saved, {}};
}

} // namespace lumetra::output
