// The drawing surface: user scale to pixels, clipping, pen widths, clearing,
// colours and the retained picture, read back from the pixels.

#include "geometry/plot_frame.h"
#include "runtime/palette.h"
#include "runtime/run_time_error.h"
#include "surface/dot_mask.h"
#include "surface/drawing_surface.h"
#include "surface/scale.h"
#include "surface/surface_window.h"

#include <QLineEdit>
#include <QtTest>

#include <cmath>
#include <limits>

using lumetra::runtime::QBColor;
using lumetra::runtime::RunTimeError;
using lumetra::surface::DrawingSurface;
using lumetra::surface::roundDot;
using lumetra::surface::SurfaceWindow;
using lumetra::surface::userToPixel;

namespace {

const QColor kForeground(0x10, 0x20, 0x30);
const QColor kBackground(0xE0, 0xE0, 0xD0);
// Palette entries as the surface stores them, opaque.
QRgb paletteRgb(int index) {
    return 0xFF000000U | lumetra::runtime::QBColor(index);
}

const QRgb kRed = paletteRgb(4);

struct Census {
    int count = 0;
    QRect bounds;
};

// The pixels of `image` that hold `colour`, and their bounding box.
Census census(const QImage& image, QRgb colour) {
    Census result;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            if (image.pixel(x, y) == colour) {
                ++result.count;
                result.bounds |= QRect(x, y, 1, 1);
            }
        }
    }
    return result;
}

// The device pixel of an image shown in a window at logical position (x, y).
QPoint at(const QImage& image, int x, int y) {
    const qreal ratio = image.devicePixelRatio();
    return {static_cast<int>(x * ratio), static_cast<int>(y * ratio)};
}

int differingPixels(const QImage& a, const QImage& b) {
    int count = 0;
    for (int y = 0; y < a.height(); ++y) {
        for (int x = 0; x < a.width(); ++x) {
            count += a.pixel(x, y) != b.pixel(x, y) ? 1 : 0;
        }
    }
    return count;
}

// The plot window's scale on a 1000 x 550 client area with the factor 0.55:
// 500 units across, 275 down, two pixels per unit both ways.
void plotScale(DrawingSurface& surface, qreal ratio = 1.0) {
    surface.resize(QSize(1000, 550), ratio);
    surface.setScaleMode(7);
    surface.setScaleWidth(500.0F);
    surface.setScaleHeight(275.0F);
}

} // namespace

class TestSurface : public QObject {
    Q_OBJECT

private slots:
    void userToPixelTable_data();
    void userToPixelTable();
    void roundDotShape_data();
    void roundDotShape();

    void plotWindowExample();
    void pointOnFarEdgesIsClipped();
    void centreOfUserScale();
    void dotSizes_data();
    void dotSizes();
    void wideDotBeyondRightEdge();
    void axisToFarEdgeEndsOnLastPixel_data();
    void axisToFarEdgeEndsOnLastPixel();
    void lineFarOutsideDrawsNothing();
    void colours();
    void clsErasesEverything();
    void centimetreScaleFollowsClientArea();
    void resizeKeepsPictureTopLeft();
    void invalidSettingsRaise_data();
    void invalidSettingsRaise();
    void drawingAsksForRepaintOncePerPaint();

    void windowUsesSystemColours();
    void windowShowsAndKeepsItsPicture();
    void drawingStaysUnderControls();
};

void TestSurface::userToPixelTable_data() {
    QTest::addColumn<float>("user");
    QTest::addColumn<float>("extent");
    QTest::addColumn<int>("pixels");
    QTest::addColumn<int>("expected");

    QTest::newRow("origin") << 0.0F << 500.0F << 1000 << 0;
    QTest::newRow("axis crossing x") << 260.0F << 500.0F << 1000 << 520;
    QTest::newRow("axis crossing y") << 137.5F << 275.0F << 550 << 275;
    QTest::newRow("far edge is outside") << 500.0F << 500.0F << 1000 << 1000;
    QTest::newRow("last pixel") << 499.5F << 500.0F << 1000 << 999;
    QTest::newRow("nearest centre below") << 0.7F << 500.0F << 1000 << 1;
    QTest::newRow("just left of origin") << -0.2F << 500.0F << 1000 << 0;
    QTest::newRow("left of origin") << -1.0F << 500.0F << 1000 << -2;
    QTest::newRow("20 units beyond right") << 520.0F << 500.0F << 1000 << 1040;
    QTest::newRow("2x ratio") << 260.0F << 500.0F << 2000 << 1040;
    QTest::newRow("calibration axis") << 93183.68F << 146367.36F << 800 << 509;
}

void TestSurface::userToPixelTable() {
    QFETCH(float, user);
    QFETCH(float, extent);
    QFETCH(int, pixels);
    QFETCH(int, expected);
    QCOMPARE(userToPixel(user, extent, pixels), expected);
}

void TestSurface::roundDotShape_data() {
    QTest::addColumn<int>("diameter");
    for (int d = 1; d <= 7; ++d) {
        QTest::addRow("%d", d) << d;
    }
}

void TestSurface::roundDotShape() {
    QFETCH(int, diameter);
    const auto dot = roundDot(diameter);
    QSet<QPair<int, int>> cells;
    QRect bounds;
    for (const auto& o : dot) {
        QVERIFY2(!cells.contains({o.dx, o.dy}), "a pixel appears twice");
        cells.insert({o.dx, o.dy});
        bounds |= QRect(o.dx, o.dy, 1, 1);
    }
    QCOMPARE(bounds.width(), diameter);
    QCOMPARE(bounds.height(), diameter);
    QVERIFY(cells.contains({0, 0}));
    // Round: symmetric about its centre both ways, and from 4 pixels up the
    // corners are cut.
    const int mirror = bounds.left() + bounds.right();
    for (const auto& c : cells) {
        QVERIFY(cells.contains({mirror - c.first, c.second}));
        QVERIFY(cells.contains({c.first, mirror - c.second}));
        QVERIFY(cells.contains({c.second, c.first}));
    }
    if (diameter >= 4) {
        QVERIFY(!cells.contains({bounds.left(), bounds.top()}));
        QVERIFY(cells.size() < diameter * diameter);
    }
}

void TestSurface::plotWindowExample() {
    DrawingSurface surface(kForeground, kBackground);
    surface.resize(QSize(1000, 550), 1.0);
    lumetra::geometry::PlotVariables vars;
    lumetra::geometry::setUpPlotFrame(surface, vars, lumetra::runtime::Value(0.55),
                                      lumetra::runtime::Value(1.0));
    QCOMPARE(surface.scaleMode(), std::int16_t{0});
    QCOMPARE(surface.scaleWidth(), 500.0F);
    QCOMPARE(surface.scaleHeight(), 275.0F);
    QCOMPARE(vars.CX, 260.0F);
    QCOMPARE(vars.CY, 137.5F);

    const QImage& image = surface.image();
    QCOMPARE(image.pixel(520, 275), kForeground.rgb());
    // Both axes reach every row and column between the edges.
    for (int y = 0; y < 550; ++y) {
        QCOMPARE(image.pixel(520, y), kForeground.rgb());
    }
    for (int x = 0; x < 1000; ++x) {
        QCOMPARE(image.pixel(x, 275), kForeground.rgb());
    }
    QCOMPARE(image.pixel(530, 290), kBackground.rgb());
}

void TestSurface::pointOnFarEdgesIsClipped() {
    DrawingSurface surface(kForeground, kBackground);
    plotScale(surface);
    const QImage before = surface.image().copy();
    surface.setDrawWidth(1);
    surface.pset(500.0F, 275.0F);
    surface.pset(500.0F, 100.0F, QBColor(4));
    surface.pset(100.0F, 275.0F, QBColor(4));
    surface.pset(-3.0e38F, 3.0e38F);
    QCOMPARE(differingPixels(before, surface.image()), 0);

    // Half a unit less is the last pixel of the area.
    surface.pset(499.5F, 274.5F, QBColor(4));
    QCOMPARE(surface.image().pixel(999, 549), kRed);
}

void TestSurface::centreOfUserScale() {
    DrawingSurface surface(kForeground, kBackground);
    plotScale(surface);
    surface.setDrawWidth(1);
    surface.pset(250.0F, surface.scaleHeight() / 2.0F, QBColor(4));
    const Census red = census(surface.image(), kRed);
    QCOMPARE(red.count, 1);
    QCOMPARE(red.bounds.topLeft(), QPoint(500, 275));
}

void TestSurface::dotSizes_data() {
    QTest::addColumn<qreal>("ratio");
    QTest::addColumn<int>("drawWidth");
    QTest::addColumn<int>("across");

    QTest::newRow("width 1") << 1.0 << 1 << 1;
    QTest::newRow("width 2") << 1.0 << 2 << 2;
    QTest::newRow("width 3") << 1.0 << 3 << 3;
    QTest::newRow("width 1 at 2x") << 2.0 << 1 << 2;
    QTest::newRow("width 3 at 2x") << 2.0 << 3 << 6;
}

void TestSurface::dotSizes() {
    QFETCH(qreal, ratio);
    QFETCH(int, drawWidth);
    QFETCH(int, across);

    DrawingSurface surface(kForeground, kBackground);
    plotScale(surface, ratio);
    QCOMPARE(surface.image().size(), QSize(1000, 550) * ratio);
    surface.setDrawWidth(static_cast<std::int16_t>(drawWidth));
    surface.pset(100.0F, 50.0F, QBColor(4));
    const Census red = census(surface.image(), kRed);
    QCOMPARE(red.bounds.width(), across);
    QCOMPARE(red.bounds.height(), across);
    if (across == 1) {
        QCOMPARE(red.count, 1);
    }
    // The dot sits on the point: (100, 50) is pixel (200, 100) at 1x.
    const QPointF centre = QRectF(red.bounds).center();
    QVERIFY(std::abs(centre.x() - 200.0 * ratio) <= 1.0);
    QVERIFY(std::abs(centre.y() - 100.0 * ratio) <= 1.0);

    // The pen width stays until it is set again.
    surface.pset(300.0F, 50.0F, QBColor(2));
    QCOMPARE(census(surface.image(), paletteRgb(2)).bounds.width(), across);
}

void TestSurface::wideDotBeyondRightEdge() {
    DrawingSurface surface(kForeground, kBackground);
    plotScale(surface);
    surface.setDrawWidth(3);
    // Pixel 1000 is one beyond the last column: only the dot's left column shows.
    surface.pset(500.0F, 100.0F, QBColor(4));
    Census red = census(surface.image(), kRed);
    QCOMPARE(red.bounds, QRect(999, 199, 1, 3));
    QCOMPARE(red.count, 3);

    // Points up to 20 units beyond the edge are no error and draw nothing more.
    for (float x = 501.0F; x <= 520.0F; x += 1.0F) {
        surface.pset(x, 100.0F, QBColor(4));
    }
    red = census(surface.image(), kRed);
    QCOMPARE(red.count, 3);
}

void TestSurface::axisToFarEdgeEndsOnLastPixel_data() {
    QTest::addColumn<int>("drawWidth");
    QTest::newRow("width 1") << 1;
    QTest::newRow("width 2") << 2;
}

void TestSurface::axisToFarEdgeEndsOnLastPixel() {
    QFETCH(int, drawWidth);
    DrawingSurface surface(kForeground, kBackground);
    plotScale(surface);
    surface.setDrawWidth(static_cast<std::int16_t>(drawWidth));
    surface.line(260.0F, 0.0F, 260.0F, surface.scaleHeight(), QBColor(4));
    const Census vertical = census(surface.image(), kRed);
    QCOMPARE(vertical.bounds.top(), 0);
    QCOMPARE(vertical.bounds.bottom(), 549);
    QCOMPARE(vertical.bounds.width(), drawWidth);
    QVERIFY(vertical.bounds.contains(520, 0));

    surface.cls();
    surface.line(0.0F, 137.5F, surface.scaleWidth(), 137.5F, QBColor(4));
    const Census horizontal = census(surface.image(), kRed);
    QCOMPARE(horizontal.bounds.left(), 0);
    QCOMPARE(horizontal.bounds.right(), 999);
    QCOMPARE(horizontal.bounds.height(), drawWidth);
    QCOMPARE(horizontal.count, 1000 * drawWidth);
}

void TestSurface::lineFarOutsideDrawsNothing() {
    DrawingSurface surface(kForeground, kBackground);
    plotScale(surface);
    const QImage before = surface.image().copy();
    surface.setDrawWidth(3);
    surface.line(600.0F, -100.0F, 900.0F, 500.0F);
    surface.line(-1.0e30F, -10.0F, 1.0e30F, -10.0F);
    QCOMPARE(differingPixels(before, surface.image()), 0);

    // A line from far outside is drawn where it crosses the area.
    surface.setDrawWidth(1);
    surface.line(-1.0e6F, 100.0F, 1.0e6F, 100.0F, QBColor(4));
    const Census red = census(surface.image(), kRed);
    QCOMPARE(red.bounds, QRect(0, 200, 1000, 1));
}

void TestSurface::colours() {
    DrawingSurface surface(kForeground, kBackground);
    plotScale(surface);
    surface.setDrawWidth(1);
    surface.line(10.0F, 10.0F, 100.0F, 10.0F);
    surface.line(10.0F, 20.0F, 100.0F, 20.0F, QBColor(4));
    surface.pset(10.0F, 30.0F);
    surface.pset(12.0F, 30.0F, QBColor(15));
    const QImage& image = surface.image();
    QCOMPARE(image.pixel(100, 20), kForeground.rgb());
    QCOMPARE(image.pixel(100, 40), kRed);
    QCOMPARE(image.pixel(20, 60), kForeground.rgb());
    QCOMPARE(image.pixel(24, 60), paletteRgb(15));
    // Lines are solid: every pixel between the ends.
    QCOMPARE(census(image, kRed).count, 181);
}

void TestSurface::clsErasesEverything() {
    DrawingSurface surface(kForeground, kBackground);
    plotScale(surface);
    QCOMPARE(census(surface.image(), kBackground.rgb()).count, 1000 * 550);
    lumetra::geometry::PlotVariables vars;
    lumetra::geometry::setUpPlotFrame(surface, vars, lumetra::runtime::Value(0.55),
                                      lumetra::runtime::Value(1.0));
    surface.setDrawWidth(3);
    surface.pset(100.0F, 100.0F, QBColor(4));
    QVERIFY(census(surface.image(), kBackground.rgb()).count < 1000 * 550);

    surface.cls();
    QCOMPARE(census(surface.image(), kBackground.rgb()).count, 1000 * 550);
    // Clearing keeps the scale and the pen width.
    QCOMPARE(surface.scaleWidth(), 500.0F);
    QCOMPARE(surface.scaleHeight(), 275.0F);
    QCOMPARE(surface.drawWidth(), std::int16_t{3});
}

void TestSurface::centimetreScaleFollowsClientArea() {
    DrawingSurface surface(kForeground, kBackground);
    for (const qreal ratio : {1.0, 2.0}) {
        surface.resize(QSize(1000, 550), ratio);
        surface.setScaleMode(7);
        // 96 device-independent pixels to the inch, whatever the pixel ratio.
        QCOMPARE(surface.scaleWidth(), static_cast<float>(1000 * 2.54 / 96));
        QCOMPARE(surface.scaleHeight(), static_cast<float>(550 * 2.54 / 96));
    }
    // Setting the width turns it into a user scale that stays across resizes.
    surface.setScaleWidth(500.0F);
    QCOMPARE(surface.scaleMode(), std::int16_t{0});
    surface.resize(QSize(800, 600), 1.0);
    QCOMPARE(surface.scaleWidth(), 500.0F);
    QCOMPARE(surface.scaleHeight(), static_cast<float>(550 * 2.54 / 96));
}

void TestSurface::resizeKeepsPictureTopLeft() {
    DrawingSurface surface(kForeground, kBackground);
    plotScale(surface);
    surface.setDrawWidth(1);
    surface.pset(5.0F, 5.0F, QBColor(4));     // pixel (10, 10)
    surface.pset(495.0F, 270.0F, QBColor(4)); // pixel (990, 540)
    surface.resize(QSize(1200, 700), 1.0);
    QCOMPARE(surface.image().size(), QSize(1200, 700));
    QCOMPARE(surface.image().pixel(10, 10), kRed);
    QCOMPARE(surface.image().pixel(990, 540), kRed);
    QCOMPARE(surface.image().pixel(1100, 650), kBackground.rgb());
    QCOMPARE(census(surface.image(), kRed).count, 2);

    surface.resize(QSize(500, 300), 1.0);
    QCOMPARE(surface.image().pixel(10, 10), kRed);
    QCOMPARE(census(surface.image(), kRed).count, 1);
}

void TestSurface::invalidSettingsRaise_data() {
    QTest::addColumn<int>("which");
    QTest::newRow("ScaleWidth 0") << 0;
    QTest::newRow("ScaleHeight 0") << 1;
    QTest::newRow("ScaleWidth infinite") << 2;
    QTest::newRow("DrawWidth 0") << 3;
}

void TestSurface::invalidSettingsRaise() {
    QFETCH(int, which);
    DrawingSurface surface(kForeground, kBackground);
    plotScale(surface);
    const auto attempt = [&] {
        switch (which) {
        case 0:
            surface.setScaleWidth(0.0F);
            break;
        case 1:
            surface.setScaleHeight(0.0F);
            break;
        case 2:
            surface.setScaleWidth(std::numeric_limits<float>::infinity());
            break;
        default:
            surface.setDrawWidth(0);
            break;
        }
    };
    QVERIFY_THROWS_EXCEPTION(RunTimeError, attempt());
    // The earlier settings stay.
    QCOMPARE(surface.scaleWidth(), 500.0F);
    QCOMPARE(surface.scaleHeight(), 275.0F);
    QCOMPARE(surface.drawWidth(), std::int16_t{1});
}

void TestSurface::drawingAsksForRepaintOncePerPaint() {
    DrawingSurface surface(kForeground, kBackground);
    plotScale(surface);
    surface.markPainted();
    int requests = 0;
    surface.setChangeListener([&] { ++requests; });
    surface.pset(10.0F, 10.0F);
    surface.line(0.0F, 0.0F, 100.0F, 100.0F);
    QCOMPARE(requests, 1);
    surface.markPainted();
    surface.cls();
    QCOMPARE(requests, 2);
}

void TestSurface::windowUsesSystemColours() {
    SurfaceWindow window;
    window.resize(200, 100);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    const QPalette palette = window.palette();
    QCOMPARE(window.surface().foreground(), palette.color(QPalette::ButtonText));
    QCOMPARE(window.surface().background(), palette.color(QPalette::Button));
    QCOMPARE(window.surface().image().size(), QSize(200, 100) * window.devicePixelRatioF());

    auto& surface = window.surface();
    surface.setScaleMode(0);
    surface.setScaleWidth(200.0F);
    surface.setScaleHeight(100.0F);
    surface.line(0.0F, 50.0F, 200.0F, 50.0F);
    surface.cls();
    surface.pset(20.0F, 20.0F);
    const QImage& image = surface.image();
    QCOMPARE(image.pixel(at(image, 20, 20)), palette.color(QPalette::ButtonText).rgb());
    QCOMPARE(image.pixel(at(image, 100, 50)), palette.color(QPalette::Button).rgb());
}

void TestSurface::windowShowsAndKeepsItsPicture() {
    SurfaceWindow window;
    window.resize(300, 200);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    auto& surface = window.surface();
    surface.setScaleMode(0);
    surface.setScaleWidth(300.0F);
    surface.setScaleHeight(200.0F);
    surface.setDrawWidth(3);
    surface.line(10.0F, 100.0F, 290.0F, 100.0F, QBColor(4));

    QImage shown = window.grab().toImage();
    QCOMPARE(shown.pixel(at(shown, 150, 100)), kRed);
    QCOMPARE(shown.pixel(at(shown, 150, 150)), window.palette().color(QPalette::Button).rgb());

    window.hide();
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    shown = window.grab().toImage();
    QCOMPARE(shown.pixel(at(shown, 150, 100)), kRed);
    QCOMPARE(shown.pixel(at(shown, 20, 100)), kRed);

    surface.cls();
    shown = window.grab().toImage();
    QCOMPARE(shown.pixel(at(shown, 150, 100)), window.palette().color(QPalette::Button).rgb());
}

void TestSurface::drawingStaysUnderControls() {
    SurfaceWindow window;
    window.resize(300, 200);
    auto* edit = new QLineEdit(&window);
    edit->setGeometry(100, 80, 100, 40);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    auto& surface = window.surface();
    surface.setScaleMode(0);
    surface.setScaleWidth(300.0F);
    surface.setScaleHeight(200.0F);
    surface.line(0.0F, 100.0F, 300.0F, 100.0F, QBColor(4));
    surface.cls();
    surface.line(0.0F, 100.0F, 300.0F, 100.0F, QBColor(4));

    const QImage shown = window.grab().toImage();
    QCOMPARE(shown.pixel(at(shown, 50, 100)), kRed);
    QVERIFY(shown.pixel(at(shown, 150, 100)) != kRed);
    QVERIFY(edit->isVisible());
}

QTEST_MAIN(TestSurface)
#include "test_surface.moc"
