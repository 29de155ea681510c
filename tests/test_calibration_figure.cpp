// The calibration window's scale, axes and test circle, recorded on a window
// of 800 x 520 pixels (the worked example of the calibration window), and the
// factor that the scroll bar and the gate work with.

#include "geometry/calibration_figure.h"
#include "runtime/checked_numbers.h"
#include "runtime/palette.h"
#include "support/recording_target.h"
#include "surface/scale.h"

#include <QtTest>

#include <algorithm>
#include <cmath>

using lumetra::geometry::CalibrationVariables;
using lumetra::runtime::QBColor;
using lumetra::runtime::Value;
using lumetra::testing::RecordingTarget;

Q_DECLARE_METATYPE(lumetra::runtime::Value)

namespace {

// QCOMPARE on floating point is fuzzy; these values must match to the bit.
#define COMPARE_EXACT(actual, expected)                                                            \
    QVERIFY2((actual) == (expected),                                                               \
             qPrintable(QStringLiteral("%1 != %2")                                                 \
                            .arg(static_cast<double>(actual), 0, 'g', 17)                          \
                            .arg(static_cast<double>(expected), 0, 'g', 17)))

constexpr int kWidthPixels = 800;
constexpr int kHeightPixels = 520;
constexpr double kRadius = 36367.36328125;
constexpr float kCX = 93183.6796875F;

// A window as the calibration window's activation leaves it, before the circle.
struct Calibrated {
    explicit Calibrated(double incr) : target(kWidthPixels, kHeightPixels) {
        vars.P1 = lumetra::runtime::degreesToRadiansFactor();
        vars.Incr = incr;
        // A pen left wider by earlier drawing: the set-up must set its own.
        target.setDrawWidth(3);
        lumetra::geometry::setUpScaleAndAxes(target, vars);
    }
    RecordingTarget target;
    CalibrationVariables vars;
};

double pixelX(const RecordingTarget& target, float x) {
    return lumetra::surface::userToPixelExact(x, target.scaleWidth(), kWidthPixels);
}

double pixelY(const RecordingTarget& target, float y) {
    return lumetra::surface::userToPixelExact(y, target.scaleHeight(), kHeightPixels);
}

} // namespace

class TestCalibrationFigure : public QObject {
    Q_OBJECT

private slots:
    void scaleAndCentre_data();
    void scaleAndCentre();
    void axesSpanTheWholeArea();
    void circleHas3600RedPointsClockwise();
    void circleShapeOnTheExampleWindow_data();
    void circleShapeOnTheExampleWindow();
    void scrollFactor_data();
    void scrollFactor();
    void gate_data();
    void gate();
};

void TestCalibrationFigure::scaleAndCentre_data() {
    QTest::addColumn<double>("incr");
    QTest::addColumn<double>("scaleHeight"); // to two decimals
    QTest::addColumn<double>("cy");          // to two decimals
    QTest::newRow("0.51") << 0.51 << 74647.35 << 37323.68;
    QTest::newRow("0.55") << 0.55 << 80502.05 << 40251.02;
    QTest::newRow("0.65") << 0.65 << 95138.78 << 47569.39;
}

void TestCalibrationFigure::scaleAndCentre() {
    QFETCH(double, incr);
    QFETCH(double, scaleHeight);
    QFETCH(double, cy);
    Calibrated window(incr);
    COMPARE_EXACT(window.target.scaleWidth(), 146367.359375F);
    QCOMPARE(window.target.scaleMode(), std::int16_t{0});
    QVERIFY2(std::abs(window.target.scaleHeight() - scaleHeight) <= 0.005,
             qPrintable(QString::number(window.target.scaleHeight(), 'f', 6)));
    QVERIFY2(std::abs(window.vars.CY - cy) <= 0.005,
             qPrintable(QString::number(window.vars.CY, 'f', 6)));
    // The height is the single nearest to width x factor; CY exactly half of it.
    COMPARE_EXACT(window.target.scaleHeight(), static_cast<float>(146367.359375 * incr));
    COMPARE_EXACT(window.vars.CY, window.target.scaleHeight() / 2.0F);
    COMPARE_EXACT(window.vars.CX, kCX);
}

void TestCalibrationFigure::axesSpanTheWholeArea() {
    Calibrated window(0.55);
    const auto& ops = window.target.ops();
    QCOMPARE(ops.size(), std::size_t{2});
    for (const auto& op : ops) {
        QCOMPARE(op.kind, RecordingTarget::Kind::Line);
        QVERIFY(!op.colour.has_value()); // the foreground colour
        QCOMPARE(op.drawWidth, std::int16_t{1});
    }
    const float height = window.target.scaleHeight();
    const float width = window.target.scaleWidth();
    const auto& vertical = ops[0];
    COMPARE_EXACT(vertical.x1, kCX);
    COMPARE_EXACT(vertical.y1, 0.0F);
    COMPARE_EXACT(vertical.x2, kCX);
    COMPARE_EXACT(vertical.y2, height);
    const auto& horizontal = ops[1];
    COMPARE_EXACT(horizontal.x1, 0.0F);
    COMPARE_EXACT(horizontal.y1, window.vars.CY);
    COMPARE_EXACT(horizontal.x2, width);
    COMPARE_EXACT(horizontal.y2, window.vars.CY);
    // The vertical axis stands at about 63.7 % of the width, x = 509 px of 800.
    QCOMPARE(qRound(pixelX(window.target, vertical.x1)), 509);
}

void TestCalibrationFigure::circleHas3600RedPointsClockwise() {
    Calibrated window(0.51);
    window.target.clear();
    window.target.setDrawWidth(2);
    const int count = lumetra::geometry::plotCircle(window.target, window.vars);
    QCOMPARE(count, 3600);
    const auto& ops = window.target.ops();
    QCOMPARE(ops.size(), std::size_t{3600});
    for (const auto& op : ops) {
        QCOMPARE(op.kind, RecordingTarget::Kind::Point);
        QCOMPARE(op.colour, std::optional(QBColor(4)));
        QCOMPARE(op.drawWidth, std::int16_t{1});
    }
    const float cx = window.vars.CX;
    const float cy = window.vars.CY;
    COMPARE_EXACT(ops.front().x1, static_cast<float>(kCX + kRadius));
    COMPARE_EXACT(ops.front().y1, cy);
    // y grows downward: the angle grows clockwise on the screen.
    QVERIFY(ops[1].y1 > cy);
    QVERIFY(ops[1].x1 < ops[0].x1);
    QVERIFY(ops[900].y1 > cy + 0.99 * kRadius); // 90 degrees: the bottom
    QVERIFY(ops[1800].x1 < cx - 0.99 * kRadius);
    QVERIFY(ops[2700].y1 < cy - 0.99 * kRadius); // 270 degrees: the top
    // The last point is at about 359.9 degrees, just above the first: the
    // 360-degree point is not plotted.
    const auto& last = ops.back();
    QVERIFY(last.y1 < cy);
    const double lastAngle = std::atan2(cy - last.y1, last.x1 - cx) * 180.0 / M_PI;
    QVERIFY2(std::abs(lastAngle - 0.1) < 1e-3, qPrintable(QString::number(lastAngle)));
    QVERIFY(ops[2].y1 > ops[1].y1);
}

void TestCalibrationFigure::circleShapeOnTheExampleWindow_data() {
    QTest::addColumn<double>("incr");
    QTest::addColumn<double>("verticalRadius"); // pixels, to one decimal
    QTest::addColumn<double>("ratio");          // height / width of the figure
    QTest::newRow("0.51") << 0.51 << 253.3 << 1.27;
    QTest::newRow("0.55") << 0.55 << 234.9 << 1.18;
    QTest::newRow("0.65") << 0.65 << 198.8 << 1.00;
}

void TestCalibrationFigure::circleShapeOnTheExampleWindow() {
    QFETCH(double, incr);
    QFETCH(double, verticalRadius);
    QFETCH(double, ratio);
    Calibrated window(incr);
    window.target.clear();
    lumetra::geometry::plotCircle(window.target, window.vars);
    const auto points = window.target.points();
    double left = 1e9;
    double right = -1e9;
    double top = 1e9;
    double bottom = -1e9;
    for (const auto& p : points) {
        left = std::min(left, pixelX(window.target, p.x1));
        right = std::max(right, pixelX(window.target, p.x1));
        top = std::min(top, pixelY(window.target, p.y1));
        bottom = std::max(bottom, pixelY(window.target, p.y1));
    }
    const double horizontal = (right - left) / 2.0;
    const double vertical = (bottom - top) / 2.0;
    QVERIFY2(std::abs(horizontal - 198.8) < 0.05, qPrintable(QString::number(horizontal)));
    QVERIFY2(std::abs(vertical - verticalRadius) < 0.05, qPrintable(QString::number(vertical)));
    QVERIFY2(std::abs(vertical / horizontal - ratio) < 0.005,
             qPrintable(QString::number(vertical / horizontal)));
    // Same left and right extremes whatever the factor: x = 311 to 708 px.
    QCOMPARE(qRound(left), 311);
    QCOMPARE(qRound(right), 708);
    if (incr == 0.51) {
        QVERIFY2(std::abs(top - 6.7) < 0.05, qPrintable(QString::number(top)));
    }
}

void TestCalibrationFigure::scrollFactor_data() {
    QTest::addColumn<int>("value");
    QTest::addColumn<double>("factor");
    QTest::newRow("1") << 1 << 0.53;
    QTest::newRow("2") << 2 << 0.55;
    QTest::newRow("3") << 3 << 0.5700000000000001;
    QTest::newRow("7") << 7 << 0.65;
    QTest::newRow("30") << 30 << 1.1099999999999999;
}

void TestCalibrationFigure::scrollFactor() {
    QFETCH(int, value);
    QFETCH(double, factor);
    COMPARE_EXACT(lumetra::geometry::scrollFactor(static_cast<std::int16_t>(value)), factor);
}

void TestCalibrationFigure::gate_data() {
    QTest::addColumn<Value>("incr");
    QTest::addColumn<bool>("passes");
    QTest::newRow("before the first activation") << Value() << false;
    QTest::newRow("activation 0.51") << Value(0.51) << false;
    QTest::newRow("scroll value 1") << Value(lumetra::geometry::scrollFactor(1)) << false;
    QTest::newRow("0.53") << Value(0.53) << false;
    QTest::newRow("scroll value 2") << Value(lumetra::geometry::scrollFactor(2)) << true;
    QTest::newRow("scroll value 30") << Value(lumetra::geometry::scrollFactor(30)) << true;
}

void TestCalibrationFigure::gate() {
    QFETCH(Value, incr);
    QFETCH(bool, passes);
    QCOMPARE(lumetra::geometry::passesGate(incr), passes);
}

QTEST_APPLESS_MAIN(TestCalibrationFigure)
#include "test_calibration_figure.moc"
