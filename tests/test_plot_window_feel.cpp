// SPDX-License-Identifier: GPL-3.0-or-later
// How the windows feel to a user, at a fractional scale factor (CTest sets
// QT_SCALE_FACTOR=1.5) and under a desktop whose settings make scroll-bar track
// clicks jump: controls hide the drawing, Enter presses a focused button, the
// scroll bar steps by one, partial repaints match full ones.

#include "app/program.h"
#include "app/start_up.h"
#include "forms/form2.h"
#include "forms/form3.h"
#include "forms/form4.h"
#include "support/hermetic_main.h"
#include "support/walk.h"

#include <QtTest>
#include <QtWidgets>

using lumetra::forms::FormId;

namespace {

class DesktopSettings : public QProxyStyle {
public:
    DesktopSettings() : QProxyStyle(QStringLiteral("Fusion")) {}
    int styleHint(StyleHint hint, const QStyleOption* option, const QWidget* widget,
                  QStyleHintReturn* answer) const override {
        // Fusion's middle clicks jump already.
        const int base = QProxyStyle::styleHint(hint, option, widget, answer);
        return hint == SH_ScrollBar_LeftClickAbsolutePosition ? 1 : base;
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

    // Return on a focused button presses it.
    void enterPressesTheFocusedButton() {
        program->form3().controls().widget(QStringLiteral("Command2"))->setFocus(); // "AVANTI"
        QTest::keyClick(program->form3().focusWidget(), Qt::Key_Return);
        QVERIFY(lumetra::testing::waitActive(*program, FormId::Form4));
    }

    // Under the desktop's absolute track clicks: both arrows and the track either
    // side of the thumb, which stands mid-way.
    void scrollBarStepsByOne() {
        auto* bar = program->form2().controls().get<QScrollBar>(QStringLiteral("HScroll1"));
        const int w = bar->width();
        for (const Qt::MouseButton button : {Qt::LeftButton, Qt::MiddleButton}) {
            for (const auto& [x, step] :
                 {std::pair{4, -1}, {w - 5, 1}, {w / 4, -1}, {3 * w / 4, 1}}) {
                bar->setValue(15);
                QTest::mouseClick(bar, button, {}, QPoint(x, bar->height() / 2));
                QCOMPARE(program->form2().Incr().arithmetic(), (15 + step) * 0.02 + 0.51);
            }
        }
    }

    // Diagonal lines one pixel wide show any shift of a partial repaint: drawn
    // it paints all of its region as the full one does.
    void partialRepaintMatchesFullRepaint() {
        lumetra::controls::SurfaceWindow window;
        window.resize(160, 120);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        for (int i = 0; i < 16; ++i) { // in twips, 15 to a pixel
            window.surface().line(i * 135.0F, 0.0F, i * 135.0F + 600.0F, 1800.0F, i * 0x0F0F0FU);
        }
        const QImage full = grabbed(window);
        QImage part = full;
        part.fill(Qt::magenta);
        const QRect small(33, 17, 41, 29);
        window.render(&part, small.topLeft(), QRegion(small));
        const QRect inside = inDevicePixels(small).toAlignedRect().adjusted(2, 2, -2, -2);
        QCOMPARE(part.copy(inside), full.copy(inside));
    }
};

LUMETRA_HERMETIC_MAIN(TestPlotWindowFeel, QApplication)
#include "test_plot_window_feel.moc"
