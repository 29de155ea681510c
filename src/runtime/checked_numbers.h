// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cmath>
#include <cstdint>
#include <limits>

namespace lumetra::runtime {

// Conversions and 16-bit arithmetic as the window code expects them: round to
// nearest with ties to even, and an overflow error instead of a silent wrap.
// They sit in every pass of the drawing loops, so the checks are inline
// comparisons and only raising the error is a call.

// Raises the Overflow run-time error.
[[noreturn]] void raiseOverflow();

// A double rounded to single precision; NaN or a result beyond the single
// range raises Overflow.
inline float toSingle(double value) {
    if (std::isnan(value)) {
        raiseOverflow();
    }
    // The cast rounds to nearest even under the default rounding mode.
    const float single = static_cast<float>(value);
    if (std::isinf(single)) {
        raiseOverflow();
    }
    return single;
}

// Whether a double rounds into the 16-bit range: exactly -32768.5 (which
// rounds to the even -32768) up to 32767.5 (which rounds to 32768), not
// included. NaN does not.
inline bool roundsToInt16(double value) {
    return value >= -32768.5 && value < 32767.5;
}

// A double that rounds into the 16-bit range, rounded ties to even (2.5 -> 2,
// 3.5 -> 4). Adding and taking away 1.5 x 2^52 rounds to an integer in the
// current rounding mode, to nearest with ties to even, as nearbyint does,
// without a call into the library.
inline std::int16_t roundedInt16(double value) {
    constexpr double kRoundingShift = 0x1.8p52;
    return static_cast<std::int16_t>((value + kRoundingShift) - kRoundingShift);
}

// The doubles that `roundedInt16` takes to `value`: from `low` to `high`,
// both included. Ties go to the even neighbour, so an even value takes both
// halves and an odd one neither.
struct RoundingInterval {
    double low;
    double high;
};

inline RoundingInterval roundingTo(std::int16_t value) {
    const double low = value - 0.5;
    const double high = value + 0.5;
    if (value % 2 == 0) {
        return {low, high};
    }
    constexpr double kInfinity = std::numeric_limits<double>::infinity();
    return {std::nextafter(low, kInfinity), std::nextafter(high, -kInfinity)};
}

// A double rounded to a 16-bit integer, ties to even; outside the range after
// rounding, or NaN, raises Overflow.
inline std::int16_t toInt16(double value) {
    if (!roundsToInt16(value)) {
        raiseOverflow();
    }
    return roundedInt16(value);
}

// 16-bit addition; a result outside the 16-bit range raises Overflow.
inline std::int16_t addInt16(std::int16_t a, std::int16_t b) {
    const int sum = int{a} + int{b};
    if (sum < -32768 || sum > 32767) {
        raiseOverflow();
    }
    return static_cast<std::int16_t>(sum);
}

// A floating-point result of the program's own arithmetic: infinity or NaN
// raises Overflow, as the platform's floating-point check does.
inline double checkedResult(double value) {
    if (!std::isfinite(value)) {
        raiseOverflow();
    }
    return value;
}

// 3.1415927 / 180 in single precision: the degrees-to-radians factor P1.
float degreesToRadiansFactor();

} // namespace lumetra::runtime
