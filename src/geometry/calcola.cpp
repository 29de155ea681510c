// SPDX-License-Identifier: GPL-3.0-or-later
#include "geometry/calcola.h"

#include "geometry/origin.h"
#include "geometry/plot_output.h"
#include "geometry/sweep_run.h"
#include "runtime/accumulated_loop.h"
#include "runtime/checked_numbers.h"
#include "runtime/palette.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstddef>
#include <limits>
#include <optional>

namespace lumetra::geometry {

using runtime::addInt16;
using runtime::checkedResult;
using runtime::toSingle;

runtime::Rgb curveColour(int index) {
    if (index >= 1 && index < runtime::kPaletteSize) {
        return runtime::QBColor(index);
    }
    const int cycle = runtime::kPaletteSize - 1;
    return runtime::QBColor(((index - 1) % cycle + cycle) % cycle + 1);
}

namespace {

// What the passes need of one value of the second angle A2, worked out once
// for each value a plot meets: with increment 1, 91 values in 901 passes.
struct SecondAngle {
    static constexpr int kNone = -65536; // no 16-bit value: before the first pass
    int A2 = kNone;
    bool cosineIsZero = false; // COS2 = 0: the pass draws nothing
    double cosine = 0.0;       // cos(BETA1 x SEN2)
    double sine = 0.0;         // sin(BETA1 x SEN2)
    // The values of ALFA x Ve that round to A2; none before the first pass.
    runtime::RoundingInterval scaled{std::numeric_limits<double>::infinity(),
                                     -std::numeric_limits<double>::infinity()};
};

SecondAngle secondAngle(std::int16_t A2, runtime::RoundingInterval scaled, float P1, double BETA1) {
    const float theta2 = toSingle(static_cast<float>(A2) * P1);
    const double COS2 = std::cos(static_cast<double>(theta2));
    const double SEN2 = std::sin(static_cast<double>(theta2));
    const double direction = BETA1 * SEN2;
    return {A2, COS2 == 0.0, std::cos(direction), std::sin(direction), scaled};
}

bool holds(const runtime::RoundingInterval& interval, double value) {
    return value >= interval.low && value <= interval.high;
}

// The values of A2 that a run of passes meets, in the order met, with what
// the passes need of each: worked out together before the passes, where the
// library calls for one value overlap those for the next instead of holding
// up a pass. The counter only grows, so each value is met once.
class RunSecondAngles {
public:
    // Those of `run` after `current`, up to the first pass whose A2 would
    // overflow.
    void fill(const SweepRun& run, double Ve, float P1, double BETA1, const SecondAngle& current) {
        // Only the first count_ of each are written and read.
        std::array<std::int16_t, SweepRun::kLength> met;
        std::array<runtime::RoundingInterval, SweepRun::kLength> scaled;
        count_ = 0;
        next_ = 0;
        runtime::RoundingInterval same = current.scaled;
        for (std::size_t i = 0; i < run.count; ++i) {
            const double scaledA2 = run.ALFA[i] * Ve;
            if (holds(same, scaledA2)) {
                continue;
            }
            if (!runtime::roundsToInt16(scaledA2)) {
                break;
            }
            met[count_] = runtime::roundedInt16(scaledA2);
            same = scaled[count_] = runtime::roundingTo(met[count_]);
            ++count_;
        }
        for (std::size_t k = 0; k < count_; ++k) {
            values_[k] = secondAngle(met[k], scaled[k], P1, BETA1);
        }
    }

    // The value that ALFA x Ve rounds to, if the run meets it after the last
    // one taken; values passed over are not offered again.
    const SecondAngle* take(double scaledA2) {
        for (; next_ < count_; ++next_) {
            if (holds(values_[next_].scaled, scaledA2)) {
                return &values_[next_++];
            }
        }
        return nullptr;
    }

private:
    std::array<SecondAngle, SweepRun::kLength> values_;
    std::size_t count_ = 0;
    std::size_t next_ = 0;
};

// One plot's passes over the sweep. Every pass can go through `pass`, which
// handles every case exactly; nearly all go through `passQuickly` instead
// (below), a loop with no call in it that keeps what it works on in registers.
class Passes {
public:
    Passes(runtime::DrawTarget& target, PlotVariables& vars, PlotParameters& params, Chords chords)
        : vars_(vars), params_(params), output_(target, kPointWidth), chords_(chords),
          Ve_(vars.Ve.arithmetic()), P1_(vars.P1),
          cosineX_(vars.Risposta1.equalsNumber(kCosineAnswer)),
          cosineY_(vars.Risposta2.equalsNumber(kCosineAnswer)), origin_(vars.CX, vars.CY),
          A2_(vars.A2), SC1_(vars.SC1), X1_(vars.X1), Y1_(vars.Y1), Miocolor_(params.Miocolor) {}

    // The sines and cosines of every pass, and those of the second angle, are
    // worked out a run of passes ahead, in loops of their own. They cannot
    // fail, so working them out early changes nothing that is drawn or raised.
    void sweep() {
        runtime::AccumulatedCounter counter(0.0, kSweepEnd, kSweepStep);
        SweepRun run;
        try {
            while (run.fill(counter, P1_)) {
                seconds_.fill(run, Ve_, vars_.P1, vars_.BETA1, second_);
                for (std::size_t i = passQuickly(run, 0); i < run.count;
                     i = passQuickly(run, i + 1)) {
                    pass(run.ALFA[i], run.COS1[i], run.SEN1[i]);
                }
                handOver();
            }
        } catch (...) {
            storeResults();
            handOver(); // what the passes before the error drew stays drawn
            throw;
        }
        storeResults();
    }

private:
    void pass(double ALFA, double COS1, double SEN1);
    bool canPassQuickly() const;
    std::size_t passQuickly(const SweepRun& run, std::size_t from);

    void handOver() {
        output_.points({dots_.data(), waiting_});
        waiting_ = 0;
    }

    void storeResults() {
        vars_.A2 = A2_;
        vars_.SC1 = SC1_;
        vars_.X1 = X1_;
        vars_.Y1 = Y1_;
        params_.Miocolor = Miocolor_;
    }

    PlotVariables& vars_;
    PlotParameters& params_;
    PlotOutput output_;
    const Chords chords_;
    // Nothing here changes within a plot: it runs to its end before any click,
    // a check box's included, is handled.
    const double Ve_;
    const double P1_;
    const bool cosineX_;
    const bool cosineY_;
    const Origin origin_;
    // OA is read where the first pass reads it, after that pass has set A2 and
    // SC1: a rejected length fails with those set, and after an overflow of A2.
    std::optional<double> OA_;
    Arm firstArm_{}; // OA cos BETA1, OA sin BETA1

    // What the passes set, kept here and stored back however the plot ends:
    // each store into the window's variables could be taken to change the
    // others and the colour counter, to be read again at every pass.
    std::int16_t A2_;
    double SC1_;
    double X1_;
    double Y1_;
    std::int16_t Miocolor_;

    SecondAngle second_;
    RunSecondAngles seconds_;
    std::optional<Arm> partnerArm_; // OA cos(BETA1 x SEN2), OA sin(BETA1 x SEN2)
    // Miocolor + 1 as a colour, read at its first use and again after a wrap.
    runtime::Rgb colour_ = 0;
    bool colourRead_ = false;
    std::int16_t conta_ = 0; // Empty at the start of every plot; Empty counts as 0
    // The points of the current run of passes, two at most for each, not yet
    // handed to the target.
    std::array<runtime::Dot, 2 * SweepRun::kLength> dots_;
    std::size_t waiting_ = 0;
};

void Passes::pass(double ALFA, double COS1, double SEN1) {
    A2_ = runtime::toInt16(ALFA * Ve_);
    if (second_.A2 != A2_) {
        // Worked out ahead with the run, unless a quick pass took it and left.
        const SecondAngle* ahead = seconds_.take(ALFA * Ve_);
        second_ = ahead != nullptr
                      ? *ahead
                      : secondAngle(A2_, runtime::roundingTo(A2_), vars_.P1, vars_.BETA1);
        partnerArm_.reset();
    }
    if (COS1 == 0.0 || second_.cosineIsZero) {
        return;
    }
    SC1_ = cosineX_ ? COS1 : SEN1;
    const double SCY = cosineY_ ? COS1 : SEN1;
    if (!OA_) {
        OA_ = vars_.OA.arithmetic();
        firstArm_ = origin_.arm(*OA_ * std::cos(vars_.BETA1), *OA_ * std::sin(vars_.BETA1));
    }
    Position first{};
    if (!origin_.place(firstArm_, SC1_, SCY, X1_, Y1_, first)) {
        return;
    }
    dots_[waiting_++] = {first.x, first.y, std::nullopt};

    double XS = 0.0;
    double YS = 0.0;
    Position partner{};
    if (!partnerArm_) {
        partnerArm_ = origin_.arm(*OA_ * second_.cosine, *OA_ * second_.sine);
    }
    if (!origin_.place(*partnerArm_, SC1_, SCY, XS, YS, partner)) {
        return;
    }
    if (!colourRead_) {
        colour_ = curveColour(addInt16(Miocolor_, 1));
        colourRead_ = true;
    }
    dots_[waiting_++] = {partner.x, partner.y, colour_};

    if (chords_ == Chords::On) {
        if (conta_ == kChordEvery) {
            conta_ = 0;
            handOver();
            output_.line(first.x, first.y, partner.x, partner.y, colour_, kChordWidth);
        } else {
            ++conta_;
        }
    }
    if (Miocolor_ == kLastCurveColour) {
        Miocolor_ = 1;
        colourRead_ = false;
    }
}

// The quick way. A pass may take it when it needs nothing but arithmetic and
// what was worked out ahead; it then draws what `pass` would draw, placed by
// the same `Origin::place`, and leaves the same values behind (A2, SC1, X1
// and Y1 of its last pass). `canPassQuickly` holds, and goes on holding until
// `pass` changes something, when:
// - a pass has read OA and worked out both arms for the current A2, so no
//   length is read and none rejected;
// - both arms are inside (see `Arm`), so every point passes the quick test
//   of `place`: no coordinate is checked and none can raise;
// - COS2 is not 0 (such a pass draws nothing);
// - the partner's colour has been read and the colour counter does not wrap
//   after the pass, so there is no colour to look up.
// Within the loop a pass is left to `pass` when a chord is due, when COS1 is
// 0, or when its new value of A2 was not worked out ahead, has COS2 = 0 or
// an arm that is not inside.
bool Passes::canPassQuickly() const {
    return partnerArm_ && firstArm_.inside && partnerArm_->inside && !second_.cosineIsZero &&
           colourRead_ && Miocolor_ != kLastCurveColour;
}

// The passes from `from` on that may go the quick way; returns the first that may not.
std::size_t Passes::passQuickly(const SweepRun& run, std::size_t from) {
    if (!canPassQuickly()) {
        return from; // the same every pass until `pass` changes it
    }
    const SecondAngle* taken = nullptr; // a new value of A2 taken here
    runtime::RoundingInterval sameA2 = second_.scaled;
    // Both inside (above); said where the compiler sees it, so that `place`
    // tests nothing and the loop calls nothing.
    const Arm first{firstArm_.x, firstArm_.y, true};
    Arm partner{partnerArm_->x, partnerArm_->y, true};
    const double OA = *OA_;
    const double Ve = Ve_;
    const double* const xFactors = cosineX_ ? run.COS1.data() : run.SEN1.data();
    const double* const yFactors = cosineY_ ? run.COS1.data() : run.SEN1.data();
    const runtime::Rgb colour = colour_;
    runtime::Dot* const dots = dots_.data();
    std::size_t waiting = waiting_;
    // Every pass here draws a pair: with chords, the pass that draws one is the
    // general pass's.
    const std::size_t end = chords_ == Chords::On
                                ? std::min(run.count, from + std::size_t(kChordEvery - conta_))
                                : run.count;
    std::size_t i = from;
    for (; i < end; ++i) {
        const double scaledA2 = run.ALFA[i] * Ve;
        if (!holds(sameA2, scaledA2)) {
            const SecondAngle* next = seconds_.take(scaledA2);
            if (next == nullptr || next->cosineIsZero) {
                break;
            }
            const Arm arm = origin_.arm(OA * next->cosine, OA * next->sine);
            if (!arm.inside) {
                break;
            }
            taken = next;
            sameA2 = next->scaled;
            partner = arm;
        }
        if (run.COS1[i] == 0.0) {
            break;
        }
        // What `place` keeps is wanted of the last pass only (below).
        double keptX = 0.0;
        double keptY = 0.0;
        Position point{};
        origin_.place(first, xFactors[i], yFactors[i], keptX, keptY, point);
        dots[waiting++] = {point.x, point.y, std::nullopt};
        origin_.place(partner, xFactors[i], yFactors[i], keptX, keptY, point);
        dots[waiting++] = {point.x, point.y, colour};
    }
    if (taken != nullptr) {
        second_ = *taken;
        A2_ = static_cast<std::int16_t>(taken->A2);
        // Worked out again rather than copied out of the loop, which made the
        // loop keep its arm in memory.
        partnerArm_ = origin_.arm(OA * taken->cosine, OA * taken->sine);
    }
    if (i > from) {
        SC1_ = xFactors[i - 1];
        Position point{}; // drawn already: only X1 and Y1 are wanted
        origin_.place(first, SC1_, yFactors[i - 1], X1_, Y1_, point);
        if (chords_ == Chords::On) {
            conta_ = static_cast<std::int16_t>(conta_ + (i - from));
        }
    }
    waiting_ = waiting;
    return i;
}

} // namespace

void CALCOLA(runtime::DrawTarget& target, PlotVariables& vars, PlotParameters& params,
             Chords chords) {
    params.Miocolor = addInt16(params.Miocolor, 1);
    vars.OA = params.VALa;
    vars.BETA1 = checkedResult(params.VALb.arithmetic() * static_cast<double>(vars.P1));
    vars.Ve = params.VALe;
    Passes(target, vars, params, chords).sweep();
}

} // namespace lumetra::geometry
