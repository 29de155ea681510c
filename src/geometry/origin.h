// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "runtime/checked_numbers.h"

#include <cmath>
#include <limits>

namespace lumetra::geometry {

// Where a point is drawn, in the window's units, as singles.
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
        keptX = runtime::checkedResult(x);
        keptY = runtime::checkedResult(y);
        if (std::abs(x) > CX_ || std::abs(y) > CY_) {
            return false;
        }
        drawn = {runtime::toSingle(CX_ + x), runtime::toSingle(CY_ - y)};
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

} // namespace lumetra::geometry
