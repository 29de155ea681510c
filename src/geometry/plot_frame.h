// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "geometry/plot_variables.h"
#include "runtime/draw_target.h"

#include <cstdint>

namespace lumetra::geometry {

inline constexpr float kPlotScaleWidth = 500.0F;
inline constexpr float kPlotOriginShift = 10.0F;
inline constexpr std::int16_t kAxisWidth = 2;

// The plot window's set-up at every activation: P1 and Ve, a scale 500 units
// across and 500 x Incr down, the origin (CX, CY) at (260, half the height)
// and both axes in pen width 2, in the foreground colour.
void setUpPlotFrame(runtime::DrawTarget& target, PlotVariables& vars, const runtime::Value& Incr,
                    const runtime::Value& VALe);

// The two axes through the origin (CX, CY), across the target's whole scale,
// in its current pen.
void drawPlotAxes(runtime::DrawTarget& target, float CX, float CY);

} // namespace lumetra::geometry
