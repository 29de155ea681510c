// Typed numbers under the Italian and the English locale: the numeric test and
// the conversion agree with the locale's parser, an accepted number is finite,
// and its text as a text box shows it reads back as the same number.

#include "require.h"
#include "runtime/locale_numbers.h"

#include <QByteArray>
#include <QLocale>
#include <QString>

#include <array>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <optional>

using lumetra::fuzz::require;
using lumetra::runtime::formatLocaleNumber;
using lumetra::runtime::parseLocaleNumber;

namespace {

const std::array<QLocale, 2>& locales() {
    static const std::array<QLocale, 2> all = {QLocale(QLocale::Italian, QLocale::Italy),
                                               QLocale(QLocale::English, QLocale::UnitedStates)};
    return all;
}

bool sameBits(double a, double b) {
    return std::memcmp(&a, &b, sizeof a) == 0;
}

void checkAgreesWithLocale(const QString& text, const QLocale& locale,
                           const std::optional<double>& parsed) {
    bool ok = false;
    const double converted = locale.toDouble(text, &ok);
    const bool accepted = ok && std::isfinite(converted);
    require(parsed.has_value() == accepted,
            "accepted exactly when the locale converts to a finite");
    if (parsed) {
        require(sameBits(*parsed, converted), "the accepted value is the locale's conversion");
        require(std::isfinite(*parsed), "an accepted value is finite");
    }
}

// Fifteen significant digits survive the trip: the text shown for the number
// read back gives the same text again.
void checkReadsBack(double value, const QLocale& locale) {
    const QString shown = formatLocaleNumber(value, locale);
    const std::optional<double> back = parseLocaleNumber(shown, locale);
    require(back.has_value(), "the shown text of an accepted number is accepted");
    require(formatLocaleNumber(*back, locale) == shown, "the shown text reads back unchanged");
}

void checkText(const QString& text) {
    for (const QLocale& locale : locales()) {
        const std::optional<double> parsed = parseLocaleNumber(text, locale);
        checkAgreesWithLocale(text, locale, parsed);
        if (parsed) {
            checkReadsBack(*parsed, locale);
        }
    }
}

} // namespace

// The bytes as UTF-8 and as Latin-1: users type accented letters either way.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QByteArray bytes =
        QByteArray::fromRawData(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    checkText(QString::fromUtf8(bytes));
    checkText(QString::fromLatin1(bytes));
    return 0;
}
