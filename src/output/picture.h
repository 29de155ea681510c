// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "output/picture_options.h"
#include "output/plot_record.h"

#include <QByteArray>
#include <QColor>
#include <QImage>
#include <QList>
#include <QPageLayout>
#include <QRectF>
#include <QSize>
#include <QString>

#include <functional>
#include <optional>
#include <utility>

class QIODevice;
class QPainter;

namespace lumetra::output {

// Everything a saved, copied or printed picture is made of, taken from the
// plot window at one moment: its retained image and the record of what was
// drawn on it since the last clear.
struct Picture {
    QImage image; // at device pixels, with the screen's pixel ratio
    PlotRecord record;
    QSize area; // the drawing area, in logical pixels
    QColor foreground;
    QColor background;
    double dotsPerInch = 96.0; // the screen's logical resolution
    PictureOptions options = {};
};

// Runs before each curve drawn again; returning false cancels.
using Progress = std::function<bool()>;

// The picture as pixels, with its resolution: the drawing area (or the
// figure cropped from it) at the screen's device pixels, or at the options'
// resolution and on their paper; on white unless the options keep the
// window's background; with the legend if asked for. The kept image itself,
// not a copy, when it is just the drawing area as on screen. A null image
// when there is no memory for it.
QImage rasterImage(const Picture& picture);

// A PDF's title: the first few curves as the legend lists them, then how
// many more.
QString pdfTitle(const PlotRecord& record);

// What a raster picture says of itself: its title, and a line per curve.
QList<std::pair<QString, QString>> pictureTexts(const Picture& picture);

// The area's image with its texts.
QImage rasterPicture(const Picture& picture);

// The picture in vectors as an SVG document, each curve a group titled with
// its parameters. Nothing when cancelled.
std::optional<QByteArray> svgPicture(const Picture& picture, const Progress& progress);

// The picture in vectors on paper: scaled to fit `page` keeping its
// proportions, centred, its legend never smaller than on a 96-dpi screen.
// False when cancelled.
bool paintPicture(QPainter& painter, const QRectF& page, const Picture& picture,
                  const Progress& progress);

// A PDF of one page the picture's size at its resolution, or the options'
// paper. False when cancelled.
bool writePdf(QIODevice& device, const Picture& picture, const Progress& progress);

} // namespace lumetra::output
