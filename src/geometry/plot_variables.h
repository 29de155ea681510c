// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "runtime/value.h"

#include <cstdint>

namespace lumetra::geometry {

// A ticked check box answers 7, a cleared one 0; 7 selects the cosine factor.
inline constexpr std::int16_t kCosineAnswer = 7;
inline constexpr std::int16_t kSineAnswer = 0;

// The answer of a check box, ticked for the cosine.
inline runtime::Value answerOf(bool cosine) {
    return cosine ? kCosineAnswer : kSineAnswer;
}

// The colour counter's last value before a plot wraps it back to 1; the
// parameter window starts it again from 0 when it has run past this.
inline constexpr std::int16_t kLastCurveColour = 14;

// The plot window's variables: the set-up that activation leaves for the
// curve construction, the two check-box answers, and the values the curve
// construction keeps from its last pass.
struct PlotVariables {
    float P1 = 0.0F;
    runtime::Value Ve;
    float CX = 0.0F;
    float CY = 0.0F;
    runtime::Value Risposta1;
    runtime::Value Risposta2;
    runtime::Value OA;
    double BETA1 = 0.0;
    double SC1 = 0.0;
    double X1 = 0.0;
    double Y1 = 0.0;
    std::int16_t A2 = 0;
};

// The parameter window's variables that a plot reads, and the colour counter
// it advances: a copy, whose counter goes back to its owner after the plot.
struct PlotParameters {
    runtime::Value VALa;
    runtime::Value VALb;
    runtime::Value VALe;
    std::int16_t Miocolor = 0;
};

} // namespace lumetra::geometry
