// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "output/picture.h"

#include <QString>

#include <optional>

namespace lumetra::output {

enum class PictureFormat { Png, Svg, Pdf };

// "png", "svg" or "pdf".
QString extensionOf(PictureFormat format);

struct PictureFile {
    QString name;
    PictureFormat format;
};

// The format a name's extension (.png, .svg or .pdf, any case) stands for,
// or nothing for any other name.
std::optional<PictureFormat> formatOfName(const QString& name);

// The file a chosen name stands for: a name ending in .png, .svg or .pdf
// decides the format itself; any other gets the chosen format's extension.
PictureFile pictureFileFor(const QString& name, PictureFormat chosen);

struct SaveResult {
    enum class Status { Saved, Cancelled, Failed };
    Status status;
    QString message; // the Italian message when it failed
};

// The picture as the bytes of its file in the format, the work inside.
// Nothing when cancelled, or for a PNG, which cannot be, when the memory ran
// out.
std::optional<QByteArray> pictureBytes(PictureFormat format, const Picture& picture,
                                       const Progress& progress);

// Writes the picture through a temporary file that replaces the named one
// only when it is complete and on the disk: a failed or cancelled save leaves
// the file as it was and no temporary file behind.
SaveResult savePicture(const PictureFile& file, const Picture& picture, const Progress& progress);

} // namespace lumetra::output
