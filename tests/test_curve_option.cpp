// SPDX-License-Identifier: GPL-3.0-or-later
// One curve per --curva, with its own check boxes and chords: the pictures
// the real program writes, against the same curves through the other options
// and through the plot window's own buttons; the bad values it refuses; the
// curves it names as leaving the picture. Then "Ripeti" in the plot window's
// menu: the key it shows, and both keys.

#include "app/program.h"
#include "app/start_up.h"
#include "forms/form4.h"
#include "support/recording_ui.h"
#include "support/run_program.h"
#include "support/walk.h"

#include <QAbstractButton>
#include <QApplication>
#include <QMenu>
#include <QTemporaryDir>
#include <QTest>

using lumetra::testing::Run;
using namespace Qt::StringLiterals;

class TestCurveOption : public QObject {
    Q_OBJECT

    QTemporaryDir dir;

    static Run lumetra(const QString& arguments) {
        return lumetra::testing::runProgram(QStringList{QStringLiteral(LUMETRA_BINARY)} +
                                            arguments.split(u' ', Qt::SkipEmptyParts));
    }

    // The picture the program writes for `arguments` at 200 x 150, or a null image.
    QImage picture(const QString& name, const QString& arguments) {
        const QString file = dir.filePath(name + u".png"_s);
        const Run run = lumetra(u"-o "_s + file + u" --dimensioni 200x150 "_s + arguments);
        if (run.status != 0 || !run.err.isEmpty()) {
            qWarning().noquote() << run.err;
            return {};
        }
        return QImage(file).convertToFormat(QImage::Format_RGB32);
    }

    static QString shortcutOf(const QMenu& menu, const QString& command) {
        for (const QAction* action : menu.actions()) {
            if (action->text().startsWith(command)) {
                return action->shortcut().toString(QKeySequence::NativeText);
            }
        }
        return {};
    }

private slots:
    void initTestCase() {
        QVERIFY(dir.isValid());
        lumetra::app::prepareApplication();
    }

    // Each row: --curva curves, and the same curves through the other options.
    void drawsAsTheOtherOptions_data() {
        QTest::addColumn<QString>("curves");
        QTest::addColumn<QString>("same");
        QTest::newRow("decimal comma") << u"--curva 86,5:55:1"_s << u"--lunghezza 86.5"_s;
        QTest::newRow("negative length") << u"--curva -86:55:1"_s << u"--lunghezza -86"_s;
        QTest::newRow("all three")
            << u"--curva 120:30:2:x-cos:y-cos:corde"_s
            << u"--lunghezza 120 --angolo 30 --incremento 2 --x-cos --y-cos --corde"_s;
        QTest::newRow("any order") << u"--curva 120:30:2:corde:x-cos"_s
                                   << u"--lunghezza 120 --angolo 30 --incremento 2 --corde "
                                      u"--x-cos"_s;
        QTest::newRow("after the others, in order")
            << u"--curva 150:40:1 --lunghezza 150 --angolo 20 --curva 150:60:1"_s
            << u"--lunghezza 150 --angolo 20 --angolo 40 --angolo 60"_s;
        QTest::newRow("the others' boxes stay theirs")
            << u"--lunghezza 150 --y-cos --corde --curva 150:40:1:y-cos:corde"_s
            << u"--lunghezza 150 --angolo 55 --angolo 40 --y-cos --corde"_s;
    }
    void drawsAsTheOtherOptions() {
        QFETCH(QString, curves);
        QFETCH(QString, same);
        const QImage expected = picture(u"same"_s, same);
        QVERIFY(!expected.isNull());
        QCOMPARE(picture(u"curves"_s, curves), expected);
    }

    // Three plots with the boxes and the chord command changing between
    // them, in the window and from one command line: the same pixels.
    void drawsEachCurveAsThePlotWindow() {
        lumetra::testing::RecordingUi ui;
        lumetra::app::Program program(ui);
        QVERIFY(lumetra::testing::reachPlotWindow(program));
        auto& window = program.form4();
        for (const QString& caption :
             {u"X=OA Cos"_s, u"Traccia le linee tra le curve di I\u00B0 livello"_s, u"X=OA Cos"_s,
              u"Y=OA Cos"_s, u"TRACCIA"_s}) {
            QVERIFY2(lumetra::testing::click(window, caption), qPrintable(caption));
        }
        const QSize size = window.surface().logicalSize();
        const QString file = dir.filePath(u"window.png"_s);
        const Run run = lumetra(u"-o %1 --dimensioni %2x%3 --fattore 0,55 --curva 86:55:1 "
                                u"--curva 86:55:1:x-cos:corde --curva 86:55:1:y-cos"_s.arg(file)
                                    .arg(size.width())
                                    .arg(size.height()));
        QCOMPARE(run.err, QString());
        QCOMPARE(QImage(file).convertToFormat(QImage::Format_RGB32),
                 window.surface().image().copy(QRect(QPoint(0, 0), size)));
    }

    // Bad values: the message names the value, nothing is written.
    void refusesBadValues_data() {
        QTest::addColumn<QString>("arguments");
        QTest::addColumn<QString>("message");
        QTest::newRow("two numbers")
            << u"--curva 86:55"_s
            << u"--curva \"86:55\": servono lunghezza, angolo e incremento separati da due "
               u"punti, per esempio 86:55:1"_s;
        QTest::newRow("commas for colons")
            << u"--curva 86,55,1"_s
            << u"--curva \"86,55,1\": servono lunghezza, angolo e incremento separati da due "
               u"punti, per esempio 86:55:1"_s;
        QTest::newRow("text") << u"--curva 86:abc:1"_s
                              << u"--curva \"86:abc:1\": \"abc\" non è un numero"_s;
        QTest::newRow("thousands") << u"--curva 86:55:1.000,5"_s
                                   << u"--curva \"86:55:1.000,5\": \"1.000,5\" non è un numero"_s;
        QTest::newRow("unknown box") << u"--curva 86:55:1:z-cos"_s
                                     << u"--curva \"86:55:1:z-cos\": \"z-cos\" non è x-cos, "
                                        u"y-cos o corde"_s;
        QTest::newRow("empty box")
            << u"--curva 86:55:1:"_s << u"--curva \"86:55:1:\": \"\" non è x-cos, y-cos o corde"_s;
        QTest::newRow("a box for no curve")
            << u"--curva 86:55:1 --y-cos"_s
            << u"--y-cos vale per le curve di --lunghezza, --angolo e --incremento; a una curva "
               u"di --curva si aggiunge così: 86:55:1:y-cos"_s;
        QTest::newRow("with a work") << u"--da old.png --curva 86:55:1"_s
                                     << u"--da non si usa con --curva: le curve sono quelle del "
                                        u"lavoro salvato"_s;
    }
    void refusesBadValues() {
        QFETCH(QString, arguments);
        QFETCH(QString, message);
        const QString file = dir.filePath(u"refused.png"_s);
        const Run run = lumetra(u"-o "_s + file + u' ' + arguments);
        QCOMPARE(run.err, u"lumetra: "_s + message + u"\nPer l'aiuto: lumetra --help\n"_s);
        QCOMPARE(run.status, 2);
        QVERIFY(!QFile::exists(file));
    }

    // A curve with points beyond the drawing's edges is named on standard
    // error, the picture still written; the work drawn again says the same.
    // At 55° a length of 250 reaches 205 units up from the axis at 137.5;
    // at 30°, 125 up and 250 right of the axis at 260, within the 20 units
    // the plot accepts beyond the right edge at 500.
    void namesTheCurvesThatLeaveThePicture_data() {
        QTest::addColumn<QString>("curves");
        QTest::addColumn<QString>("told");
        QTest::newRow("leaves") << u"--lunghezza 86 --curva 250:55:1"_s
                                << u"lumetra: curva 2 (OA 250 · 55°) esce dall'immagine\n"_s;
        QTest::newRow("stays") << u"--curva 250:30:1"_s << QString();
    }
    void namesTheCurvesThatLeaveThePicture() {
        QFETCH(QString, curves);
        QFETCH(QString, told);
        const QString file = dir.filePath(u"leaving.svg"_s);
        const Run run = lumetra(u"-o "_s + file + u' ' + curves);
        QCOMPARE(run.err, told);
        QCOMPARE(run.status, 0);
        const Run again = lumetra(u"-o - --formato png --da "_s + file);
        QCOMPARE(again.err, told);
    }

    // The menu shows Ctrl+Y beside "Ripeti"; it and Ctrl+Shift+Z both plot again.
    void redoesWithCtrlYAsTheMenuShows() {
        lumetra::testing::RecordingUi ui;
        lumetra::app::Program program(ui);
        QVERIFY(lumetra::testing::reachPlotWindow(program));
        auto& window = program.form4();
        QVERIFY(lumetra::testing::click(window, u"TRACCIA"_s));
        const QImage twoCurves = window.surface().image();
        QTest::mouseClick(window.windowHandle(), Qt::RightButton, {}, QPoint(5, 5));
        auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
        QVERIFY(menu);
        QCOMPARE(shortcutOf(*menu, u"Ripeti"_s), u"Ctrl+Y"_s);
        menu->close();
        for (const Qt::KeyboardModifiers keys : {Qt::KeyboardModifiers(Qt::ControlModifier),
                                                 Qt::ControlModifier | Qt::ShiftModifier}) {
            QTest::keyClick(&window, Qt::Key_Z, Qt::ControlModifier);
            QVERIFY(window.surface().image() != twoCurves);
            QTest::keyClick(&window, keys == Qt::ControlModifier ? Qt::Key_Y : Qt::Key_Z, keys);
            QCOMPARE(window.surface().image(), twoCurves);
        }
    }
};

QTEST_MAIN(TestCurveOption)
#include "test_curve_option.moc"
