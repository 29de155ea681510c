#pragma once

#include <cstdint>

namespace lumetra::runtime {

// Conversions and 16-bit arithmetic as the window code expects them: round to
// nearest with ties to even, and an overflow error instead of a silent wrap.

// A double rounded to single precision; NaN or a result beyond the single
// range raises Overflow.
float toSingle(double value);

// A double rounded to a 16-bit integer, ties to even (2.5 -> 2, 3.5 -> 4);
// outside -32768..32767 after rounding, or NaN, raises Overflow.
std::int16_t toInt16(double value);

// 16-bit addition; a result outside the 16-bit range raises Overflow.
std::int16_t addInt16(std::int16_t a, std::int16_t b);

// A floating-point result of the program's own arithmetic: infinity or NaN
// raises Overflow, as the platform's floating-point check does.
double checkedResult(double value);

// 3.1415927 / 180 in single precision: the degrees-to-radians factor P1.
float degreesToRadiansFactor();

} // namespace lumetra::runtime
