// SPDX-License-Identifier: GPL-3.0-or-later
#include "runtime/value.h"

#include "runtime/run_time_error.h"

namespace lumetra::runtime {

double Value::arithmetic() const {
    if (const auto* d = std::get_if<double>(&data_)) {
        return *d;
    }
    if (const auto* i = std::get_if<std::int16_t>(&data_)) {
        return *i;
    }
    if (isEmpty()) {
        return 0.0;
    }
    throw RunTimeError(ErrorCode::TypeMismatch);
}

bool Value::equalsNumber(double number) const {
    if (isString()) {
        return false;
    }
    return arithmetic() == number;
}

bool Value::equalsText(const std::string& text) const {
    if (isEmpty()) {
        return text.empty();
    }
    if (const auto* s = std::get_if<std::string>(&data_)) {
        return *s == text;
    }
    return false;
}

} // namespace lumetra::runtime
