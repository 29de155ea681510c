// SPDX-License-Identifier: GPL-3.0-or-later
#include "output/work_journal.h"

#include "output/checked_file.h"
#include "output/journal_format.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLockFile>
#include <QStandardPaths>

#include <cerrno>

#include <fcntl.h>
#include <unistd.h>

namespace lumetra::output {

namespace {

// The file is written anew when it holds more than this many times the lines
// the record and the records put aside need, and at least kFewestLines more.
constexpr qsizetype kGrowth = 4;
constexpr qsizetype kFewestLines = 1024;

QString lockPathOf(const QString& path) {
    return path + QStringLiteral(".lock");
}

QString freshPathOf(const QString& path) {
    return path + QStringLiteral(".new");
}

QString failure(const QString& path, const QString& reason) {
    return QStringLiteral("Impossibile custodire il lavoro in %1: %2")
        .arg(QDir::toNativeSeparators(path), reason);
}

// A rename reaches the disk with its folder.
void flushFolderOf(const QString& path) {
    const QByteArray folder = QFile::encodeName(QFileInfo(path).absolutePath());
    const int fd = ::open(folder.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
}

QByteArray lineOf(const QByteArray& word) {
    return word + '\n';
}

} // namespace

QString keptWorkPath() {
    return QStandardPaths::writableLocation(QStandardPaths::AppDataLocation) +
           QStringLiteral("/lavoro-in-corso.journal");
}

std::optional<JournalReading> abandonedWork(const QString& path) {
    if (!QFileInfo::exists(path)) {
        return std::nullopt;
    }
    // The lock of a program that ended without removing it is taken over.
    QLockFile lock(lockPathOf(path));
    lock.setStaleLockTime(0);
    if (!lock.tryLock(0)) {
        return std::nullopt;
    }
    JournalReading reading = readJournal(path);
    if (const PlotRecord* record = std::get_if<PlotRecord>(&reading); record && record->empty()) {
        return std::nullopt;
    }
    return reading;
}

WorkJournal::WorkJournal(const PlotRecord& record) : record_(record) {}

WorkJournal::~WorkJournal() {
    if (keeping()) {
        ::fdatasync(fd_);
    }
    close();
}

std::optional<WorkError> WorkJournal::start(const QString& path) {
    if (lock_ && path != path_) {
        finish();
    }
    path_ = path;
    if (!QDir().mkpath(QFileInfo(path).absolutePath())) {
        return WorkError{failure(path, QStringLiteral("la cartella non si pu\u00F2 creare"))};
    }
    if (!lock_) {
        auto lock = std::make_unique<QLockFile>(lockPathOf(path));
        // A running program keeps its lock however long it runs.
        lock->setStaleLockTime(0);
        if (!lock->tryLock(0)) {
            return WorkError{failure(
                path, lock->error() == QLockFile::LockFailedError
                          ? QStringLiteral("un altro LUMETRA in esecuzione vi custodisce il suo")
                          : systemReason(EACCES))};
        }
        lock_ = std::move(lock);
    }
    return rewrite();
}

std::optional<WorkError> WorkJournal::added() {
    if (!keeping()) {
        return std::nullopt;
    }
    if (record_.size() != present_ + 1) {
        return rewrite();
    }
    ++present_;
    return append(journal::kAdd + ' ' + plotLine(record_.plots().back()) + '\n', 1);
}

std::optional<WorkError> WorkJournal::dropped() {
    if (!keeping()) {
        return std::nullopt;
    }
    if (present_ == 0 || record_.size() != present_ - 1) {
        return rewrite();
    }
    --present_;
    return append(lineOf(journal::kDrop), 1);
}

std::optional<WorkError> WorkJournal::cleared() {
    if (!keeping()) {
        return std::nullopt;
    }
    if (!record_.empty()) {
        return rewrite();
    }
    aside_.push_back(present_);
    asidePlots_ += present_;
    present_ = 0;
    return append(lineOf(journal::kClear), 1);
}

std::optional<WorkError> WorkJournal::uncleared() {
    if (!keeping()) {
        return std::nullopt;
    }
    // A clear from before the file was last written anew: the file has no record to bring back.
    if (aside_.empty() || record_.size() != aside_.back()) {
        return rewrite();
    }
    present_ = aside_.back();
    asidePlots_ -= present_;
    aside_.pop_back();
    return append(lineOf(journal::kUnclear), 1);
}

std::optional<WorkError> WorkJournal::opened() {
    if (!keeping()) {
        return std::nullopt;
    }
    aside_.push_back(present_);
    asidePlots_ += present_;
    present_ = record_.size();
    QByteArray lines = journal::kOpen + ' ' + QByteArray::number(qulonglong(present_)) + '\n';
    for (const RecordedPlot& plot : record_.plots()) {
        lines += plotLine(plot) + '\n';
    }
    return append(lines, 1 + static_cast<qsizetype>(present_));
}

void WorkJournal::finish() {
    if (!lock_) {
        return;
    }
    close();
    QFile::remove(path_);
    QFile::remove(freshPathOf(path_));
    lock_.reset();
}

std::optional<WorkError> WorkJournal::append(const QByteArray& lines, qsizetype count) {
    if (const int error = writeWhole(fd_, lines)) {
        return fail(error);
    }
    bytes_ += lines.size();
    lines_ += count;
    flush_.wrote();
    if (const int error = flush_.takeFailure()) {
        return fail(error);
    }
    const auto needed = static_cast<qsizetype>(1 + present_ + asidePlots_);
    if (lines_ > kGrowth * needed + kFewestLines) {
        return rewrite();
    }
    return std::nullopt;
}

// The record as it stands into a file of its own, which replaces the journal
// only once it is complete on the disk: a kill or a power cut meanwhile
// leaves the journal as it was.
std::optional<WorkError> WorkJournal::rewrite() {
    QByteArray text = journal::kMagic + ' ' + QByteArray::number(journal::kVersion) + '\n';
    for (const RecordedPlot& plot : record_.plots()) {
        text += journal::kAdd + ' ' + plotLine(plot) + '\n';
    }
    const QByteArray fresh = QFile::encodeName(freshPathOf(path_));
    const int fd =
        ::open(fresh.constData(), O_WRONLY | O_CREAT | O_TRUNC | O_APPEND | O_CLOEXEC, 0600);
    if (fd < 0) {
        return fail(errno);
    }
    int error = writeWhole(fd, text);
    if (error == 0 && (::fdatasync(fd) != 0 ||
                       ::rename(fresh.constData(), QFile::encodeName(path_).constData()) != 0)) {
        error = errno;
    }
    if (error != 0) {
        ::close(fd);
        ::unlink(fresh.constData());
        return fail(error);
    }
    flushFolderOf(path_);
    close();
    fd_ = fd;
    flush_.follow(fd_);
    bytes_ = text.size();
    lines_ = 1 + static_cast<qsizetype>(record_.size());
    present_ = record_.size();
    aside_.clear();
    asidePlots_ = 0;
    return std::nullopt;
}

// The file stays as its last complete step left it: what a failed write may
// have added is a last line cut short, which the reader leaves out, and no
// step follows it.
std::optional<WorkError> WorkJournal::fail(int error) {
    close();
    return WorkError{failure(path_, systemReason(error))};
}

void WorkJournal::close() {
    flush_.follow(-1);
    if (fd_ >= 0) {
        ::close(fd_);
        fd_ = -1;
    }
}

} // namespace lumetra::output
