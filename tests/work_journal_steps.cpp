// Takes a plot window's steps on a work journal, for the tests that kill it
// or limit the size of its files. Prints each step's number once the journal
// has taken it, and "failed N: <message>" when step N reports a failure (0 is
// the start).
//
//   work_journal_steps walk PATH SEED mixed|churn   steps until killed
//   work_journal_steps hold PATH                    keeps three plots until killed
//   work_journal_steps limited PATH SEED STEPS BYTES
//       STEPS mixed steps with files limited to BYTES, then "done" and a
//       normal end without finish(), which leaves the file

#include "output/work_journal.h"
#include "support/journal_steps.h"

#include <QCoreApplication>
#include <QStringList>

#include <csignal>
#include <optional>

#include <sys/resource.h>
#include <unistd.h>

using lumetra::output::WorkError;
using lumetra::output::WorkJournal;
using lumetra::testing::Step;
using lumetra::testing::StepWalk;
using lumetra::testing::WindowState;

namespace {

// One write to the pipe, so that a kill never leaves half a line.
void say(const QByteArray& line) {
    const QByteArray text = line + '\n';
    if (::write(STDOUT_FILENO, text.constData(), text.size()) != text.size()) {
        ::_exit(2);
    }
}

void report(int step, const std::optional<WorkError>& failure) {
    say(failure ? "failed " + QByteArray::number(step) + ": " + failure->reason.toUtf8()
                : QByteArray::number(step));
}

std::optional<WorkError> tell(WorkJournal& journal, Step step) {
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

[[noreturn]] void waitForTheKill() {
    for (;;) {
        ::pause();
    }
}

int walk(const QString& path, quint32 seed, StepWalk::Mix mix) {
    WindowState state;
    WorkJournal journal(state.record);
    report(0, journal.start(path));
    StepWalk steps(seed, mix);
    for (int n = 1;; ++n) {
        report(n, tell(journal, steps.next(state)));
    }
}

int hold(const QString& path) {
    WindowState state{lumetra::testing::numberedRecord(0, 3), {}};
    WorkJournal journal(state.record);
    report(0, journal.start(path));
    waitForTheKill();
}

int limited(const QString& path, quint32 seed, int count, rlim_t bytes) {
    // A file that reaches the limit gets an error, not the signal that would end the program.
    std::signal(SIGXFSZ, SIG_IGN);
    rlimit limit{};
    ::getrlimit(RLIMIT_FSIZE, &limit);
    limit.rlim_cur = bytes;
    if (::setrlimit(RLIMIT_FSIZE, &limit) != 0) {
        return 2;
    }
    WindowState state;
    WorkJournal journal(state.record);
    report(0, journal.start(path));
    StepWalk steps(seed, StepWalk::Mix::Mixed);
    for (int n = 1; n <= count; ++n) {
        report(n, tell(journal, steps.next(state)));
    }
    say("done");
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    const QCoreApplication application(argc, argv);
    const QStringList arguments = QCoreApplication::arguments();
    const QString mode = arguments.value(1);
    const QString path = arguments.value(2);
    const auto seed = arguments.value(3).toUInt();
    if (mode == u"walk" && arguments.size() == 5) {
        return walk(path, seed,
                    arguments[4] == u"churn" ? StepWalk::Mix::Churn : StepWalk::Mix::Mixed);
    }
    if (mode == u"hold" && arguments.size() == 3) {
        return hold(path);
    }
    if (mode == u"limited" && arguments.size() == 6) {
        return limited(path, seed, arguments[4].toInt(), arguments[5].toULongLong());
    }
    return 2;
}
