// SPDX-License-Identifier: GPL-3.0-or-later
// Typed numbers under the Italian and the English locale, read as UTF-8 and as
// Latin-1: an accepted number is finite, and the text a text box shows for it
// reads back unchanged.

#include "require.h"
#include "runtime/locale_numbers.h"

#include <cmath>
#include <cstdint>
#include <optional>

using namespace lumetra::runtime;

static void checkText(const QString& text) {
    for (const QLocale& locale : {QLocale(QLocale::Italian, QLocale::Italy),
                                  QLocale(QLocale::English, QLocale::UnitedStates)}) {
        const std::optional<double> parsed = parseLocaleNumber(text, locale);
        if (parsed) {
            require(std::isfinite(*parsed), "an accepted number is finite");
            const QString shown = formatLocaleNumber(*parsed, locale);
            const std::optional<double> back = parseLocaleNumber(shown, locale);
            require(back && formatLocaleNumber(*back, locale) == shown,
                    "the shown text reads back unchanged");
        }
    }
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QByteArray bytes =
        QByteArray::fromRawData(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    checkText(QString::fromUtf8(bytes));
    checkText(QString::fromLatin1(bytes));
    return 0;
}
