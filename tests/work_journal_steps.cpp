// SPDX-License-Identifier: GPL-3.0-or-later
// Takes a plot window's steps on a work journal until killed, for the test
// that kills it: 3000 plots opened, then one plotted and taken back over and
// over. Prints each step's number once the journal has taken it, 0 its start.
//
//   work_journal_steps PATH

#include "support/journal_steps.h"

#include <QCoreApplication>
#include <QStringList>

#include <unistd.h>

using namespace lumetra::testing;

namespace {

// One write to the pipe, so that a kill never leaves half a line.
void say(int step) {
    const QByteArray text = QByteArray::number(step) + '\n';
    if (::write(STDOUT_FILENO, text.constData(), text.size()) != text.size()) {
        ::_exit(2);
    }
}

} // namespace

int main(int argc, char** argv) {
    const QCoreApplication application(argc, argv);
    const QStringList arguments = QCoreApplication::arguments();
    if (arguments.size() != 2) {
        return 2;
    }
    WindowState state;
    lumetra::output::WorkJournal journal(state.record);
    if (journal.start(arguments[1])) {
        return 1;
    }
    say(0);
    Churn steps;
    for (int n = 1;; ++n) {
        if (tell(journal, steps.next(state))) {
            return 1;
        }
        say(n);
    }
}
