#include "app/user_interface.h"

#include <QApplication>
#include <QMessageBox>

namespace lumetra::app {

void DesktopInterface::message(QWidget* window, const QString& text) {
    QMessageBox box(QMessageBox::NoIcon, QString::fromLatin1(kApplicationTitle), text,
                    QMessageBox::Ok, window);
    box.setObjectName(QStringLiteral("messageBox"));
    box.exec();
}

void DesktopInterface::endProgram() {
    QCoreApplication::exit(0);
}

} // namespace lumetra::app
