// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "output/plot_record.h"
#include "output/work_text.h"

#include <QByteArrayView>
#include <QString>

#include <variant>

namespace lumetra::output {

// The record a journal keeps, or why it is refused, in Italian.
using JournalReading = std::variant<PlotRecord, WorkError>;

// The record after the journal's steps. The last step counts only when it is
// complete and readable: a kill or a power cut in the middle of writing it
// leaves the state before it. Any earlier step that cannot be read or applied
// means the file was damaged, and the journal is refused.
JournalReading replayJournal(QByteArrayView text);

// The same, from a file.
JournalReading readJournal(const QString& path);

} // namespace lumetra::output
