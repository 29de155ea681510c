// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "geometry/plot_variables.h"
#include "runtime/draw_target.h"

namespace lumetra::geometry {

inline constexpr float kPlotScaleWidth = 500.0F;
inline constexpr float kPlotOriginShift = 10.0F;

// The plot window's set-up at every activation: P1 and Ve, a scale 500 units
// across and 500 x Incr down, the origin (CX, CY) at (260, half the height)
// and both axes in pen width 2, in the foreground colour.
void setUpPlotFrame(runtime::DrawTarget& target, PlotVariables& vars, const runtime::Value& Incr,
                    const runtime::Value& VALe);

} // namespace lumetra::geometry
