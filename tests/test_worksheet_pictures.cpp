// SPDX-License-Identifier: GPL-3.0-or-later
// Pictures that go onto a worksheet: white unless asked for the window's
// grey, in every format and on the clipboard; cropped to the figure; at a
// true size on paper; PDFs on paper titled with their curves; bad options
// refused in Italian. Read back as a user's tools read them: pixels,
// rsvg-convert and poppler-utils.

#include "app/program.h"
#include "app/start_up.h"
#include "forms/form4.h"
#include "forms/picture_menu.h"
#include "output/picture.h"
#include "support/hermetic_main.h"
#include "support/run_program.h"
#include "support/walk.h"

#include <QtTest>
#include <QtWidgets>

using namespace Qt::StringLiterals;
using namespace lumetra::testing;
using namespace lumetra::output;

namespace {

const QRgb kWhite = qRgb(255, 255, 255), kBlack = qRgb(0, 0, 0), kWindowGrey = qRgb(239, 239, 239);

// The program run with `arguments`, split at the blanks.
Run runLumetra(const QString& arguments) {
    return runProgram(QStringList{QStringLiteral(LUMETRA_BINARY)} + arguments.split(u' '));
}

// The file as pixels the way a reader of its format draws it.
QImage pixelsOf(const QString& file) {
    const QString png = file + u".read.png"_s;
    if (file.endsWith(u".svg"_s)) {
        readWith(u"rsvg-convert"_s, {u"-o"_s, png, file});
    } else if (file.endsWith(u".pdf"_s)) {
        readWith(u"pdftoppm"_s,
                 {u"-png"_s, u"-r"_s, u"48"_s, u"-singlefile"_s, file, png.chopped(4)});
    }
    return QImage(file.endsWith(u".png"_s) ? file : png);
}

// Pixels of the curves' own colours: neither the background nor the black of the axes.
qsizetype colouredPixels(const QImage& image) {
    qsizetype count = 0;
    for (int i = 0; i < image.width() * image.height(); ++i) {
        const QRgb pixel = image.pixel(i % image.width(), i / image.width());
        count += pixel != kWhite && pixel != kBlack ? 1 : 0;
    }
    return count;
}

// A picture on paper: its options, its size in pixels and the resolution it records.
struct Paper {
    QString options;
    QSize pixels;
    int dpi;
    int axis; // pixels across the vertical axis: 2 on a 96-dpi screen
};

} // namespace

class TestWorksheetPictures : public QObject, Session {
    Q_OBJECT

    QTemporaryDir dir;
    QString path(const QString& name) const { return dir.filePath(name); }

    // The plot window after the first curve, with the menu's choices as they start.
    bool plotWindow() {
        QSettings().clear();
        restart();
        return reachPlotWindow(*program);
    }

private slots:
    void initTestCase() {
        lumetra::app::prepareApplication();
        QVERIFY(dir.isValid());
    }

    // The row's name is the file's.
    void backgroundInEveryFormat_data() {
        QTest::addColumn<QString>("options");
        QTest::addColumn<QRgb>("corner");
        for (const char* format : {"png", "svg", "pdf"}) {
            QTest::addRow("white.%s", format) << QString() << kWhite;
            QTest::addRow("grey.%s", format) << u" --sfondo schermo"_s << kWindowGrey;
        }
    }
    void backgroundInEveryFormat() {
        QFETCH(QString, options);
        QFETCH(QRgb, corner);
        const QString file = path(QString::fromLatin1(QTest::currentDataTag()));
        QCOMPARE(runLumetra(u"-o "_s + file + options).status, 0);
        QCOMPARE(pixelsOf(file).pixel(2, 2), corner);
    }

    // From the window, as the user pastes it into a document; the window's grey
    // only when asked (TestPictureOutput::copyFromAnyFocus).
    void copiedPictureIsWhite() {
        QVERIFY(plotWindow());
        QTest::keyClick(buttonShowing(program->form4(), u"TRACCIA"_s), Qt::Key_C,
                        Qt::ControlModifier);
        QCOMPARE(QApplication::clipboard()->image().pixel(1, 1), kWhite);
    }

    // The default curve in a 1366 x 749 window: the crop holds every dot in at most half the size.
    void croppedPictureHoldsEveryDot() {
        QVERIFY(plotWindow());
        auto& form = program->form4();
        form.resize(1366, 749);
        QVERIFY(click(form, u"Cancel e traccia"_s));
        form.pictureMenu().saveAs(path(u"whole.png"_s), PictureFormat::Png);
        QVERIFY(choose(form, u"Ritaglia alla figura"_s));
        form.pictureMenu().saveAs(path(u"cropped.png"_s), PictureFormat::Png);
        const QImage cropped(path(u"cropped.png"_s)), whole(path(u"whole.png"_s));
        QVERIFY(2 * cropped.width() * cropped.height() <= whole.width() * whole.height());
        QCOMPARE(colouredPixels(cropped), colouredPixels(whole));
    }

    void trueSizeOnPaper_data() {
        QTest::addColumn<Paper>("paper");
        QTest::newRow("A4 at 96 dpi") << Paper{u"--carta A4"_s, {1123, 794}, 96, 2};
        QTest::newRow("A4 at 300 dpi") << Paper{u"--carta A4 --dpi 300"_s, {3508, 2480}, 300, 6};
        QTest::newRow("A4 portrait at 300 dpi")
            << Paper{u"--carta a4 --dpi 300 --orientamento verticale"_s, {2480, 3508}, 300, 6};
        QTest::newRow("A5 at 150 dpi") << Paper{u"--carta A5 --dpi 150"_s, {1240, 874}, 150, 3};
    }
    void trueSizeOnPaper() {
        QFETCH(Paper, paper);
        QCOMPARE(runLumetra(u"-o "_s + path(u"paper.png"_s) + u' ' + paper.options).status, 0);
        const QImage image(path(u"paper.png"_s));
        QCOMPARE(image.size(), paper.pixels);
        QCOMPARE(image.dotsPerMeterX(), qRound(paper.dpi / 0.0254));
        // Below the origin only the vertical axis is drawn, in black.
        int axis = 0;
        for (int x = 0; x < image.width(); ++x) {
            axis += image.pixel(x, image.height() * 7 / 8) == qRgb(0, 0, 0) ? 1 : 0;
        }
        QCOMPARE(axis, paper.axis);
    }

    // Five curves on A4 in an Italian session: the page, and the title naming
    // the first three, numbers of 1000 and more read as typed, without group separators.
    void pdfOnPaperWithItsCurves() {
        const QString a4 = path(u"a4.pdf"_s);
        const QString arguments = u"--carta A4 -o "_s + a4 +
                                  u" --lunghezza 1500 --angolo 1000 --angolo 20 --angolo 30 "
                                  u"--angolo 40 --angolo 50"_s;
        const QStringList italian{u"env"_s, u"LC_ALL=it_IT.UTF-8"_s,
                                  QStringLiteral(LUMETRA_BINARY)};
        QCOMPARE(runProgram(italian + arguments.split(u' ')).status, 0);
        const QString info = readWith(u"pdfinfo"_s, {a4});
        QVERIFY2(info.contains(QRegularExpression(u"Page size: +842 x 595 pts \\(A4\\)"_s)),
                 qPrintable(info));
        QVERIFY2(info.contains(u"Title:           OA 1500 · 1000° · incr. 1; OA 1500 · 20° · "
                               u"incr. 1; OA 1500 · 30° · incr. 1; … e altre 2 curve\n"_s),
                 qPrintable(info));
    }

    void badValuesRefusedInItalian_data() {
        QTest::addColumn<QString>("options");
        QTest::addColumn<QString>("message");
        QTest::newRow("dpi") << u"--dpi 1201"_s
                             << u"--dpi \"1201\": la risoluzione è un numero intero da 72 a 1200"_s;
        QTest::newRow("paper") << u"--carta B5"_s << u"--carta \"B5\": si sceglie tra A3, A4, A5"_s;
        QTest::newRow("orientation alone")
            << u"--orientamento verticale"_s << u"--orientamento si usa con --carta"_s;
    }
    void badValuesRefusedInItalian() {
        QFETCH(QString, options);
        QFETCH(QString, message);
        const Run run = runLumetra(u"-o "_s + path(u"bad.png"_s) + u' ' + options);
        QCOMPARE(run.status, 2);
        QCOMPARE(run.err.section(u'\n', 0, 0), u"lumetra: "_s + message);
        QVERIFY(!QFile::exists(path(u"bad.png"_s)));
    }
};

LUMETRA_HERMETIC_MAIN(TestWorksheetPictures, QApplication)
#include "test_worksheet_pictures.moc"
