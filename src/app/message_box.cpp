// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/message_box.h"

#include "app/user_interface.h"

#include <QApplication>
#include <QDialog>
#include <QDialogButtonBox>
#include <QLabel>
#include <QPushButton>
#include <QStyle>
#include <QVBoxLayout>

namespace lumetra::app {

namespace {

// Room beside the caption for the window menu, minimize, maximize and close,
// each about a title bar high: some window managers draw all four on a dialog
// whatever its flags ask.
constexpr int kTitleBarButtons = 4;

// The width the title bar needs for `caption` in the desktop's title-bar font,
// which window managers commonly draw in bold.
int titleBarWidth(const QString& caption, const QStyle& style) {
    QFont font = QApplication::font("QMdiSubWindowTitleBar");
    font.setBold(true);
    return QFontMetrics(font).horizontalAdvance(caption) +
           kTitleBarButtons * style.pixelMetric(QStyle::PM_TitleBarHeight);
}

} // namespace

std::unique_ptr<QDialog> messageBox(QWidget* window, const QString& text) {
    auto box = std::make_unique<QDialog>(
        window, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                    Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint |
                    Qt::MSWindowsFixedSizeDialogHint);
    box->setObjectName(QStringLiteral("messageBox"));
    box->setWindowTitle(QString::fromLatin1(kApplicationTitle));
    auto* message = new QLabel(text, box.get());
    message->setTextFormat(Qt::PlainText); // a file name is never markup
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, box.get());
    buttons->setCenterButtons(true);
    // Some desktops give dialog buttons icons from their icon theme.
    buttons->button(QDialogButtonBox::Ok)->setIcon(QIcon());
    QObject::connect(buttons, &QDialogButtonBox::accepted, box.get(), &QDialog::accept);
    auto* layout = new QVBoxLayout(box.get());
    layout->addWidget(message);
    layout->addWidget(buttons);
    layout->addStrut(titleBarWidth(box->windowTitle(), *box->style()));
    layout->setSizeConstraint(QLayout::SetFixedSize);
    return box;
}

} // namespace lumetra::app
