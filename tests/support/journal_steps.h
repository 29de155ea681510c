#pragma once

#include "output/work_journal.h"

#include <QRandomGenerator>

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
    switch (step) {
    case Step::Add:
        return journal.added();
    case Step::Drop:
        return journal.dropped();
    case Step::Clear:
        return journal.cleared();
    case Step::Unclear:
        return journal.uncleared();
    case Step::Open:
        return journal.opened();
    }
    return std::nullopt;
}

// Steps a plot window could take, drawn from a seed, each taken on a state:
// never a drop with nothing plotted, never a clear taken back that was not made.
class StepWalk {
public:
    enum class Mix {
        Mixed, // every kind of step, opens of up to 2000 plots
        Churn, // 3000 plots opened, then one plotted and taken back, over and over
    };

    StepWalk(quint32 seed, Mix mix) : random_(seed), mix_(mix) {}

    Step next(WindowState& state) {
        const Step step = choose(state);
        const int count = step == Step::Add    ? 1
                          : step != Step::Open ? 0
                          : mix_ == Mix::Churn ? 3000
                                               : random_.bounded(2001);
        state.take(step, numberedRecord(counter_, count));
        counter_ += count;
        return step;
    }

private:
    Step choose(const WindowState& state) {
        if (mix_ == Mix::Churn) {
            return taken_++ == 0 ? Step::Open : taken_ % 2 == 0 ? Step::Add : Step::Drop;
        }
        for (;;) {
            const int draw = random_.bounded(100);
            const Step step = draw < 50   ? Step::Add
                              : draw < 75 ? Step::Drop
                              : draw < 83 ? Step::Clear
                              : draw < 98 ? Step::Unclear
                                          : Step::Open;
            if ((step != Step::Drop || !state.record.empty()) &&
                (step != Step::Unclear || !state.aside.empty())) {
                return step;
            }
        }
    }

    QRandomGenerator random_;
    Mix mix_;
    int counter_ = 0;
    int taken_ = 0;
};

} // namespace lumetra::testing
