#include "runtime/checked_numbers.h"

#include "runtime/run_time_error.h"

#include <cmath>
#include <limits>

namespace lumetra::runtime {

float toSingle(double value) {
    if (std::isnan(value)) {
        throw RunTimeError(ErrorCode::Overflow);
    }
    // The cast rounds to nearest even under the default rounding mode.
    const float single = static_cast<float>(value);
    if (std::isinf(single)) {
        throw RunTimeError(ErrorCode::Overflow);
    }
    return single;
}

std::int16_t toInt16(double value) {
    if (std::isnan(value)) {
        throw RunTimeError(ErrorCode::Overflow);
    }
    // nearbyint follows the current rounding mode, which is to nearest, ties to even.
    const double rounded = std::nearbyint(value);
    if (rounded < std::numeric_limits<std::int16_t>::min() ||
        rounded > std::numeric_limits<std::int16_t>::max()) {
        throw RunTimeError(ErrorCode::Overflow);
    }
    return static_cast<std::int16_t>(rounded);
}

std::int16_t addInt16(std::int16_t a, std::int16_t b) {
    const int sum = int{a} + int{b};
    if (sum < std::numeric_limits<std::int16_t>::min() ||
        sum > std::numeric_limits<std::int16_t>::max()) {
        throw RunTimeError(ErrorCode::Overflow);
    }
    return static_cast<std::int16_t>(sum);
}

double checkedResult(double value) {
    if (!std::isfinite(value)) {
        throw RunTimeError(ErrorCode::Overflow);
    }
    return value;
}

float degreesToRadiansFactor() {
    const float pi = 3.1415927F;
    const float halfTurn = 180.0F;
    return pi / halfTurn;
}

} // namespace lumetra::runtime
