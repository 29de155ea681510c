// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "geometry/plot_variables.h"
#include "runtime/draw_target.h"

#include <cstdint>

namespace lumetra::geometry {

// The sweep: ALFA from 0 while it does not exceed 90, by an accumulated 0.1.
inline constexpr double kSweepEnd = 90.0;
inline constexpr double kSweepStep = 0.1;
// The chord counter's last value before a chord is drawn and it restarts at 0.
inline constexpr std::int16_t kChordEvery = 15;
// The pen widths of the points and of the chords, in pixels.
inline constexpr std::int16_t kPointWidth = 3;
inline constexpr std::int16_t kChordWidth = 1;

// Whether the chord command asked for the plot: only then are chords drawn.
enum class Chords { Off, On };

// Plots one picture of the construction for the current parameters: sweeps
// ALFA from 0 to 90 degrees by an accumulated 0.1 and draws, at each pass, a
// first-family point in the foreground colour and its second-family partner
// in palette colour Miocolor + 1, both 3 pixels wide; with `Chords::On`, every
// sixteenth drawn pair is joined by a chord. Advances Miocolor by one first.
// Drawing goes to `target` in order; a run-time error keeps what was drawn.
void CALCOLA(runtime::DrawTarget& target, PlotVariables& vars, PlotParameters& params,
             Chords chords);

// The colour of palette index `index` for a curve. Indices beyond the palette,
// which a colour counter left above 14 by a plot that drew nothing can ask
// for, and 0 cycle through 1..15, so that a curve never turns black like the
// first family.
runtime::Rgb curveColour(int index);

} // namespace lumetra::geometry
