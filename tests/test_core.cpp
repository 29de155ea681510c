// The program's arithmetic without a window: run-time rules, numbers as text,
// the calibration frame and the curve colours. The curve construction itself
// is pinned by the recorded digests, its worked example by the picture test.

#include "geometry/calcola.h"
#include "geometry/calibration_figure.h"
#include "runtime/checked_numbers.h"
#include "runtime/locale_numbers.h"
#include "runtime/run_time_error.h"
#include "support/recording_target.h"

#include <QtTest>

#include <cmath>
#include <set>

using namespace lumetra::geometry;
using namespace lumetra::runtime;
using lumetra::testing::RecordingTarget;
using Op = RecordingTarget::Op;
using Kind = RecordingTarget::Kind;
using Error = std::optional<ErrorCode>;
using namespace Qt::StringLiterals;

template <typename Call> Error raised(Call&& call) try {
    call();
    return std::nullopt;
} catch (const RunTimeError& error) {
    return error.code();
}

// The only drawing: a vertical axis through cx, then a horizontal one through cy.
bool axes(const RecordingTarget& t, float cx, float cy, std::int16_t pen) {
    const float w = t.scaleWidth(), h = t.scaleHeight();
    return t.ops() == std::vector<Op>{{Kind::Line, cx, 0, cx, h, {}, pen},
                                      {Kind::Line, 0, cy, w, cy, {}, pen}};
}

class TestCore : public QObject {
    Q_OBJECT

private slots:
    void toSingleTiesToEven() {
        QCOMPARE(toSingle(1.0 + std::ldexp(1.0, -24)), 1.0F); // halfway between two singles
    }

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

    // The interval that rounds to a value ends exactly where its neighbours' begin.
    void roundingIntervalsMeet_data() {
        QTest::addColumn<int>("value");
        for (const int value : {-32768, -3, 0, 3, 32767}) {
            QTest::addRow("%d", value) << value;
        }
    }
    void roundingIntervalsMeet() {
        QFETCH(int, value);
        const auto [low, high] = roundingTo(static_cast<std::int16_t>(value));
        QCOMPARE(toInt16(low), value);
        QCOMPARE(toInt16(high), value);
        // Just outside: the neighbour, or no 16-bit integer at all (-32769, 32768).
        const double below = std::nextafter(low, -1e9), above = std::nextafter(high, 1e9);
        QCOMPARE(roundsToInt16(below) ? toInt16(below) : -32769, value - 1);
        QCOMPARE(roundsToInt16(above) ? toInt16(above) : 32768, value + 1);
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

    // Empty counts as 0 and equals ""; a number never equals a text.
    void emptyNumbersAndTexts() {
        QCOMPARE(Value().arithmetic(), 0.0);
        QVERIFY(Value().equalsText(""));
        QVERIFY(!Value().equalsNumber(7));
        QVERIFY(!Value(std::int16_t{7}).equalsText("7"));
        QVERIFY(!Value("7").equalsNumber(7));
        QCOMPARE(raised([] { Value("12").arithmetic(); }), ErrorCode::TypeMismatch);
    }

    void paletteColours() {
        QCOMPARE(QBColor(15), Rgb{0xFFFFFF});
        QCOMPARE(raised([] { QBColor(16); }), ErrorCode::InvalidCall);
    }

    // A number as a text box shows it: no group separators, however large.
    void numbersAsShown_data() {
        QTest::addColumn<QLocale>("locale");
        QTest::addColumn<double>("value");
        QTest::addColumn<QString>("shown");
        const QLocale it(QLocale::Italian, QLocale::Italy);
        QTest::newRow("it 1500") << it << 1500.0 << u"1500"_s;
        QTest::newRow("it 146367,36") << it << 146367.36 << u"146367,36"_s;
        QTest::newRow("en 1234567.5") << QLocale(QLocale::English) << 1234567.5 << u"1234567.5"_s;
    }
    void numbersAsShown() {
        QFETCH(QLocale, locale);
        QFETCH(double, value);
        QFETCH(QString, shown);
        QCOMPARE(formatLocaleNumber(value, locale), shown);
    }

    void frames() {
        for (const auto& [incr, height] : {std::pair{0.51, 74647.35}, {0.65, 95138.78}}) {
            RecordingTarget target(800, 520);
            CalibrationVariables vars{.P1 = degreesToRadiansFactor(), .Incr = incr};
            setUpScaleAndAxes(target, vars);
            QVERIFY(std::abs(vars.CX - 93183.68) < 0.005);
            QVERIFY(std::abs(target.scaleHeight() - height) < 0.005);
            QVERIFY(axes(target, vars.CX, vars.CY, 1));
            target.clear();
            QCOMPARE(plotCircle(target, vars), 3600);
            // The circle starts at 0 degrees, exactly, and reaches the bottom at 90: y grows down.
            const auto p = target.of(Kind::Point);
            const float x = static_cast<float>(vars.CX + 36367.36328125);
            QCOMPARE(p[0], (Op{Kind::Point, x, vars.CY, x, vars.CY, QBColor(4), 1}));
            QVERIFY(p[900].y1 > vars.CY + 36000);
            QVERIFY(p[2700].y1 < vars.CY - 36000);
        }
    }

    // Beyond the palette the fifteen curve colours come round again; black never.
    void curveColoursComeRound() {
        std::set<Rgb> colours;
        for (int index = -32768; index <= 32767; ++index) {
            colours.insert(curveColour(index));
        }
        QCOMPARE(colours.size(), std::size_t{15});
        QVERIFY(!colours.contains(QBColor(0)));
    }
};

QTEST_APPLESS_MAIN(TestCore)
#include "test_core.moc"
