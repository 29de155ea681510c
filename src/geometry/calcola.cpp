#include "geometry/calcola.h"

#include "runtime/accumulated_loop.h"
#include "runtime/checked_numbers.h"
#include "runtime/palette.h"

#include <cmath>
#include <optional>

namespace lumetra::geometry {

using runtime::addInt16;
using runtime::checkedResult;
using runtime::toSingle;

namespace {

constexpr double kSweepEnd = 90.0;
constexpr double kSweepStep = 0.1;
constexpr double kCosineAnswer = 7.0;
constexpr std::int16_t kChordEvery = 15;
constexpr std::int16_t kLastCurveColour = 14;
constexpr std::int16_t kPointWidth = 3;
constexpr std::int16_t kChordWidth = 1;

} // namespace

runtime::Rgb curveColour(int index) {
    if (index >= 1 && index < runtime::kPaletteSize) {
        return runtime::QBColor(index);
    }
    const int cycle = runtime::kPaletteSize - 1;
    return runtime::QBColor(((index - 1) % cycle + cycle) % cycle + 1);
}

namespace {

// What the passes need of one value of the second angle A2, worked out once
// for each value the call meets: with increment 1, 91 values in 901 passes.
struct SecondAngle {
    std::int16_t A2;
    bool cosineIsZero; // COS2 = 0: the pass draws nothing
    double cosine;     // cos(BETA1 x SEN2)
    double sine;       // sin(BETA1 x SEN2)
};

SecondAngle secondAngle(std::int16_t A2, float P1, double BETA1) {
    const float theta2 = toSingle(static_cast<float>(A2) * P1);
    const double COS2 = std::cos(static_cast<double>(theta2));
    const double SEN2 = std::sin(static_cast<double>(theta2));
    const double direction = BETA1 * SEN2;
    return {A2, COS2 == 0.0, std::cos(direction), std::sin(direction)};
}

} // namespace

void CALCOLA(runtime::DrawTarget& target, PlotVariables& vars, const PlotParameters& params,
             Chords chords) {
    params.Miocolor = addInt16(params.Miocolor, 1);
    vars.OA = params.VALa;
    vars.BETA1 = checkedResult(params.VALb.arithmetic() * static_cast<double>(vars.P1));
    vars.Ve = params.VALe;
    const double Ve = vars.Ve.arithmetic();

    // Nothing below changes within a call: a plot runs to its end before any
    // click, the check boxes' included, is handled.
    const double P1 = vars.P1;
    const bool cosineX = vars.Risposta1.equalsNumber(kCosineAnswer);
    const bool cosineY = vars.Risposta2.equalsNumber(kCosineAnswer);
    const double CX = vars.CX;
    const double CY = vars.CY;
    // OA is read where the first pass reads it, after that pass has set A2 and
    // SC1, so that a rejected length fails with those set and after an overflow.
    bool OAread = false;
    double OA = 0.0;
    double OAcosBETA1 = 0.0;
    double OAsinBETA1 = 0.0;

    std::optional<SecondAngle> second;
    // Miocolor + 1 as a colour, read at the first use and again after a wrap.
    runtime::Rgb colour = 0;
    bool colourRead = false;
    // A redundant width is no change: set it only when this call has not already.
    std::int16_t pen = 0;
    const auto setPen = [&](std::int16_t width) {
        if (pen != width) {
            target.setDrawWidth(width);
            pen = width;
        }
    };
    std::int16_t conta = 0; // Empty at the start of every call; Empty counts as 0

    runtime::forEachAccumulated(0.0, kSweepEnd, kSweepStep, [&](double ALFA) {
        const double angle = ALFA * P1;
        const double COS1 = std::cos(angle);
        const double SEN1 = std::sin(angle);
        vars.A2 = runtime::toInt16(ALFA * Ve);
        if (!second || second->A2 != vars.A2) {
            second = secondAngle(vars.A2, vars.P1, vars.BETA1);
        }
        if (COS1 == 0.0 || second->cosineIsZero) {
            return;
        }
        const double SC1 = cosineX ? COS1 : SEN1;
        const double SCY = cosineY ? COS1 : SEN1;
        vars.SC1 = SC1;
        if (!OAread) {
            OA = vars.OA.arithmetic();
            OAcosBETA1 = OA * std::cos(vars.BETA1);
            OAsinBETA1 = OA * std::sin(vars.BETA1);
            OAread = true;
        }
        const double X1 = checkedResult(OAcosBETA1 * SC1);
        vars.X1 = X1;
        const double Y1 = checkedResult(OAsinBETA1 * SCY);
        vars.Y1 = Y1;
        if (std::abs(X1) > CX || std::abs(Y1) > CY) {
            return;
        }
        const float x1 = toSingle(CX + X1);
        const float y1 = toSingle(CY - Y1);
        setPen(kPointWidth);
        target.pset(x1, y1);

        const double XS = checkedResult((OA * second->cosine) * SC1);
        const double YS = checkedResult((OA * second->sine) * SCY);
        if (std::abs(XS) > CX || std::abs(YS) > CY) {
            return;
        }
        const float xs = toSingle(CX + XS);
        const float ys = toSingle(CY - YS);
        if (!colourRead) {
            colour = curveColour(addInt16(params.Miocolor, 1));
            colourRead = true;
        }
        setPen(kPointWidth);
        target.pset(xs, ys, colour);

        if (chords == Chords::On) {
            if (conta == kChordEvery) {
                conta = 0;
                setPen(kChordWidth);
                target.line(x1, y1, xs, ys, colour);
            } else {
                ++conta;
            }
        }
        if (params.Miocolor == kLastCurveColour) {
            params.Miocolor = 1;
            colourRead = false;
        }
    });
}

} // namespace lumetra::geometry
