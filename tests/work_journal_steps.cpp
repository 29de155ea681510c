// Takes a plot window's steps on a work journal, for the tests that kill it
// or limit the size of its files. Prints each step's number once the journal
// has taken it, and "failed N: <message>" when step N reports a failure (0 is
// the start).
//
//   work_journal_steps hold PATH                  keeps three plots until killed
//   work_journal_steps walk PATH SEED mixed|churn [STEPS BYTES]
//       steps until killed; or STEPS steps with files limited to BYTES, then
//       "done" and a normal end without finish(), which leaves the file

#include "support/journal_steps.h"

#include <QCoreApplication>
#include <QStringList>

#include <csignal>

#include <sys/resource.h>
#include <unistd.h>

using namespace lumetra::testing;

namespace {

// One write to the pipe, so that a kill never leaves half a line.
void say(const QByteArray& line) {
    const QByteArray text = line + '\n';
    if (::write(STDOUT_FILENO, text.constData(), text.size()) != text.size()) {
        ::_exit(2);
    }
}

void report(int step, const std::optional<lumetra::output::WorkError>& failure) {
    say(failure ? "failed " + QByteArray::number(step) + ": " + failure->reason.toUtf8()
                : QByteArray::number(step));
}

bool limitFilesTo(rlim_t bytes) {
    // A file that reaches the limit gets an error, not the signal that would end the program.
    std::signal(SIGXFSZ, SIG_IGN);
    rlimit limit{};
    ::getrlimit(RLIMIT_FSIZE, &limit);
    limit.rlim_cur = bytes;
    return ::setrlimit(RLIMIT_FSIZE, &limit) == 0;
}

} // namespace

int main(int argc, char** argv) {
    const QCoreApplication application(argc, argv);
    const QStringList arguments = QCoreApplication::arguments();
    const bool hold = arguments.value(1) == u"hold" && arguments.size() == 3;
    const bool limited = arguments.size() == 7 && limitFilesTo(arguments[6].toULongLong());
    if (!hold && (arguments.value(1) != u"walk" || (arguments.size() != 5 && !limited))) {
        return 2;
    }
    WindowState state{hold ? numberedRecord(0, 3) : lumetra::output::PlotRecord(), {}};
    lumetra::output::WorkJournal journal(state.record);
    report(0, journal.start(arguments[2]));
    const auto mix = arguments.value(4) == u"churn" ? StepWalk::Mix::Churn : StepWalk::Mix::Mixed;
    StepWalk steps(arguments.value(3).toUInt(), mix);
    const int count = limited ? arguments[5].toInt() : hold ? 0 : -1;
    for (int n = 1; count < 0 || n <= count; ++n) {
        report(n, tell(journal, steps.next(state)));
    }
    while (hold) {
        ::pause(); // until killed
    }
    say("done");
    return 0;
}
