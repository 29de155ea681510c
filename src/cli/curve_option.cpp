// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/curve_option.h"

#include "cli/script_number.h"

#include <QStringList>

namespace lumetra::cli {

namespace {

using namespace Qt::StringLiterals;

constexpr qsizetype kNumbers = 3;

// Ticks the check box or presses the command that `word` names; false for
// any other word.
bool setFlag(Curve& curve, const QString& word) {
    if (word == u"x-cos"_s) {
        curve.xCosine = true;
    } else if (word == u"y-cos"_s) {
        curve.yCosine = true;
    } else if (word == u"corde"_s) {
        curve.chords = true;
    } else {
        return false;
    }
    return true;
}

} // namespace

std::variant<Curve, QString> parseCurveOption(const QString& text) {
    const QStringList fields = text.split(u':');
    if (fields.size() < kNumbers) {
        return u"servono lunghezza, angolo e incremento separati da due punti, "
               u"per esempio 86:55:1"_s;
    }
    double values[kNumbers];
    for (qsizetype i = 0; i < kNumbers; ++i) {
        const std::optional<double> value = parseScriptNumber(fields[i]);
        if (!value) {
            return u'"' + fields[i] + u"\" non \u00E8 un numero"_s;
        }
        values[i] = *value;
    }
    Curve curve{values[0], values[1], values[2]};
    for (qsizetype i = kNumbers; i < fields.size(); ++i) {
        if (!setFlag(curve, fields[i])) {
            return u'"' + fields[i] + u"\" non \u00E8 x-cos, y-cos o corde"_s;
        }
    }
    return curve;
}

} // namespace lumetra::cli
