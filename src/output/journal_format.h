// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>

namespace lumetra::output::journal {

// The words of the journal that keeps the work in progress, one step a line;
// docs/work-format.md describes them.
inline const QByteArray kMagic = "LUMETRA journal";
inline constexpr int kVersion = 1;
inline const QByteArray kAdd = "add";         // "add <plot line>": one more plot
inline const QByteArray kDrop = "drop";       // the last plot taken back
inline const QByteArray kClear = "clear";     // the record put aside, an empty one begun
inline const QByteArray kUnclear = "unclear"; // the record put aside last brought back
inline const QByteArray kOpen = "open";       // "open N", then N plot lines: a clear and N plots

} // namespace lumetra::output::journal
