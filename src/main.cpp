#include "app/program.h"
#include "app/start_up.h"
#include "app/user_interface.h"
#include "cli/command_line.h"
#include "forms/form1.h"

#include <QApplication>

// Without arguments the windows; with any, the command line, which draws
// into a file and opens none.
int main(int argc, char* argv[]) {
    if (argc > 1) {
        return lumetra::cli::runCommandLine(argc, argv);
    }
    QApplication application(argc, argv);
    lumetra::app::prepareApplication();
    lumetra::app::DesktopInterface ui;
    lumetra::app::Program program(ui);
    program.show(lumetra::app::FormId::Form1);
    return QApplication::exec();
}
