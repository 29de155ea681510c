#include "geometry/calcola.h"

#include "geometry/plot_output.h"
#include "runtime/accumulated_loop.h"
#include "runtime/checked_numbers.h"
#include "runtime/palette.h"

#include <array>
#include <cmath>
#include <cstddef>
#include <limits>
#include <optional>

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

namespace {

// What the passes need of one value of the second angle A2, worked out once
// for each value a plot meets: with increment 1, 91 values in 901 passes.
struct SecondAngle {
    static constexpr int kNone = -65536; // no 16-bit value: before the first pass
    int A2 = kNone;
    bool cosineIsZero = false; // COS2 = 0: the pass draws nothing
    double cosine = 0.0;       // cos(BETA1 x SEN2)
    double sine = 0.0;         // sin(BETA1 x SEN2)
};

SecondAngle secondAngle(std::int16_t A2, float P1, double BETA1) {
    const float theta2 = toSingle(static_cast<float>(A2) * P1);
    const double COS2 = std::cos(static_cast<double>(theta2));
    const double SEN2 = std::sin(static_cast<double>(theta2));
    const double direction = BETA1 * SEN2;
    return {A2, COS2 == 0.0, std::cos(direction), std::sin(direction)};
}

// A run of passes of the sweep: each counter with the cosine and sine of its
// angle in radians.
struct SweepRun {
    static constexpr std::size_t kLength = 128;
    std::array<double, kLength> ALFA;
    std::array<double, kLength> COS1;
    std::array<double, kLength> SEN1;
    std::size_t count = 0;

    // The next run of the sweep; false when it has ended.
    bool fill(runtime::AccumulatedCounter& sweep, double P1) {
        count = 0;
        for (; count < kLength && sweep.more(); ++count) {
            ALFA[count] = sweep.next();
            const double angle = ALFA[count] * P1;
            COS1[count] = std::cos(angle);
            SEN1[count] = std::sin(angle);
        }
        return count > 0;
    }
};

struct Position {
    float x;
    float y;
};

// The two factors that a pass multiplies by SC1 and by SCY to find a point
// relative to O, and whether every point so found passes the quick test of
// `Origin::place`: SC1 and SCY are at most 1 in size, and so are their
// products with a factor at most the factor.
struct Arm {
    double x;
    double y;
    bool inside;
};

// The origin O at (CX, CY), which also bounds the accepted points.
class Origin {
public:
    Origin(float CX, float CY)
        : CX_(CX), CY_(CY), quickX_(quickBound(CX)), quickY_(quickBound(CY)) {}

    Arm arm(double x, double y) const { return {x, y, passesQuickTest(x, y)}; }

    // Sets `drawn` to where the point (arm.x * SC1, arm.y * SCY) relative to
    // O is drawn, (CX + x, CY - y) in singles; false when it lies out of
    // range. A coordinate that is not a finite number raises Overflow, x
    // before y; `keptX` and `keptY` take each coordinate once it has passed.
    bool place(const Arm& arm, double SC1, double SCY, double& keptX, double& keptY,
               Position& drawn) const {
        const double x = arm.x * SC1;
        const double y = arm.y * SCY;
        if (arm.inside || passesQuickTest(x, y)) {
            keptX = x;
            keptY = y;
            drawn = {static_cast<float>(CX_ + x), static_cast<float>(CY_ - y)};
            return true;
        }
        keptX = checkedResult(x);
        keptY = checkedResult(y);
        if (std::abs(x) > CX_ || std::abs(y) > CY_) {
            return false;
        }
        drawn = {toSingle(CX_ + x), toSingle(CY_ - y)};
        return true;
    }

private:
    // Finite, in range, and with a position that cannot overflow a single:
    // nearly every point passes.
    bool passesQuickTest(double x, double y) const {
        return std::abs(x) <= quickX_ && std::abs(y) <= quickY_;
    }

    // The extent itself, or -1 (no point passes) when twice it is no finite single.
    static double quickBound(float extent) {
        const bool fits = std::abs(extent) <= std::numeric_limits<float>::max() / 2.0F;
        return fits ? extent : -1.0;
    }

    double CX_;
    double CY_;
    double quickX_;
    double quickY_;
};

// The variables of the plot window and the colour counter that the passes set.
struct PassResults {
    std::int16_t A2;
    double SC1;
    double X1;
    double Y1;
    std::int16_t Miocolor;
};

void storeResults(PlotVariables& vars, const PlotParameters& params, PassResults results) {
    vars.A2 = results.A2;
    vars.SC1 = results.SC1;
    vars.X1 = results.X1;
    vars.Y1 = results.Y1;
    params.Miocolor = results.Miocolor;
}

} // namespace

void CALCOLA(runtime::DrawTarget& target, PlotVariables& vars, const PlotParameters& params,
             Chords chords) {
    params.Miocolor = addInt16(params.Miocolor, 1);
    vars.OA = params.VALa;
    vars.BETA1 = checkedResult(params.VALb.arithmetic() * static_cast<double>(vars.P1));
    vars.Ve = params.VALe;
    const double Ve = vars.Ve.arithmetic();

    // Nothing here changes within a plot: it runs to its end before any click,
    // a check box's included, is handled.
    const double P1 = vars.P1;
    const bool cosineX = vars.Risposta1.equalsNumber(kCosineAnswer);
    const bool cosineY = vars.Risposta2.equalsNumber(kCosineAnswer);
    const Origin origin(vars.CX, vars.CY);
    // OA is read where the first pass reads it, after that pass has set A2 and
    // SC1: a rejected length fails with those set, and after an overflow of A2.
    std::optional<double> OA;
    Arm firstArm{}; // OA cos BETA1, OA sin BETA1

    // What the passes set, kept here and stored back however the plot ends:
    // each store into the window's variables could be taken to change the
    // others and the colour counter, to be read again at every pass.
    PassResults results{vars.A2, vars.SC1, vars.X1, vars.Y1, params.Miocolor};
    std::int16_t& A2 = results.A2;
    double& SC1 = results.SC1;
    double& X1 = results.X1;
    double& Y1 = results.Y1;
    std::int16_t& Miocolor = results.Miocolor;

    SecondAngle second;
    std::optional<Arm> partnerArm; // OA cos(BETA1 x SEN2), OA sin(BETA1 x SEN2)
    // Miocolor + 1 as a colour, read at its first use and again after a wrap.
    runtime::Rgb colour = 0;
    bool colourRead = false;
    std::int16_t conta = 0; // Empty at the start of every plot; Empty counts as 0
    PlotOutput output(target, kPointWidth);
    // The points of the current run of passes, two at most for each, not yet
    // handed to the target.
    std::array<runtime::Dot, 2 * SweepRun::kLength> dots;
    std::size_t waiting = 0;

    const auto pass = [&](double ALFA, double COS1, double SEN1) {
        A2 = runtime::toInt16(ALFA * Ve);
        if (second.A2 != A2) {
            second = secondAngle(A2, vars.P1, vars.BETA1);
            partnerArm.reset();
        }
        if (COS1 == 0.0 || second.cosineIsZero) {
            return;
        }
        SC1 = cosineX ? COS1 : SEN1;
        const double SCY = cosineY ? COS1 : SEN1;
        if (!OA) {
            OA = vars.OA.arithmetic();
            firstArm = origin.arm(*OA * std::cos(vars.BETA1), *OA * std::sin(vars.BETA1));
        }
        Position first{};
        if (!origin.place(firstArm, SC1, SCY, X1, Y1, first)) {
            return;
        }
        dots[waiting++] = {first.x, first.y, std::nullopt};

        double XS = 0.0;
        double YS = 0.0;
        Position partner{};
        if (!partnerArm) {
            partnerArm = origin.arm(*OA * second.cosine, *OA * second.sine);
        }
        if (!origin.place(*partnerArm, SC1, SCY, XS, YS, partner)) {
            return;
        }
        if (!colourRead) {
            colour = curveColour(addInt16(Miocolor, 1));
            colourRead = true;
        }
        dots[waiting++] = {partner.x, partner.y, colour};

        if (chords == Chords::On) {
            if (conta == kChordEvery) {
                conta = 0;
                output.points({dots.data(), waiting});
                waiting = 0;
                output.line(first.x, first.y, partner.x, partner.y, colour, kChordWidth);
            } else {
                ++conta;
            }
        }
        if (Miocolor == kLastCurveColour) {
            Miocolor = 1;
            colourRead = false;
        }
    };
    // The sine and cosine of every pass are worked out a run of passes ahead,
    // in a loop of their own: the library calls would otherwise evict the
    // pass's values from the registers at every pass. They cannot fail, so
    // working them out early changes nothing that is drawn or raised.
    runtime::AccumulatedCounter sweep(0.0, kSweepEnd, kSweepStep);
    SweepRun run;
    try {
        while (run.fill(sweep, P1)) {
            for (std::size_t i = 0; i < run.count; ++i) {
                pass(run.ALFA[i], run.COS1[i], run.SEN1[i]);
            }
            output.points({dots.data(), waiting});
            waiting = 0;
        }
    } catch (...) {
        storeResults(vars, params, results);
        output.points({dots.data(), waiting}); // what the passes before the error drew stays drawn
        throw;
    }
    storeResults(vars, params, results);
}

} // namespace lumetra::geometry
