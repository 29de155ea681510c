// SPDX-License-Identifier: GPL-3.0-or-later
#include "geometry/calibration_figure.h"

#include "runtime/accumulated_loop.h"
#include "runtime/checked_numbers.h"
#include "runtime/palette.h"

#include <cmath>

namespace lumetra::geometry {

using runtime::checkedResult;
using runtime::toSingle;

double scrollFactor(std::int16_t scrollValue) {
    return checkedResult(static_cast<double>(scrollValue) * 0.02 + kActivationFactor);
}

bool passesGate(const runtime::Value& incr) {
    return incr.arithmetic() > kGateThreshold;
}

void setUpScaleAndAxes(runtime::DrawTarget& target, CalibrationVariables& vars) {
    target.setScaleMode(runtime::ScaleMode::User);
    target.setDrawWidth(1);
    target.setScaleWidth(kCalibrationScaleWidth);
    target.setScaleHeight(
        toSingle(static_cast<double>(target.scaleWidth()) * vars.Incr.arithmetic()));
    vars.CX = toSingle(target.scaleWidth() / 2.0F + kCalibrationCentreShift);
    vars.CY = toSingle(target.scaleHeight() / 2.0F);
    target.line(vars.CX, 0.0F, vars.CX, target.scaleHeight());
    target.line(0.0F, vars.CY, target.scaleWidth(), vars.CY);
}

int plotCircle(runtime::DrawTarget& target, CalibrationVariables& vars) {
    const double radius = kCalibrationRadius;
    const runtime::Rgb red = runtime::QBColor(kCirclePalette);
    return runtime::forEachAccumulated(0.0, 360.0, 0.1, [&](double angle) {
        const double radians = angle * static_cast<double>(vars.P1);
        vars.XR = checkedResult(std::cos(radians) * radius);
        vars.YR = checkedResult(std::sin(radians) * radius);
        target.setDrawWidth(1);
        target.pset(toSingle(vars.CX + vars.XR), toSingle(vars.CY + vars.YR), red);
    });
}

} // namespace lumetra::geometry
