// The shell (get-or-create, activation, error boundary, end, closing windows)
// and the calibration window: first display, figures kept or cleared, gate, ESCI.

#include "app/program.h"
#include "app/start_up.h"
#include "forms/form1.h"
#include "forms/form2.h"
#include "forms/form3.h"
#include "runtime/palette.h"
#include "runtime/run_time_error.h"
#include "support/recording_ui.h"
#include "surface/scale.h"

#include <QApplication>
#include <QLineEdit>
#include <QMessageBox>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTimer>
#include <QtTest>

#include <cmath>
#include <new>
#include <numbers>

using lumetra::forms::FormId;
using lumetra::app::Program;
using lumetra::forms::Form2;
using lumetra::surface::userToPixel;
using lumetra::testing::RecordingUi;

namespace {

QScrollBar* scrollBar(Form2& form) {
    return form.controls().get<QScrollBar>(QStringLiteral("HScroll1"));
}

double incr(Form2& form) {
    return form.Incr().arithmetic();
}

// Shows the calibration window and waits for its activation handler.
bool open(Program& program) {
    program.show(FormId::Form2);
    return QTest::qWaitFor([&program] { return program.form2().lastFigurePoints() > 0; });
}

// Whether the figure for `factor` is red at `degrees`, give or take a pixel: a
// circle of 36367.363 units round (93183.68, half the height) on the scale
// 146367.36 units across and factor times that down.
bool figureShown(const QImage& image, double factor, double degrees) {
    const float width = 146367.36F;
    const auto height = static_cast<float>(width * factor);
    const double radians = degrees * std::numbers::pi / 180.0;
    const auto x = static_cast<float>(width / 2 + 20000 + std::cos(radians) * 36367.363F);
    const auto y = static_cast<float>(height / 2 + std::sin(radians) * 36367.363F);
    const QPoint at(userToPixel(x, width, image.width()), userToPixel(y, height, image.height()));
    for (int i = 0; i < 9; ++i) {
        const QPoint p = at + QPoint(i % 3 - 1, i / 3 - 1);
        if (image.valid(p) && image.pixel(p) == (0xFF000000U | lumetra::runtime::QBColor(4))) {
            return true;
        }
    }
    return false;
}

} // namespace

class TestShell : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { lumetra::app::prepareApplication(); }
    void cleanup() { QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates)); }

    void readingAVariableCreatesTheWindowHidden() {
        RecordingUi ui;
        Program program(ui);
        QVERIFY(!program.exists(FormId::Form2));
        QVERIFY(program.form2().Incr().isEmpty());
        // Created, not shown, and no handler runs.
        QCoreApplication::processEvents();
        QVERIFY(!program.form2().isVisible());
        QVERIFY(program.form2().Incr().isEmpty());
    }

    void tracker() {
        // A repeated report runs nothing; A, B, A runs each time.
        lumetra::app::ActivationTracker tracker;
        QVERIFY(tracker.activated(FormId::Form2));
        QVERIFY(!tracker.activated(FormId::Form2));
        QVERIFY(tracker.activated(FormId::Form1));
        QVERIFY(tracker.activated(FormId::Form2));
    }

    void errorBoundary() {
        RecordingUi ui;
        Program program(ui);
        QWidget& window = program.window(FormId::Form2);
        const auto fail = []() -> int {
            throw lumetra::runtime::RunTimeError(lumetra::runtime::ErrorCode::TypeMismatch);
        };
        int reached = 0;
        program.run(&window, [&] { reached = fail(); });
        program.run(&window, [] { throw std::bad_alloc(); });
        // The rest of each handler was abandoned; the next one runs as usual.
        program.run(&window, [&] { reached += 10; });
        QCOMPARE(reached, 10);
        QCOMPARE(ui.messages.join(u'|'),
                 QStringLiteral("Tipo non corrispondente|Memoria esaurita"));
        QCOMPARE(ui.messageWindows, (QList<QWidget*>{&window, &window}));
        QVERIFY(!program.ended());
    }

    void firstDisplay_data() {
        QTest::addColumn<QString>("locale");
        QTest::addColumn<QString>("shown");
        QTest::newRow("English") << QStringLiteral("en_US") << QStringLiteral("0.51");
        QTest::newRow("Italian") << QStringLiteral("it_IT") << QStringLiteral("0,51");
    }

    void firstDisplay() {
        QFETCH(QString, locale);
        QFETCH(QString, shown);
        QLocale::setDefault(QLocale(locale));
        RecordingUi ui;
        Program program(ui);
        QVERIFY(open(program));
        Form2& form = program.form2();
        QCOMPARE(form.controls().get<QLineEdit>(QStringLiteral("Text1"))->text(), shown);
        QCOMPARE(form.lastFigurePoints(), 3600);
        // The axes cross at the figure's centre and span the whole area.
        const QImage& image = form.surface().image();
        const auto height = static_cast<float>(146367.36F * 0.51);
        const QPoint centre(userToPixel(93183.68F, 146367.36F, image.width()),
                            userToPixel(height / 2, height, image.height()));
        for (const QPoint end : {QPoint(centre.x(), 0), QPoint(centre.x(), image.height() - 1),
                                 QPoint(0, centre.y()), QPoint(image.width() - 1, centre.y())}) {
            QCOMPARE(image.pixel(end), form.palette().color(QPalette::ButtonText).rgb());
        }
        for (double degrees = 0.0; degrees < 360.0; degrees += 45.0) {
            QVERIFY2(figureShown(image, 0.51, degrees), qPrintable(QString::number(degrees)));
        }
        // The arrow keys work at once: the scroll bar has the focus.
        QTRY_COMPARE(QApplication::focusWidget(), static_cast<QWidget*>(scrollBar(form)));
        QTest::keyClick(form.windowHandle(), Qt::Key_Right);
        QCOMPARE(incr(form), 0.55);
    }

    void largerFactorKeepsSmallerClears() {
        RecordingUi ui;
        Program program(ui);
        QVERIFY(open(program));
        Form2& form = program.form2();
        const QImage& image = form.surface().image();
        const double f57 = 0.5700000000000001;
        QTest::keyClick(scrollBar(form), Qt::Key_Right);
        QTest::keyClick(scrollBar(form), Qt::Key_Right);
        QVERIFY(figureShown(image, 0.51, 90.0) && figureShown(image, 0.55, 90.0));
        QVERIFY(figureShown(image, f57, 90.0));
        // The window keeps its picture while hidden.
        form.hide();
        program.show(FormId::Form2);
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        QVERIFY(figureShown(form.grab().toImage(), f57, 270.0));

        QTest::keyClick(scrollBar(form), Qt::Key_Left);
        QVERIFY(figureShown(image, 0.55, 90.0));
        QVERIFY(!figureShown(image, 0.51, 90.0) && !figureShown(image, f57, 90.0));
    }

    void gate_data() {
        QTest::addColumn<QList<Qt::Key>>("keys");
        QTest::addColumn<bool>("passes");
        QTest::newRow("0.51") << QList<Qt::Key>{} << false;
        QTest::newRow("0.53") << QList<Qt::Key>{Qt::Key_Right, Qt::Key_Left} << false;
        QTest::newRow("0.55") << QList<Qt::Key>{Qt::Key_Right} << true;
    }

    void gate() {
        QFETCH(QList<Qt::Key>, keys);
        QFETCH(bool, passes);
        RecordingUi ui;
        Program program(ui);
        QVERIFY(open(program));
        Form2& form = program.form2();
        for (const Qt::Key key : keys) {
            QTest::keyClick(scrollBar(form), key);
        }
        QTest::mouseClick(form.controls().widget(QStringLiteral("Command1")), Qt::LeftButton);
        const QString refusal = QStringLiteral("Impostare la risoluzione SCHERMO");
        QCOMPARE(ui.messages, passes ? QStringList{} : QStringList{refusal});
        QCOMPARE(program.exists(FormId::Form3) && program.form3().isVisible(), passes);
    }

    void exitEndsTheProgram() {
        RecordingUi ui;
        Program program(ui);
        QVERIFY(open(program));
        Form2& form = program.form2();
        QTest::keyClick(scrollBar(form), Qt::Key_Right);
        QTest::mouseClick(form.controls().widget(QStringLiteral("Command3")), Qt::LeftButton);
        QCOMPARE(ui.endCount, 1);
        // After the end no handler runs, activation included.
        QTest::keyClick(scrollBar(form), Qt::Key_Right);
        program.windowActivated(FormId::Form1);
        program.windowActivated(FormId::Form2);
        QCOMPARE(incr(form), 0.55);
    }

    void realActivationEvents() {
        RecordingUi ui;
        Program program(ui);
        program.show(FormId::Form1);
        QVERIFY(open(program));
        Form2& form = program.form2();
        scrollBar(form)->setValue(2);
        // Back from a message box the active window is the same: nothing runs.
        QMessageBox box(QMessageBox::NoIcon, QStringLiteral("LUMETRA"), QStringLiteral("x"),
                        QMessageBox::Ok, &form);
        box.show();
        QVERIFY(QTest::qWaitForWindowActive(&box));
        box.accept();
        form.activateWindow();
        QTRY_VERIFY(QApplication::activeWindow() == &form);
        QCoreApplication::processEvents();
        QCOMPARE(incr(form), 0.55);

        // Form2, Form1, Form2: the activation runs again; the bar keeps its place.
        program.show(FormId::Form1);
        QTRY_COMPARE(program.tracker().lastActive(), std::optional<FormId>(FormId::Form1));
        QCOMPARE(incr(form), 0.55);
        program.show(FormId::Form2);
        QTRY_COMPARE(incr(form), 0.51);
        QCOMPARE(scrollBar(form)->value(), 2);

        // Closed, the window stays; "AVANTI" opens it again, activated, and it works.
        QVERIFY(form.close());
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        program.form1().activateWindow();
        QTRY_COMPARE(program.tracker().lastActive(), std::optional<FormId>(FormId::Form1));
        scrollBar(form)->setValue(3);
        QTest::mouseClick(program.form1().controls().widget(QStringLiteral("Command1")),
                          Qt::LeftButton);
        QTRY_COMPARE(incr(form), 0.51);
        QTest::keyClick(scrollBar(form), Qt::Key_Right);
        QCOMPARE(incr(form), 0.59);

        // Closing the last open window ends the program's event loop.
        QSignalSpy lastClosed(qApp, &QGuiApplication::lastWindowClosed);
        QTimer::singleShot(0, &form, [&] {
            form.close();
            program.form1().close();
        });
        QTimer::singleShot(5000, &lastClosed, &QCoreApplication::quit);
        QApplication::exec();
        QCOMPARE(lastClosed.count(), 1);
    }
};

QTEST_MAIN(TestShell)
#include "test_shell.moc"
