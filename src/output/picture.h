// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

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
    bool legend = false;
    // The paper of a PDF printed to a file; none: a page the picture's size.
    std::optional<QPageLayout> paper = std::nullopt;
};

// Runs before each curve drawn again; returning false cancels.
using Progress = std::function<bool()>;

// The drawing area as it is on screen, at device pixels, with its resolution;
// with the legend if asked for. The kept image itself, not a copy, when it is
// just the drawing area and the legend is not asked for.
QImage areaImage(const Picture& picture);

// What a raster picture says of itself: its title, and a line per curve.
QList<std::pair<QString, QString>> pictureTexts(const Picture& picture);

// The area's image with its texts.
QImage rasterPicture(const Picture& picture);

// The picture in vectors as an SVG document, in the window's background
// colour, each curve a group titled with its parameters. Nothing when
// cancelled.
std::optional<QByteArray> svgPicture(const Picture& picture, const Progress& progress);

// The picture in vectors on paper: scaled to fit `page` keeping its
// proportions, centred, the background left to the paper. False when
// cancelled.
bool paintPicture(QPainter& painter, const QRectF& page, const Picture& picture,
                  const Progress& progress);

// A PDF of one page the picture's size, or its paper when it has one. False
// when cancelled.
bool writePdf(QIODevice& device, const Picture& picture, const Progress& progress);

} // namespace lumetra::output
