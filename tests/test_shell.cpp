// The application shell: one object per window created on first reference,
// activation that runs only when the program's active window changes, the
// error boundary around every handler, program end and closing windows.

#include "app/activation_tracker.h"
#include "app/program.h"
#include "app/start_up.h"
#include "app/user_interface.h"
#include "forms/form1.h"
#include "forms/form2.h"
#include "forms/form3.h"
#include "runtime/palette.h"
#include "runtime/run_time_error.h"
#include "support/recording_ui.h"

#include <QAbstractButton>
#include <QApplication>
#include <QLineEdit>
#include <QMessageBox>
#include <QPointer>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTimer>
#include <QtTest>

#include <new>

using lumetra::app::ActivationTracker;
using lumetra::app::FormId;
using lumetra::app::Program;
using lumetra::runtime::ErrorCode;
using lumetra::runtime::RunTimeError;
using lumetra::testing::RecordingUi;

Q_DECLARE_METATYPE(lumetra::runtime::ErrorCode)

namespace {

// Activation handlers are queued behind the platform's activation event; a
// call queued now runs after every one queued before it.
bool flushQueuedCalls() {
    bool flushed = false;
    QMetaObject::invokeMethod(
        qApp, [&flushed] { flushed = true; }, Qt::QueuedConnection);
    return QTest::qWaitFor([&flushed] { return flushed; });
}

QScrollBar* scrollBar(lumetra::forms::Form2& form) {
    return form.controls().get<QScrollBar>(QStringLiteral("HScroll1"));
}

QLineEdit* factorText(lumetra::forms::Form2& form) {
    return form.controls().get<QLineEdit>(QStringLiteral("Text1"));
}

double incr(lumetra::forms::Form2& form) {
    return form.Incr().arithmetic();
}

// Counts the platform's activation events of one window, to make sure that a
// test really went through one.
class ActivationCounter : public QObject {
public:
    explicit ActivationCounter(QWidget& window) { window.installEventFilter(this); }
    int count = 0;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        count += event->type() == QEvent::WindowActivate ? 1 : 0;
        return QObject::eventFilter(watched, event);
    }
};

} // namespace

class TestShell : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void init();

    void getOrCreate();
    void readingAnotherWindowsVariableCreatesItHidden();
    void titleWindowHasNoActivationHandler();

    void tracker_data();
    void tracker();
    void windowActivatedDrivenDirectly();

    void showActivatesThroughPlatformEvents();
    void showOnTheActiveWindowDoesNotRunAgain();
    void messageBoxDoesNotReactivate();
    void foreignWindowDoesNotReactivate();

    void errorBoundary_data();
    void errorBoundary();
    void errorBoundaryKeepsWhatWasDrawn();
    void outOfMemoryIsReported();
    void desktopMessageBox();

    void end();
    void closedWindowIsUsableAgain();
    void closingEveryWindowEndsTheProgram();
};

void TestShell::initTestCase() {
    lumetra::app::prepareApplication();
    QVERIFY(QGuiApplication::quitOnLastWindowClosed());
}

void TestShell::init() {
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
}

void TestShell::getOrCreate() {
    RecordingUi ui;
    Program program(ui);
    for (const FormId id : {FormId::Form1, FormId::Form2, FormId::Form3, FormId::Form4}) {
        QVERIFY(!program.exists(id));
    }
    lumetra::forms::Form2& first = program.form2();
    QVERIFY(program.exists(FormId::Form2));
    QCOMPARE(&program.form2(), &first);
    QCOMPARE(&program.window(FormId::Form2), static_cast<QWidget*>(&first));
    QVERIFY(!program.exists(FormId::Form1));
    QVERIFY(!program.exists(FormId::Form3));
    QVERIFY(!program.exists(FormId::Form4));

    QWidget& title = program.window(FormId::Form1);
    QCOMPARE(&title, static_cast<QWidget*>(&program.form1()));
    // Created, not shown, and no handler has run.
    QVERIFY(!title.isVisible());
    QVERIFY(!first.isVisible());
    QCOMPARE(factorText(first)->text(), QStringLiteral("Text1"));
    QCOMPARE(first.lastFigurePoints(), 0);
    QVERIFY(!program.tracker().lastActive().has_value());
}

void TestShell::readingAnotherWindowsVariableCreatesItHidden() {
    RecordingUi ui;
    Program program(ui);
    QVERIFY(program.form2().Incr().isEmpty());
    QVERIFY(program.exists(FormId::Form2));
    QVERIFY(!program.form2().isVisible());

    QVERIFY(program.form3().VALe().isEmpty());
    QCOMPARE(program.form3().Miocolor(), std::int16_t{0});
    QVERIFY(!program.form3().isVisible());
    QVERIFY(flushQueuedCalls());
    QVERIFY(!program.tracker().lastActive().has_value());
    QVERIFY(program.form2().Incr().isEmpty());
    QVERIFY(ui.messages.isEmpty());
}

void TestShell::titleWindowHasNoActivationHandler() {
    RecordingUi ui;
    Program program(ui);
    program.windowActivated(FormId::Form1);
    QCOMPARE(program.tracker().lastActive(), std::optional<FormId>(FormId::Form1));
    QVERIFY(!program.exists(FormId::Form2));
    QVERIFY(ui.messages.isEmpty());
}

void TestShell::tracker_data() {
    QTest::addColumn<QList<int>>("reports");
    QTest::addColumn<int>("runs");

    QTest::newRow("first activation") << QList<int>{1} << 1;
    QTest::newRow("same window twice") << QList<int>{1, 1} << 1;
    QTest::newRow("A B A") << QList<int>{1, 2, 1} << 3;
    QTest::newRow("repeated reports") << QList<int>{1, 1, 2, 2, 2, 1, 1} << 3;
    QTest::newRow("through the title window") << QList<int>{0, 1, 0, 1} << 4;
    QTest::newRow("all four") << QList<int>{0, 1, 2, 3, 3, 2} << 5;
}

void TestShell::tracker() {
    QFETCH(QList<int>, reports);
    QFETCH(int, runs);
    ActivationTracker tracker;
    QVERIFY(!tracker.lastActive().has_value());
    int counted = 0;
    for (const int report : reports) {
        counted += tracker.activated(static_cast<FormId>(report)) ? 1 : 0;
        QCOMPARE(tracker.lastActive(), std::optional<FormId>(static_cast<FormId>(report)));
    }
    QCOMPARE(counted, runs);
}

void TestShell::windowActivatedDrivenDirectly() {
    RecordingUi ui;
    Program program(ui);
    lumetra::forms::Form2& form = program.form2();
    program.windowActivated(FormId::Form2);
    QCOMPARE(incr(form), 0.51);
    QCOMPARE(form.lastFigurePoints(), 3600);

    scrollBar(form)->setValue(2);
    QCOMPARE(incr(form), 0.55);
    program.windowActivated(FormId::Form2);
    QCOMPARE(incr(form), 0.55);

    program.windowActivated(FormId::Form1);
    QCOMPARE(incr(form), 0.55);
    program.windowActivated(FormId::Form2);
    QCOMPARE(incr(form), 0.51);
    QCOMPARE(scrollBar(form)->value(), 2);
    QVERIFY(!form.isVisible());
}

void TestShell::showActivatesThroughPlatformEvents() {
    RecordingUi ui;
    Program program(ui);
    program.show(FormId::Form1);
    QVERIFY(QTest::qWaitForWindowActive(&program.form1()));
    QTRY_COMPARE(program.tracker().lastActive(), std::optional<FormId>(FormId::Form1));
    QVERIFY(!program.exists(FormId::Form2));

    program.show(FormId::Form2);
    lumetra::forms::Form2& form = program.form2();
    QVERIFY(form.isVisible());
    QTRY_COMPARE(factorText(form)->text(), QStringLiteral("0.51"));
    QCOMPARE(form.lastFigurePoints(), 3600);
    QVERIFY(program.form1().isVisible());

    scrollBar(form)->setValue(2);
    QCOMPARE(incr(form), 0.55);
    program.show(FormId::Form1);
    QTRY_COMPARE(program.tracker().lastActive(), std::optional<FormId>(FormId::Form1));
    QCOMPARE(incr(form), 0.55);

    program.show(FormId::Form2);
    QTRY_COMPARE(incr(form), 0.51);
    QCOMPARE(factorText(form)->text(), QStringLiteral("0.51"));
    QCOMPARE(scrollBar(form)->value(), 2);
    QVERIFY(ui.messages.isEmpty());
}

void TestShell::showOnTheActiveWindowDoesNotRunAgain() {
    RecordingUi ui;
    Program program(ui);
    program.show(FormId::Form2);
    lumetra::forms::Form2& form = program.form2();
    QTRY_COMPARE(program.tracker().lastActive(), std::optional<FormId>(FormId::Form2));
    scrollBar(form)->setValue(3);
    program.show(FormId::Form2);
    QVERIFY(flushQueuedCalls());
    QCOMPARE(factorText(form)->text(), QStringLiteral("0.57"));
}

void TestShell::messageBoxDoesNotReactivate() {
    RecordingUi ui;
    Program program(ui);
    program.show(FormId::Form2);
    lumetra::forms::Form2& form = program.form2();
    QTRY_COMPARE(factorText(form)->text(), QStringLiteral("0.51"));
    scrollBar(form)->setValue(2);

    QMessageBox box(QMessageBox::NoIcon, QStringLiteral("LUMETRA"), QStringLiteral("x"),
                    QMessageBox::Ok, &form);
    box.show();
    QVERIFY(QTest::qWaitForWindowActive(&box));
    const ActivationCounter activations(form);
    box.accept();
    // The window manager gives the activation back to the box's owner.
    form.activateWindow();
    QTRY_VERIFY(activations.count > 0);
    QVERIFY(flushQueuedCalls());
    QCOMPARE(incr(form), 0.55);
    QCOMPARE(factorText(form)->text(), QStringLiteral("0.55"));
}

void TestShell::foreignWindowDoesNotReactivate() {
    RecordingUi ui;
    Program program(ui);
    program.show(FormId::Form2);
    lumetra::forms::Form2& form = program.form2();
    QTRY_COMPARE(factorText(form)->text(), QStringLiteral("0.51"));
    scrollBar(form)->setValue(2);

    QWidget foreign;
    foreign.resize(100, 100);
    foreign.show();
    foreign.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&foreign));
    const ActivationCounter activations(form);
    form.activateWindow();
    QTRY_VERIFY(activations.count > 0);
    QVERIFY(flushQueuedCalls());
    QCOMPARE(incr(form), 0.55);
}

void TestShell::errorBoundary_data() {
    QTest::addColumn<ErrorCode>("code");
    QTest::addColumn<QString>("message");

    QTest::newRow("overflow") << ErrorCode::Overflow << QStringLiteral("Overflow");
    QTest::newRow("type mismatch")
        << ErrorCode::TypeMismatch << QStringLiteral("Tipo non corrispondente");
    QTest::newRow("division by zero")
        << ErrorCode::DivisionByZero << QStringLiteral("Divisione per zero");
    QTest::newRow("invalid call") << ErrorCode::InvalidCall
                                  << QStringLiteral("Chiamata di routine o argomento non valido");
}

void TestShell::errorBoundary() {
    QFETCH(ErrorCode, code);
    QFETCH(QString, message);
    RecordingUi ui;
    Program program(ui);
    QWidget& window = program.window(FormId::Form2);
    int reached = 0;
    program.run(&window, [&] {
        reached = 1;
        throw RunTimeError(code);
    });
    QCOMPARE(reached, 1);
    QCOMPARE(ui.messages, QStringList{message});
    QCOMPARE(ui.messageWindows, QList<QWidget*>{&window});
    QVERIFY(!program.ended());
    QCOMPARE(ui.endCount, 0);

    // The program keeps running: the next handler runs as usual.
    program.run(&window, [&] { reached = 2; });
    QCOMPARE(reached, 2);
    QCOMPARE(ui.messages.size(), 1);
}

void TestShell::errorBoundaryKeepsWhatWasDrawn() {
    RecordingUi ui;
    Program program(ui);
    lumetra::forms::Form2& form = program.form2();
    program.windowActivated(FormId::Form2);
    const QImage figure = form.surface().image().copy();
    bool rest = false;
    program.run(&form, [&] {
        form.surface().cls();
        form.surface().setScaleMode(0);
        form.surface().setScaleWidth(10.0F);
        form.surface().setScaleHeight(10.0F);
        form.surface().pset(5.0F, 5.0F, lumetra::runtime::QBColor(2));
        throw RunTimeError(ErrorCode::Overflow);
        rest = true;
    });
    QVERIFY(!rest);
    QCOMPARE(ui.messages, QStringList{QStringLiteral("Overflow")});
    const QImage& image = form.surface().image();
    QVERIFY(image != figure);
    QCOMPARE(image.pixel(image.width() / 2, image.height() / 2),
             0xFF000000U | lumetra::runtime::QBColor(2));
    QCOMPARE(incr(form), 0.51);
}

void TestShell::outOfMemoryIsReported() {
    RecordingUi ui;
    Program program(ui);
    program.run(&program.window(FormId::Form1), [] { throw std::bad_alloc(); });
    QCOMPARE(ui.messages, QStringList{QStringLiteral("Memoria esaurita")});
    QVERIFY(!program.ended());
}

void TestShell::desktopMessageBox() {
    lumetra::app::DesktopInterface desktop;
    QWidget owner;
    owner.show();
    QVERIFY(QTest::qWaitForWindowExposed(&owner));
    QString title;
    QString text;
    QMessageBox::Icon icon = QMessageBox::Critical;
    int buttons = 0;
    QTimer poll;
    poll.setInterval(10);
    connect(&poll, &QTimer::timeout, this, [&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (box == nullptr) {
            return;
        }
        poll.stop();
        title = box->windowTitle();
        text = box->text();
        icon = box->icon();
        buttons = static_cast<int>(box->buttons().size());
        QTest::mouseClick(box->button(QMessageBox::Ok), Qt::LeftButton);
    });
    poll.start();
    desktop.message(&owner, QStringLiteral("Tipo non corrispondente"));
    QCOMPARE(title, QStringLiteral("LUMETRA"));
    QCOMPARE(text, QStringLiteral("Tipo non corrispondente"));
    QCOMPARE(icon, QMessageBox::NoIcon);
    QCOMPARE(buttons, 1);
}

void TestShell::end() {
    RecordingUi ui;
    Program program(ui);
    program.form2();
    program.end();
    QVERIFY(program.ended());
    QCOMPARE(ui.endCount, 1);

    // No handler runs after the end, activation included.
    bool ran = false;
    program.run(&program.window(FormId::Form2), [&] { ran = true; });
    QVERIFY(!ran);
    program.windowActivated(FormId::Form2);
    QVERIFY(program.form2().Incr().isEmpty());
    QCOMPARE(program.form2().lastFigurePoints(), 0);
}

void TestShell::closedWindowIsUsableAgain() {
    RecordingUi ui;
    Program program(ui);
    program.show(FormId::Form1);
    QVERIFY(QTest::qWaitForWindowActive(&program.form1()));
    program.show(FormId::Form2);
    lumetra::forms::Form2& form = program.form2();
    QTRY_COMPARE(factorText(form)->text(), QStringLiteral("0.51"));
    scrollBar(form)->setValue(2);

    const QPointer<QWidget> kept(&form);
    QVERIFY(form.close());
    QVERIFY(!form.isVisible());
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY(!kept.isNull());
    QCOMPARE(&program.form2(), &form);
    QVERIFY(program.form1().isVisible());

    // The user comes back to the title window and presses "AVANTI" again: the
    // window opens as on any new display, activated, and it works.
    program.form1().activateWindow();
    QTRY_COMPARE(program.tracker().lastActive(), std::optional<FormId>(FormId::Form1));
    QTest::mouseClick(program.form1().controls().widget(QStringLiteral("Command1")),
                      Qt::LeftButton);
    QVERIFY(form.isVisible());
    QTRY_COMPARE(factorText(form)->text(), QStringLiteral("0.51"));
    QVERIFY(QTest::qWaitForWindowActive(&form));
    scrollBar(form)->setFocus();
    QTest::keyClick(scrollBar(form), Qt::Key_Right);
    QCOMPARE(scrollBar(form)->value(), 3);
    QCOMPARE(factorText(form)->text(), QStringLiteral("0.57"));
    QVERIFY(!program.ended());
}

void TestShell::closingEveryWindowEndsTheProgram() {
    RecordingUi ui;
    Program program(ui);
    program.show(FormId::Form1);
    program.show(FormId::Form2);
    QVERIFY(QTest::qWaitForWindowActive(&program.form2()));
    // A window created but never shown does not keep the program alive.
    program.form3();

    QSignalSpy lastClosed(qApp, &QGuiApplication::lastWindowClosed);
    int closedWhileOneOpen = -1;
    bool timedOut = false;
    QTimer::singleShot(0, this, [&] {
        program.form2().close();
        QTimer::singleShot(0, this, [&] {
            closedWhileOneOpen = static_cast<int>(lastClosed.count());
            program.form1().close();
        });
    });
    QTimer guard;
    guard.setSingleShot(true);
    connect(&guard, &QTimer::timeout, this, [&] {
        timedOut = true;
        QCoreApplication::quit();
    });
    guard.start(5000);
    QApplication::exec();
    guard.stop();
    QVERIFY(!timedOut);
    QCOMPARE(closedWhileOneOpen, 0);
    QCOMPARE(lastClosed.count(), 1);

    // Referenced again afterwards, a window is usable again.
    program.show(FormId::Form2);
    QVERIFY(program.form2().isVisible());
    QVERIFY(QTest::qWaitForWindowActive(&program.form2()));
}

QTEST_MAIN(TestShell)
#include "test_shell.moc"
