// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <string>
#include <variant>

namespace lumetra::runtime {

// A window variable: Empty when its window is created, afterwards a double, a
// 16-bit integer or a string (no window variable of the program holds a single). Only the rules the
// program relies on are here: Empty counts as 0 in arithmetic and equals "", a number never equals
// a string, and a string in arithmetic is a type mismatch.
class Value {
public:
    struct Empty {
        bool operator==(const Empty&) const = default;
    };

    Value() = default;
    Value(double v) : data_(v) {}                   // NOLINT(google-explicit-constructor)
    Value(std::int16_t v) : data_(v) {}             // NOLINT(google-explicit-constructor)
    Value(std::string v) : data_(std::move(v)) {}   // NOLINT(google-explicit-constructor)
    Value(const char* v) : data_(std::string(v)) {} // NOLINT(google-explicit-constructor)

    bool isEmpty() const { return std::holds_alternative<Empty>(data_); }
    bool isInt16() const { return std::holds_alternative<std::int16_t>(data_); }
    bool isString() const { return std::holds_alternative<std::string>(data_); }

    // The value as an operand of arithmetic: Empty is 0, a string raises
    // TypeMismatch. 16-bit integers widen exactly.
    double arithmetic() const;

    // Comparison with a number (`Risposta1 = 7`, `Contr <> 1`): Empty counts as
    // 0, a string never equals a number.
    bool equalsNumber(double number) const;

    // Comparison with a text (`VALa = ""`): Empty equals "", a number never
    // equals a text.
    bool equalsText(const std::string& text) const;

    bool operator==(const Value&) const = default;

private:
    std::variant<Empty, double, std::int16_t, std::string> data_;
};

} // namespace lumetra::runtime
