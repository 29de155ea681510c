// SPDX-License-Identifier: GPL-3.0-or-later
#include "output/checked_file.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <csignal>
#include <ctime>

#include <pthread.h>
#include <unistd.h>

namespace lumetra::output {

namespace {

QString shown(const QString& path) {
    return QDir::toNativeSeparators(path);
}

QString folderOf(const QString& name) {
    return QFileInfo(name).absolutePath();
}

// Why `name` could not be written, from the system's error number, naming
// the file or its folder when they are the cause.
QString reasonOf(int error, const QString& name) {
    switch (error) {
    case EISDIR:
        return QStringLiteral("%1 \u00E8 una cartella").arg(shown(name));
    case ENOTDIR:
        return QStringLiteral("%1 non \u00E8 una cartella").arg(shown(folderOf(name)));
    case ENOENT:
        // Folders such as /proc exist and still take no new file.
        return QFileInfo(folderOf(name)).isDir()
                   ? QStringLiteral("nella cartella %1 non si possono creare file")
                         .arg(shown(folderOf(name)))
                   : QStringLiteral("la cartella %1 non esiste").arg(shown(folderOf(name)));
    default:
        return systemReason(error);
    }
}

// 0 when `path` may be written to, else the system's reason why not.
int writeAccessError(const QString& path) {
    return ::access(QFile::encodeName(path).constData(), W_OK) == 0 ? 0 : errno;
}

// Why the file could not be made: the folder when it is the cause, else
// `error`, the number the failed open left.
QString openFailure(const QString& name, int error) {
    const QFileInfo file(name);
    const QFileInfo folder(file.absolutePath());
    if (file.isDir()) {
        return reasonOf(EISDIR, name);
    }
    if (!folder.exists()) {
        return reasonOf(ENOENT, name);
    }
    if (!folder.isDir()) {
        return reasonOf(ENOTDIR, name);
    }
    if (const int denied = writeAccessError(folder.filePath())) {
        return denied == EROFS ? reasonOf(EROFS, name)
                               : QStringLiteral("la cartella %1 non \u00E8 scrivibile")
                                     .arg(shown(folder.filePath()));
    }
    // The file is replaced, not written into; still, a file made read-only is kept.
    if (file.exists()) {
        if (const int denied = writeAccessError(name)) {
            return reasonOf(denied, name);
        }
    }
    return reasonOf(error, name);
}

// Holds SIGXFSZ back while it lives, so that a write past the file-size
// limit (ulimit -f) fails with EFBIG instead of ending the program with its
// unsaved curves; the signal such a write raised is dropped on the way out.
class FileSizeSignalHeld {
public:
    FileSizeSignalHeld() {
        sigemptyset(&fileSize_);
        sigaddset(&fileSize_, SIGXFSZ);
        pthread_sigmask(SIG_BLOCK, &fileSize_, &before_);
    }
    ~FileSizeSignalHeld() {
        const timespec now{};
        while (sigtimedwait(&fileSize_, nullptr, &now) == SIGXFSZ) {
        }
        pthread_sigmask(SIG_SETMASK, &before_, nullptr);
    }
    FileSizeSignalHeld(const FileSizeSignalHeld&) = delete;
    FileSizeSignalHeld& operator=(const FileSizeSignalHeld&) = delete;

private:
    sigset_t fileSize_;
    sigset_t before_;
};

} // namespace

int writeWhole(int descriptor, QByteArrayView bytes) {
    const FileSizeSignalHeld held;
    const char* next = bytes.data();
    qsizetype left = bytes.size();
    while (left > 0) {
        const ssize_t written = ::write(descriptor, next, static_cast<std::size_t>(left));
        if (written < 0 && errno == EINTR) {
            continue;
        }
        // A short count is followed by a call that fails with the reason, or by the rest.
        if (written <= 0) {
            return written < 0 ? errno : EIO;
        }
        next += written;
        left -= written;
    }
    return 0;
}

// The system's own text would follow its language, and is English on most
// machines that run this program.
QString systemReason(int error) {
    switch (error) {
    case ENOSPC:
        return QStringLiteral("disco pieno");
    case EFBIG:
        return QStringLiteral("file troppo grande");
    case EACCES:
    case EPERM:
        return QStringLiteral("permesso negato");
    case EROFS:
        return QStringLiteral("file system di sola lettura");
    case EDQUOT:
        return QStringLiteral("quota del disco superata");
    case ENAMETOOLONG:
        return QStringLiteral("nome del file troppo lungo");
    case EIO:
        return QStringLiteral("errore di scrittura sul dispositivo");
    default:
        return QStringLiteral("errore di sistema n. %1").arg(error);
    }
}

bool CheckedFile::open() {
    if (file_.open(QIODevice::WriteOnly)) {
        return true;
    }
    // Qt leaves the number of the failed system call; taken before anything else can change it.
    const int error = errno;
    failure_ = openFailure(file_.fileName(), error);
    return false;
}

bool CheckedFile::write(QByteArrayView bytes) {
    // Straight to the file, not through Qt's buffer, to see each call's count and error.
    const int error = writeWhole(file_.handle(), bytes);
    return error == 0 || fail(error);
}

bool CheckedFile::commit() {
    // QSaveFile syncs too, but ignores a failure: a file system that takes
    // the bytes and fails to keep them would replace the file with less.
    if (::fsync(file_.handle()) != 0) {
        return fail(errno);
    }
    errno = 0;
    if (!file_.commit()) {
        return fail(errno != 0 ? errno : EIO);
    }
    return true;
}

bool CheckedFile::fail(int error) {
    failure_ = reasonOf(error, file_.fileName());
    return false;
}

} // namespace lumetra::output
