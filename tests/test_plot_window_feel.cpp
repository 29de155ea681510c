// SPDX-License-Identifier: GPL-3.0-or-later
// How the windows feel to a user, at a fractional scale factor (CTest sets
// QT_SCALE_FACTOR=1.5) and under a desktop whose settings make scroll-bar track
// clicks jump and give dialog buttons icons: controls hide the drawing, Enter
// presses a focused button, the scroll bar steps by one, partial repaints match
// full ones, a message box shows one centred "OK".

#include "app/message_box.h"
#include "app/program.h"
#include "app/start_up.h"
#include "forms/form2.h"
#include "forms/form3.h"
#include "forms/form4.h"
#include "runtime/palette.h"
#include "support/hermetic_main.h"
#include "support/walk.h"

#include <QtTest>
#include <QtWidgets>

using lumetra::forms::FormId;
using lumetra::runtime::QBColor;

namespace {

class DesktopSettings : public QProxyStyle {
public:
    DesktopSettings() : QProxyStyle(QStringLiteral("Fusion")) {}
    int styleHint(StyleHint hint, const QStyleOption* option, const QWidget* widget,
                  QStyleHintReturn* answer) const override {
        // Fusion's middle clicks jump already.
        const bool set = hint == SH_ScrollBar_LeftClickAbsolutePosition ||
                         hint == SH_DialogButtonBox_ButtonsHaveIcons;
        return set ? 1 : QProxyStyle::styleHint(hint, option, widget, answer);
    }
};

constexpr qreal kRatio = 1.5;

QImage grabbed(QWidget& widget, QRect area = QRect(QPoint(), QSize(-1, -1))) {
    return widget.grab(area).toImage().convertToFormat(QImage::Format_RGB32);
}

QRectF inDevicePixels(QRect logical) {
    return {QPointF(logical.topLeft()) * kRatio, QSizeF(logical.size()) * kRatio};
}

} // namespace

class TestPlotWindowFeel : public QObject, lumetra::testing::Session {
    Q_OBJECT

    std::unique_ptr<QStyle> fusion{QStyleFactory::create(QStringLiteral("Fusion"))};

private slots:
    void initTestCase() {
        lumetra::app::prepareApplication();
        QApplication::setStyle(new DesktopSettings);
        QCOMPARE(qApp->devicePixelRatio(), kRatio);
    }

    void init() {
        restart();
        QVERIFY(lumetra::testing::reachParameterWindow(*program));
    }

    // A curve of length 250 at 165 degrees crosses the frame of check boxes:
    // the frame's interior and its check boxes look the same over the curve as
    // over a cleared window.
    void curveThroughTheFrame() {
        auto& form3 = program->form3();
        form3.controls().get<QLineEdit>(QStringLiteral("Text1"))->setText(QStringLiteral("250"));
        form3.controls().get<QLineEdit>(QStringLiteral("Text2"))->setText(QStringLiteral("165"));
        QVERIFY(lumetra::testing::click(form3, QStringLiteral("AVANTI")));
        QVERIFY(lumetra::testing::waitActive(*program, FormId::Form4));
        auto& form = program->form4();
        const QRect area = form.controls().widget(QStringLiteral("Frame2"))->geometry();
        // The curve's colour under the frame, not only the black axes.
        QVERIFY(!form.surface().image().copy(inDevicePixels(area).toRect()).allGray());
        const QImage shown = grabbed(form, area);
        form.surface().cls();
        QCOMPARE(grabbed(form, area), shown);
    }

    void enterPressesTheFocusedButton_data() {
        QTest::addColumn<Qt::Key>("key");
        QTest::addColumn<Qt::KeyboardModifiers>("modifiers");
        QTest::newRow("Return") << Qt::Key_Return << Qt::KeyboardModifiers();
        QTest::newRow("keypad Enter") << Qt::Key_Enter << Qt::KeyboardModifiers(Qt::KeypadModifier);
    }
    void enterPressesTheFocusedButton() {
        QFETCH(Qt::Key, key);
        QFETCH(Qt::KeyboardModifiers, modifiers);
        auto& form3 = program->form3();
        QTest::keyClick(form3.focusWidget(), key, modifiers); // in Text1
        QVERIFY(!program->exists(FormId::Form4));
        form3.controls().widget(QStringLiteral("Command2"))->setFocus(); // "AVANTI"
        QTest::keyClick(form3.focusWidget(), key, modifiers);
        QVERIFY(lumetra::testing::waitActive(*program, FormId::Form4));
        for (const FormId id : {FormId::Form1, FormId::Form2, FormId::Form3, FormId::Form4}) {
            QWidget& window = program->window(id);
            QTest::keyClick(window.focusWidget() ? window.focusWidget() : &window, Qt::Key_Escape);
        }
        QCOMPARE(program->tracker().lastActive(), FormId::Form4);
        QCOMPARE(ui->messages, QStringList());
        QCOMPARE(ui->endCount, 0);
        // On "ESCI", the plot window's first focus.
        QTest::keyClick(program->form4().focusWidget(), key, modifiers);
        QCOMPARE(ui->endCount, 1);
    }

    // Under Fusion, and under Fusion with the desktop's absolute track clicks:
    // both arrows and the track either side of the thumb, which stands mid-way.
    void scrollBarStepsByOne() {
        auto* bar = program->form2().controls().get<QScrollBar>(QStringLiteral("HScroll1"));
        const int w = bar->width();
        for (QStyle* style : {fusion.get(), QApplication::style()}) {
            bar->setStyle(style);
            for (const auto& [button, modifiers] : {std::pair{Qt::LeftButton, Qt::NoModifier},
                                                    {Qt::MiddleButton, Qt::NoModifier},
                                                    {Qt::LeftButton, Qt::ShiftModifier}}) {
                for (const auto& [x, step] :
                     {std::pair{4, -1}, {w - 5, 1}, {w / 4, -1}, {3 * w / 4, 1}}) {
                    bar->setValue(15);
                    QTest::mouseClick(bar, button, modifiers, QPoint(x, bar->height() / 2));
                    QCOMPARE(program->form2().Incr().arithmetic(), (15 + step) * 0.02 + 0.51);
                }
            }
        }
    }

    // Diagonal lines one pixel wide show any shift of a partial repaint: drawn
    // over the full one it changes nothing, and it paints all of its region.
    void partialRepaintMatchesFullRepaint() {
        lumetra::controls::SurfaceWindow window;
        window.resize(160, 120);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        for (int i = 0; i < 16; ++i) { // in twips, 15 to a pixel
            window.surface().line(i * 135.0F, 0.0F, i * 135.0F + 600.0F, 1800.0F, QBColor(i));
        }
        const QImage full = grabbed(window);
        QImage part = full;
        const QRect small(33, 17, 41, 29);
        window.render(&part, small.topLeft(), QRegion(small));
        QCOMPARE(part, full);
        part.fill(Qt::magenta);
        window.render(&part, small.topLeft(), QRegion(small));
        const QRect inside = inDevicePixels(small).toAlignedRect().adjusted(2, 2, -2, -2);
        QCOMPARE(part.copy(inside), full.copy(inside));
    }

    // The box for "Overflow": its caption and text, one plain "OK" in the middle,
    // which Return presses, and a title bar whose only button closes it.
    void messageBoxShowsOneCentredOk() {
        const auto box = lumetra::app::messageBox(&program->form3(), QStringLiteral("Overflow"));
        box->show();
        QVERIFY(QTest::qWaitForWindowExposed(box.get()));
        QCOMPARE(box->windowTitle(), QStringLiteral("LUMETRA"));
        QCOMPARE(box->findChild<QLabel*>()->text(), QStringLiteral("Overflow"));
        const auto buttons = box->findChildren<QPushButton*>();
        QCOMPARE(buttons.size(), 1);
        QPushButton* ok = buttons.front();
        QCOMPARE(ok->text(), QStringLiteral("OK"));
        QVERIFY(ok->icon().isNull());
        QVERIFY(std::abs(ok->mapTo(box.get(), ok->rect().center()).x() - box->width() / 2) <= 1);
        QCOMPARE(box->windowFlags() & (Qt::WindowType_Mask | Qt::WindowMinMaxButtonsHint |
                                       Qt::WindowCloseButtonHint),
                 Qt::Dialog | Qt::WindowCloseButtonHint);
        QTest::keyClick(box->focusWidget() ? box->focusWidget() : box.get(), Qt::Key_Return);
        QCOMPARE(box->result(), int{QDialog::Accepted});
        QVERIFY(!box->isVisible());
    }
};

LUMETRA_HERMETIC_MAIN(TestPlotWindowFeel, QApplication)
#include "test_plot_window_feel.moc"
