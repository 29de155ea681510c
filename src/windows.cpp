// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/program.h"
#include "app/start_up.h"
#include "app/user_interface.h"
#include "forms/form1.h"

#include <QApplication>

// The program's windows: main loads this module only when the program starts
// without arguments, so that the command line never loads the widget
// libraries.
extern "C" Q_DECL_EXPORT int lumetra_windows(int argc, char* argv[]) {
    QApplication application(argc, argv);
    lumetra::app::prepareApplication();
    lumetra::app::DesktopInterface ui;
    lumetra::app::Program program(ui);
    // Qt has taken its own switches: what is left beside the program is a picture to open.
    const QStringList arguments = QCoreApplication::arguments();
    if (arguments.size() == 2) {
        program.startWith(arguments.at(1));
    } else if (!program.offerAbandonedWork()) {
        program.show(lumetra::app::FormId::Form1);
    }
    return QApplication::exec();
}
