// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

namespace lumetra::runtime {

// A counted loop with a fractional step, as the drawing procedures write it:
// the counter starts at `start`, the step is added in double precision after
// every pass, and a pass runs while the counter does not exceed `end`. The
// accumulated rounding decides the number of passes (0 to 360 by 0.1 gives
// 3,600, not 3,601), so the counter must never be recomputed from a pass
// number.
class AccumulatedCounter {
public:
    AccumulatedCounter(double start, double end, double step)
        : counter_(start), end_(end), step_(step) {}

    // Whether another pass runs.
    bool more() const { return counter_ <= end_; }
    // The counter of the next pass, stepping past it.
    double next() {
        const double counter = counter_;
        counter_ += step_;
        return counter;
    }

private:
    double counter_;
    double end_;
    double step_;
};

// Runs the loop: `pass(counter)` is called for every pass; returns the pass count.
template <typename Pass>
int forEachAccumulated(double start, double end, double step, Pass&& pass) {
    int passes = 0;
    for (AccumulatedCounter counter(start, end, step); counter.more(); ++passes) {
        pass(counter.next());
    }
    return passes;
}

} // namespace lumetra::runtime
