// SPDX-License-Identifier: GPL-3.0-or-later
#include "geometry/plot_frame.h"

#include "runtime/checked_numbers.h"

namespace lumetra::geometry {

using runtime::toSingle;

void setUpPlotFrame(runtime::DrawTarget& target, PlotVariables& vars, const runtime::Value& Incr,
                    const runtime::Value& VALe) {
    vars.P1 = runtime::degreesToRadiansFactor();
    vars.Ve = VALe;
    // Centimetres first: it only brings the origin back to the top-left corner.
    target.setScaleMode(runtime::ScaleMode::Centimetres);
    target.setDrawWidth(kAxisWidth);
    target.setScaleWidth(kPlotScaleWidth);
    target.setScaleHeight(toSingle(static_cast<double>(target.scaleWidth()) * Incr.arithmetic()));
    vars.CX = toSingle(target.scaleWidth() / 2.0F + kPlotOriginShift);
    vars.CY = toSingle(target.scaleHeight() / 2.0F);
    drawPlotAxes(target, vars.CX, vars.CY);
}

void drawPlotAxes(runtime::DrawTarget& target, float CX, float CY) {
    target.line(CX, 0.0F, CX, target.scaleHeight());
    target.line(0.0F, CY, target.scaleWidth(), CY);
}

} // namespace lumetra::geometry
