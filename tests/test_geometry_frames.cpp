// The calibration window's scale, axes, circle and gate; the plot window's scale and axes.

#include "geometry/calibration_figure.h"
#include "geometry/plot_frame.h"
#include "runtime/checked_numbers.h"
#include "support/recording_target.h"

#include <QtTest>

#include <array>
#include <cmath>
#include <tuple>

using namespace lumetra::geometry;
using namespace lumetra::runtime;
using lumetra::testing::RecordingTarget;

// The only drawing: a vertical axis through cx, then a horizontal one through
// cy, across the whole scale in the foreground colour.
void verifyAxes(const RecordingTarget& target, float cx, float cy, std::int16_t pen) {
    const auto& ops = target.ops();
    QCOMPARE(ops.size(), std::size_t{2});
    const std::array<float, 4> expected[] = {{cx, 0.0F, cx, target.scaleHeight()},
                                             {0.0F, cy, target.scaleWidth(), cy}};
    for (std::size_t i = 0; i < 2; ++i) {
        QVERIFY(ops[i].kind == RecordingTarget::Kind::Line && !ops[i].colour);
        QCOMPARE(ops[i].drawWidth, pen);
        QVERIFY((std::array{ops[i].x1, ops[i].y1, ops[i].x2, ops[i].y2}) == expected[i]);
    }
}

class TestGeometryFrames : public QObject {
    Q_OBJECT

private slots:
    void calibrationFigure() {
        using Row = std::pair<double, double>; // Incr, ScaleHeight to two decimals
        for (const auto& [incr, height] :
             {Row{0.51, 74647.35}, Row{0.55, 80502.05}, Row{0.65, 95138.78}}) {
            RecordingTarget target(800, 520);
            target.setDrawWidth(3); // left by earlier drawing: the set-up sets its own
            CalibrationVariables vars{.P1 = degreesToRadiansFactor(), .Incr = incr};
            setUpScaleAndAxes(target, vars);
            QVERIFY(target.scaleWidth() == 146367.359375F && std::abs(vars.CX - 93183.68) < 0.005);
            QVERIFY(std::abs(target.scaleHeight() - height) < 0.005);
            QVERIFY(vars.CY == target.scaleHeight() / 2);
            verifyAxes(target, vars.CX, vars.CY, 1);
            target.clear();
            QCOMPARE(plotCircle(target, vars), 3600);
            const auto points = target.points();
            QCOMPARE(points.size(), std::size_t{3600});
            QVERIFY(points[0].x1 == static_cast<float>(vars.CX + 36367.36328125));
            QVERIFY(points[0].y1 == vars.CY && points[0].colour == QBColor(4));
            // y grows downward: clockwise on the screen, the bottom at 90 degrees.
            QVERIFY(points[1].y1 > vars.CY && points[1].x1 < points[0].x1);
            QVERIFY(points[900].y1 > vars.CY + 36000 && points[2700].y1 < vars.CY - 36000);
        }
    }

    void gateOpensAbove053() {
        QVERIFY(!passesGate(Value()) && !passesGate(Value(0.51)) && !passesGate(Value(0.53)));
        QVERIFY(!passesGate(Value(scrollFactor(1))) && passesGate(Value(0.55)));
    }

    void plotFrame() {
        using Frame = std::tuple<double, float, float>; // Incr, ScaleHeight, CY
        for (const auto& [incr, height, cy] : {Frame{0.55, 275, 137.5}, Frame{0.51, 255, 127.5}}) {
            RecordingTarget target(1000, 550);
            target.setDrawWidth(3); // as a curve leaves it
            PlotVariables vars;
            setUpPlotFrame(target, vars, Value(incr), Value(364.0));
            QVERIFY(target.scaleWidth() == 500.0F && target.scaleHeight() == height);
            QVERIFY(vars.CX == 260.0F && vars.CY == cy && vars.Ve == Value(364.0));
            verifyAxes(target, 260.0F, cy, 2);
        }
    }
};

QTEST_APPLESS_MAIN(TestGeometryFrames)
#include "test_geometry_frames.moc"
