// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QStringList>

namespace lumetra::cli {

// Whether the program's arguments, its own name left out, start the windows
// rather than the command line: none at all, or only Qt's own switches
// (-platform, -style, ...) with their values and at most one file to open.
// Any other argument is the command line's, which reports what it does not
// know.
bool startsWindows(const QStringList& arguments);

} // namespace lumetra::cli
