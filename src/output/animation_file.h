// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "output/construction_gif.h"
#include "output/picture_file.h"

#include <QString>

#include <optional>

namespace lumetra::output {

enum class AnimationFormat { Gif, Svg };

// "gif" or "svg".
QString extensionOf(AnimationFormat format);

// The format a name's extension (.gif or .svg, any case) stands for, or
// nothing for any other name.
std::optional<AnimationFormat> animationFormatOfName(const QString& name);

struct AnimationFile {
    QString name;
    AnimationFormat format;
};

// The file a chosen name stands for: a name ending in .gif or .svg decides
// the format itself; any other gets the chosen format's extension.
AnimationFile animationFileFor(const QString& name, AnimationFormat chosen);

// The construction's animation as the bytes of its file, at the plot's
// drawing area. Nothing when cancelled or when the memory ran out.
std::optional<QByteArray> animationBytes(AnimationFormat format,
                                         const PlotConstruction& construction,
                                         const FrameColours& colours,
                                         const FrameProgress& progress);

// Writes the animation as every picture is written: through a temporary file
// that replaces the named one only when complete and on the disk.
SaveResult saveAnimation(const AnimationFile& file, const PlotConstruction& construction,
                         const FrameColours& colours, const FrameProgress& progress);

} // namespace lumetra::output
