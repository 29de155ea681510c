// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

namespace lumetra::cli {

// The program run with arguments: no window and no display, the picture
// written to the file the arguments name; every message on standard error,
// in Italian. Returns the exit status (ExitStatus).
int runCommandLine(int argc, char* argv[]);

} // namespace lumetra::cli
