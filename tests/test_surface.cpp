// The drawing surface read back from its pixels: the plot window's mapping,
// clipping and clearing, and dot sizes.

#include "geometry/plot_frame.h"
#include "runtime/palette.h"
#include "surface/drawing_surface.h"

#include <QtTest>

using lumetra::runtime::QBColor;
using lumetra::surface::DrawingSurface;

namespace {

const QColor kForeground(0x10, 0x20, 0x30);
const QColor kBackground(0xE0, 0xE0, 0xD0);
const QRgb kRed = 0xFF000000U | QBColor(4);
const QRgb kGreen = 0xFF000000U | QBColor(2);

// The pixels of `image` that hold `colour`, and their bounding box.
std::pair<int, QRect> census(const QImage& image, QRgb colour) {
    std::pair<int, QRect> result{0, QRect()};
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            if (image.pixel(x, y) == colour) {
                ++result.first;
                result.second |= QRect(x, y, 1, 1);
            }
        }
    }
    return result;
}

// The plot window's frame with the factor 0.55: on a 1000 x 550 client area
// that is 500 units across, 275 down, two pixels per unit both ways.
void plotFrame(DrawingSurface& surface) {
    lumetra::geometry::PlotVariables vars;
    lumetra::geometry::setUpPlotFrame(surface, vars, lumetra::runtime::Value(0.55),
                                      lumetra::runtime::Value(1.0));
}

} // namespace

class TestSurface : public QObject {
    Q_OBJECT

private slots:
    void plotWindowExample() {
        DrawingSurface surface(kForeground, kBackground);
        surface.resize(QSize(1000, 550), 1.0);
        plotFrame(surface);
        for (const QPoint p : {QPoint(520, 275), QPoint(520, 0), QPoint(999, 275)}) {
            QCOMPARE(surface.image().pixel(p), kForeground.rgb());
        }

        // Clearing erases everything and keeps the scale.
        surface.cls();
        QCOMPARE(census(surface.image(), kBackground.rgb()).first, 1000 * 550);
        QCOMPARE(QSizeF(surface.scaleWidth(), surface.scaleHeight()), QSizeF(500, 275));
        // The far edges lie just outside the area: no error and nothing drawn.
        surface.setDrawWidth(1);
        surface.pset(500.0F, 275.0F, QBColor(4));
        surface.pset(-3.0e38F, 3.0e38F, QBColor(4));
        QCOMPARE(census(surface.image(), kRed).first, 0);
        surface.pset(499.5F, 274.5F, QBColor(4));
        QCOMPARE(census(surface.image(), kRed), std::make_pair(1, QRect(999, 549, 1, 1)));
    }

    void dotSizes_data() {
        QTest::addColumn<qreal>("ratio");
        QTest::addColumn<int>("drawWidth");
        QTest::addColumn<int>("across");
        QTest::addColumn<int>("pixels");
        QTest::addColumn<int>("inCorner"); // of a dot on the top-left pixel, clipped
        QTest::newRow("width 1") << 1.0 << 1 << 1 << 1 << 1;
        QTest::newRow("width 3") << 1.0 << 3 << 3 << 9 << 4;
        QTest::newRow("width 1 at 2x") << 2.0 << 1 << 2 << 4 << 1;
        QTest::newRow("width 3 at 2x") << 2.0 << 3 << 6 << 32 << 8;
    }

    void dotSizes() {
        QFETCH(qreal, ratio);
        QFETCH(int, drawWidth);
        QFETCH(int, across);
        QFETCH(int, pixels);
        QFETCH(int, inCorner);
        DrawingSurface surface(kForeground, kBackground);
        surface.resize(QSize(1000, 550), ratio);
        plotFrame(surface);
        surface.setDrawWidth(static_cast<std::int16_t>(drawWidth));
        surface.pset(100.0F, 50.0F, QBColor(4));
        const auto [count, bounds] = census(surface.image(), kRed);
        QCOMPARE(count, pixels);
        QCOMPARE(bounds.size(), QSize(across, across));
        // The dot sits on the point: (100, 50) is pixel (200, 100) at 1x.
        QVERIFY((QRectF(bounds).center() - QPointF(200, 100) * ratio).manhattanLength() <= 2);
        // The same dots handed over many at once, as a plot does.
        const lumetra::runtime::Dot dots[] = {{300.0F, 50.0F, QBColor(2)},
                                              {0.0F, 0.0F, QBColor(2)}};
        surface.psetMany(dots);
        QCOMPARE(census(surface.image(), kGreen).first, pixels + inCorner);
    }

    // Lines are solid and DrawWidth pixels wide, clipped without error where
    // they leave the area, even from coordinates far outside it.
    void lines() {
        DrawingSurface surface(kForeground, kBackground);
        surface.resize(QSize(1000, 550), 1.0);
        plotFrame(surface);
        surface.cls();
        surface.setDrawWidth(3);
        surface.line(-1.0e30F, 100.0F, 1.0e30F, 100.0F, QBColor(4));
        QCOMPARE(census(surface.image(), kRed), std::make_pair(3 * 1000, QRect(0, 199, 1000, 3)));
        surface.cls();
        surface.setDrawWidth(1);
        surface.line(100.0F, 10.0F, 100.0F, 300.0F, QBColor(4)); // leaves at the bottom
        QCOMPARE(census(surface.image(), kRed).second, QRect(200, 20, 1, 530));
        surface.line(600.0F, 0.0F, 700.0F, 50.0F, QBColor(4)); // wholly outside
        QCOMPARE(census(surface.image(), kRed).first, 530);
    }

    // A resize or a move to a screen of another pixel ratio keeps the picture
    // where it was in the window; only a clear erases it.
    void pictureSurvivesResizeAndRatio() {
        DrawingSurface surface(kForeground, kBackground);
        surface.resize(QSize(1000, 550), 1.0);
        plotFrame(surface);
        surface.setDrawWidth(3);
        surface.pset(100.0F, 50.0F, QBColor(4));
        surface.resize(QSize(1200, 700), 2.0);
        QCOMPARE(census(surface.image(), kRed).second, QRect(398, 198, 6, 6));
        surface.resize(QSize(1200, 700), 1.0);
        QCOMPARE(census(surface.image(), kRed).second, QRect(199, 99, 3, 3));
    }
};

QTEST_MAIN(TestSurface)
#include "test_surface.moc"
