// The plot window's set-up at activation: the degrees-to-radians factor, the
// copy of the increment, a scale 500 units across and 500 x Incr down, the
// origin at (260, half the height) and the two axes.

#include "geometry/plot_frame.h"
#include "runtime/checked_numbers.h"
#include "support/recording_target.h"

#include <QStringList>
#include <QtTest>

using lumetra::geometry::PlotVariables;
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

// Also records the scale calls in order, to see what the set-up reads back.
class ScaleLog : public RecordingTarget {
public:
    ScaleLog() : RecordingTarget(1000, 550) {}
    void setScaleMode(std::int16_t mode) override {
        calls << QStringLiteral("mode %1").arg(mode);
        RecordingTarget::setScaleMode(mode);
    }
    void setScaleWidth(float width) override {
        calls << QStringLiteral("width %1").arg(static_cast<double>(width));
        RecordingTarget::setScaleWidth(width);
    }
    void setScaleHeight(float height) override {
        calls << QStringLiteral("height %1").arg(static_cast<double>(height));
        RecordingTarget::setScaleHeight(height);
    }
    QStringList calls;
};

} // namespace

class TestPlotFrame : public QObject {
    Q_OBJECT

private slots:
    void scaleOriginAndAxes_data();
    void scaleOriginAndAxes();
    void factorAndIncrement_data();
    void factorAndIncrement();
};

void TestPlotFrame::scaleOriginAndAxes_data() {
    QTest::addColumn<double>("incr");
    QTest::addColumn<float>("height");
    QTest::addColumn<float>("cy");
    QTest::newRow("0.55") << 0.55 << 275.0F << 137.5F;
    QTest::newRow("0.51") << 0.51 << 255.0F << 127.5F;
    QTest::newRow("0.5700000000000001") << 0.5700000000000001 << 285.0F << 142.5F;
    QTest::newRow("1.11") << 1.1099999999999999 << 555.0F << 277.5F;
}

void TestPlotFrame::scaleOriginAndAxes() {
    QFETCH(double, incr);
    QFETCH(float, height);
    QFETCH(float, cy);
    ScaleLog target;
    target.setDrawWidth(3); // as a curve leaves it
    PlotVariables vars;
    lumetra::geometry::setUpPlotFrame(target, vars, Value(incr), Value(1.0));

    // Centimetres first, then the user scale, the height from the width read back.
    QCOMPARE(target.calls, QStringList({QStringLiteral("mode 7"), QStringLiteral("width 500"),
                                        QStringLiteral("height %1").arg(height)}));
    COMPARE_EXACT(target.scaleWidth(), 500.0F);
    COMPARE_EXACT(target.scaleHeight(), height);
    COMPARE_EXACT(vars.CX, 260.0F);
    COMPARE_EXACT(vars.CY, cy);

    const auto& ops = target.ops();
    QCOMPARE(ops.size(), std::size_t{2});
    for (const auto& op : ops) {
        QCOMPARE(op.kind, RecordingTarget::Kind::Line);
        QVERIFY(!op.colour.has_value()); // the foreground colour
        QCOMPARE(op.drawWidth, std::int16_t{2});
    }
    const auto& vertical = ops[0];
    COMPARE_EXACT(vertical.x1, 260.0F);
    COMPARE_EXACT(vertical.y1, 0.0F);
    COMPARE_EXACT(vertical.x2, 260.0F);
    COMPARE_EXACT(vertical.y2, height);
    const auto& horizontal = ops[1];
    COMPARE_EXACT(horizontal.x1, 0.0F);
    COMPARE_EXACT(horizontal.y1, cy);
    COMPARE_EXACT(horizontal.x2, 500.0F);
    COMPARE_EXACT(horizontal.y2, cy);
    QCOMPARE(target.drawWidth(), std::int16_t{2});
}

void TestPlotFrame::factorAndIncrement_data() {
    QTest::addColumn<Value>("VALe");
    QTest::newRow("double 1") << Value(1.0);
    QTest::newRow("double 364") << Value(364.0);
    QTest::newRow("rejected entry") << Value("");
    QTest::newRow("Empty") << Value();
}

void TestPlotFrame::factorAndIncrement() {
    QFETCH(Value, VALe);
    RecordingTarget target;
    PlotVariables vars;
    vars.Ve = Value(99.0); // what an earlier activation left
    lumetra::geometry::setUpPlotFrame(target, vars, Value(0.55), VALe);
    COMPARE_EXACT(static_cast<double>(vars.P1), 0.01745329238474369);
    // Copied as it is, unchecked: the curve construction meets a rejected entry.
    QVERIFY(vars.Ve == VALe);
    QCOMPARE(vars.Ve.isString(), VALe.isString());
    QCOMPARE(vars.Ve.isEmpty(), VALe.isEmpty());
    QCOMPARE(target.ops().size(), std::size_t{2});
}

QTEST_APPLESS_MAIN(TestPlotFrame)
#include "test_plot_frame.moc"
