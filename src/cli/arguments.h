// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "cli/request.h"

#include <QString>
#include <QStringList>

#include <variant>

namespace lumetra::cli {

// A text instead of a picture: the help or the version for standard output
// (kWritten), or what is wrong with the arguments for standard error
// (kBadUsage).
struct Reply {
    QString text;
    ExitStatus status;
};

// The program's arguments, its own name first, as a picture to write or a
// reply. The Nth curve takes the Nth value of --lunghezza, --angolo and
// --incremento each; an option given fewer times keeps its last value.
std::variant<Request, Reply> parseArguments(const QStringList& arguments);

} // namespace lumetra::cli
