// SPDX-License-Identifier: GPL-3.0-or-later
// The program's arithmetic without a window: 16-bit rounding and overflow, and
// numbers as text. The curve construction itself (and with it single precision,
// the intervals that round to each integer, Empty and text values, the curve
// colours) is pinned by the recorded digests, its worked example by the picture
// test, the calibration figure by the windows test.
// Then the drawing surface read back from its pixels: the plot window's
// mapping, clipping and clearing, lines that lie nowhere, and dot sizes.

#include "geometry/plot_frame.h"
#include "runtime/checked_numbers.h"
#include "runtime/locale_numbers.h"
#include "runtime/run_time_error.h"
#include "surface/drawing_surface.h"

#include <QtTest>

#include <cmath>

using namespace lumetra::geometry;
using namespace lumetra::runtime;
using lumetra::surface::DrawingSurface;
using Error = std::optional<ErrorCode>;
using namespace Qt::StringLiterals;

template <typename Call> Error raised(Call&& call) try {
    call();
    return std::nullopt;
} catch (const RunTimeError& error) {
    return error.code();
}

const QColor kForeground(0x10, 0x20, 0x30), kBackground(0xE0, 0xE0, 0xD0);
const QRgb kRed = 0xFF000000U | QBColor(4);

// The pixels of `image` that hold `colour`, and their bounding box.
std::pair<int, QRect> census(const QImage& image, QRgb colour) {
    std::pair<int, QRect> found{0, QRect()};
    for (int i = 0; i < image.width() * image.height(); ++i) {
        const QPoint p(i % image.width(), i / image.width());
        found = image.pixel(p) != colour ? found
                                         : std::pair(found.first + 1, found.second | QRect(p, p));
    }
    return found;
}

// The plot window's frame with the factor 0.55: on a 1000 x 550 client area
// that is 500 units across, 275 down, two pixels per unit both ways.
DrawingSurface plotSurface(qreal ratio = 1.0) {
    DrawingSurface surface(kForeground, kBackground);
    surface.resize(QSize(1000, 550), ratio);
    PlotVariables vars;
    setUpPlotFrame(surface, vars, Value(0.55), Value(1.0));
    return surface;
}

// A dot of pen width `drawWidth` at a device pixel ratio: its box and its pixels.
struct DotSize {
    qreal ratio;
    std::int16_t drawWidth;
    QRect box;
    int pixels;
};

class TestCore : public QObject {
    Q_OBJECT

private slots:
    void toInt16TiesToEven_data() {
        QTest::addColumn<double>("value");
        QTest::addColumn<int>("rounded");
        const std::pair<double, int> rows[] = {
            {2.5, 2}, {3.5, 4}, {-2.5, -2}, {2.500000000000001, 3}, {-32768.5, -32768}};
        for (const auto& [value, rounded] : rows) {
            QTest::addRow("%.17g", value) << value << rounded;
        }
    }
    void toInt16TiesToEven() {
        QFETCH(double, value);
        QFETCH(int, rounded);
        QCOMPARE(toInt16(value), rounded);
    }

    void overflow_data() {
        QTest::addColumn<double>("value");
        QTest::addColumn<bool>("singleOverflows");
        const std::pair<double, bool> rows[] = {
            {1e39, true}, {-1e39, true}, {std::nan(""), true}, {32767.5, false}, {-32769.0, false}};
        for (const auto& [value, single] : rows) {
            QTest::addRow("%g", value) << value << single;
        }
    }
    void overflow() {
        QFETCH(double, value);
        QFETCH(bool, singleOverflows);
        QCOMPARE(raised([&] { toInt16(value); }), ErrorCode::Overflow);
        QCOMPARE(raised([&] { toSingle(value); }),
                 singleOverflows ? Error(ErrorCode::Overflow) : Error());
    }

    // A number as a text box shows it: no group separators, however large.
    // The row's name is the locale and the text shown.
    void numbersAsShown_data() {
        QTest::addColumn<double>("value");
        QTest::newRow("it 1500") << 1500.0;
        QTest::newRow("it 146367,36") << 146367.36;
        QTest::newRow("en 1234567.5") << 1234567.5;
    }
    void numbersAsShown() {
        QFETCH(double, value);
        const QStringList row = QString::fromUtf8(QTest::currentDataTag()).split(u' ');
        QCOMPARE(formatLocaleNumber(value, QLocale(row[0])), row[1]);
    }

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
        QTest::addColumn<DotSize>("dot");
        QTest::newRow("width 1") << DotSize{1.0, 1, {200, 100, 1, 1}, 1};
        QTest::newRow("width 3") << DotSize{1.0, 3, {199, 99, 3, 3}, 9};
        QTest::newRow("width 1 at 2x") << DotSize{2.0, 1, {399, 199, 2, 2}, 4};
        QTest::newRow("width 3 at 2x") << DotSize{2.0, 3, {397, 197, 6, 6}, 32};
    }
    void dotSizes() {
        QFETCH(DotSize, dot);
        const auto [ratio, drawWidth, box, pixels] = dot;
        DrawingSurface surface = plotSurface(ratio);
        surface.setDrawWidth(drawWidth);
        surface.pset(100.0F, 50.0F, QBColor(4));
        QCOMPARE(census(surface.image(), kRed), std::make_pair(pixels, box));
        // A resize and a move to a screen of twice the ratio keep the picture
        // where it was in the window.
        surface.resize(QSize(1200, 700), 2 * ratio);
        QCOMPARE(census(surface.image(), kRed).second, QRect(box.topLeft() * 2, box.size() * 2));
    }
};

QTEST_MAIN(TestCore)
#include "test_core.moc"
