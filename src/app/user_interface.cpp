#include "app/user_interface.h"

#include "app/message_box.h"

#include <QApplication>
#include <QDialog>

namespace lumetra::app {

void DesktopInterface::message(QWidget* window, const QString& text) {
    messageBox(window, text)->exec();
}

void DesktopInterface::endProgram() {
    QCoreApplication::exit(0);
}

} // namespace lumetra::app
