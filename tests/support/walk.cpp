// SPDX-License-Identifier: GPL-3.0-or-later
#include "support/walk.h"

#include "app/program.h"
#include "forms/form2.h"
#include "forms/form3.h"
#include "surface/drawing_surface.h"

#include <QAbstractButton>
#include <QAction>
#include <QTest>

#include <algorithm>

namespace lumetra::testing {

QAbstractButton* buttonShowing(QWidget& window, const QString& caption) {
    const auto buttons = window.findChildren<QAbstractButton*>();
    const auto found = std::ranges::find(buttons, caption, &QAbstractButton::text);
    return found == buttons.end() ? nullptr : *found;
}

bool click(QWidget& window, const QString& caption) {
    QAbstractButton* button = buttonShowing(window, caption);
    if (button != nullptr) {
        QTest::mouseClick(button, Qt::LeftButton);
    }
    return button != nullptr;
}

bool choose(QWidget& window, const QString& text, bool on) {
    const auto actions = window.actions();
    const auto found = std::ranges::find(actions, text, &QAction::text);
    if (found != actions.end()) {
        (*found)->setChecked(on);
    }
    return found != actions.end();
}

QImage shownArea(const surface::DrawingSurface& surface) {
    return surface.image().copy(
        QRect(QPoint(), surface.logicalSize() * surface.devicePixelRatio()));
}

bool waitActive(const app::Program& program, forms::FormId id) {
    return QTest::qWaitFor([&] { return program.tracker().lastActive() == id; });
}

bool reachParameterWindow(app::Program& program) {
    program.show(forms::FormId::Form2);
    const bool shown = waitActive(program, forms::FormId::Form2);
    QTest::keyClick(program.form2().controls().widget(QStringLiteral("HScroll1")), Qt::Key_Right);
    return shown && program.form2().Incr().arithmetic() == 0.55 &&
           click(program.form2(), QStringLiteral("OK - continua")) &&
           waitActive(program, forms::FormId::Form3);
}

bool reachPlotWindow(app::Program& program) {
    return reachParameterWindow(program) && click(program.form3(), QStringLiteral("AVANTI")) &&
           waitActive(program, forms::FormId::Form4);
}

} // namespace lumetra::testing
