// SPDX-License-Identifier: GPL-3.0-or-later
// --curva as a script runs it: each curve with its own boxes and chords,
// against the same curves through the plot window's buttons and beside the
// other options; the values it refuses; the curves it names as leaving the
// picture. Then the key beside "Ripeti" in the plot window's menu.

#include "app/start_up.h"
#include "forms/form4.h"
#include "support/hermetic_main.h"
#include "support/run_program.h"
#include "support/walk.h"

#include <QApplication>
#include <QTemporaryDir>
#include <QTest>

using namespace lumetra::testing;
using namespace Qt::StringLiterals;

class TestCurveOption : public QObject, Session {
    Q_OBJECT

    QTemporaryDir dir;

    // The program run with `arguments`, split at the blanks, writing to the file `name`.
    Run lumetra(const QString& name, const QString& arguments) {
        const QString file = name == u"-" ? name : dir.filePath(name);
        return runProgram(QStringList{QStringLiteral(LUMETRA_BINARY), u"-o"_s, file} +
                          arguments.split(u' ', Qt::SkipEmptyParts));
    }

    // The picture written for `arguments` at 200 x 150; null when none is.
    QImage picture(const QString& arguments) {
        QFile::remove(dir.filePath(u"picture.png"_s));
        lumetra(u"picture.png"_s, u"--dimensioni 200x150 "_s + arguments);
        return QImage(dir.filePath(u"picture.png"_s)).convertToFormat(QImage::Format_RGB32);
    }

    // The plot window after its first curve, in a new program.
    lumetra::forms::Form4* plotWindow() {
        restart();
        return reachPlotWindow(*program) ? &program->form4() : nullptr;
    }

private slots:
    void initTestCase() {
        QVERIFY(dir.isValid());
        lumetra::app::prepareApplication();
    }

    // --x-cos, --y-cos and --corde still apply to the curves of --lunghezza beside a --curva.
    void theOthersBoxesStayTheirs() {
        const QImage expected =
            picture(u"--lunghezza 150 --angolo 55 --angolo 40 --y-cos --corde"_s);
        QVERIFY(!expected.isNull());
        QCOMPARE(picture(u"--lunghezza 150 --y-cos --corde --curva 150:40:1:y-cos:corde"_s),
                 expected);
    }

    // Three plots in the plot window with the boxes and the chord command
    // changing between them: the curve of --lunghezza first, wherever it is
    // given, then each --curva with its own boxes, a decimal comma in one.
    // Then Ctrl+Y, which the menu shows beside "Ripeti", plots again what
    // Ctrl+Z took back (Ctrl+Shift+Z: TestWindows::undoAndRedo).
    void drawsEachCurveAsThePlotWindow() {
        auto* window = plotWindow();
        QVERIFY(window);
        for (const QString& caption :
             {u"X=OA Cos"_s, u"Traccia le linee tra le curve di I° livello"_s, u"X=OA Cos"_s,
              u"Y=OA Cos"_s, u"TRACCIA"_s}) {
            QVERIFY2(click(*window, caption), qPrintable(caption));
        }
        const QSize size = window->surface().logicalSize();
        lumetra(u"window.png"_s,
                u"--sfondo schermo --dimensioni %1x%2 --fattore 0,55 --curva "
                u"86:55:1:x-cos:corde --lunghezza 86 --curva 86,0:55:1:y-cos"_s.arg(size.width())
                    .arg(size.height()));
        const QImage written =
            QImage(dir.filePath(u"window.png"_s)).convertToFormat(QImage::Format_RGB32);
        QCOMPARE(written, shownArea(window->surface()));
        QCOMPARE(window->actions().at(1)->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_Y));
        QTest::keyClick(window, Qt::Key_Z, Qt::ControlModifier);
        QVERIFY(shownArea(window->surface()) != written);
        QTest::keyClick(window, Qt::Key_Y, Qt::ControlModifier);
        QCOMPARE(shownArea(window->surface()), written);
    }

    void refusesBadValues_data() {
        QTest::addColumn<QString>("arguments");
        QTest::addColumn<QString>("message");
        QTest::newRow("commas for colons")
            << u"--curva 86,55,1"_s
            << u"--curva \"86,55,1\": servono lunghezza, angolo e incremento separati da due "
               u"punti, per esempio 86:55:1"_s;
        QTest::newRow("text") << u"--curva 86:55:1.000,5"_s
                              << u"--curva \"86:55:1.000,5\": \"1.000,5\" non è un numero"_s;
        QTest::newRow("a box for no curve")
            << u"--curva 86:55:1 --y-cos"_s
            << u"--y-cos vale per le curve di --lunghezza, --angolo e --incremento; a una curva "
               u"di --curva si aggiunge così: 86:55:1:y-cos"_s;
    }
    void refusesBadValues() {
        QFETCH(QString, arguments);
        QFETCH(QString, message);
        const Run run = lumetra(u"refused.png"_s, arguments);
        QCOMPARE(run.err, u"lumetra: "_s + message + u"\nPer l'aiuto: lumetra --help\n"_s);
        QCOMPARE(run.status, 2);
        QVERIFY(!QFile::exists(dir.filePath(u"refused.png"_s)));
    }

    // At 55° a length of 250 reaches 205 units above the axis at 137.5, beyond
    // the top. The work drawn again says the same.
    void namesTheCurvesThatLeaveThePicture() {
        const QString told = u"lumetra: curva 2 (OA 250 · 55°) esce dall'immagine\n"_s;
        const Run run = lumetra(u"leaving.svg"_s, u"--lunghezza 86 --curva 250:55:1"_s);
        QCOMPARE(run.err, told);
        QCOMPARE(run.status, 0);
        QCOMPARE(lumetra(u"-"_s, u"--formato png --da "_s + dir.filePath(u"leaving.svg"_s)).err,
                 told);
    }
};

LUMETRA_HERMETIC_MAIN(TestCurveOption, QApplication)
#include "test_curve_option.moc"
