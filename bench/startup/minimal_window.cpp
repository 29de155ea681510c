// SPDX-License-Identifier: GPL-3.0-or-later
#include "resources/layout.h"
#include "resources/text.h"

#include <QApplication>
#include <QPushButton>
#include <QWidget>

namespace {

QRect pixels(const lumetra::resources::ControlLayout& entry) {
    using lumetra::resources::twipsToPixels;
    return {twipsToPixels(entry.left), twipsToPixels(entry.top), twipsToPixels(entry.width),
            twipsToPixels(entry.height)};
}

} // namespace

// The baseline of the start-up benchmark: the least a Qt Widgets program does
// to show a window of the title window's client size holding its captioned
// push button, so that it too loads the style and the fonts.
int main(int argc, char* argv[]) {
    using namespace lumetra::resources;
    QApplication application(argc, argv);
    const WindowLayout& layout = form1Layout();
    const ControlLayout& entry = control(layout, "Command1");
    QWidget window;
    window.setWindowTitle(QStringLiteral("Minimal"));
    window.resize(twipsToPixels(layout.clientWidth), twipsToPixels(layout.clientHeight));
    QPushButton button(text(entry.caption), &window);
    button.setGeometry(pixels(entry));
    window.show();
    return QApplication::exec();
}
