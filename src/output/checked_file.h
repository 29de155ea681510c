// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArrayView>
#include <QSaveFile>
#include <QString>

namespace lumetra::output {

// Writes all the bytes to an open file descriptor, every call checked; past
// the file-size limit (ulimit -f) the write fails with EFBIG instead of
// ending the program. 0 when written, else the system's error number.
int writeWhole(int descriptor, QByteArrayView bytes);

// Why a write failed, from the system's error number, in Italian whatever the
// system's language.
QString systemReason(int error);

// A file written whole or not at all: the bytes go into a temporary file
// beside it, every write checked, then synced to the disk, and only then does
// the temporary file take the file's place. Until commit() succeeds the file
// keeps its bytes; a CheckedFile dropped before that removes its temporary
// file. A file-size limit fails the write instead of ending the program.
class CheckedFile {
public:
    explicit CheckedFile(const QString& name) : file_(name) {}

    bool open();
    bool write(QByteArrayView bytes);
    // Syncs the bytes to the disk, then puts the file in place.
    bool commit();

    // Why the last call failed, in Italian whatever the system's language.
    const QString& failure() const { return failure_; }

private:
    bool fail(int error);

    QSaveFile file_;
    QString failure_;
};

} // namespace lumetra::output
