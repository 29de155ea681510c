#include "app/program.h"
#include "app/start_up.h"
#include "app/user_interface.h"
#include "forms/form1.h"

#include <QApplication>

int main(int argc, char* argv[]) {
    QApplication application(argc, argv);
    lumetra::app::prepareApplication();
    lumetra::app::DesktopInterface ui;
    lumetra::app::Program program(ui);
    program.show(lumetra::app::FormId::Form1);
    return QApplication::exec();
}
