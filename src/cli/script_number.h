// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

#include <optional>

namespace lumetra::cli {

// A number as scripts write it, whatever the user's regional settings: a dot
// or a comma as the decimal separator, never a thousands separator ("45.000"
// is 45), blanks around it, a sign and an exponent allowed. Nothing for any
// other text, for infinities and NaN, and for values beyond the double range.
std::optional<double> parseScriptNumber(const QString& text);

} // namespace lumetra::cli
