// The run-time rules that the window code relies on: checked conversions and
// 16-bit arithmetic, the variant window variable, locale numbers, the palette
// and the accumulated fractional loop.

#include "runtime/accumulated_loop.h"
#include "runtime/checked_numbers.h"
#include "runtime/locale_numbers.h"
#include "runtime/palette.h"
#include "runtime/run_time_error.h"
#include "runtime/value.h"

#include <QLocale>
#include <QtTest>

#include <cmath>
#include <limits>
#include <optional>
#include <set>
#include <vector>

using namespace lumetra::runtime;

Q_DECLARE_METATYPE(std::optional<double>)
Q_DECLARE_METATYPE(lumetra::runtime::ErrorCode)
Q_DECLARE_METATYPE(lumetra::runtime::Value)
Q_DECLARE_METATYPE(std::optional<int>)

namespace {

// The error code a call raises, or nothing when it returns normally.
template <typename Call> std::optional<ErrorCode> raised(Call&& call) {
    try {
        call();
    } catch (const RunTimeError& error) {
        return error.code();
    }
    return std::nullopt;
}

// QCOMPARE on floating point is fuzzy; these values must match to the bit.
#define COMPARE_EXACT(actual, expected)                                                            \
    QVERIFY2((actual) == (expected),                                                               \
             qPrintable(QStringLiteral("%1 != %2")                                                 \
                            .arg(static_cast<double>(actual), 0, 'g', 17)                          \
                            .arg(static_cast<double>(expected), 0, 'g', 17)))

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kFloatMax = std::numeric_limits<float>::max();

int red(Rgb colour) {
    return static_cast<int>((colour >> 16) & 0xFF);
}
int green(Rgb colour) {
    return static_cast<int>((colour >> 8) & 0xFF);
}
int blue(Rgb colour) {
    return static_cast<int>(colour & 0xFF);
}

} // namespace

class TestRuntime : public QObject {
    Q_OBJECT

private slots:
    void cleanup() { QLocale::setDefault(QLocale::c()); }

    void toSingleRoundsToNearestEven_data();
    void toSingleRoundsToNearestEven();
    void toSingleOverflow_data();
    void toSingleOverflow();
    void toInt16TiesToEven_data();
    void toInt16TiesToEven();
    void addInt16_data();
    void addInt16();
    void checkedResultRefusesInfinityAndNaN();
    void degreesToRadiansFactor();

    void valueArithmetic();
    void valueComparisons_data();
    void valueComparisons();
    void stringArithmeticIsTypeMismatch();
    void errorMessages_data();
    void errorMessages();

    void parseLocaleNumber_data();
    void parseLocaleNumber();
    void formatLocaleNumber_data();
    void formatLocaleNumber();

    void paletteOrder_data();
    void paletteOrder();
    void paletteFollowsBitRules();
    void paletteRefusesIndicesOutside_data();
    void paletteRefusesIndicesOutside();

    void accumulatedLoopPassCounts();
    void accumulatedCounterValues_data();
    void accumulatedCounterValues();
};

void TestRuntime::toSingleRoundsToNearestEven_data() {
    QTest::addColumn<double>("value");
    QTest::addColumn<float>("expected");
    const double one = 1.0;
    const double halfUlp = std::ldexp(1.0, -24);
    QTest::newRow("0.1") << 0.1 << 0.1F;
    QTest::newRow("calibration width") << 146367.36 << 146367.359375F;
    QTest::newRow("tie down to even") << one + halfUlp << 1.0F;
    QTest::newRow("tie up to even") << one + 3 * halfUlp << 1.0F + std::ldexp(1.0F, -22);
    QTest::newRow("just above the tie") << one + halfUlp * 1.5 << std::nextafter(1.0F, 2.0F);
    QTest::newRow("negative tie") << -(one + halfUlp) << -1.0F;
    QTest::newRow("largest single") << kFloatMax << std::numeric_limits<float>::max();
    QTest::newRow("rounds down to the largest single")
        << kFloatMax * (1.0 + std::ldexp(1.0, -26)) << std::numeric_limits<float>::max();
    QTest::newRow("below the smallest subnormal") << 1e-50 << 0.0F;
}

void TestRuntime::toSingleRoundsToNearestEven() {
    QFETCH(double, value);
    QFETCH(float, expected);
    const float single = toSingle(value);
    COMPARE_EXACT(single, expected);
}

void TestRuntime::toSingleOverflow_data() {
    QTest::addColumn<double>("value");
    QTest::newRow("1e39") << 1e39;
    QTest::newRow("-1e39") << -1e39;
    // Half an ulp above the largest single rounds (to even) to infinity.
    QTest::newRow("tie beyond the largest") << kFloatMax + std::ldexp(1.0, 103);
    QTest::newRow("infinity") << std::numeric_limits<double>::infinity();
    QTest::newRow("NaN") << kNaN;
}

void TestRuntime::toSingleOverflow() {
    QFETCH(double, value);
    QCOMPARE(raised([&] { toSingle(value); }), std::optional(ErrorCode::Overflow));
}

void TestRuntime::toInt16TiesToEven_data() {
    QTest::addColumn<double>("value");
    QTest::addColumn<std::optional<int>>("expected"); // none: Overflow
    const std::optional<int> overflow;
    QTest::newRow("0.5") << 0.5 << std::optional(0);
    QTest::newRow("1.5") << 1.5 << std::optional(2);
    QTest::newRow("2.5") << 2.5 << std::optional(2);
    QTest::newRow("3.5") << 3.5 << std::optional(4);
    QTest::newRow("2.500000000000001") << 2.500000000000001 << std::optional(3);
    QTest::newRow("2.4999999999999996") << 2.4999999999999996 << std::optional(2);
    QTest::newRow("-0.5") << -0.5 << std::optional(0);
    QTest::newRow("-1.5") << -1.5 << std::optional(-2);
    QTest::newRow("-2.5") << -2.5 << std::optional(-2);
    QTest::newRow("-3.5") << -3.5 << std::optional(-4);
    QTest::newRow("32767.4") << 32767.4 << std::optional(32767);
    QTest::newRow("32767.5") << 32767.5 << overflow;
    QTest::newRow("32768") << 32768.0 << overflow;
    QTest::newRow("-32768.5 rounds to even -32768") << -32768.5 << std::optional(-32768);
    QTest::newRow("-32768.51") << -32768.51 << overflow;
    QTest::newRow("-32769") << -32769.0 << overflow;
    QTest::newRow("largest A2 of increment 364") << 89.99999999999916 * 364 << std::optional(32760);
    QTest::newRow("NaN") << kNaN << overflow;
    QTest::newRow("infinity") << std::numeric_limits<double>::infinity() << overflow;
}

void TestRuntime::toInt16TiesToEven() {
    QFETCH(double, value);
    QFETCH(std::optional<int>, expected);
    std::int16_t result = 0;
    const auto error = raised([&] { result = toInt16(value); });
    if (expected) {
        QVERIFY(!error);
        QCOMPARE(int{result}, *expected);
    } else {
        QCOMPARE(error, std::optional(ErrorCode::Overflow));
    }
}

void TestRuntime::addInt16_data() {
    QTest::addColumn<int>("a");
    QTest::addColumn<int>("b");
    QTest::addColumn<std::optional<int>>("expected"); // none: Overflow
    QTest::newRow("14 + 1") << 14 << 1 << std::optional(15);
    QTest::newRow("32766 + 1") << 32766 << 1 << std::optional(32767);
    QTest::newRow("32767 + 1") << 32767 << 1 << std::optional<int>();
    QTest::newRow("-32768 + -1") << -32768 << -1 << std::optional<int>();
    QTest::newRow("-32768 + 32767") << -32768 << 32767 << std::optional(-1);
}

void TestRuntime::addInt16() {
    QFETCH(int, a);
    QFETCH(int, b);
    QFETCH(std::optional<int>, expected);
    std::int16_t result = 0;
    const auto error = raised([&] {
        result =
            lumetra::runtime::addInt16(static_cast<std::int16_t>(a), static_cast<std::int16_t>(b));
    });
    if (expected) {
        QVERIFY(!error);
        QCOMPARE(int{result}, *expected);
    } else {
        QCOMPARE(error, std::optional(ErrorCode::Overflow));
    }
}

void TestRuntime::checkedResultRefusesInfinityAndNaN() {
    QCOMPARE(checkedResult(1e308), 1e308);
    QCOMPARE(checkedResult(-0.0), -0.0);
    QCOMPARE(raised([] { checkedResult(1e308 * 10.0); }), std::optional(ErrorCode::Overflow));
    QCOMPARE(raised([] { checkedResult(kNaN); }), std::optional(ErrorCode::Overflow));
}

void TestRuntime::degreesToRadiansFactor() {
    const float p1 = lumetra::runtime::degreesToRadiansFactor();
    COMPARE_EXACT(static_cast<double>(p1), 0.01745329238474369);
    // The single, not the double quotient: pi / 180 in double is 0.017453292519943295.
    QVERIFY(static_cast<double>(p1) != 3.1415927 / 180.0);
}

void TestRuntime::valueArithmetic() {
    QCOMPARE(Value().arithmetic(), 0.0);
    QCOMPARE(Value(86.0).arithmetic(), 86.0);
    COMPARE_EXACT(Value(0.1F).arithmetic(), static_cast<double>(0.1F));
    QCOMPARE(Value(std::int16_t{7}).arithmetic(), 7.0);
}

void TestRuntime::valueComparisons_data() {
    QTest::addColumn<Value>("value");
    QTest::addColumn<double>("number");
    QTest::addColumn<bool>("equalsNumber");
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("equalsText");
    QTest::newRow("Empty = 0") << Value() << 0.0 << true << QString() << true;
    QTest::newRow("Empty <> 1") << Value() << 1.0 << false << QString() << true;
    QTest::newRow("Empty <> 7") << Value() << 7.0 << false << QStringLiteral("7") << false;
    QTest::newRow("Empty <> 15") << Value() << 15.0 << false << QStringLiteral(" ") << false;
    QTest::newRow("int 7 = 7") << Value(std::int16_t{7}) << 7.0 << true << QStringLiteral("7")
                               << false;
    QTest::newRow("int 0 <> 7") << Value(std::int16_t{0}) << 7.0 << false << QString() << false;
    QTest::newRow("double 1 = 1") << Value(1.0) << 1.0 << true << QStringLiteral("1") << false;
    QTest::newRow("single 0.5 = 0.5") << Value(0.5F) << 0.5 << true << QString() << false;
    QTest::newRow("empty string") << Value("") << 0.0 << false << QString() << true;
    QTest::newRow("string 7") << Value("7") << 7.0 << false << QStringLiteral("7") << true;
    QTest::newRow("string differs")
        << Value("abc") << 0.0 << false << QStringLiteral("ab") << false;
}

void TestRuntime::valueComparisons() {
    QFETCH(Value, value);
    QFETCH(double, number);
    QFETCH(bool, equalsNumber);
    QFETCH(QString, text);
    QFETCH(bool, equalsText);
    QCOMPARE(value.equalsNumber(number), equalsNumber);
    QCOMPARE(value.equalsText(text.toStdString()), equalsText);
}

void TestRuntime::stringArithmeticIsTypeMismatch() {
    for (const Value& value : {Value(""), Value("12"), Value("abc")}) {
        try {
            value.arithmetic();
            QFAIL("a string in arithmetic must raise an error");
        } catch (const RunTimeError& error) {
            QCOMPARE(error.code(), ErrorCode::TypeMismatch);
            QCOMPARE(QString::fromStdString(error.message()),
                     QStringLiteral("Tipo non corrispondente"));
            QCOMPARE(QString::fromUtf8(error.what()), QStringLiteral("Tipo non corrispondente"));
        }
    }
}

void TestRuntime::errorMessages_data() {
    QTest::addColumn<ErrorCode>("code");
    QTest::addColumn<QString>("message");
    QTest::newRow("overflow") << ErrorCode::Overflow << QStringLiteral("Overflow");
    QTest::newRow("type mismatch")
        << ErrorCode::TypeMismatch << QStringLiteral("Tipo non corrispondente");
}

void TestRuntime::errorMessages() {
    QFETCH(ErrorCode, code);
    QFETCH(QString, message);
    QCOMPARE(QString::fromStdString(RunTimeError(code).message()), message);
    QCOMPARE(QString::fromStdString(messageFor(code)), message);
}

void TestRuntime::parseLocaleNumber_data() {
    QTest::addColumn<QString>("locale");
    QTest::addColumn<QString>("text");
    QTest::addColumn<std::optional<double>>("expected"); // none: not a number
    const QString it = QStringLiteral("it_IT");
    const QString en = QStringLiteral("en_US");
    const std::optional<double> refused;
    struct Row {
        const char* text;
        std::optional<double> inItalian;
        std::optional<double> inEnglish;
    };
    const std::vector<Row> rows = {
        {"86", 86.0, 86.0},
        {"12,5", 12.5, refused},
        {"12.5", refused, 12.5},
        {"  12  ", 12.0, 12.0},
        {" 0,55", 0.55, refused},
        {"-3", -3.0, -3.0},
        {"+3", 3.0, 3.0},
        {"1e3", 1000.0, 1000.0},
        {"1E-2", 0.01, 0.01},
        {"2,5e2", 250.0, refused},
        {"", refused, refused},
        {"   ", refused, refused},
        {"abc", refused, refused},
        {"12a", refused, refused},
        {"inf", refused, refused},
        {"-inf", refused, refused},
        {"nan", refused, refused},
        {"1e400", refused, refused},
        {"1E400", refused, refused},
    };
    for (const Row& row : rows) {
        QTest::addRow("it_IT \"%s\"", row.text)
            << it << QString::fromUtf8(row.text) << row.inItalian;
        QTest::addRow("en_US \"%s\"", row.text)
            << en << QString::fromUtf8(row.text) << row.inEnglish;
    }
}

void TestRuntime::parseLocaleNumber() {
    QFETCH(QString, locale);
    QFETCH(QString, text);
    QFETCH(std::optional<double>, expected);
    QLocale::setDefault(QLocale(locale));
    QCOMPARE(lumetra::runtime::parseLocaleNumber(text), expected);
}

void TestRuntime::formatLocaleNumber_data() {
    QTest::addColumn<QString>("locale");
    QTest::addColumn<double>("value");
    QTest::addColumn<QString>("expected");
    const QString it = QStringLiteral("it_IT");
    const QString en = QStringLiteral("en_US");
    QTest::newRow("it 0.55") << it << 0.55 << QStringLiteral("0,55");
    QTest::newRow("en 0.55") << en << 0.55 << QStringLiteral("0.55");
    QTest::newRow("it 0.51") << it << 0.51 << QStringLiteral("0,51");
    QTest::newRow("it 0.5700000000000001") << it << 0.5700000000000001 << QStringLiteral("0,57");
    QTest::newRow("en 0.5700000000000001") << en << 0.5700000000000001 << QStringLiteral("0.57");
    QTest::newRow("en 1.1099999999999999") << en << 1.1099999999999999 << QStringLiteral("1.11");
    QTest::newRow("it 146367.36") << it << 146367.36 << QStringLiteral("146367,36");
    QTest::newRow("en 146367.36") << en << 146367.36 << QStringLiteral("146367.36");
    QTest::newRow("it 86") << it << 86.0 << QStringLiteral("86");
    QTest::newRow("en -3.5") << en << -3.5 << QStringLiteral("-3.5");
}

void TestRuntime::formatLocaleNumber() {
    QFETCH(QString, locale);
    QFETCH(double, value);
    QFETCH(QString, expected);
    QLocale::setDefault(QLocale(locale));
    QCOMPARE(lumetra::runtime::formatLocaleNumber(value), expected);
}

void TestRuntime::paletteOrder_data() {
    QTest::addColumn<int>("index");
    QTest::addColumn<int>("r");
    QTest::addColumn<int>("g");
    QTest::addColumn<int>("b");
    // Only the extremes have fixed values; the rest follow the bit rules below.
    QTest::newRow("0 black") << 0 << 0 << 0 << 0;
    QTest::newRow("15 bright white") << 15 << 255 << 255 << 255;
}

void TestRuntime::paletteOrder() {
    QFETCH(int, index);
    QFETCH(int, r);
    QFETCH(int, g);
    QFETCH(int, b);
    const Rgb colour = QBColor(index);
    QCOMPARE(red(colour), r);
    QCOMPARE(green(colour), g);
    QCOMPARE(blue(colour), b);
}

void TestRuntime::paletteFollowsBitRules() {
    // Bit 1 adds blue, 2 green, 4 red; 8 makes the same colour brighter.
    for (int index = 1; index < 8; ++index) {
        const Rgb dark = QBColor(index);
        const Rgb bright = QBColor(index + 8);
        const bool hasBlue = (index & 1) != 0;
        const bool hasGreen = (index & 2) != 0;
        const bool hasRed = (index & 4) != 0;
        QVERIFY2((blue(dark) > 0) == hasBlue, qPrintable(QString::number(index)));
        QVERIFY2((green(dark) > 0) == hasGreen, qPrintable(QString::number(index)));
        QVERIFY2((red(dark) > 0) == hasRed, qPrintable(QString::number(index)));
        QVERIFY2((blue(bright) > blue(dark)) == hasBlue, qPrintable(QString::number(index)));
        QVERIFY2((green(bright) > green(dark)) == hasGreen, qPrintable(QString::number(index)));
        QVERIFY2((red(bright) > red(dark)) == hasRed, qPrintable(QString::number(index)));
    }
    // 4 is red, the calibration circle's colour: red alone.
    QVERIFY(red(QBColor(4)) > 0 && green(QBColor(4)) == 0 && blue(QBColor(4)) == 0);
    // 8, intensity alone, is dark grey: lighter than black, darker than 7 (light grey).
    const Rgb darkGrey = QBColor(8);
    const Rgb lightGrey = QBColor(7);
    QVERIFY(red(darkGrey) == green(darkGrey) && green(darkGrey) == blue(darkGrey));
    QVERIFY(red(lightGrey) == green(lightGrey) && green(lightGrey) == blue(lightGrey));
    QVERIFY(red(darkGrey) > 0 && red(darkGrey) < red(lightGrey));
    std::set<Rgb> distinct;
    for (int index = 0; index < kPaletteSize; ++index) {
        QVERIFY(QBColor(index) <= 0xFFFFFFu);
        distinct.insert(QBColor(index));
    }
    QCOMPARE(distinct.size(), std::size_t{16});
}

void TestRuntime::paletteRefusesIndicesOutside_data() {
    QTest::addColumn<int>("index");
    QTest::newRow("16") << 16;
    QTest::newRow("-1") << -1;
    QTest::newRow("32767") << 32767;
}

void TestRuntime::paletteRefusesIndicesOutside() {
    QFETCH(int, index);
    QCOMPARE(raised([&] { QBColor(index); }), std::optional(ErrorCode::InvalidCall));
}

void TestRuntime::accumulatedLoopPassCounts() {
    std::vector<double> circle;
    const int circlePasses =
        forEachAccumulated(0.0, 360.0, 0.1, [&](double angle) { circle.push_back(angle); });
    QCOMPARE(circlePasses, 3600);
    QCOMPARE(circle.size(), std::size_t{3600});
    COMPARE_EXACT(circle.front(), 0.0);
    QVERIFY(std::abs(circle.back() - 359.9) < 1e-9);
    // The 360-degree pass would repeat the first point; the rounding leaves it out.
    QVERIFY(circle.back() + 0.1 > 360.0);

    std::vector<double> sweep;
    const int sweepPasses =
        forEachAccumulated(0.0, 90.0, 0.1, [&](double angle) { sweep.push_back(angle); });
    QCOMPARE(sweepPasses, 901);
    QCOMPARE(sweep.size(), std::size_t{901});
    COMPARE_EXACT(sweep.back(), 89.99999999999916);

    QCOMPARE(forEachAccumulated(1.0, 0.0, 0.1, [](double) {}), 0);
}

void TestRuntime::accumulatedCounterValues_data() {
    QTest::addColumn<int>("pass");
    QTest::addColumn<double>("counter");
    QTest::newRow("1st") << 1 << 0.0;
    QTest::newRow("2nd") << 2 << 0.1;
    QTest::newRow("6th") << 6 << 0.5;
    QTest::newRow("16th") << 16 << 1.5000000000000002;
    QTest::newRow("26th") << 26 << 2.500000000000001;
    QTest::newRow("46th") << 46 << 4.5;
    QTest::newRow("97th") << 97 << 9.599999999999982;
    QTest::newRow("451st") << 451 << 45.00000000000037;
    QTest::newRow("821st") << 821 << 81.99999999999962;
    QTest::newRow("901st") << 901 << 89.99999999999916;
}

void TestRuntime::accumulatedCounterValues() {
    QFETCH(int, pass);
    QFETCH(double, counter);
    std::vector<double> sweep;
    forEachAccumulated(0.0, 90.0, 0.1, [&](double angle) { sweep.push_back(angle); });
    // Exact comparison: the accumulated value, not the decimal one.
    COMPARE_EXACT(sweep.at(static_cast<std::size_t>(pass - 1)), counter);
}

QTEST_APPLESS_MAIN(TestRuntime)
#include "test_runtime.moc"
