// SPDX-License-Identifier: GPL-3.0-or-later
#include "output/animation_file.h"

#include "output/checked_file.h"
#include "output/construction_svg.h"

#include <QDir>

namespace lumetra::output {

namespace {

SaveResult failed(const QString& name, const QString& reason) {
    return {SaveResult::Status::Failed, QStringLiteral("Impossibile salvare l'animazione %1: %2")
                                            .arg(QDir::toNativeSeparators(name), reason)};
}

} // namespace

QString extensionOf(AnimationFormat format) {
    return format == AnimationFormat::Gif ? QStringLiteral("gif") : QStringLiteral("svg");
}

std::optional<AnimationFormat> animationFormatOfName(const QString& name) {
    for (const AnimationFormat format : {AnimationFormat::Gif, AnimationFormat::Svg}) {
        if (name.endsWith(u'.' + extensionOf(format), Qt::CaseInsensitive)) {
            return format;
        }
    }
    return std::nullopt;
}

AnimationFile animationFileFor(const QString& name, AnimationFormat chosen) {
    if (const std::optional<AnimationFormat> format = animationFormatOfName(name)) {
        return {name, *format};
    }
    return {name + u'.' + extensionOf(chosen), chosen};
}

std::optional<QByteArray> animationBytes(AnimationFormat format,
                                         const PlotConstruction& construction,
                                         const FrameColours& colours,
                                         const FrameProgress& progress) {
    if (format == AnimationFormat::Svg) {
        return constructionSvg(construction, colours);
    }
    return constructionGif(construction, construction.area, colours, progress);
}

SaveResult saveAnimation(const AnimationFile& file, const PlotConstruction& construction,
                         const FrameColours& colours, const FrameProgress& progress) {
    // Opened first, so that a folder that takes no file fails before the frames are made.
    CheckedFile out(file.name);
    if (!out.open()) {
        return failed(file.name, out.failure());
    }
    bool cancelled = false;
    const FrameProgress watched = [&](int done, int total) {
        cancelled = progress && !progress(done, total);
        return !cancelled;
    };
    const std::optional<QByteArray> bytes =
        animationBytes(file.format, construction, colours, watched);
    if (cancelled) {
        return {SaveResult::Status::Cancelled, {}};
    }
    if (!bytes) {
        return failed(file.name, QStringLiteral("memoria insufficiente"));
    }
    if (!out.write(*bytes) || !out.commit()) {
        return failed(file.name, out.failure());
    }
    return {SaveResult::Status::Saved, {}};
}

} // namespace lumetra::output
