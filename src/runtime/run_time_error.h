// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <stdexcept>
#include <string>

namespace lumetra::runtime {

// The run-time errors the program can meet, with the platform's numbers.
enum class ErrorCode {
    InvalidCall = 5,
    Overflow = 6,
    OutOfMemory = 7,
    TypeMismatch = 13,
};

// Raised where the arithmetic or a window operation fails; the application's
// error boundary turns it into a message box and the program carries on.
class RunTimeError : public std::runtime_error {
public:
    explicit RunTimeError(ErrorCode code);

    ErrorCode code() const { return code_; }
    // The Italian text shown to the user, UTF-8.
    const std::string& message() const { return message_; }

private:
    ErrorCode code_;
    std::string message_;
};

std::string messageFor(ErrorCode code);

} // namespace lumetra::runtime
