#pragma once

namespace lumetra::runtime {

// A counted loop with a fractional step, as the drawing procedures write it:
// the counter starts at `start`, the step is added in double precision after
// every pass, and a pass runs while the counter does not exceed `end`. The
// accumulated rounding decides the number of passes (0 to 360 by 0.1 gives
// 3,600, not 3,601), so the counter must never be recomputed from a pass
// number. `pass(counter)` is called for every pass; returns the pass count.
template <typename Pass>
int forEachAccumulated(double start, double end, double step, Pass&& pass) {
    int passes = 0;
    for (double counter = start; counter <= end; counter += step) {
        pass(counter);
        ++passes;
    }
    return passes;
}

} // namespace lumetra::runtime
