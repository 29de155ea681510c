// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "runtime/accumulated_loop.h"

#include <array>
#include <cmath>
#include <cstddef>

namespace lumetra::geometry {

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

} // namespace lumetra::geometry
