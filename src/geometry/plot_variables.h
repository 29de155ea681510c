#pragma once

#include "runtime/value.h"

#include <cstdint>

namespace lumetra::geometry {

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

// The parameter window's variables that the plot reads, and the colour counter
// it advances.
struct PlotParameters {
    const runtime::Value& VALa;
    const runtime::Value& VALb;
    const runtime::Value& VALe;
    std::int16_t& Miocolor;
};

} // namespace lumetra::geometry
