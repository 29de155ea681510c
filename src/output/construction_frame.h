// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "output/plot_construction.h"

#include <QColor>
#include <QImage>
#include <QSize>

namespace lumetra::output {

// The colours of a frame: the plot window's foreground and background, as
// its pictures have them.
struct FrameColours {
    QColor foreground = Qt::black;
    QColor background = Qt::white;
};

// How a frame's lines, rings and labels meet the background: smoothed for the
// screen, or in their own colours only, so that an animation's palette holds
// every colour of every frame exactly.
enum class Edges { Smooth, Exact };

// How many passes the construction shows: 901, or fewer when a run-time
// error stopped the plot. A frame's pass k runs from 0 (nothing drawn yet)
// to this.
int passCount(const PlotConstruction& construction);

// The plot as it stands once pass k has drawn: the plot window's axes and
// every point and chord of passes 1 to k, drawn through a drawing surface of
// `logical` size at pixel ratio `ratio`. User units map to pixels as in the
// plot window's picture of that size: by size / scale, the origin of the
// units at the top-left corner. After the last pass it is, pixel for pixel,
// the plot window's picture of the plot at that size.
QImage constructionTrail(const PlotConstruction& construction, int k, QSize logical, qreal ratio,
                         const FrameColours& colours = {});

// One frame of the construction: the trail of passes 1 to k made fainter,
// and over it how pass k finds its two points: the axes through O, the
// segment OA at BETA1, the direction BETA1 x sin(A2) with A2, the
// projections that the factors SC1 and SCY turn into the two points, the
// points themselves in their colours, and the chord when the pass draws one.
// With `words`, the words of the pass (passWords) over the top-left corner.
// The image is `logical` x `ratio` device pixels, with that pixel ratio.
QImage constructionFrame(const PlotConstruction& construction, int k, QSize logical, qreal ratio,
                         bool words, const FrameColours& colours = {}, Edges edges = Edges::Smooth);

// How much of the trail shows through the wash of background over it, and
// the radius of the rings round the pass's two points, in logical pixels.
inline constexpr qreal kTrailStrength = 0.35;
inline constexpr qreal kRingRadius = 6.0;

} // namespace lumetra::output
