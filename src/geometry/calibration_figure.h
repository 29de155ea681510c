// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "runtime/draw_target.h"
#include "runtime/value.h"

#include <cstdint>

namespace lumetra::geometry {

// The calibration window's arithmetic and drawing: a user scale whose height
// is its width times the factor `Incr`, two axes, and a circle of fixed radius
// in user units that looks round when `Incr` matches the screen.

inline constexpr float kCalibrationScaleWidth = 146367.36F;
inline constexpr float kCalibrationCentreShift = 20000.0F;
inline constexpr float kCalibrationRadius = 36367.363F;
inline constexpr double kActivationFactor = 0.51;
inline constexpr double kGateThreshold = 0.53;
inline constexpr int kCirclePalette = 4; // red

struct CalibrationVariables {
    float P1 = 0.0F;
    runtime::Value Incr;
    float CX = 0.0F;
    float CY = 0.0F;
    double XR = 0.0;
    double YR = 0.0;
};

// The factor a scroll-bar position stands for: Value x 0.02 + 0.51, in double.
double scrollFactor(std::int16_t scrollValue);

// Whether the factor lets the user go on: strictly above 0.53.
bool passesGate(const runtime::Value& incr);

// Sets the user scale, computes CX and CY and draws both axes.
void setUpScaleAndAxes(runtime::DrawTarget& target, CalibrationVariables& vars);

// Plots the circle, one point per 0.1 degree; returns the number of points.
int plotCircle(runtime::DrawTarget& target, CalibrationVariables& vars);

} // namespace lumetra::geometry
