// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "output/background_flush.h"
#include "output/journal_reading.h"
#include "output/plot_record.h"
#include "output/work_text.h"

#include <QByteArray>
#include <QString>

#include <chrono>
#include <cstddef>
#include <memory>
#include <optional>
#include <vector>

class QLockFile;

namespace lumetra::output {

// Where the work in progress is kept: a file in the user's data folder.
QString keptWorkPath();

// The work that a program no longer running left at `path`: its plots, or
// why they cannot be brought back. Nothing when there is none to bring back:
// no file, no plot in it, or a LUMETRA that is still running keeps it.
std::optional<JournalReading> abandonedWork(const QString& path);

// Keeps the work in progress on the disk, so that a crash, a kill or a power
// cut loses nothing: after every step of the plot window the journal at its
// path holds the record as it stands. A step appends its lines to the file
// with a single write, whatever the size of the record; a thread flushes the
// file to the disk at most every kFlushInterval, because a flush costs a few
// milliseconds. A kill thus loses no step whose call returned, a power cut at
// most the steps of the last interval. When the file has grown to several
// times what the record needs, it is written anew, holding only the record.
//
// Each step is reported after the record took it. A failure to write is
// returned once, by the step that met it; the journal then stops keeping, its
// file left at the last state it holds complete, until start() again. No
// failure stops the plot window.
class WorkJournal {
public:
    static constexpr std::chrono::milliseconds kFlushInterval{250};

    // `record` is the plot window's, and outlives the journal.
    explicit WorkJournal(const PlotRecord& record);
    // Without finish(), the file stays for the next start to offer back.
    ~WorkJournal();
    WorkJournal(const WorkJournal&) = delete;
    WorkJournal& operator=(const WorkJournal&) = delete;

    // Takes the journal at `path` for this program, its folder made if
    // missing, and writes the record into it as it stands; again after a
    // failure, keeps the work once more. Fails when another LUMETRA that is
    // still running keeps its work there.
    std::optional<WorkError> start(const QString& path);

    // A plot added to the record.
    std::optional<WorkError> added();
    // The last plot taken back.
    std::optional<WorkError> dropped();
    // The record cleared: what it held is put aside, to come back by uncleared().
    std::optional<WorkError> cleared();
    // The record put aside by the last clear or open brought back.
    std::optional<WorkError> uncleared();
    // The record replaced by one read from a file: a clear, then its plots.
    std::optional<WorkError> opened();

    // The program ends normally: the file goes, and the lock with it.
    void finish();

    // Whether the steps reach the disk.
    bool keeping() const { return fd_ >= 0; }

private:
    std::optional<WorkError> append(const QByteArray& lines, qsizetype count);
    std::optional<WorkError> rewrite();
    std::optional<WorkError> fail(int error);
    void close();

    const PlotRecord& record_;
    QString path_;
    std::unique_ptr<QLockFile> lock_;
    int fd_ = -1;
    qint64 bytes_ = 0;        // the file's size after its last complete step
    qsizetype lines_ = 0;     // and its lines
    std::size_t present_ = 0; // the plots in the record after that step
    // How many plots each record put aside holds, the last put aside last,
    // and how many in all: what a clear or an open may bring back is not waste.
    std::vector<std::size_t> aside_;
    std::size_t asidePlots_ = 0;
    BackgroundFlush flush_{kFlushInterval};
};

} // namespace lumetra::output
