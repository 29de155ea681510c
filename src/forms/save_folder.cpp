// SPDX-License-Identifier: GPL-3.0-or-later
#include "forms/save_folder.h"

#include <QDir>
#include <QFileInfo>
#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryFile>

namespace lumetra::forms {

namespace {

const QString kFolderKey = QStringLiteral("picture/folder");

// Whether a file can be made in `folder`. Tried rather than judged by its
// permissions: root may write anywhere by them, yet /proc takes no file.
bool takesNewFiles(const QString& folder) {
    if (folder.isEmpty() || !QFileInfo(folder).isDir()) {
        return false;
    }
    QTemporaryFile probe(QDir(folder).filePath(QStringLiteral(".lumetra-XXXXXX")));
    return probe.open();
}

} // namespace

QString dialogFolder() {
    const QString remembered = QSettings().value(kFolderKey).toString();
    const QString pictures = QStandardPaths::writableLocation(QStandardPaths::PicturesLocation);
    for (const QString& folder : {remembered, pictures}) {
        if (takesNewFiles(folder)) {
            return folder;
        }
    }
    return QDir::homePath();
}

void rememberSavedIn(const QString& savedFile) {
    QSettings().setValue(kFolderKey, QFileInfo(savedFile).absolutePath());
}

} // namespace lumetra::forms
