#include "app/message_box.h"

#include "app/user_interface.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QMessageBox>
#include <QPushButton>
#include <QStyle>

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

std::unique_ptr<QMessageBox> messageBox(QWidget* window, const QString& text) {
    const QString caption = QString::fromLatin1(kApplicationTitle);
    auto box =
        std::make_unique<QMessageBox>(QMessageBox::NoIcon, caption, text, QMessageBox::Ok, window);
    box->setObjectName(QStringLiteral("messageBox"));
    box->setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                        Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint |
                        Qt::MSWindowsFixedSizeDialogHint);
    // Some desktops give dialog buttons icons from their icon theme.
    box->button(QMessageBox::Ok)->setIcon(QIcon());
    box->findChild<QDialogButtonBox*>()->setCenterButtons(true);
    // The box sizes itself to its layout when shown: an empty row as wide as
    // the caption needs makes it that wide at least.
    auto* grid = static_cast<QGridLayout*>(box->layout());
    grid->addItem(new QSpacerItem(titleBarWidth(caption, *box->style()), 0), grid->rowCount(), 0, 1,
                  grid->columnCount());
    return box;
}

} // namespace lumetra::app
