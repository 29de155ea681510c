// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "output/work_journal.h"

#include <limits>
#include <utility>
#include <vector>

namespace lumetra::testing {

// The plot numbered `n`: its angle says which it is; every seventh was
// plotted with a rejected length, every fifth with its chords.
inline output::RecordedPlot numberedPlot(int n) {
    const double VALa = n % 7 == 3 ? std::numeric_limits<double>::quiet_NaN() : 86.0 + n % 11;
    const auto Miocolor = static_cast<std::int16_t>(n % 15);
    return {VALa,     n * 0.1,    1.0 + n % 3, 0.55,       1920,      1080,
            Miocolor, n % 2 == 0, n % 4 == 1,  n % 5 == 0, n % 9 == 0};
}

inline output::PlotRecord numberedRecord(int first, int count) {
    output::PlotRecord record;
    for (int n = first; n < first + count; ++n) {
        record.add(numberedPlot(n));
    }
    return record;
}

// The steps, in the order the tables of tell() and the journal test's scripts follow.
enum class Step { Add, Drop, Clear, Unclear, Open };

// What the plot window holds for its history: the record, and the records
// that its clears and opens put aside, the last one last.
struct WindowState {
    output::PlotRecord record;
    std::vector<output::PlotRecord> aside;

    // The window's side of a step: an add adds the first of `plots`, an open opens them.
    void take(Step step, const output::PlotRecord& plots = {}) {
        switch (step) {
        case Step::Add:
            record.add(plots.plots().front());
            break;
        case Step::Drop:
            record.removeLast();
            break;
        case Step::Clear:
        case Step::Open:
            aside.push_back(
                std::exchange(record, step == Step::Open ? plots : output::PlotRecord()));
            break;
        case Step::Unclear:
            record = std::move(aside.back());
            aside.pop_back();
            break;
        }
    }
};

// The journal told of a step the window took.
inline std::optional<output::WorkError> tell(output::WorkJournal& journal, Step step) {
    constexpr std::optional<output::WorkError> (*kTold[])(output::WorkJournal&) = {
        [](output::WorkJournal& j) { return j.added(); },
        [](output::WorkJournal& j) { return j.dropped(); },
        [](output::WorkJournal& j) { return j.cleared(); },
        [](output::WorkJournal& j) { return j.uncleared(); },
        [](output::WorkJournal& j) { return j.opened(); }};
    return kTold[static_cast<int>(step)](journal);
}

// The steps of a busy plot window: 3000 plots opened, then one plotted
// and taken back over and over, which has the journal written anew now and then.
class Churn {
public:
    Step next(WindowState& state) {
        const Step step = taken_ == 0 ? Step::Open : taken_ % 2 == 1 ? Step::Add : Step::Drop;
        state.take(step, taken_ == 0 ? numberedRecord(0, 3000) : numberedRecord(3000 + taken_, 1));
        ++taken_;
        return step;
    }

private:
    int taken_ = 0;
};

// What the plot window holds after the first `steps` steps of a Churn.
inline WindowState churned(int steps) {
    WindowState state;
    for (Churn churn; steps > 0; --steps) {
        churn.next(state);
    }
    return state;
}

} // namespace lumetra::testing
