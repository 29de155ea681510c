// SPDX-License-Identifier: GPL-3.0-or-later
#include "runtime/checked_numbers.h"

#include "runtime/run_time_error.h"

namespace lumetra::runtime {

void raiseOverflow() {
    throw RunTimeError(ErrorCode::Overflow);
}

float degreesToRadiansFactor() {
    const float pi = 3.1415927F;
    const float halfTurn = 180.0F;
    return pi / halfTurn;
}

} // namespace lumetra::runtime
