#include "geometry/calcola.h"

#include "runtime/accumulated_loop.h"
#include "runtime/checked_numbers.h"
#include "runtime/palette.h"

#include <cmath>

namespace lumetra::geometry {

using runtime::addInt16;
using runtime::checkedResult;
using runtime::toSingle;

namespace {

constexpr double kSweepEnd = 90.0;
constexpr double kSweepStep = 0.1;
constexpr std::int16_t kChordEvery = 15;
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

void CALCOLA(runtime::DrawTarget& target, PlotVariables& vars, const PlotParameters& params,
             Chords chords) {
    params.Miocolor = addInt16(params.Miocolor, 1);
    vars.OA = params.VALa;
    vars.BETA1 = checkedResult(params.VALb.arithmetic() * static_cast<double>(vars.P1));
    vars.Ve = params.VALe;
    std::int16_t conta = 0; // Empty at the start of every call; Empty counts as 0

    runtime::forEachAccumulated(0.0, kSweepEnd, kSweepStep, [&](double ALFA) {
        const double angle = ALFA * static_cast<double>(vars.P1);
        const double COS1 = std::cos(angle);
        const double SEN1 = std::sin(angle);
        vars.A2 = runtime::toInt16(ALFA * vars.Ve.arithmetic());
        const float theta2 = toSingle(static_cast<float>(vars.A2) * vars.P1);
        const double COS2 = std::cos(static_cast<double>(theta2));
        const double SEN2 = std::sin(static_cast<double>(theta2));
        if (COS1 == 0.0 || COS2 == 0.0) {
            return;
        }
        vars.SC1 = vars.Risposta1.equalsNumber(kCosineAnswer) ? COS1 : SEN1;
        const double SCY = vars.Risposta2.equalsNumber(kCosineAnswer) ? COS1 : SEN1;
        const double OA = vars.OA.arithmetic();
        vars.X1 = checkedResult((OA * std::cos(vars.BETA1)) * vars.SC1);
        vars.Y1 = checkedResult((OA * std::sin(vars.BETA1)) * SCY);
        const double CX = vars.CX;
        const double CY = vars.CY;
        if (std::abs(vars.X1) > CX || std::abs(vars.Y1) > CY) {
            return;
        }
        target.setDrawWidth(kPointWidth);
        target.pset(toSingle(CX + vars.X1), toSingle(CY - vars.Y1));

        const double direction = vars.BETA1 * SEN2;
        const double XS = checkedResult((OA * std::cos(direction)) * vars.SC1);
        const double YS = checkedResult((OA * std::sin(direction)) * SCY);
        if (std::abs(XS) > CX || std::abs(YS) > CY) {
            return;
        }
        target.setDrawWidth(kPointWidth);
        target.pset(toSingle(CX + XS), toSingle(CY - YS),
                    curveColour(addInt16(params.Miocolor, 1)));

        if (chords == Chords::On) {
            if (conta == kChordEvery) {
                conta = 0;
                target.setDrawWidth(kChordWidth);
                target.line(toSingle(CX + vars.X1), toSingle(CY - vars.Y1), toSingle(CX + XS),
                            toSingle(CY - YS), curveColour(addInt16(params.Miocolor, 1)));
            } else {
                ++conta;
            }
        }
        if (params.Miocolor == kLastCurveColour) {
            params.Miocolor = 1;
        }
    });
}

} // namespace lumetra::geometry
