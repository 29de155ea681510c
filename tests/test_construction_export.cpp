// SPDX-License-Identifier: GPL-3.0-or-later
// The construction as an animation: the GIF read back by Qt's own reader,
// frame by frame against the frames given; the SVG's animation elements and
// its last moment drawn by librsvg; the command line's files, statuses and
// messages.

#include "output/construction_svg.h"
#include "output/gif_animation.h"
#include "output/picture.h"
#include "output/plot_construction.h"
#include "support/run_program.h"

#include <QBuffer>
#include <QImageReader>
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
RecordedPlot workedExample() {
    RecordedPlot plot;
    plot.VALa = 86.0;
    plot.VALb = 55.0;
    plot.VALe = 1.0;
    plot.Incr = 0.55;
    plot.width = 500;
    plot.height = 275;
    plot.chords = true;
    plot.activation = true;
    return plot;
}

const QColor kForeground = Qt::black;
const QColor kBackground(0xf0, 0xf0, 0xf0);

// An SVG element: its name, its attributes, and how deep it lies.
struct Element {
    QString name;
    QXmlStreamAttributes attributes;
    int depth = 0;

    QString operator[](const char* attribute) const {
        return attributes.value(QLatin1String(attribute)).toString();
    }
};

QList<Element> elementsOf(const QByteArray& svg) {
    QXmlStreamReader reader(svg);
    QList<Element> elements;
    int depth = 0;
    while (!reader.atEnd()) {
        const QXmlStreamReader::TokenType token = reader.readNext();
        if (token == QXmlStreamReader::StartElement) {
            elements.append({reader.name().toString(), reader.attributes(), depth++});
        } else if (token == QXmlStreamReader::EndElement) {
            --depth;
        }
    }
    if (reader.hasError()) {
        return {};
    }
    return elements;
}

QList<Element> named(const QList<Element>& elements, const QString& name) {
    QList<Element> found;
    for (const Element& element : elements) {
        if (element.name == name) {
            found << element;
        }
    }
    return found;
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

    // A frame that changes a few pixels costs a few bytes, wherever they are.
    void gifDeltaFramesAreSmall() {
        const QSize size(640, 400);
        QImage frame(size, QImage::Format_RGB32);
        frame.fill(qRgb(0xf0, 0xf0, 0xf0));
        GifAnimation still(size);
        QVERIFY(still.addFrame(frame, 2));
        GifAnimation moving(size);
        QVERIFY(moving.addFrame(frame, 2));
        constexpr int kFrames = 100;
        for (int i = 0; i < kFrames; ++i) {
            frame.setPixel((i * 37) % 640, (i * 53) % 400, qRgb(0xff, 0, 0));
            QVERIFY(moving.addFrame(frame, 2));
        }
        const qsizetype grown = moving.finish()->size() - still.finish()->size();
        QCOMPARE_LT(grown, kFrames * 32);
    }

    // The points and chords at the very places of the plot's own SVG.
    void svgTrailIsThePlot() {
        lumetra::output::Picture picture;
        picture.record.add(workedExample());
        picture.area = QSize(500, 275);
        picture.foreground = kForeground;
        picture.background = kBackground;
        const QList<Element> plot = elementsOf(*lumetra::output::svgPicture(picture, {}));
        const QList<Element> animated = elementsOf(lumetra::output::constructionSvg(
            lumetra::output::constructionOf(workedExample()), kForeground, kBackground));
        QCOMPARE(named(animated, u"circle"_s).size(), 2 * 901 + 2); // and the two rings
        QCOMPARE(named(plot, u"circle"_s).size(), 2 * 901);
        QList<QStringList> drawn;
        for (const Element& dot : named(plot, u"circle"_s)) {
            drawn << QStringList{dot["cx"], dot["cy"], dot["r"], dot["fill"]};
        }
        QList<QStringList> trail;
        for (const Element& dot : named(animated, u"circle"_s).first(2 * 901)) {
            trail << QStringList{dot["cx"], dot["cy"], dot["r"], dot["fill"]};
        }
        QCOMPARE(trail, drawn);
    }

    // Pass k's points show from (k - 1) x 0.02 s on; the chords with theirs.
    void svgPassesAppearInTurn_data() {
        QTest::addColumn<int>("pass");
        QTest::addColumn<QString>("hiddenUntil");
        QTest::addColumn<int>("lines"); // in the pass's group
        QTest::newRow("1") << 1 << QString() << 0;
        QTest::newRow("2") << 2 << u"0.02s"_s << 0;
        QTest::newRow("16, a chord") << 16 << u"0.3s"_s << 1;
        QTest::newRow("451") << 451 << u"9s"_s << 0;
        QTest::newRow("896, the last chord") << 896 << u"17.9s"_s << 1;
        QTest::newRow("901") << 901 << u"18s"_s << 0;
    }
    void svgPassesAppearInTurn() {
        QFETCH(int, pass);
        QFETCH(QString, hiddenUntil);
        QFETCH(int, lines);
        const QList<Element> elements = elementsOf(lumetra::output::constructionSvg(
            lumetra::output::constructionOf(workedExample()), kForeground, kBackground));
        // The groups of the passes, each with what lies in it.
        QList<QList<Element>> groups;
        bool inGroup = false;
        for (const Element& element : elements) {
            if (element.name == u"g"_s) {
                groups.append(QList<Element>());
                inGroup = true;
            } else if (element.depth == 1) {
                inGroup = false;
            } else if (inGroup) {
                groups.last() << element;
            }
        }
        QCOMPARE(groups.size(), 901);
        const QList<Element>& group = groups[pass - 1];
        const QList<Element> sets = named(group, u"set"_s);
        QCOMPARE(sets.size(), hiddenUntil.isEmpty() ? 0 : 1);
        if (!sets.isEmpty()) {
            QCOMPARE(sets.first()["attributeName"], u"visibility"_s);
            QCOMPARE(sets.first()["to"], u"hidden"_s);
            QCOMPARE(sets.first()["end"], hiddenUntil);
        }
        QCOMPARE(named(group, u"circle"_s).size(), 2);
        QCOMPARE(named(group, u"line"_s).size(), lines);
    }

    // Each moving line changes at whole passes, ending with the last.
    void svgAnimationsAreDiscreteAndEnd() {
        const QList<Element> elements = elementsOf(lumetra::output::constructionSvg(
            lumetra::output::constructionOf(workedExample()), kForeground, kBackground));
        const QList<Element> animations = named(elements, u"animate"_s);
        QVERIFY(!animations.isEmpty());
        for (const Element& animation : animations) {
            QCOMPARE(animation["dur"], u"18.02s"_s);
            QCOMPARE(animation["calcMode"], u"discrete"_s);
            QCOMPARE(animation["fill"], u"freeze"_s);
            const QStringList times = animation["keyTimes"].split(u';');
            QCOMPARE(times.size(), animation["values"].split(u';').size());
            QCOMPARE(times.first(), u"0"_s);
            for (qsizetype i = 1; i < times.size(); ++i) {
                const double passes = times[i].toDouble() * 901.0;
                QCOMPARE_LT(std::abs(passes - std::round(passes)), 1e-3);
            }
        }
    }

    // Without animation, as librsvg draws it: the end, the points in their colours.
    void svgDrawnByLibrsvg() {
        const QTemporaryDir dir;
        const QString svg = dir.filePath(u"costruzione.svg"_s);
        QFile file(svg);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(lumetra::output::constructionSvg(
            lumetra::output::constructionOf(workedExample()), kForeground, kBackground));
        file.close();
        const QString png = dir.filePath(u"costruzione.png"_s);
        const lumetra::testing::Run run =
            lumetra::testing::runProgram({u"rsvg-convert"_s, u"-o"_s, png, svg});
        QVERIFY2(run.status == 0,
                 qPrintable(u"rsvg-convert (Debian package librsvg2-bin): "_s + run.err));
        const QImage drawn(png);
        QCOMPARE(drawn.size(), QSize(500, 275));
        // Pass 451's second-family point, at (307.3320, 99.3204) of 500 x 275 units.
        const QColor partner = drawn.pixelColor(307, 99);
        QCOMPARE_GT(partner.green(), partner.red() + 25);
        QCOMPARE_GT(partner.green(), partner.blue() + 25);
    }
};

QTEST_GUILESS_MAIN(ConstructionExport)
#include "test_construction_export.moc"
