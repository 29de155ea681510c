// Run-time rules: checked conversions, Value, locale numbers, palette, fractional loop.

#include "runtime/accumulated_loop.h"
#include "runtime/checked_numbers.h"
#include "runtime/locale_numbers.h"
#include "runtime/palette.h"
#include "runtime/run_time_error.h"
#include "runtime/value.h"

#include <QtTest>

#include <cmath>
#include <limits>
#include <vector>

using namespace lumetra::runtime;
using Maybe = std::optional<double>;
Q_DECLARE_METATYPE(Maybe)

// The error code a call raises, or nothing when it returns normally.
template <typename Call> std::optional<ErrorCode> raised(Call&& call) {
    try {
        call();
    } catch (const RunTimeError& error) {
        return error.code();
    }
    return std::nullopt;
}

class TestRuntime : public QObject {
    Q_OBJECT

private slots:
    void checkedConversions() {
        // P1 is 3.1415927 / 180 rounded to single, not the double 0.017453292519943295.
        QVERIFY(double{degreesToRadiansFactor()} == 0.01745329238474369);
        QVERIFY(toSingle(1.0 + std::ldexp(1.0, -24)) == 1.0F); // halfway: down to even
        using Tie = std::pair<double, int>;
        for (const auto& [value, rounded] : {Tie{2.5, 2}, Tie{3.5, 4}, Tie{-2.5, -2},
                                             Tie{2.500000000000001, 3}, Tie{-32768.5, -32768}}) {
            QCOMPARE(toInt16(value), rounded);
        }
        for (const double value : {1e39, -1e39, std::nan("")}) {
            QCOMPARE(raised([&] { toSingle(value); }), ErrorCode::Overflow);
        }
        for (const double value : {32767.5, -32769.0, std::nan("")}) {
            QCOMPARE(raised([&] { toInt16(value); }), ErrorCode::Overflow);
        }
    }

    void valueRules() {
        // Empty counts as 0 and equals ""; a number never equals a text.
        QVERIFY(Value().arithmetic() == 0.0 && Value().equalsNumber(0) && Value().equalsText(""));
        QVERIFY(!Value().equalsNumber(7) && Value(std::int16_t{7}).equalsNumber(7));
        QVERIFY(!Value(std::int16_t{7}).equalsText("7") && !Value("7").equalsNumber(7));
        QCOMPARE(raised([] { Value("12").arithmetic(); }), ErrorCode::TypeMismatch);
    }

    void localeNumbers_data() {
        QTest::addColumn<QString>("locale");
        QTest::addColumn<QString>("text");
        QTest::addColumn<Maybe>("expected"); // none: not a number there
        const Maybe no;
        const std::tuple<const char*, Maybe, Maybe> rows[] = {
            {"12,5", 12.5, no}, {"12.5", no, 12.5}, {" 0,55 ", 0.55, no}, {"-3", -3.0, -3.0},
            {"+3", 3.0, 3.0},   {"1e3", 1e3, 1e3},  {"", no, no},         {"abc", no, no},
            {"inf", no, no},    {"nan", no, no},    {"1e400", no, no}};
        for (const auto& [text, it, en] : rows) {
            QTest::addRow("it_IT '%s'", text) << "it_IT" << text << it;
            QTest::addRow("en_US '%s'", text) << "en_US" << text << en;
        }
    }
    void localeNumbers() {
        QFETCH(QString, locale);
        QFETCH(QString, text);
        QFETCH(Maybe, expected);
        QCOMPARE(parseLocaleNumber(text, QLocale(locale)), expected);
    }

    void formattedNumbers() {
        const QLocale it(QStringLiteral("it_IT")), en(QStringLiteral("en_US"));
        QCOMPARE(formatLocaleNumber(0.55, it), QStringLiteral("0,55"));
        QCOMPARE(formatLocaleNumber(0.55, en), QStringLiteral("0.55"));
        QCOMPARE(formatLocaleNumber(0.5700000000000001, it), QStringLiteral("0,57"));
        QCOMPARE(formatLocaleNumber(0.5700000000000001, en), QStringLiteral("0.57"));
        // The largest doubles are shown as the largest fifteen-digit number, which reads back.
        const double largest = std::numeric_limits<double>::max();
        QCOMPARE(formatLocaleNumber(largest, it), QStringLiteral("1,79769313486231E+308"));
        QVERIFY(parseLocaleNumber(formatLocaleNumber(-largest, en), en));
    }

    void paletteOrder() {
        QVERIFY((QBColor(4) & 0xFF0000) != 0 && (QBColor(4) & 0x00FFFF) == 0); // red alone
        QCOMPARE(QBColor(15), Rgb{0xFFFFFF});
        QCOMPARE(raised([] { QBColor(16); }), ErrorCode::InvalidCall);
    }

    void accumulatedLoop() {
        QCOMPARE(forEachAccumulated(0.0, 360.0, 0.1, [](double) {}), 3600);
        std::vector<double> sweep;
        QCOMPARE(forEachAccumulated(0.0, 90.0, 0.1, [&](double a) { sweep.push_back(a); }), 901);
        // The accumulated counter, not the pass number times 0.1: exact values.
        using Pass = std::pair<int, double>;
        for (const auto& [pass, counter] :
             {Pass{6, 0.5}, Pass{16, 1.5000000000000002}, Pass{26, 2.500000000000001},
              Pass{901, 89.99999999999916}}) {
            QVERIFY2(sweep.at(pass - 1) == counter, qPrintable(QString::number(pass)));
        }
    }
};

QTEST_APPLESS_MAIN(TestRuntime)
#include "test_runtime.moc"
