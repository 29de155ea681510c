// SPDX-License-Identifier: GPL-3.0-or-later
#include "runtime/run_time_error.h"

namespace lumetra::runtime {

std::string messageFor(ErrorCode code) {
    switch (code) {
    case ErrorCode::InvalidCall:
        return "Chiamata di routine o argomento non valido";
    case ErrorCode::Overflow:
        return "Overflow";
    case ErrorCode::OutOfMemory:
        return "Memoria esaurita";
    case ErrorCode::TypeMismatch:
        return "Tipo non corrispondente";
    }
    return "Errore";
}

RunTimeError::RunTimeError(ErrorCode code)
    : std::runtime_error(messageFor(code)), code_(code), message_(messageFor(code)) {}

} // namespace lumetra::runtime
