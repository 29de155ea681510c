// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QLocale>
#include <QString>

#include <optional>

namespace lumetra::runtime {

// The numeric test and the text-to-double conversion in one: the number the
// text stands for under `locale`, or nothing when it is not a number there.
// Blanks around the number, a sign, an exponent and group separators follow
// the locale; the empty text, infinities, NaN and values beyond the double
// range are refused.
std::optional<double> parseLocaleNumber(const QString& text, const QLocale& locale = QLocale());

// A double as text, the way a text box shows it: at most 15 significant
// digits, the locale's decimal separator, no group separators.
QString formatLocaleNumber(double value, const QLocale& locale = QLocale());

} // namespace lumetra::runtime
