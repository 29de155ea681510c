// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "cli/request.h"

#include <QString>

#include <variant>

namespace lumetra::cli {

// One curve written as LENGTH:ANGLE:INCREMENT, then any of x-cos, y-cos and
// corde, all parted by colons: "86,5:55:1:x-cos:corde". The colon leaves the
// comma free to be the decimal separator. Gives the curve, or why the text is
// not one.
std::variant<Curve, QString> parseCurveOption(const QString& text);

} // namespace lumetra::cli
