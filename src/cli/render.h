// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "cli/request.h"
#include "output/picture.h"

#include <QStringList>

namespace lumetra::cli {

struct Rendering {
    output::Picture picture;
    // A line for each curve stopped by a run-time error: the curve and the error.
    QStringList errors;
    // A line for each curve with points outside the picture, which are not drawn.
    QStringList leaving;
    // False when there is no memory for the image: nothing can be written.
    bool complete = true;
};

// The picture the plot window would hold after the requested plots, in its
// colours: the activation's scale and axes, then each curve in turn with the
// colour counter advancing from 0; a curve stopped by a run-time error keeps
// what it drew and the next one goes on. A PNG takes the drawing surface's
// pixels at the requested size; SVG and PDF draw again from the record, so
// the plots run on a surface of one pixel only to leave the colour counter
// and the errors as they are.
Rendering render(const Request& request, QColor foreground, QColor background);

// The same for the work a saved picture carries, each plot as it ran:
// with its own area, or all at the requested size when one is given. The
// picture takes the requested size, else the last plot's area.
Rendering renderWork(const Request& request, const output::PlotRecord& record, QColor foreground,
                     QColor background);

} // namespace lumetra::cli
