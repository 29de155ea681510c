// How the windows feel to a user, at a fractional scale factor (CTest sets
// QT_SCALE_FACTOR=1.5) and under a desktop whose settings make scroll-bar track
// clicks jump and give dialog buttons icons: controls hide the drawing, the
// picture survives a shrink, Enter presses a focused button, the scroll bar
// steps by one, partial repaints match full ones, message boxes fit their caption.

#include "app/message_box.h"
#include "app/program.h"
#include "app/start_up.h"
#include "forms/form2.h"
#include "forms/form3.h"
#include "forms/form4.h"
#include "runtime/palette.h"
#include "support/recording_ui.h"
#include "support/walk.h"

#include <QLineEdit>
#include <QMessageBox>
#include <QProxyStyle>
#include <QPushButton>
#include <QScrollBar>
#include <QStyleFactory>
#include <QtTest>

using lumetra::forms::FormId;
using lumetra::runtime::QBColor;

namespace {

class DesktopSettings : public QProxyStyle {
public:
    DesktopSettings() : QProxyStyle(QStringLiteral("Fusion")) {}
    int styleHint(StyleHint hint, const QStyleOption* option, const QWidget* widget,
                  QStyleHintReturn* answer) const override {
        if (hint == SH_ScrollBar_LeftClickAbsolutePosition ||
            hint == SH_ScrollBar_MiddleClickAbsolutePosition ||
            hint == SH_DialogButtonBox_ButtonsHaveIcons) {
            return 1;
        }
        return QProxyStyle::styleHint(hint, option, widget, answer);
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

class TestPlotWindowFeel : public QObject {
    Q_OBJECT

    std::unique_ptr<QStyle> fusion{QStyleFactory::create(QStringLiteral("Fusion"))};
    std::optional<lumetra::testing::RecordingUi> ui;
    std::optional<lumetra::app::Program> program;

    // The parameter window with these length and angle, then "AVANTI".
    bool plot(const char* length, const char* angle) {
        auto& form = program->form3();
        form.controls().get<QLineEdit>(QStringLiteral("Text1"))->setText(QLatin1String(length));
        form.controls().get<QLineEdit>(QStringLiteral("Text2"))->setText(QLatin1String(angle));
        return lumetra::testing::click(form, QStringLiteral("AVANTI")) &&
               lumetra::testing::waitActive(*program, FormId::Form4);
    }

private slots:
    void initTestCase() {
        lumetra::app::prepareApplication();
        QApplication::setStyle(new DesktopSettings);
        QCOMPARE(qApp->devicePixelRatio(), kRatio);
    }

    void init() {
        program.reset();
        ui.emplace();
        program.emplace(*ui);
        QVERIFY(lumetra::testing::reachParameterWindow(*program));
    }

    // A curve through the frame: the frame's interior and its check boxes look
    // the same over the curve as over a cleared window.
    void frameHidesTheDrawing() {
        QVERIFY(plot("250", "165"));
        auto& form = program->form4();
        const QWidget* frame = form.controls().widget(QStringLiteral("Frame2"));
        const QRect area(frame->mapTo(&form, QPoint()), frame->size());
        const QImage under = form.surface().image().copy(inDevicePixels(area).toRect());
        QImage blank(under.size(), under.format());
        blank.fill(form.surface().background());
        QVERIFY(under != blank);
        const QImage shown = grabbed(form, area);
        form.surface().cls();
        QCOMPARE(grabbed(form, area), shown);
    }

    void pictureSurvivesShrinkAndRegrow() {
        QVERIFY(plot("250", "165"));
        auto& form = program->form4();
        const QImage before = grabbed(form);
        const QSize full = form.size();
        form.setWindowState(Qt::WindowNoState);
        form.resize(full / 2);
        QTRY_COMPARE(form.size(), full / 2);
        form.setWindowState(Qt::WindowMaximized);
        QTRY_COMPARE(form.size(), full);
        QCOMPARE(grabbed(form), before);
        // Drawn while small, a point at the right edge lands at the small window's
        // edge, above the controls.
        form.setWindowState(Qt::WindowNoState);
        QTRY_COMPARE(form.size(), full / 2);
        auto& surface = form.surface();
        surface.setDrawWidth(3);
        surface.pset(surface.scaleWidth() * 0.999F, surface.scaleHeight() / 20, QBColor(14));
        const QImage small = grabbed(form);
        QCOMPARE(small.pixel(small.width() - 1, small.height() / 20), 0xFF000000U | QBColor(14));
    }

    void enterPressesTheFocusedButton_data() {
        QTest::addColumn<int>("key");
        QTest::addColumn<Qt::KeyboardModifiers>("modifiers");
        QTest::newRow("Return") << int(Qt::Key_Return) << Qt::KeyboardModifiers();
        QTest::newRow("keypad Enter")
            << int(Qt::Key_Enter) << Qt::KeyboardModifiers(Qt::KeypadModifier);
    }

    void enterPressesTheFocusedButton() {
        QFETCH(int, key);
        QFETCH(Qt::KeyboardModifiers, modifiers);
        auto& form3 = program->form3();
        const auto press = [&](QWidget& window, int pressed, Qt::KeyboardModifiers with = {}) {
            QTest::keyClick(window.focusWidget(), Qt::Key(pressed), with);
        };
        press(form3, key, modifiers); // in Text1
        QVERIFY(!program->exists(FormId::Form4));
        press(form3, Qt::Key_Tab);
        press(form3, Qt::Key_Tab);
        QCOMPARE(static_cast<QPushButton*>(form3.focusWidget())->text(), QStringLiteral("AVANTI"));
        press(form3, key, modifiers);
        QVERIFY(lumetra::testing::waitActive(*program, FormId::Form4));
        for (const FormId id : {FormId::Form1, FormId::Form2, FormId::Form3, FormId::Form4}) {
            QWidget& window = program->window(id);
            QTest::keyClick(window.focusWidget() ? window.focusWidget() : &window, Qt::Key_Escape);
        }
        QCOMPARE(program->tracker().lastActive(), FormId::Form4);
        QCOMPARE(ui->messages, QStringList());
        QCOMPARE(ui->endCount, 0);
        press(program->form4(), key, modifiers); // on "ESCI", the first focus
        QCOMPARE(ui->endCount, 1);
    }

    // Under Fusion, and under Fusion with the desktop's absolute track clicks.
    void scrollBarStepsByOne() {
        auto* bar = program->form2().controls().get<QScrollBar>(QStringLiteral("HScroll1"));
        const int w = bar->width();
        using Kind = std::pair<Qt::MouseButton, Qt::KeyboardModifiers>;
        for (QStyle* style : {fusion.get(), QApplication::style()}) {
            bar->setStyle(style);
            // Both arrows and the track either side of the thumb, which stands mid-way.
            for (const auto& [button, modifiers] :
                 {Kind{Qt::LeftButton, {}}, Kind{Qt::MiddleButton, {}},
                  Kind{Qt::LeftButton, Qt::ShiftModifier}}) {
                for (const auto& [x, step] :
                     {std::pair{4, -1}, {w - 5, 1}, {w / 4, -1}, {3 * w / 4, 1}}) {
                    bar->setValue(15);
                    QTest::mouseClick(bar, button, modifiers, QPoint(x, bar->height() / 2));
                    QCOMPARE(bar->value(), 15 + step);
                    QCOMPARE(program->form2().Incr().arithmetic(), (15 + step) * 0.02 + 0.51);
                }
            }
        }
    }

    // Diagonal lines one pixel wide show any shift of a partial repaint.
    void partialRepaintMatchesFullRepaint() {
        lumetra::surface::SurfaceWindow window;
        window.resize(160, 120);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        auto& surface = window.surface();
        surface.setScaleWidth(160.0F);
        surface.setScaleHeight(120.0F);
        for (int i = 0; i < 16; ++i) {
            surface.line(i * 9.0F, 0.0F, i * 9.0F + 40.0F, 120.0F, QBColor(i));
        }
        QImage full(window.size() * kRatio, QImage::Format_RGB32);
        full.setDevicePixelRatio(kRatio);
        window.render(&full);
        QImage part = full;
        part.fill(Qt::magenta);
        const QRect small(33, 17, 41, 29);
        window.render(&part, small.topLeft(), QRegion(small));
        const QRect inside = inDevicePixels(small).toAlignedRect().adjusted(2, 2, -2, -2);
        for (int y = 0; y < part.height(); ++y) {
            for (int x = 0; x < part.width(); ++x) {
                const bool painted = part.pixel(x, y) != QColor(Qt::magenta).rgb();
                QVERIFY2(painted ? part.pixel(x, y) == full.pixel(x, y) : !inside.contains(x, y),
                         qPrintable(QStringLiteral("pixel %1, %2").arg(x).arg(y)));
            }
        }
    }

    // The box for "Overflow" is wider than its text needs, for its caption.
    void messageBoxFitsItsCaption() {
        const auto box = lumetra::app::messageBox(&program->form3(), QStringLiteral("Overflow"));
        box->show();
        QVERIFY(QTest::qWaitForWindowExposed(box.get()));
        QFont font = QApplication::font("QMdiSubWindowTitleBar");
        font.setBold(true);
        const int caption = QFontMetrics(font).horizontalAdvance(box->windowTitle());
        QVERIFY(box->width() >= caption + 3 * box->style()->pixelMetric(QStyle::PM_TitleBarHeight));
        QCOMPARE(box->windowType(), Qt::Dialog);
        QCOMPARE(box->windowFlags() & (Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint),
                 Qt::WindowFlags());
        QVERIFY(box->windowFlags() & Qt::WindowCloseButtonHint);
        QCOMPARE(box->buttons().size(), 1);
        QCOMPARE(box->buttons().front()->text(), QStringLiteral("OK"));
        QVERIFY(box->buttons().front()->icon().isNull());
    }
};

QTEST_MAIN(TestPlotWindowFeel)
#include "test_plot_window_feel.moc"
