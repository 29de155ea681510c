// The curve construction against its worked example (segment 86 long at 55 degrees,
// increment 1, origin (260, 137.5)) and its rules for chords, colours, range and errors.

#include "geometry/calcola.h"
#include "runtime/checked_numbers.h"
#include "runtime/run_time_error.h"
#include "support/recording_target.h"

#include <QtTest>

#include <algorithm>
#include <array>
#include <cmath>
#include <numbers>
#include <set>

using namespace lumetra::geometry;
using namespace lumetra::runtime;
using Op = lumetra::testing::RecordingTarget::Op;
using Error = std::optional<ErrorCode>;

// Within the worked example's four decimals (plus, where given, a single's rounding).
bool near(double actual, double expected, double extra = 0.0) {
    return std::abs(actual - expected) <= 5e-5 + extra;
}
bool at(const Op& op, QPointF point) {
    return near(op.x1, point.x()) && near(op.y1, point.y());
}

// The plot window as its activation on a 500 x 275 surface leaves it, with the parameter
// window's defaults.
struct Plot : lumetra::testing::RecordingTarget {
    Error run(Chords chords = Chords::Off) try {
        vars.P1 = degreesToRadiansFactor();
        vars.CX = 260.0F;
        vars.CY = 137.5F;
        CALCOLA(*this, vars, {VALa, VALb, VALe, Miocolor}, chords);
        return std::nullopt;
    } catch (const RunTimeError& error) {
        return error.code();
    }
    // The first family is drawn in the foreground colour, the second in a palette colour.
    std::vector<Op> family(bool second) const {
        auto result = points();
        std::erase_if(result, [&](const Op& op) { return op.colour.has_value() != second; });
        return result;
    }
    Value VALa{86.0}, VALb{55.0}, VALe{1.0};
    std::int16_t Miocolor = 0;
    PlotVariables vars;
};

// A2 as a drawn partner shows it when both factors are sines: its direction
// from O is BETA1 x sin(A2 degrees), BETA1 being 0.959931081160903.
int shownA2(const Op& partner) {
    const double direction = std::atan2(137.5 - partner.y1, partner.x1 - 260.0);
    const double sine = std::min(1.0, direction / 0.959931081160903);
    return static_cast<int>(std::lround(std::asin(sine) * 180.0 / std::numbers::pi));
}

// The pass of every chord, counted from the points drawn before it.
std::vector<int> chordPasses(const std::vector<Op>& ops) {
    std::vector<int> result;
    int points = 0;
    for (const Op& op : ops) {
        op.kind == Plot::Kind::Point ? void(++points) : result.push_back(points / 2);
    }
    return result;
}

// The worked example's table: pass, A2, first point drawn at, XS, YS.
const struct {
    std::size_t pass;
    int A2;
    double x, y, XS, YS;
} kWorkedExample[] = {{1, 0, 260, 137.5, 0, 0},
                      {2, 0, 260.0861, 137.3770, 0.1501, 0},
                      {3, 0, 260.1722, 137.2541, 0.3002, 0},
                      {6, 0, 260.4305, 136.8852, 0.7505, 0},
                      {16, 2, 261.2913, 135.6559, 2.25, 0.0754},
                      {26, 3, 262.1516, 134.4271, 3.7465, 0.1884},
                      {451, 45, 294.8799, 87.6864, 47.332, 38.1796},
                      {901, 90, 309.3276, 67.0529, 49.3276, 70.4471}};

// A set of parameters and what it draws: the passes that drew both points, A2
// as the call leaves it (99 before) and the first and last point of each family.
struct Case {
    const char* name;
    Value VALa, VALb, VALe;
    int Risposta1, Risposta2; // -1: the box never clicked
    std::int16_t Miocolor;
    Error error;
    int pairs, A2;
    std::optional<std::array<QPointF, 4>> ends;
};
Q_DECLARE_METATYPE(Case)

class TestCalcola : public QObject {
    Q_OBJECT

private slots:
    void workedExample() {
        Plot plot;
        QVERIFY(!plot.run());
        QCOMPARE(plot.ops().size(), std::size_t{1802}); // every pass draws both points
        const double single = std::ldexp(1.0, -15);     // XS and YS are drawn as singles
        for (const auto& row : kWorkedExample) {
            const Op& first = plot.ops()[2 * row.pass - 2];
            const Op& second = plot.ops()[2 * row.pass - 1];
            QVERIFY(!first.colour && first.drawWidth == 3 && second.drawWidth == 3);
            QVERIFY(at(first, {row.x, row.y}));
            QVERIFY(near(second.x1, 260 + row.XS, single) &&
                    near(second.y1, 137.5 - row.YS, single));
            QCOMPARE(shownA2(second), row.A2);
        }
        QCOMPARE(shownA2(plot.ops()[91]), 4); // pass 46, ALFA exactly 4.5: ties to even
        // The last pass's factor: the sine of the accumulated counter, not of 90.
        QVERIFY(plot.vars.SC1 == std::sin(89.99999999999916 * double{plot.vars.P1}));
        QCOMPARE(int{plot.vars.A2}, 90);
    }

    void chordsEverySixteenthPass() {
        std::vector<int> expected(56);
        std::generate(expected.begin(), expected.end(), [n = 0]() mutable { return n += 16; });
        Plot plot;
        QVERIFY(!plot.run(Chords::On));
        QCOMPARE(chordPasses(plot.ops()), expected);
        const Op chord = plot.lines().front();
        QVERIFY(at(chord, {261.2913, 135.6559}) && near(chord.x2, 262.25) &&
                near(chord.y2, 137.4246));
        QVERIFY(chord.drawWidth == 1 && chord.colour == QBColor(2));
        // Without the chord command none; with it the count restarts at every call.
        plot.clear();
        QVERIFY(!plot.run(Chords::Off) && plot.lines().empty());
        plot.clear();
        QVERIFY(!plot.run(Chords::On));
        QCOMPARE(chordPasses(plot.ops()), expected);
    }

    void coloursOverFifteenCallsAndBeyond() {
        Plot plot;
        for (int call = 1; call <= 15; ++call) {
            plot.clear();
            QVERIFY(!plot.run());
            const auto second = plot.family(true);
            // Call 14 draws one point in 15, wraps the counter and goes on in 2.
            const int colour = call <= 13 ? call + 1 : call - 12;
            QCOMPARE(second.front().colour, QBColor(call == 14 ? 15 : colour));
            QVERIFY(std::all_of(second.begin() + 1, second.end(),
                                [&](const Op& op) { return op.colour == QBColor(colour); }));
            QCOMPARE(int{plot.Miocolor}, call <= 13 ? call : call - 13);
        }
        // Beyond the palette the fifteen curve colours come round again; black never.
        std::set<Rgb> colours;
        for (int index = -32768; index <= 32767; ++index) {
            colours.insert(curveColour(index));
        }
        QVERIFY(colours.size() == 15 && !colours.count(QBColor(0)));
        plot.Miocolor = 14; // left by a plot that drew nothing: the next asks for 16
        QVERIFY(!plot.run());
        QCOMPARE(plot.family(true).back().colour, curveColour(16));
        plot.Miocolor = -2; // asks for index 0, which is the first family's black
        QVERIFY(!plot.run());
        QVERIFY(plot.family(true).front().colour != QBColor(0));
    }

    void parameters_data() {
        QTest::addColumn<Case>("row");
        const QPointF o(260.0, 137.5), a(309.3276, 67.0529), full(346.0, 137.5);
        const QPointF onX(309.3276, 137.5), onY(260.0, 67.0529), twice(520.0, 137.5);
        const Error overflow = ErrorCode::Overflow, mismatch = ErrorCode::TypeMismatch;
        using E = std::array<QPointF, 4>;
        // name, VALa, VALb, VALe, Risposta1, Risposta2, Miocolor, error, pairs, A2, ends
        const Case rows[] = {
            {"O to A", 86.0, 55.0, 1.0, -1, -1, 0, {}, 901, 90, E{o, a, o, a}},
            {"X cos", 86.0, 55.0, 1.0, 7, 0, 0, {}, 901, 90, E{onX, onY, full, onY}},
            {"Y cos", 86.0, 55.0, 1.0, -1, 7, 0, {}, 901, 90, E{onY, onX, o, onX}},
            {"A to O", 86.0, 55.0, 1.0, 7, 7, 0, {}, 901, 90, E{a, o, full, o}},
            {"VALe 0", 86.0, 55.0, 0.0, -1, -1, 0, {}, 901, 0, E{o, a, o, full}},
            {"VALb 0", 86.0, 0.0, 1.0, -1, -1, 0, {}, 901, 90, E{o, full, o, full}},
            {"X1 = CX", 260.0, 0.0, 1.0, 7, -1, 0, {}, 901, 90, E{twice, o, twice, o}},
            {"VALa 1000", 1000.0, 55.0, 1.0, -1, -1, 0, {}, 97, 90, {}},
            {"VALe 364", 86.0, 55.0, 364.0, -1, -1, 0, {}, 901, 32760, {}},
            {"VALe 400", 86.0, 55.0, 400.0, -1, -1, 0, overflow, 820, 32760, {}},
            {"Miocolor 32767", 86.0, 55.0, 1.0, -1, -1, 32767, overflow, 0, 99, {}},
            {"VALa empty", "", 55.0, 1.0, -1, -1, 0, mismatch, 0, 0, {}},
            {"VALb empty", 86.0, "", 1.0, -1, -1, 0, mismatch, 0, 99, {}},
            {"VALe empty", 86.0, 55.0, "", -1, -1, 0, mismatch, 0, 99, {}}};
        for (const Case& row : rows) {
            QTest::newRow(row.name) << row;
        }
    }
    void parameters() {
        QFETCH(Case, row);
        Plot plot;
        plot.VALa = row.VALa;
        plot.VALb = row.VALb;
        plot.VALe = row.VALe;
        plot.vars.Risposta1 = row.Risposta1 < 0 ? Value() : Value(std::int16_t(row.Risposta1));
        plot.vars.Risposta2 = row.Risposta2 < 0 ? Value() : Value(std::int16_t(row.Risposta2));
        plot.Miocolor = row.Miocolor;
        plot.vars.A2 = 99;
        QCOMPARE(plot.run(), row.error);
        const auto first = plot.family(false);
        const auto second = plot.family(true);
        QCOMPARE(first.size(), std::size_t(row.pairs));
        QCOMPARE(second.size(), first.size());
        QCOMPARE(int{plot.vars.A2}, row.A2);
        if (const auto& e = row.ends) {
            QVERIFY(at(first.front(), (*e)[0]) && at(first.back(), (*e)[1]));
            QVERIFY(at(second.front(), (*e)[2]) && at(second.back(), (*e)[3]));
        }
    }
};

QTEST_APPLESS_MAIN(TestCalcola)
#include "test_calcola.moc"
