// SPDX-License-Identifier: GPL-3.0-or-later
// --curva as a script runs it: each curve with its own boxes and chords,
// against the same curves through the other options and through the plot
// window's buttons; the values it refuses; the curves it names as leaving the
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

    void drawsAsTheOtherOptions_data() {
        QTest::addColumn<QString>("curves");
        QTest::addColumn<QString>("same");
        QTest::newRow("decimal comma") << u"--curva 86,5:55:1"_s << u"--lunghezza 86.5"_s;
        QTest::newRow("negative") << u"--curva -86:55:1"_s << u"--lunghezza -86"_s;
        QTest::newRow("all boxes") << u"--curva 120:30:2:corde:y-cos:x-cos"_s
                                   << u"--lunghezza 120 --angolo 30 --incremento 2 --x-cos "
                                      u"--y-cos --corde"_s;
        QTest::newRow("after the others")
            << u"--curva 150:40:1 --lunghezza 150 --angolo 20 --curva 150:60:1"_s
            << u"--lunghezza 150 --angolo 20 --angolo 40 --angolo 60"_s;
        QTest::newRow("the others' boxes stay theirs")
            << u"--lunghezza 150 --y-cos --corde --curva 150:40:1:y-cos:corde"_s
            << u"--lunghezza 150 --angolo 55 --angolo 40 --y-cos --corde"_s;
    }
    void drawsAsTheOtherOptions() {
        QFETCH(QString, curves);
        QFETCH(QString, same);
        const QImage expected = picture(same);
        QVERIFY(!expected.isNull());
        QCOMPARE(picture(curves), expected);
    }

    // The boxes and the chord command changing between three plots.
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
                u"86:55:1 --curva 86:55:1:x-cos:corde --curva 86:55:1:y-cos"_s.arg(size.width())
                    .arg(size.height()));
        QCOMPARE(QImage(dir.filePath(u"window.png"_s)).convertToFormat(QImage::Format_RGB32),
                 shownArea(window->surface()));
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
        QTest::newRow("box")
            << u"--curva 86:55:1:z-cos"_s
            << u"--curva \"86:55:1:z-cos\": \"z-cos\" non è x-cos, y-cos o corde"_s;
        QTest::newRow("a box for no curve")
            << u"--curva 86:55:1 --y-cos"_s
            << u"--y-cos vale per le curve di --lunghezza, --angolo e --incremento; a una curva "
               u"di --curva si aggiunge così: 86:55:1:y-cos"_s;
        QTest::newRow("with a work")
            << u"--da a.png --curva 86:55:1"_s
            << u"--da non si usa con --curva: le curve sono quelle del lavoro salvato"_s;
    }
    void refusesBadValues() {
        QFETCH(QString, arguments);
        QFETCH(QString, message);
        const Run run = lumetra(u"refused.png"_s, arguments);
        QCOMPARE(run.err, u"lumetra: "_s + message + u"\nPer l'aiuto: lumetra --help\n"_s);
        QCOMPARE(run.status, 2);
        QVERIFY(!QFile::exists(dir.filePath(u"refused.png"_s)));
    }

    // At 55° a length of 250 reaches 205 units above the axis at 137.5; at 30°
    // it stays 125 above and 250 right of the axis at 260, within the 20 units
    // the plot takes beyond the right edge at 500. The work drawn again says
    // the same.
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
        const Run run = lumetra(u"leaving.svg"_s, curves);
        QCOMPARE(run.err, told);
        QCOMPARE(run.status, 0);
        QCOMPARE(lumetra(u"-"_s, u"--formato png --da "_s + dir.filePath(u"leaving.svg"_s)).err,
                 told);
    }

    // Ctrl+Y, which the menu shows beside "Ripeti", and Ctrl+Shift+Z both plot again.
    void redoesWithCtrlYAsTheMenuShows() {
        auto* window = plotWindow();
        QVERIFY(window && click(*window, u"TRACCIA"_s));
        const QImage twoCurves = window->surface().image();
        for (const QKeyCombination key : {Qt::CTRL | Qt::Key_Y, Qt::CTRL | Qt::SHIFT | Qt::Key_Z}) {
            QTest::keyClick(window, Qt::Key_Z, Qt::ControlModifier);
            QVERIFY(window->surface().image() != twoCurves);
            QTest::keyClick(window, key.key(), key.keyboardModifiers());
            QCOMPARE(window->surface().image(), twoCurves);
        }
    }
};

LUMETRA_HERMETIC_MAIN(TestCurveOption, QApplication)
#include "test_curve_option.moc"
