#include "output/picture_file.h"

#include <QDir>
#include <QFileInfo>
#include <QImageWriter>
#include <QSaveFile>

namespace lumetra::output {

namespace {

constexpr PictureFormat kFormats[] = {PictureFormat::Png, PictureFormat::Svg, PictureFormat::Pdf};

SaveResult failed(const QString& name, const QString& reason) {
    return {SaveResult::Status::Failed, QStringLiteral("Impossibile salvare l'immagine %1: %2")
                                            .arg(QDir::toNativeSeparators(name), reason)};
}

// Why the file could not be opened: the folder in Italian when it is the
// cause, else the system's reason.
QString openFailure(const QString& name, const QSaveFile& out) {
    const QFileInfo folder(QFileInfo(name).absolutePath());
    const QString shown = QDir::toNativeSeparators(folder.filePath());
    if (!folder.exists()) {
        return QStringLiteral("la cartella %1 non esiste").arg(shown);
    }
    if (!folder.isDir()) {
        return QStringLiteral("%1 non \u00E8 una cartella").arg(shown);
    }
    if (!folder.isWritable()) {
        return QStringLiteral("la cartella %1 non \u00E8 scrivibile").arg(shown);
    }
    return out.errorString();
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

SaveResult savePicture(const PictureFile& file, const Picture& picture, const Progress& progress) {
    QSaveFile out(file.name);
    if (!out.open(QIODevice::WriteOnly)) {
        return failed(file.name, openFailure(file.name, out));
    }
    bool complete = true;
    switch (file.format) {
    case PictureFormat::Png: {
        // The texts go to the writer, so that the image need not be copied to carry them.
        QImageWriter writer(&out, "png");
        for (const auto& [key, text] : pictureTexts(picture)) {
            writer.setText(key, text);
        }
        if (!writer.write(areaImage(picture)) && out.error() == QFileDevice::NoError) {
            return failed(file.name, writer.errorString());
        }
        break;
    }
    case PictureFormat::Svg:
        if (const std::optional<QByteArray> svg = svgPicture(picture, progress)) {
            out.write(*svg);
        } else {
            complete = false;
        }
        break;
    case PictureFormat::Pdf:
        complete = writePdf(out, picture, progress);
        break;
    }
    if (!complete) {
        out.cancelWriting();
    }
    if (!out.commit()) {
        return complete ? failed(file.name, out.errorString())
                        : SaveResult{SaveResult::Status::Cancelled, {}};
    }
    return {SaveResult::Status::Saved, {}};
}

} // namespace lumetra::output
