// The drawing surface read back from its pixels: the plot window's mapping,
// clipping and clearing, lines that lie nowhere, and dot sizes.

#include "geometry/plot_frame.h"
#include "runtime/palette.h"
#include "surface/drawing_surface.h"

#include <QtTest>

using lumetra::runtime::QBColor;
using lumetra::surface::DrawingSurface;

namespace {

const QColor kForeground(0x10, 0x20, 0x30), kBackground(0xE0, 0xE0, 0xD0);
const QRgb kRed = 0xFF000000U | QBColor(4), kGreen = 0xFF000000U | QBColor(2);

// The pixels of `image` that hold `colour`, and their bounding box.
std::pair<int, QRect> census(const QImage& image, QRgb colour) {
    std::pair<int, QRect> found{0, QRect()};
    for (int i = 0; i < image.width() * image.height(); ++i) {
        const QPoint p(i % image.width(), i / image.width());
        if (image.pixel(p) == colour) {
            found = {found.first + 1, found.second | QRect(p, QSize(1, 1))};
        }
    }
    return found;
}

// The plot window's frame with the factor 0.55: on a 1000 x 550 client area
// that is 500 units across, 275 down, two pixels per unit both ways.
DrawingSurface plotSurface(qreal ratio = 1.0) {
    DrawingSurface surface(kForeground, kBackground);
    surface.resize(QSize(1000, 550), ratio);
    lumetra::geometry::PlotVariables vars;
    lumetra::geometry::setUpPlotFrame(surface, vars, lumetra::runtime::Value(0.55),
                                      lumetra::runtime::Value(1.0));
    return surface;
}

} // namespace

class TestSurface : public QObject {
    Q_OBJECT

private slots:
    // Dots and lines DrawWidth pixels wide, clipped without error where they
    // leave the area, even from coordinates far outside it.
    void plotWindowExample() {
        DrawingSurface surface = plotSurface();
        for (const QPoint p : {QPoint(520, 275), QPoint(520, 0), QPoint(999, 275)}) {
            QCOMPARE(surface.image().pixel(p), kForeground.rgb());
        }
        // Clearing keeps the scale, which the dots below use (that it erases
        // everything: the windows test's clear).
        surface.cls();
        // The far edges lie just outside the area.
        surface.setDrawWidth(1);
        surface.pset(500.0F, 275.0F, QBColor(4));
        surface.pset(-3.0e38F, 3.0e38F, QBColor(4));
        QCOMPARE(census(surface.image(), kRed).first, 0);
        // The last pixel (999, 549), a line that leaves at the bottom (200, 20 to 549),
        // one wholly outside.
        surface.pset(499.5F, 274.5F, QBColor(4));
        surface.line(100.0F, 10.0F, 100.0F, 300.0F, QBColor(4));
        surface.line(600.0F, 0.0F, 700.0F, 50.0F, QBColor(4));
        QCOMPARE(census(surface.image(), kRed), std::make_pair(1 + 530, QRect(200, 20, 800, 530)));
        surface.cls();
        surface.setDrawWidth(3);
        surface.line(-1.0e30F, 100.0F, 1.0e30F, 100.0F, QBColor(4));
        QCOMPARE(census(surface.image(), kRed), std::make_pair(3 * 1000, QRect(0, 199, 1000, 3)));
        // A line with an end that is not a finite number draws nothing.
        surface.cls();
        const float nan = std::numeric_limits<float>::quiet_NaN();
        surface.line(nan, 100.0F, 200.0F, 100.0F, QBColor(4));
        surface.line(100.0F, 100.0F, std::numeric_limits<float>::infinity(), 100.0F, QBColor(4));
        QCOMPARE(census(surface.image(), kRed).first, 0);
    }

    // The dot sits on the point: (100, 50) is pixel (200, 100) at 1x.
    void dotSizes_data() {
        QTest::addColumn<qreal>("ratio");
        QTest::addColumn<int>("drawWidth");
        QTest::addColumn<QRect>("dot");
        QTest::addColumn<int>("pixels");
        QTest::addColumn<int>("inCorner"); // of a dot on the top-left pixel, clipped
        QTest::newRow("width 1") << 1.0 << 1 << QRect(200, 100, 1, 1) << 1 << 1;
        QTest::newRow("width 3") << 1.0 << 3 << QRect(199, 99, 3, 3) << 9 << 4;
        QTest::newRow("width 1 at 2x") << 2.0 << 1 << QRect(399, 199, 2, 2) << 4 << 1;
        QTest::newRow("width 3 at 2x") << 2.0 << 3 << QRect(397, 197, 6, 6) << 32 << 8;
    }
    void dotSizes() {
        QFETCH(qreal, ratio);
        QFETCH(int, drawWidth);
        QFETCH(QRect, dot);
        QFETCH(int, pixels);
        QFETCH(int, inCorner);
        DrawingSurface surface = plotSurface(ratio);
        surface.setDrawWidth(static_cast<std::int16_t>(drawWidth));
        surface.pset(100.0F, 50.0F, QBColor(4));
        QCOMPARE(census(surface.image(), kRed), std::make_pair(pixels, dot));
        // The same dots handed over many at once, as a plot does.
        const lumetra::runtime::Dot dots[] = {{300.0F, 50.0F, QBColor(2)},
                                              {0.0F, 0.0F, QBColor(2)}};
        surface.psetMany(dots);
        QCOMPARE(census(surface.image(), kGreen).first, pixels + inCorner);
        // A resize and a move to a screen of twice the ratio keep the picture
        // where it was in the window, and so does the move back.
        surface.resize(QSize(1200, 700), 2 * ratio);
        QCOMPARE(census(surface.image(), kRed).second, QRect(dot.topLeft() * 2, dot.size() * 2));
        surface.resize(QSize(1200, 700), ratio);
        QCOMPARE(census(surface.image(), kRed).second, dot);
    }
};

QTEST_MAIN(TestSurface)
#include "test_surface.moc"
