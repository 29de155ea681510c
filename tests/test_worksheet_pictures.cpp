// SPDX-License-Identifier: GPL-3.0-or-later
// Pictures that go onto a worksheet: white unless asked for the window's
// grey, in every format and on the clipboard; cropped to the figure; at a
// true size on paper; PDFs on paper with their curves as title; bad options
// refused in Italian. Read back as a user's tools read them: pixels,
// rsvg-convert and poppler-utils.

#include "app/program.h"
#include "app/start_up.h"
#include "forms/form4.h"
#include "forms/picture_menu.h"
#include "output/picture.h"
#include "output/work_in_picture.h"
#include "support/recording_ui.h"
#include "support/run_program.h"
#include "support/walk.h"

#include <QPrintDialog>
#include <QtTest>
#include <QtWidgets>

using namespace Qt::StringLiterals;
using namespace lumetra::testing;

namespace {

const QRgb kWhite = qRgb(255, 255, 255);
const QRgb kWindowGrey = qRgb(239, 239, 239);

// The program's picture of `arguments`, or why there is none.
std::pair<int, QString> runLumetra(const QStringList& arguments) {
    const Run run = runProgram(QStringList{QStringLiteral(LUMETRA_BINARY)} + arguments);
    return {run.status, run.err};
}

// What a reader of pictures printed, or a failure naming the Debian package to install.
QString read(const QString& tool, const QStringList& arguments) {
    const Run run = runProgram(QStringList{tool} + arguments);
    const QString package = tool == u"rsvg-convert" ? u"librsvg2-bin"_s : u"poppler-utils"_s;
    if (run.status != 0) {
        QTest::qFail(
            qPrintable(tool + u" (Debian package "_s + package + u") failed: "_s + run.err),
            __FILE__, __LINE__);
    }
    return QString::fromUtf8(run.out);
}

// The file as pixels the way a reader of its format draws it.
QImage pixelsOf(const QString& file) {
    const QString png = file + u".read.png"_s;
    if (file.endsWith(u".svg"_s)) {
        read(u"rsvg-convert"_s, {u"-o"_s, png, file});
    } else if (file.endsWith(u".pdf"_s)) {
        read(u"pdftoppm"_s, {u"-png"_s, u"-r"_s, u"48"_s, u"-singlefile"_s, file, png.chopped(4)});
    } else {
        return QImage(file);
    }
    return QImage(png);
}

// Pixels of the curves' own colours: neither the background nor the black of the axes.
qsizetype colouredPixels(const QImage& image) {
    qsizetype count = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            const QRgb pixel = image.pixel(x, y);
            count += pixel != kWhite && pixel != qRgb(0, 0, 0) ? 1 : 0;
        }
    }
    return count;
}

// The widest run of black pixels across a row below the origin, where only the vertical axis is.
int axisWidth(const QImage& image) {
    int widest = 0;
    int run = 0;
    for (int x = 0; x < image.width(); ++x) {
        run = image.pixel(x, image.height() * 7 / 8) == qRgb(0, 0, 0) ? run + 1 : 0;
        widest = std::max(widest, run);
    }
    return widest;
}

// The height in points of the first word `word` of the PDF's text.
double wordHeight(const QString& pdf, const QString& word) {
    const QString boxes = read(u"pdftotext"_s, {u"-bbox"_s, pdf, u"-"_s});
    const QRegularExpression box(u"yMin=\"([\\d.]+)\"[^>]*yMax=\"([\\d.]+)\">"_s + word + u"<"_s);
    const QRegularExpressionMatch match = box.match(boxes);
    return match.hasMatch() ? match.captured(2).toDouble() - match.captured(1).toDouble() : 0.0;
}

} // namespace

class TestWorksheetPictures : public QObject {
    Q_OBJECT

    QTemporaryDir dir;
    QString path(const QString& name) const { return dir.filePath(name); }

    // The program at its plot window after the first curve, with the menu's choice `choice` on.
    std::unique_ptr<lumetra::app::Program> plotWindow(RecordingUi& ui, const QString& choice) {
        QSettings().clear();
        auto program = std::make_unique<lumetra::app::Program>(ui);
        if (!reachPlotWindow(*program)) {
            return nullptr;
        }
        choose(*program, choice, true);
        return program;
    }
    static void choose(lumetra::app::Program& program, const QString& choice, bool on) {
        for (QAction* action : program.form4().actions()) {
            if (action->text() == choice) {
                action->setChecked(on);
            }
        }
    }

private slots:
    void initTestCase() {
        lumetra::app::prepareApplication();
        QVERIFY(dir.isValid());
    }

    void backgroundInEveryFormat_data() {
        QTest::addColumn<QString>("file");
        QTest::addColumn<QStringList>("options");
        QTest::addColumn<QRgb>("corner");
        for (const QString& format : {u"png"_s, u"svg"_s, u"pdf"_s}) {
            QTest::addRow("%s white", qPrintable(format))
                << u"white."_s + format << QStringList() << kWhite;
            QTest::addRow("%s grey", qPrintable(format))
                << u"grey."_s + format << QStringList{u"--sfondo"_s, u"schermo"_s} << kWindowGrey;
        }
    }
    void backgroundInEveryFormat() {
        QFETCH(QString, file);
        QFETCH(QStringList, options);
        QFETCH(QRgb, corner);
        QCOMPARE(runLumetra(QStringList{u"-o"_s, path(file)} + options).first, 0);
        QCOMPARE(pixelsOf(path(file)).pixel(2, 2), corner);
    }

    // From the window, as the user pastes it into a document.
    void copiedPictureIsWhiteUnlessAsked_data() {
        QTest::addColumn<QString>("choice");
        QTest::addColumn<QRgb>("corner");
        QTest::newRow("white") << QString() << kWhite;
        QTest::newRow("as on screen") << u"Sfondo come sullo schermo"_s << kWindowGrey;
    }
    void copiedPictureIsWhiteUnlessAsked() {
        QFETCH(QString, choice);
        QFETCH(QRgb, corner);
        RecordingUi ui;
        const auto program = plotWindow(ui, choice);
        QVERIFY(program);
        QTest::keyClick(buttonShowing(program->form4(), u"TRACCIA"_s), Qt::Key_C,
                        Qt::ControlModifier);
        const QImage copied = qvariant_cast<QImage>(QApplication::clipboard()->image());
        QCOMPARE(copied.pixel(1, 1), corner);
    }

    // The default curve in a 1366 x 749 window: the crop holds every dot in at most half the size,
    // and the picture still carries the work.
    void croppedPictureHoldsEveryDot() {
        RecordingUi ui;
        const auto program = plotWindow(ui, QString());
        QVERIFY(program);
        auto& form = program->form4();
        form.resize(1366, 749);
        QVERIFY(click(form, u"Cancel e traccia"_s));
        form.pictureMenu().saveAs(path(u"whole.png"_s), lumetra::output::PictureFormat::Png);
        choose(*program, u"Ritaglia alla figura"_s, true);
        form.pictureMenu().saveAs(path(u"cropped.png"_s), lumetra::output::PictureFormat::Png);
        const QImage cropped(path(u"cropped.png"_s));
        const QImage whole(path(u"whole.png"_s));
        QVERIFY(2 * cropped.width() * cropped.height() <= whole.width() * whole.height());
        QCOMPARE(colouredPixels(cropped), colouredPixels(whole));
        const auto work = lumetra::output::readWorkFile(path(u"cropped.png"_s));
        QVERIFY(std::holds_alternative<lumetra::output::Work>(work));
        QCOMPARE(std::get<lumetra::output::Work>(work).record.plots().size(),
                 form.record().plots().size());
    }

    void trueSizeOnPaper_data() {
        QTest::addColumn<QStringList>("options");
        QTest::addColumn<QSize>("pixels");
        QTest::addColumn<int>("axis"); // the axes' width: 2 pixels on a 96-dpi screen
        QTest::newRow("A4 at 96 dpi")
            << QStringList{u"--carta"_s, u"A4"_s} << QSize(1123, 794) << 2;
        QTest::newRow("A4 at 300 dpi")
            << QStringList{u"--carta"_s, u"a4"_s, u"--dpi"_s, u"300"_s} << QSize(3508, 2480) << 6;
        QTest::newRow("A4 portrait")
            << QStringList{u"--carta"_s,        u"A4"_s,       u"--dpi"_s, u"300"_s,
                           u"--orientamento"_s, u"verticale"_s}
            << QSize(2480, 3508) << 6;
        QTest::newRow("A5 at 150 dpi")
            << QStringList{u"--carta"_s, u"A5"_s, u"--dpi"_s, u"150"_s} << QSize(1240, 874) << 3;
    }
    void trueSizeOnPaper() {
        QFETCH(QStringList, options);
        QFETCH(QSize, pixels);
        QFETCH(int, axis);
        QCOMPARE(runLumetra(QStringList{u"-o"_s, path(u"paper.png"_s)} + options).first, 0);
        const QImage image(path(u"paper.png"_s));
        QCOMPARE(image.size(), pixels);
        const int dpi =
            options.contains(u"--dpi"_s) ? options[options.indexOf(u"--dpi"_s) + 1].toInt() : 96;
        QCOMPARE(image.dotsPerMeterX(), qRound(dpi / 0.0254));
        QCOMPARE(axisWidth(image), axis);
    }

    // Five curves on A4: the page, the title, and the legend no smaller than at true size.
    void pdfOnPaperWithItsCurves() {
        QStringList curves;
        for (const char* angle : {"10", "20", "30", "40", "50"}) {
            curves << u"--angolo"_s << QString::fromLatin1(angle);
        }
        const QString a4 = path(u"a4.pdf"_s), trueSize = path(u"true.pdf"_s);
        const QStringList wide{u"--legenda"_s, u"--dimensioni"_s, u"1366x749"_s};
        QCOMPARE(runLumetra(QStringList{u"-o"_s, a4, u"--carta"_s, u"A4"_s} + wide + curves).first,
                 0);
        QCOMPARE(runLumetra(QStringList{u"-o"_s, trueSize} + wide + curves).first, 0);
        const QString info = read(u"pdfinfo"_s, {a4});
        QVERIFY2(info.contains(QRegularExpression(u"Page size: +842 x 595 pts \\(A4\\)"_s)),
                 qPrintable(info));
        QVERIFY2(info.contains(u"Title:           OA 86 · 10° · incr. 1; OA 86 · 20° · incr. 1; "
                               u"OA 86 · 30° · incr. 1; … e altre 2 curve\n"_s),
                 qPrintable(info));
        QVERIFY(wordHeight(trueSize, u"OA"_s) > 0.0);
        QVERIFY(wordHeight(a4, u"OA"_s) >= wordHeight(trueSize, u"OA"_s) - 0.01);
    }

    void printDialogProposesItsFile() {
        RecordingUi ui;
        const auto program = plotWindow(ui, QString());
        QVERIFY(program);
        QString proposed;
        QTimer poll;
        connect(&poll, &QTimer::timeout, [&proposed] {
            auto* dialog = qobject_cast<QPrintDialog*>(QApplication::activeModalWidget());
            if (dialog != nullptr) {
                proposed = dialog->findChild<QLineEdit*>(u"filename"_s)->text();
                dialog->reject();
            }
        });
        poll.start(10);
        program->form4().activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&program->form4()));
        QTest::keyClick(buttonShowing(program->form4(), u"TRACCIA"_s), Qt::Key_P,
                        Qt::ControlModifier);
        QCOMPARE(QFileInfo(proposed).fileName(), u"lumetra.pdf"_s);
    }

    void badValuesRefusedInItalian_data() {
        QTest::addColumn<QStringList>("options");
        QTest::addColumn<QString>("message");
        const QString dpi = u"la risoluzione è un numero intero da 72 a 1200"_s;
        QTest::newRow("dpi low") << QStringList{u"--dpi"_s, u"71"_s} << u"--dpi \"71\": "_s + dpi;
        QTest::newRow("dpi high") << QStringList{u"--dpi"_s, u"1201"_s}
                                  << u"--dpi \"1201\": "_s + dpi;
        QTest::newRow("dpi fraction")
            << QStringList{u"--dpi"_s, u"300.5"_s} << u"--dpi \"300.5\": "_s + dpi;
        QTest::newRow("paper") << QStringList{u"--carta"_s, u"B5"_s}
                               << u"--carta \"B5\": si sceglie tra A3, A4, A5"_s;
        QTest::newRow("orientation")
            << QStringList{u"--carta"_s, u"A4"_s, u"--orientamento"_s, u"obliquo"_s}
            << u"--orientamento \"obliquo\": si sceglie tra verticale, orizzontale"_s;
        QTest::newRow("orientation alone") << QStringList{u"--orientamento"_s, u"verticale"_s}
                                           << u"--orientamento si usa con --carta"_s;
        QTest::newRow("background") << QStringList{u"--sfondo"_s, u"nero"_s}
                                    << u"--sfondo \"nero\": si sceglie tra bianco, schermo"_s;
    }
    void badValuesRefusedInItalian() {
        QFETCH(QStringList, options);
        QFETCH(QString, message);
        const auto [status, err] = runLumetra(QStringList{u"-o"_s, path(u"bad.png"_s)} + options);
        QCOMPARE(status, 2);
        QCOMPARE(err.section(u'\n', 0, 0), u"lumetra: "_s + message);
        QVERIFY(!QFile::exists(path(u"bad.png"_s)));
    }
};

QTEST_MAIN(TestWorksheetPictures)
#include "test_worksheet_pictures.moc"
