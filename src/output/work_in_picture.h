// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "output/work_text.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

#include <variant>

namespace lumetra::output {

// The work inside a PNG: an iTXt chunk with the keyword "LUMETRA" before the
// image's end.
QByteArray pngWithWork(const QByteArray& png, const QByteArray& workText);

// The work inside an SVG document, as its <metadata> element.
QByteArray svgWorkMetadata(const QByteArray& workText);

// The XMP packet of a PDF: its title and the work.
QByteArray pdfWorkMetadata(const QString& title, const QByteArray& workText);

// The work a picture written by LUMETRA carries, found by its content (PNG,
// SVG or PDF), or why there is none to trust.
std::variant<Work, WorkError> workInPicture(QByteArrayView bytes);

// The same for a file, with the reason in Italian when it cannot be read.
std::variant<Work, WorkError> readWorkFile(const QString& name);

} // namespace lumetra::output
