// SPDX-License-Identifier: GPL-3.0-or-later
#include "runtime/locale_numbers.h"

#include <cmath>

namespace lumetra::runtime {

std::optional<double> parseLocaleNumber(const QString& text, const QLocale& locale) {
    if (text.trimmed().isEmpty()) {
        return std::nullopt;
    }
    bool ok = false;
    const double value = locale.toDouble(text, &ok);
    // The locale parser accepts "inf" and "nan"; a plot with them draws nonsense.
    if (!ok || !std::isfinite(value)) {
        return std::nullopt;
    }
    return value;
}

QString formatLocaleNumber(double value, const QLocale& locale) {
    // Fifteen digits round the largest doubles up past the double range, to a
    // text that no longer reads as a number: show the largest one that does.
    constexpr double kLargestShown = 1.79769313486231e308;
    if (std::isfinite(value) && std::abs(value) > kLargestShown) {
        value = std::copysign(kLargestShown, value);
    }
    QLocale plain = locale;
    plain.setNumberOptions(plain.numberOptions() | QLocale::OmitGroupSeparator);
    return plain.toString(value, 'g', 15);
}

} // namespace lumetra::runtime
