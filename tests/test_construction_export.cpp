// SPDX-License-Identifier: GPL-3.0-or-later
// The construction as an animation: the GIF read back by Qt's own reader,
// frame by frame against the frames given; the SVG's points against the
// plot's own SVG, its times, and its end drawn by librsvg; the command line's
// files, statuses and messages; the window's button and its failures.

#include "forms/construction_window.h"
#include "forms/form4.h"
#include "output/animation_file.h"
#include "output/construction_frame.h"
#include "output/construction_svg.h"
#include "output/gif_animation.h"
#include "output/picture.h"
#include "output/plot_construction.h"
#include "support/files.h"
#include "support/run_program.h"
#include "support/walk.h"

#include <QAbstractButton>
#include <QBuffer>
#include <QFileDialog>
#include <QGuiApplication>
#include <QImageReader>
#include <QPalette>
#include <QTimer>
#include <QXmlStreamReader>
#include <QtTest>

using lumetra::output::GifAnimation;
using lumetra::output::RecordedPlot;
using namespace Qt::StringLiterals;

namespace {

// Every frame of a GIF as Qt's reader composes it, with its delay in milliseconds.
struct ReadGif {
    QList<QImage> frames;
    QList<int> delays;
    int loops = 0;
};

ReadGif readGif(const QByteArray& bytes) {
    QBuffer buffer;
    buffer.setData(bytes);
    QImageReader reader(&buffer, "gif");
    ReadGif read;
    read.loops = reader.loopCount();
    QImage frame;
    while (reader.read(&frame)) {
        read.frames << frame.convertToFormat(QImage::Format_RGB32);
        read.delays << reader.nextImageDelay();
    }
    return read;
}

// A grey frame with a dot of colour for each of the `count` steps so far and
// a line that moves with the step: what a construction's frames change.
QImage stepFrame(QSize size, int step, int count) {
    QImage frame(size, QImage::Format_RGB32);
    frame.fill(qRgb(0xf0, 0xf0, 0xf0));
    for (int i = 0; i <= step; ++i) {
        frame.setPixel((7 * i) % size.width(), (3 * i) % size.height(),
                       qRgb(16 * (i % 16), 255 - 16 * (i % 16), 0x80));
    }
    for (int x = 0; x < size.width(); ++x) {
        frame.setPixel(x, (step * size.height()) / count, qRgb(0, 0, 0xa8));
    }
    return frame;
}

// The worked example as the first plot after start-up draws it, from the chord command.
const RecordedPlot kWorkedExample{86.0, 55.0, 1.0, 0.55, 500, 275, 0, false, false, true, true};
const lumetra::output::FrameColours kColours{Qt::black, QColor(0xf0, 0xf0, 0xf0)};

QByteArray workedExampleSvg() {
    return lumetra::output::constructionSvg(lumetra::output::constructionOf(kWorkedExample),
                                            kColours);
}

// The attributes of every `name` element of the document, in order.
QList<QXmlStreamAttributes> elementsOf(const QByteArray& svg, const QString& name) {
    QXmlStreamReader reader(svg);
    QList<QXmlStreamAttributes> found;
    while (!reader.atEnd()) {
        if (reader.readNext() == QXmlStreamReader::StartElement && reader.name() == name) {
            found << reader.attributes();
        }
    }
    return reader.hasError() ? QList<QXmlStreamAttributes>() : found;
}

QString valueOf(const QXmlStreamAttributes& attributes, const char* name) {
    return attributes.value(QLatin1StringView(name)).toString();
}

// Where and how each circle is drawn.
QList<QStringList> circlesOf(const QByteArray& svg) {
    QList<QStringList> circles;
    for (const QXmlStreamAttributes& circle : elementsOf(svg, u"circle"_s)) {
        circles << QStringList{valueOf(circle, "cx"), valueOf(circle, "cy"), valueOf(circle, "r"),
                               valueOf(circle, "fill")};
    }
    return circles;
}

lumetra::testing::Run runLumetra(const QStringList& arguments) {
    return lumetra::testing::runProgram(QStringList{QStringLiteral(LUMETRA_BINARY)} + arguments);
}

// The command line's colours: the button text of the platform's palette on white.
lumetra::output::FrameColours commandLineColours() {
    return {QGuiApplication::palette().color(QPalette::ButtonText), Qt::white};
}

} // namespace

class ConstructionExport : public QObject {
    Q_OBJECT

private slots:
    // Every frame as it was given, the delays, looping for ever.
    void gifFramesReadBackExactly_data() {
        QTest::addColumn<QSize>("size");
        QTest::addColumn<int>("count");
        QTest::newRow("wide") << QSize(64, 40) << 30;
        QTest::newRow("one pixel high") << QSize(50, 1) << 3;
        QTest::newRow("one frame") << QSize(16, 16) << 1;
    }
    void gifFramesReadBackExactly() {
        QFETCH(QSize, size);
        QFETCH(int, count);
        GifAnimation gif(size);
        QList<QImage> given;
        for (int step = 0; step < count; ++step) {
            given << stepFrame(size, step, count);
            QVERIFY(gif.addFrame(given.last(), step == count - 1 ? 300 : 2));
        }
        // The same frame twice is still a frame.
        QVERIFY(gif.addFrame(given.last(), 5));
        given << given.last();
        const std::optional<QByteArray> bytes = gif.finish();
        QVERIFY(bytes);
        const ReadGif read = readGif(*bytes);
        QCOMPARE(read.frames.size(), given.size());
        for (qsizetype i = 0; i < given.size(); ++i) {
            QCOMPARE(read.frames[i], given[i]);
        }
        QCOMPARE(read.delays.first(), count == 1 ? 3000 : 20);
        QCOMPARE(read.delays.last(), 50);
        QCOMPARE(read.loops, -1);
    }

    // Past 255 colours a colour takes the nearest.
    void gifColoursPastTheTable_data() {
        QTest::addColumn<int>("x"); // greys 0 to 255, then red
        QTest::addColumn<QRgb>("read");
        QTest::newRow("255th") << 254 << qRgb(254, 254, 254);
        QTest::newRow("256th, the nearest") << 255 << qRgb(254, 254, 254);
        QTest::newRow("red, the nearest grey") << 256 << qRgb(85, 85, 85);
    }
    void gifColoursPastTheTable() {
        QFETCH(int, x);
        QFETCH(QRgb, read);
        QImage frame(257, 1, QImage::Format_RGB32);
        for (int i = 0; i < 256; ++i) {
            frame.setPixel(i, 0, qRgb(i, i, i));
        }
        frame.setPixel(256, 0, qRgb(255, 0, 0));
        GifAnimation gif(frame.size());
        QVERIFY(gif.addFrame(frame, 2));
        QCOMPARE(readGif(*gif.finish()).frames.first().pixel(x, 0), read);
    }

    // The points and chords at the very places of the plot's own SVG.
    void svgTrailIsThePlot() {
        lumetra::output::Picture picture{
            QImage(), {}, QSize(500, 275), kColours.foreground, kColours.background};
        picture.record.add(kWorkedExample);
        const QList<QStringList> drawn = circlesOf(*lumetra::output::svgPicture(picture, {}));
        const QList<QStringList> animated = circlesOf(workedExampleSvg());
        QCOMPARE(drawn.size(), 2 * 901);
        QCOMPARE(animated.size(), 2 * 901 + 2); // and the rings of the pass
        QCOMPARE(animated.first(2 * 901), drawn);
        qsizetype chords = 0;
        for (const QXmlStreamAttributes& line : elementsOf(workedExampleSvg(), u"line"_s)) {
            // The plot's lines have round ends; a chord is 1 wide, an axis 2.
            chords += valueOf(line, "stroke-linecap") == u"round"_s &&
                              valueOf(line, "stroke-width") == u"1"_s
                          ? 1
                          : 0;
        }
        QCOMPARE(chords, 56);
    }

    // Pass k's points hidden until (k - 1) x 0.02 s; A2 turns the direction 90 times.
    void svgPassesInTurn_data() {
        QTest::addColumn<int>("pass");
        QTest::addColumn<QString>("hiddenUntil");
        QTest::newRow("2") << 2 << u"0.02s"_s;
        QTest::newRow("16, a chord") << 16 << u"0.3s"_s;
        QTest::newRow("451") << 451 << u"9s"_s;
        QTest::newRow("901") << 901 << u"18s"_s;
    }
    void svgPassesInTurn() {
        QFETCH(int, pass);
        QFETCH(QString, hiddenUntil);
        const QList<QXmlStreamAttributes> sets = elementsOf(workedExampleSvg(), u"set"_s);
        QCOMPARE(sets.size(), 900);
        QCOMPARE(valueOf(sets[pass - 2], "to"), u"hidden"_s);
        QCOMPARE(valueOf(sets[pass - 2], "end"), hiddenUntil);
        const QXmlStreamAttributes direction = elementsOf(workedExampleSvg(), u"animate"_s).first();
        QCOMPARE(valueOf(direction, "values").split(u';').size(), 91);
        QCOMPARE(valueOf(direction, "dur"), u"18.02s"_s);
    }

    // Without animation, as librsvg draws it: the end, the points in their colours.
    void svgDrawnByLibrsvg() {
        const QTemporaryDir dir;
        const QString svg = dir.filePath(u"costruzione.svg"_s);
        QVERIFY(lumetra::testing::writeFile(svg, workedExampleSvg()));
        const QString png = dir.filePath(u"costruzione.png"_s);
        lumetra::testing::readWith(u"rsvg-convert"_s, {u"-o"_s, png, svg});
        const QImage drawn(png);
        QCOMPARE(drawn.size(), QSize(500, 275));
        // Pass 451's second-family point, at (307.3320, 99.3204) of 500 x 275 units.
        const QColor partner = drawn.pixelColor(307, 99);
        QCOMPARE_GT(partner.green(), partner.red() + 25);
        QCOMPARE_GT(partner.green(), partner.blue() + 25);
    }

    // The last curve of the options, in its colour, every pass a frame; the
    // last as the window draws it, every pixel in its exact colour.
    void commandLineGif() {
        const QTemporaryDir dir;
        const QString gif = dir.filePath(u"costruzione.gif"_s);
        const lumetra::testing::Run run =
            runLumetra({u"-o"_s, gif, u"--costruzione"_s, u"--dimensioni"_s, u"480x300"_s,
                        u"--angolo"_s, u"30"_s, u"--angolo"_s, u"60"_s});
        QCOMPARE(run.err, QString());
        QCOMPARE(run.status, 0);
        const ReadGif read = readGif(lumetra::testing::readFile(gif));
        QCOMPARE(read.frames.size(), 901);
        RecordedPlot second{86.0, 60.0,  1.0,   300.0 / 480.0, 480,  300,
                            1,    false, false, false,         false};
        const QImage last = lumetra::output::constructionFrame(
                                lumetra::output::constructionOf(second), 901, QSize(480, 300), 1.0,
                                false, commandLineColours(), lumetra::output::Edges::Exact)
                                .convertToFormat(QImage::Format_RGB32);
        QCOMPARE(read.frames.last(), last);
    }

    // Each fault its message and status; no file left unless written.
    void commandLineFaults_data() {
        QTest::addColumn<QString>("arguments"); // @ stands for the folder
        QTest::addColumn<int>("status");
        QTest::addColumn<QString>("told");
        QTest::newRow("png") << u"-o @/c.png --costruzione"_s << 2
                             << u"lumetra: --costruzione scrive un'animazione: l'estensione di "
                                u"\"@/c.png\" deve essere .gif o .svg\n"_s;
        QTest::newRow("gif alone")
            << u"-o @/c.gif"_s << 2 << u": un'animazione GIF si scrive con --costruzione\n"_s;
        QTest::newRow("stdout") << u"-o - --costruzione"_s << 2
                                << u"lumetra: --costruzione con --output -: manca --formato gif "
                                   u"o svg\n"_s;
        QTest::newRow("legend") << u"-o @/c.gif --legenda --costruzione"_s << 2
                                << u": --legenda non si usa con --costruzione\n"_s;
        QTest::newRow("no folder")
            << u"-o @/none/c.gif --costruzione"_s << 1
            << u"lumetra: Impossibile salvare l'animazione @/none/c.gif: la cartella @/none "
               u"non esiste\n"_s;
        QTest::newRow("overflow")
            << u"-o @/c.svg --costruzione --incremento 400 --dimensioni 64x40"_s << 3
            << u"lumetra: curva 1 (OA 86 · 55° · incr. 400) interrotta: Overflow\n"_s;
    }
    void commandLineFaults() {
        QFETCH(QString, arguments);
        QFETCH(int, status);
        QFETCH(QString, told);
        const QTemporaryDir dir;
        const lumetra::testing::Run run =
            runLumetra(arguments.replace(u'@', dir.path()).split(u' '));
        QCOMPARE(run.status, status);
        QVERIFY2(run.err.contains(told.replace(u'@', dir.path())), qPrintable(run.err));
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files).size(), status == 3 ? 1 : 0);
    }

    // "Salva animazione…" under the figure, through its dialog: the plot's size, every pass.
    void savedFromTheWindow() {
        lumetra::testing::RecordingUi ui;
        lumetra::app::Program program(ui);
        QVERIFY(lumetra::testing::reachPlotWindow(program));
        program.form4().showConstruction();
        lumetra::forms::ConstructionWindow& window = *program.form4().constructionWindow();
        QAbstractButton* save = lumetra::testing::buttonShowing(window, u"Salva animazione…"_s);
        QVERIFY(save != nullptr);
        const QTemporaryDir dir;
        const QString name = dir.filePath(u"costruzione"_s);
        QTimer::singleShot(0, &window, [&name] {
            if (auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget())) {
                dialog->selectFile(name);
                static_cast<QDialog*>(dialog)->accept();
            }
        });
        QTest::mouseClick(save, Qt::LeftButton);
        const ReadGif read = readGif(lumetra::testing::readFile(name + u".gif"_s));
        QCOMPARE(read.frames.size(), 901);
        QCOMPARE(read.frames.last().size(), program.form4().surface().logicalSize());
        QCOMPARE(ui.messages, QStringList());
    }

    // A save cancelled in the middle stops there and leaves nothing behind.
    void cancelledSaveLeavesNothing() {
        const QTemporaryDir dir;
        int frames = 0;
        const lumetra::output::SaveResult cancelled = lumetra::output::saveAnimation(
            {dir.filePath(u"costruzione.gif"_s), lumetra::output::AnimationFormat::Gif},
            lumetra::output::constructionOf(kWorkedExample), kColours,
            [&frames](int, int) { return ++frames <= 10; });
        QCOMPARE(cancelled.status, lumetra::output::SaveResult::Status::Cancelled);
        QCOMPARE(frames, 11);
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList());
    }
};

QTEST_MAIN(ConstructionExport)
#include "test_construction_export.moc"
