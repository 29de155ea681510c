// SPDX-License-Identifier: GPL-3.0-or-later
// A module that loads but lacks the windows' entry point, for the program to refuse.
extern "C" int lumetra_something_else() {
    return 0;
}
