// The curve construction, checked against its worked example (segment 86
// long at 55 degrees, increment 1, origin (260, 137.5)) and against the rules
// for chords, colours, the accepted range and the run-time errors.

#include "geometry/calcola.h"
#include "runtime/checked_numbers.h"
#include "runtime/palette.h"
#include "runtime/run_time_error.h"
#include "support/recording_target.h"

#include <QtTest>

#include <algorithm>
#include <cmath>
#include <optional>
#include <vector>

using lumetra::geometry::CALCOLA;
using lumetra::geometry::Chords;
using lumetra::geometry::curveColour;
using lumetra::geometry::PlotVariables;
using lumetra::runtime::ErrorCode;
using lumetra::runtime::QBColor;
using lumetra::runtime::Rgb;
using lumetra::runtime::RunTimeError;
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

// The worked example's values are given to four decimals.
constexpr double kTableTolerance = 5e-5;

#define COMPARE_TABLE(actual, expected, tolerance)                                                 \
    QVERIFY2(std::abs(static_cast<double>(actual) - (expected)) <= (tolerance),                    \
             qPrintable(QStringLiteral("%1 is not %2")                                             \
                            .arg(static_cast<double>(actual), 0, 'f', 7)                           \
                            .arg(expected, 0, 'f', 4)))

using Op = RecordingTarget::Op;
using Kind = RecordingTarget::Kind;

// Records with every point the pass variables it was drawn with: A2, X1 and
// Y1 are written before the pass draws.
class PassRecorder : public RecordingTarget {
public:
    struct Snapshot {
        std::int16_t A2;
        double X1;
        double Y1;
    };

    explicit PassRecorder(const PlotVariables& vars) : vars_(&vars) {}

    void pset(float x, float y) override {
        snapshot();
        RecordingTarget::pset(x, y);
    }
    void pset(float x, float y, Rgb colour) override {
        snapshot();
        RecordingTarget::pset(x, y, colour);
    }

    std::vector<Snapshot> snapshots; // one per point, in drawing order

private:
    void snapshot() { snapshots.push_back({vars_->A2, vars_->X1, vars_->Y1}); }

    const PlotVariables* vars_;
};

// The plot window after its activation on a surface 500 x 275, with the
// parameter window's defaults and the colour counter as at start-up.
struct Plot {
    Plot() {
        vars.P1 = lumetra::runtime::degreesToRadiansFactor();
        vars.CX = 260.0F;
        vars.CY = 137.5F;
    }

    void run(Chords chords = Chords::Off) {
        CALCOLA(target, vars, {VALa, VALb, VALe, Miocolor}, chords);
    }

    // The error that the call raised, or nothing.
    std::optional<ErrorCode> runCatching(Chords chords = Chords::Off) {
        try {
            run(chords);
        } catch (const RunTimeError& error) {
            return error.code();
        }
        return std::nullopt;
    }

    Value VALa{86.0};
    Value VALb{55.0};
    Value VALe{1.0};
    std::int16_t Miocolor = 0;
    PlotVariables vars;
    PassRecorder target{vars};
};

bool isFirstFamily(const Op& op) {
    return op.kind == Kind::Point && !op.colour;
}
bool isSecondFamily(const Op& op) {
    return op.kind == Kind::Point && op.colour;
}

std::vector<Op> select(const std::vector<Op>& ops, bool (*keep)(const Op&)) {
    std::vector<Op> result;
    std::copy_if(ops.begin(), ops.end(), std::back_inserter(result), keep);
    return result;
}

// The palette colours of the second-family points of a list of operations.
std::vector<Rgb> secondFamilyColours(const std::vector<Op>& ops) {
    std::vector<Rgb> colours;
    for (const Op& op : select(ops, isSecondFamily)) {
        colours.push_back(*op.colour);
    }
    return colours;
}

// Where, among `ops`, each line lies: the number of points drawn before it.
std::vector<int> pointsBeforeEachLine(const std::vector<Op>& ops) {
    std::vector<int> result;
    int points = 0;
    for (const Op& op : ops) {
        if (op.kind == Kind::Point) {
            ++points;
        } else if (op.kind == Kind::Line) {
            result.push_back(points);
        }
    }
    return result;
}

} // namespace

class TestCalcola : public QObject {
    Q_OBJECT

private slots:
    void workedExampleInclination();
    void workedExamplePasses_data();
    void workedExamplePasses();
    void workedExampleDrawsEveryPass();
    void secondAngleFollowsTheAccumulatedCounter_data();
    void secondAngleFollowsTheAccumulatedCounter();

    void chordsEverySixteenthPass();
    void chordCountRestartsWithEveryCall();

    void colourSequenceOverFifteenCalls();
    void wrapDuringAChordCall();
    void counterLeftAt14WithoutSecondFamily_data();
    void counterLeftAt14WithoutSecondFamily();
    void curveColourStaysInThePalette();

    void incrementZeroPutsSecondFamilyOnTheXAxis();
    void inclinationZeroMakesTheFamiliesCoincide();
    void longSegmentDrawsOnlyTheFirst97Passes_data();
    void longSegmentDrawsOnlyTheFirst97Passes();
    void rangeLimitIsInclusive();
    void checkBoxShapes_data();
    void checkBoxShapes();

    void incrementOverflowKeepsEarlierPasses();
    void largestIncrementRunsThrough();
    void colourCounterOverflowDrawsNothing();
    void rejectedEntriesAreTypeMismatches();
};

void TestCalcola::workedExampleInclination() {
    Plot plot;
    plot.run();
    QVERIFY2(std::abs(plot.vars.BETA1 - 0.959931081160903) < 5e-16,
             qPrintable(QString::number(plot.vars.BETA1, 'g', 17)));
    QVERIFY(plot.vars.OA == Value(86.0));
    QVERIFY(plot.vars.Ve == Value(1.0));
}

void TestCalcola::workedExamplePasses_data() {
    QTest::addColumn<int>("pass");
    QTest::addColumn<int>("A2");
    QTest::addColumn<double>("X1");
    QTest::addColumn<double>("Y1");
    QTest::addColumn<double>("firstX");
    QTest::addColumn<double>("firstY");
    QTest::addColumn<double>("XS");
    QTest::addColumn<double>("YS");
    QTest::addColumn<double>("secondX");
    QTest::addColumn<double>("secondY");
    QTest::newRow("1") << 1 << 0 << 0.0 << 0.0 << 260.0 << 137.5 << 0.0 << 0.0 << 260.0 << 137.5;
    QTest::newRow("2") << 2 << 0 << 0.0861 << 0.1230 << 260.0861 << 137.3770 << 0.1501 << 0.0
                       << 260.1501 << 137.5;
    QTest::newRow("3") << 3 << 0 << 0.1722 << 0.2459 << 260.1722 << 137.2541 << 0.3002 << 0.0
                       << 260.3002 << 137.5;
    QTest::newRow("6") << 6 << 0 << 0.4305 << 0.6148 << 260.4305 << 136.8852 << 0.7505 << 0.0
                       << 260.7505 << 137.5;
    QTest::newRow("16") << 16 << 2 << 1.2912 << 1.8441 << 261.2913 << 135.6559 << 2.2500 << 0.0754
                        << 262.2500 << 137.4246;
    QTest::newRow("26") << 26 << 3 << 2.1516 << 3.0729 << 262.1516 << 134.4271 << 3.7465 << 0.1884
                        << 263.7465 << 137.3116;
    QTest::newRow("451") << 451 << 45 << 34.8799 << 49.8136 << 294.8799 << 87.6864 << 47.3320
                         << 38.1796 << 307.3320 << 99.3204;
    QTest::newRow("901") << 901 << 90 << 49.3276 << 70.4471 << 309.3276 << 67.0529 << 49.3276
                         << 70.4471 << 309.3276 << 67.0529;
}

void TestCalcola::workedExamplePasses() {
    QFETCH(int, pass);
    QFETCH(int, A2);
    QFETCH(double, X1);
    QFETCH(double, Y1);
    QFETCH(double, firstX);
    QFETCH(double, firstY);
    QFETCH(double, XS);
    QFETCH(double, YS);
    QFETCH(double, secondX);
    QFETCH(double, secondY);
    Plot plot;
    plot.run();
    // Every pass draws both points: pass n is points 2n - 2 and 2n - 1.
    const auto& ops = plot.target.ops();
    QCOMPARE(ops.size(), std::size_t{1802});
    const auto index = static_cast<std::size_t>(2 * pass - 2);
    const Op& first = ops[index];
    const Op& second = ops[index + 1];
    QVERIFY(isFirstFamily(first));
    QVERIFY(isSecondFamily(second));

    const auto& snapshot = plot.target.snapshots[index];
    QCOMPARE(int{snapshot.A2}, A2);
    QCOMPARE(int{plot.target.snapshots[index + 1].A2}, A2);
    COMPARE_TABLE(snapshot.X1, X1, kTableTolerance);
    COMPARE_TABLE(snapshot.Y1, Y1, kTableTolerance);
    COMPARE_TABLE(first.x1, firstX, kTableTolerance);
    COMPARE_TABLE(first.y1, firstY, kTableTolerance);
    COMPARE_TABLE(second.x1, secondX, kTableTolerance);
    COMPARE_TABLE(second.y1, secondY, kTableTolerance);
    // XS and YS reach the surface only as singles: allow their rounding too.
    const double single = std::ldexp(1.0, -15);
    COMPARE_TABLE(second.x1 - 260.0F, XS, kTableTolerance + single);
    COMPARE_TABLE(137.5F - second.y1, YS, kTableTolerance + single);
}

void TestCalcola::workedExampleDrawsEveryPass() {
    Plot plot;
    plot.target.setDrawWidth(2); // as the activation's axes leave it
    plot.run();
    const auto& ops = plot.target.ops();
    QCOMPARE(ops.size(), std::size_t{1802});
    for (std::size_t i = 0; i < ops.size(); ++i) {
        QCOMPARE(ops[i].kind, Kind::Point);
        QCOMPARE(ops[i].drawWidth, std::int16_t{3});
        if (i % 2 == 0) {
            QVERIFY2(!ops[i].colour, "the first family uses the foreground colour");
        } else {
            QCOMPARE(ops[i].colour, std::optional(QBColor(2)));
        }
    }
    QCOMPARE(plot.Miocolor, std::int16_t{1});
    QCOMPARE(plot.target.drawWidth(), std::int16_t{3});
    // The last pass's values stay behind.
    QCOMPARE(plot.vars.A2, std::int16_t{90});
    COMPARE_TABLE(plot.vars.X1, 49.3276, kTableTolerance);
    COMPARE_TABLE(plot.vars.Y1, 70.4471, kTableTolerance);
}

void TestCalcola::secondAngleFollowsTheAccumulatedCounter_data() {
    QTest::addColumn<int>("pass");
    QTest::addColumn<int>("A2");
    QTest::newRow("6: ALFA 0.5 ties to 0") << 6 << 0;
    QTest::newRow("16: ALFA 1.5000000000000002") << 16 << 2;
    QTest::newRow("26: ALFA 2.500000000000001, not 2.5") << 26 << 3;
    QTest::newRow("46: ALFA 4.5 ties to 4") << 46 << 4;
    QTest::newRow("451") << 451 << 45;
    QTest::newRow("901") << 901 << 90;
}

void TestCalcola::secondAngleFollowsTheAccumulatedCounter() {
    QFETCH(int, pass);
    QFETCH(int, A2);
    Plot plot;
    plot.run();
    QCOMPARE(int{plot.target.snapshots.at(static_cast<std::size_t>(2 * pass - 2)).A2}, A2);
}

void TestCalcola::chordsEverySixteenthPass() {
    Plot plot;
    plot.run(Chords::On);
    const auto& ops = plot.target.ops();
    const auto lines = plot.target.lines();
    QCOMPARE(lines.size(), std::size_t{56});
    QCOMPARE(plot.target.points().size(), std::size_t{1802});
    // Each chord follows the second point of passes 16, 32, ..., 896.
    const auto positions = pointsBeforeEachLine(ops);
    for (std::size_t i = 0; i < positions.size(); ++i) {
        QCOMPARE(positions[i], 2 * 16 * static_cast<int>(i + 1));
    }
    std::size_t line = 0;
    for (std::size_t i = 0; i < ops.size(); ++i) {
        if (ops[i].kind != Kind::Line) {
            continue;
        }
        const Op& first = ops[i - 2];
        const Op& second = ops[i - 1];
        QVERIFY(isFirstFamily(first) && isSecondFamily(second));
        COMPARE_EXACT(ops[i].x1, first.x1);
        COMPARE_EXACT(ops[i].y1, first.y1);
        COMPARE_EXACT(ops[i].x2, second.x1);
        COMPARE_EXACT(ops[i].y2, second.y1);
        QCOMPARE(ops[i].drawWidth, std::int16_t{1});
        QCOMPARE(ops[i].colour, std::optional(QBColor(2)));
        ++line;
    }
    QCOMPARE(line, std::size_t{56});
    const Op& chord = lines.front();
    COMPARE_TABLE(chord.x1, 261.2913, kTableTolerance);
    COMPARE_TABLE(chord.y1, 135.6559, kTableTolerance);
    COMPARE_TABLE(chord.x2, 262.2500, kTableTolerance);
    COMPARE_TABLE(chord.y2, 137.4246, kTableTolerance);
    // The points after a chord are wide again; the last drawing was a point.
    QCOMPARE(ops[33].kind, Kind::Point);
    QCOMPARE(ops[33].drawWidth, std::int16_t{3});
    QCOMPARE(plot.target.drawWidth(), std::int16_t{3});
}

void TestCalcola::chordCountRestartsWithEveryCall() {
    Plot plot;
    plot.run(Chords::On);
    const std::size_t firstCall = plot.target.ops().size();
    plot.run(Chords::On);
    const std::vector<Op> second(plot.target.ops().begin() + static_cast<long>(firstCall),
                                 plot.target.ops().end());
    const auto positions = pointsBeforeEachLine(second);
    QCOMPARE(positions.size(), std::size_t{56});
    QCOMPARE(positions.front(), 32);
    for (const Op& op : select(second, [](const Op& op) { return op.kind == Kind::Line; })) {
        QCOMPARE(op.colour, std::optional(QBColor(3)));
    }
    // A plot without the chord command in between changes nothing.
    plot.target.clear();
    plot.run(Chords::Off);
    QVERIFY(plot.target.lines().empty());
    plot.target.clear();
    plot.run(Chords::On);
    QCOMPARE(pointsBeforeEachLine(plot.target.ops()).front(), 32);
}

void TestCalcola::colourSequenceOverFifteenCalls() {
    Plot plot;
    for (int call = 1; call <= 15; ++call) {
        plot.target.clear();
        plot.run();
        const auto colours = secondFamilyColours(plot.target.ops());
        QCOMPARE(colours.size(), std::size_t{901});
        std::vector<Rgb> expected(901, QBColor(call <= 13 ? call + 1 : call - 12));
        if (call == 14) {
            expected.front() = QBColor(15);
        }
        QVERIFY2(colours == expected, qPrintable(QStringLiteral("call %1").arg(call)));
        QCOMPARE(int{plot.Miocolor}, call <= 13 ? call : call - 13);
    }
}

void TestCalcola::wrapDuringAChordCall() {
    Plot plot;
    plot.Miocolor = 13;
    plot.run(Chords::On);
    QCOMPARE(plot.Miocolor, std::int16_t{1});
    for (const Op& op : plot.target.lines()) {
        QCOMPARE(op.colour, std::optional(QBColor(2)));
    }
    QCOMPARE(plot.target.lines().size(), std::size_t{56});
}

void TestCalcola::counterLeftAt14WithoutSecondFamily_data() {
    QTest::addColumn<double>("VALa");
    QTest::addColumn<double>("VALb");
    QTest::addColumn<int>("firstFamilyPoints");
    // Steep and long: the first family stays near O, the second runs off.
    QTest::newRow("first family only") << 1000.0 << 80.0 << -1;
    // Ticked X box and a huge segment: nothing is in range at all.
    QTest::newRow("nothing in range") << 1.0e6 << 55.0 << 0;
}

void TestCalcola::counterLeftAt14WithoutSecondFamily() {
    QFETCH(double, VALa);
    QFETCH(double, VALb);
    QFETCH(int, firstFamilyPoints);
    Plot plot;
    plot.Miocolor = 13;
    plot.VALa = VALa;
    plot.VALb = VALb;
    plot.vars.Risposta1 = std::int16_t{7};
    plot.target.setDrawWidth(2);
    plot.run(Chords::On);
    const auto& ops = plot.target.ops();
    QVERIFY(select(ops, isSecondFamily).empty());
    QVERIFY(plot.target.lines().empty());
    const auto firstFamily = select(ops, isFirstFamily).size();
    if (firstFamilyPoints < 0) {
        QVERIFY(firstFamily >= 16); // enough for a chord, had the partners been drawn
    } else {
        QCOMPARE(firstFamily, static_cast<std::size_t>(firstFamilyPoints));
        QCOMPARE(plot.target.drawWidth(), std::int16_t{2}); // untouched
    }
    QCOMPARE(plot.Miocolor, std::int16_t{14});

    // The next plot asks for palette index 16, which cycles back to 1.
    plot.VALa = 86.0;
    plot.VALb = 55.0;
    plot.vars.Risposta1 = Value();
    plot.target.clear();
    QVERIFY(!plot.runCatching());
    const auto colours = secondFamilyColours(plot.target.ops());
    QCOMPARE(colours.size(), std::size_t{901});
    QVERIFY(std::all_of(colours.begin(), colours.end(),
                        [](Rgb colour) { return colour == curveColour(16); }));
    QCOMPARE(plot.Miocolor, std::int16_t{15});
}

void TestCalcola::curveColourStaysInThePalette() {
    for (int index = 1; index < 16; ++index) {
        QCOMPARE(curveColour(index), QBColor(index));
    }
    QCOMPARE(curveColour(16), QBColor(1));
    QCOMPARE(curveColour(17), QBColor(2));
    QCOMPARE(curveColour(30), QBColor(15));
    QCOMPARE(curveColour(31), QBColor(1));
    for (int index = 16; index <= 32767; ++index) {
        if (curveColour(index) == QBColor(0)) {
            QFAIL(qPrintable(QStringLiteral("index %1 gives black").arg(index)));
        }
    }
}

void TestCalcola::incrementZeroPutsSecondFamilyOnTheXAxis() {
    Plot plot;
    plot.VALe = 0.0;
    plot.run();
    const auto second = select(plot.target.ops(), isSecondFamily);
    QCOMPARE(second.size(), std::size_t{901});
    for (const Op& op : second) {
        COMPARE_EXACT(op.y1, 137.5F);
    }
    COMPARE_EXACT(second.back().x1, 346.0F);
    QVERIFY(std::all_of(plot.target.snapshots.begin(), plot.target.snapshots.end(),
                        [](const auto& snapshot) { return snapshot.A2 == 0; }));
}

void TestCalcola::inclinationZeroMakesTheFamiliesCoincide() {
    Plot plot;
    plot.VALb = 0.0;
    plot.run();
    const auto& ops = plot.target.ops();
    QCOMPARE(ops.size(), std::size_t{1802});
    for (std::size_t i = 0; i < ops.size(); i += 2) {
        COMPARE_EXACT(ops[i].x1, ops[i + 1].x1);
        COMPARE_EXACT(ops[i].y1, 137.5F);
        COMPARE_EXACT(ops[i + 1].y1, 137.5F);
    }
    COMPARE_EXACT(ops.back().x1, 346.0F);
}

void TestCalcola::longSegmentDrawsOnlyTheFirst97Passes_data() {
    QTest::addColumn<double>("VALb");
    QTest::newRow("55 degrees") << 55.0;
    // Below the X axis or to the left of O the limits hold for |x| and |y|.
    QTest::newRow("-55 degrees") << -55.0;
    QTest::newRow("125 degrees") << 125.0;
}

void TestCalcola::longSegmentDrawsOnlyTheFirst97Passes() {
    QFETCH(double, VALb);
    Plot plot;
    plot.VALa = 1000.0;
    plot.VALb = VALb;
    plot.run();
    const auto& ops = plot.target.ops();
    // From pass 98 on Y1 exceeds 137.5: neither point is drawn, though the
    // second-family point would still be in range.
    QCOMPARE(ops.size(), std::size_t{2 * 97});
    for (std::size_t i = 0; i < ops.size(); i += 2) {
        QVERIFY(isFirstFamily(ops[i]));
        QVERIFY(isSecondFamily(ops[i + 1]));
    }
    QVERIFY(std::abs(plot.target.snapshots.back().Y1) <= 137.5);
    QCOMPARE(plot.target.snapshots.back().A2, std::int16_t{10}); // ALFA 9.599999999999982
    QCOMPARE(plot.Miocolor, std::int16_t{1});
}

void TestCalcola::rangeLimitIsInclusive() {
    // With CX = CY = 0 only the first pass, at O itself, is in range.
    Plot atOrigin;
    atOrigin.vars.CX = 0.0F;
    atOrigin.vars.CY = 0.0F;
    atOrigin.run();
    QCOMPARE(atOrigin.target.ops().size(), std::size_t{2});
    COMPARE_EXACT(atOrigin.target.ops()[0].x1, 0.0F);
    COMPARE_EXACT(atOrigin.target.ops()[0].y1, 0.0F);

    // Ticked X box, flat segment as long as CX: X1 = CX exactly at the first pass.
    Plot flat;
    flat.vars.Risposta1 = std::int16_t{7};
    flat.VALb = 0.0;
    flat.VALa = 260.0;
    flat.run();
    QCOMPARE(flat.target.ops().size(), std::size_t{1802});
    COMPARE_EXACT(flat.target.ops()[0].x1, 520.0F);
    COMPARE_EXACT(flat.target.ops()[0].y1, 137.5F);

    // The next double up is beyond the limit: the first pass is skipped.
    Plot beyond;
    beyond.vars.Risposta1 = std::int16_t{7};
    beyond.VALb = 0.0;
    beyond.VALa = std::nextafter(260.0, 261.0);
    beyond.run();
    QCOMPARE(beyond.target.ops().size(), std::size_t{1800});
    QVERIFY(beyond.target.ops()[0].x1 < 520.0F);
}

void TestCalcola::checkBoxShapes_data() {
    QTest::addColumn<Value>("Risposta1");
    QTest::addColumn<Value>("Risposta2");
    QTest::addColumn<QPointF>("firstStart");
    QTest::addColumn<QPointF>("firstEnd");
    QTest::addColumn<QPointF>("secondStart");
    QTest::addColumn<QPointF>("secondEnd");
    const QPointF o(260.0, 137.5);
    const QPointF a(309.3276, 67.0529);
    const QPointF onX(309.3276, 137.5); // (OA cos beta, 0)
    const QPointF onY(260.0, 67.0529);  // (0, OA sin beta)
    const QPointF full(346.0, 137.5);   // (OA, 0): the second family's start with a cosine X
    const Value ticked(std::int16_t{7});
    const Value cleared(std::int16_t{0});
    QTest::newRow("never clicked: O to A") << Value() << Value() << o << a << o << a;
    QTest::newRow("both cleared: O to A") << cleared << cleared << o << a << o << a;
    QTest::newRow("X cos: quarter ellipse") << ticked << cleared << onX << onY << full << onY;
    QTest::newRow("Y cos: quarter ellipse") << Value() << ticked << onY << onX << o << onX;
    QTest::newRow("both cos: A to O") << ticked << ticked << a << o << full << o;
}

void TestCalcola::checkBoxShapes() {
    QFETCH(Value, Risposta1);
    QFETCH(Value, Risposta2);
    QFETCH(QPointF, firstStart);
    QFETCH(QPointF, firstEnd);
    QFETCH(QPointF, secondStart);
    QFETCH(QPointF, secondEnd);
    Plot plot;
    plot.vars.Risposta1 = Risposta1;
    plot.vars.Risposta2 = Risposta2;
    plot.run();
    const auto first = select(plot.target.ops(), isFirstFamily);
    const auto second = select(plot.target.ops(), isSecondFamily);
    QCOMPARE(first.size(), std::size_t{901});
    QCOMPARE(second.size(), std::size_t{901});
    COMPARE_TABLE(first.front().x1, firstStart.x(), kTableTolerance);
    COMPARE_TABLE(first.front().y1, firstStart.y(), kTableTolerance);
    COMPARE_TABLE(first.back().x1, firstEnd.x(), kTableTolerance);
    COMPARE_TABLE(first.back().y1, firstEnd.y(), kTableTolerance);
    COMPARE_TABLE(second.front().x1, secondStart.x(), kTableTolerance);
    COMPARE_TABLE(second.front().y1, secondStart.y(), kTableTolerance);
    COMPARE_TABLE(second.back().x1, secondEnd.x(), kTableTolerance);
    COMPARE_TABLE(second.back().y1, secondEnd.y(), kTableTolerance);
}

void TestCalcola::incrementOverflowKeepsEarlierPasses() {
    Plot plot;
    plot.VALe = 400.0;
    QCOMPARE(plot.runCatching(), std::optional(ErrorCode::Overflow));
    // Pass 821 (ALFA 81.99999999999962) rounds to 32800; 820 passes drew.
    QCOMPARE(plot.target.ops().size(), std::size_t{2 * 820});
    QCOMPARE(plot.Miocolor, std::int16_t{1});
    QCOMPARE(plot.target.snapshots.back().A2, std::int16_t{32760});
}

void TestCalcola::largestIncrementRunsThrough() {
    Plot plot;
    plot.VALe = 364.0;
    QVERIFY(!plot.runCatching());
    const auto& snapshots = plot.target.snapshots;
    const auto largest =
        std::max_element(snapshots.begin(), snapshots.end(),
                         [](const auto& left, const auto& right) { return left.A2 < right.A2; });
    QCOMPARE(largest->A2, std::int16_t{32760});
    QCOMPARE(plot.vars.A2, std::int16_t{32760});
    QCOMPARE(select(plot.target.ops(), isFirstFamily).size(), std::size_t{901});
}

void TestCalcola::colourCounterOverflowDrawsNothing() {
    Plot plot;
    plot.Miocolor = 32767;
    QCOMPARE(plot.runCatching(Chords::On), std::optional(ErrorCode::Overflow));
    QVERIFY(plot.target.ops().empty());
    QCOMPARE(plot.Miocolor, std::int16_t{32767});
    QVERIFY(plot.vars.OA.isEmpty()); // nothing after the increment ran
}

void TestCalcola::rejectedEntriesAreTypeMismatches() {
    const auto prepared = [](Plot& plot) {
        plot.vars.BETA1 = -1.0;
        plot.vars.A2 = 99;
        plot.vars.SC1 = 99.0;
    };
    // VALb: at the inclination, before the sweep.
    Plot inclination;
    prepared(inclination);
    inclination.VALb = "";
    QCOMPARE(inclination.runCatching(), std::optional(ErrorCode::TypeMismatch));
    QVERIFY(inclination.target.ops().empty());
    QCOMPARE(inclination.Miocolor, std::int16_t{1});
    QVERIFY(inclination.vars.OA == Value(86.0));
    COMPARE_EXACT(inclination.vars.BETA1, -1.0);

    // VALe: at the second angle of the first pass.
    Plot increment;
    prepared(increment);
    increment.VALe = "";
    QCOMPARE(increment.runCatching(), std::optional(ErrorCode::TypeMismatch));
    QVERIFY(increment.target.ops().empty());
    QCOMPARE(increment.Miocolor, std::int16_t{1});
    QVERIFY(std::abs(increment.vars.BETA1 - 0.959931081160903) < 5e-16);
    QCOMPARE(increment.vars.A2, std::int16_t{99});

    // VALa: at the first point of the first pass, after A2 and SC1.
    Plot length;
    prepared(length);
    length.VALa = "";
    QCOMPARE(length.runCatching(), std::optional(ErrorCode::TypeMismatch));
    QVERIFY(length.target.ops().empty());
    QCOMPARE(length.Miocolor, std::int16_t{1});
    QCOMPARE(length.vars.A2, std::int16_t{0});
    COMPARE_EXACT(length.vars.SC1, 0.0);
}

QTEST_APPLESS_MAIN(TestCalcola)
#include "test_calcola.moc"
