// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/script_number.h"

#include "runtime/locale_numbers.h"

#include <QLocale>

namespace lumetra::cli {

std::optional<double> parseScriptNumber(const QString& text) {
    QString plain = text;
    if (plain.contains(u',')) {
        // A comma and a dot together can only be a thousands separator and a decimal one.
        if (plain.contains(u'.')) {
            return std::nullopt;
        }
        plain.replace(u',', u'.');
    }
    QLocale c = QLocale::c();
    c.setNumberOptions(QLocale::RejectGroupSeparator);
    return runtime::parseLocaleNumber(plain, c);
}

} // namespace lumetra::cli
