// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/user_interface.h"

#include "app/message_box.h"

#include <QApplication>
#include <QDialog>
#include <QMessageBox>
#include <QPushButton>

namespace lumetra::app {

void DesktopInterface::message(QWidget* window, const QString& text) {
    messageBox(window, text)->exec();
}

bool DesktopInterface::ask(QWidget* window, const QString& question) {
    QMessageBox box(QMessageBox::Question, QString::fromLatin1(kApplicationTitle), question,
                    QMessageBox::NoButton, window);
    QPushButton* yes = box.addButton(QStringLiteral("S\u00EC"), QMessageBox::YesRole);
    box.addButton(QStringLiteral("No"), QMessageBox::NoRole);
    box.setDefaultButton(yes);
    box.exec();
    return box.clickedButton() == yes;
}

void DesktopInterface::endProgram() {
    QCoreApplication::exit(0);
}

} // namespace lumetra::app
