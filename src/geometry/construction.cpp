// SPDX-License-Identifier: GPL-3.0-or-later
#include "geometry/construction.h"

#include "runtime/accumulated_loop.h"
#include "runtime/checked_numbers.h"
#include "runtime/run_time_error.h"

#include <cmath>

namespace lumetra::geometry {

namespace {

// The passes one by one, each step as CALCOLA takes it, without its quick
// ways: what a pass computes is kept rather than drawn.
class Explainer {
public:
    Explainer(const PlotVariables& vars, const PlotParameters& params, Chords chords,
              Construction& construction)
        : vars_(vars), params_(params), chords_(chords), c_(construction),
          origin_(vars.CX, vars.CY), Miocolor_(params.Miocolor) {}

    void sweep() {
        try {
            Miocolor_ = runtime::addInt16(Miocolor_, 1);
            c_.BETA1 =
                runtime::checkedResult(params_.VALb.arithmetic() * static_cast<double>(vars_.P1));
        } catch (const runtime::RunTimeError&) {
            return; // CALCOLA stops before its first pass
        }
        int k = 0;
        runtime::AccumulatedCounter counter(0.0, kSweepEnd, kSweepStep);
        while (counter.more()) {
            ConstructionPass& pass = c_.passes.emplace_back();
            pass.k = ++k;
            pass.ALFA = counter.next();
            try {
                explain(pass);
            } catch (const runtime::RunTimeError&) {
                pass.outcome = PassOutcome::Stopped;
                return;
            }
        }
    }

private:
    void explain(ConstructionPass& pass) {
        const double P1 = vars_.P1;
        const double COS1 = std::cos(pass.ALFA * P1);
        const double SEN1 = std::sin(pass.ALFA * P1);
        pass.A2 = runtime::toInt16(pass.ALFA * params_.VALe.arithmetic());
        const float theta2 = runtime::toSingle(static_cast<float>(pass.A2) * vars_.P1);
        const double COS2 = std::cos(static_cast<double>(theta2));
        const double SEN2 = std::sin(static_cast<double>(theta2));
        pass.gamma = c_.BETA1 * SEN2;
        if (COS1 == 0.0 || COS2 == 0.0) {
            pass.outcome = PassOutcome::ZeroFactor;
            return;
        }
        pass.SC1 = c_.xCosine ? COS1 : SEN1;
        pass.SCY = c_.yCosine ? COS1 : SEN1;
        // Read where CALCOLA reads it: a rejected length stops the plot here.
        static_cast<void>(params_.VALa.arithmetic());
        const Arm first = origin_.arm(c_.OA * std::cos(c_.BETA1), c_.OA * std::sin(c_.BETA1));
        if (!origin_.place(first, pass.SC1, pass.SCY, pass.X1, pass.Y1, pass.first)) {
            pass.outcome = PassOutcome::FirstOutOfRange;
            return;
        }
        const Arm partner = origin_.arm(c_.OA * std::cos(pass.gamma), c_.OA * std::sin(pass.gamma));
        if (!origin_.place(partner, pass.SC1, pass.SCY, pass.XS, pass.YS, pass.partner)) {
            pass.outcome = PassOutcome::FirstOnly;
            return;
        }
        pass.outcome = PassOutcome::Pair;
        pass.colour = curveColour(runtime::addInt16(Miocolor_, 1));
        if (chords_ == Chords::On) {
            pass.chord = conta_ == kChordEvery;
            conta_ = pass.chord ? 0 : static_cast<std::int16_t>(conta_ + 1);
        }
        if (Miocolor_ == kLastCurveColour) {
            Miocolor_ = 1;
        }
    }

    const PlotVariables& vars_;
    const PlotParameters& params_;
    const Chords chords_;
    Construction& c_;
    const Origin origin_;
    std::int16_t Miocolor_;
    std::int16_t conta_ = 0;
};

// A rejected entry, a text, shows as NaN.
double numberOf(const runtime::Value& value) {
    return value.isString() ? std::nan("") : value.arithmetic();
}

} // namespace

Construction constructionOf(const PlotVariables& vars, const PlotParameters& params,
                            Chords chords) {
    Construction construction;
    construction.CX = vars.CX;
    construction.CY = vars.CY;
    construction.xCosine = vars.Risposta1.equalsNumber(kCosineAnswer);
    construction.yCosine = vars.Risposta2.equalsNumber(kCosineAnswer);
    construction.OA = numberOf(params.VALa);
    construction.Ve = numberOf(params.VALe);
    Explainer(vars, params, chords, construction).sweep();
    return construction;
}

} // namespace lumetra::geometry
