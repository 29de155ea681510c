// SPDX-License-Identifier: GPL-3.0-or-later
#include "forms/save_dialog.h"

#include <QDir>
#include <QFileDialog>
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

std::optional<SaveChoice> askWhereToSave(QWidget& parent, const QString& title,
                                         const QStringList& filters,
                                         const std::function<QString(const QString&)>& suffixOf,
                                         const QString& name) {
    QFileDialog dialog(&parent, title);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setNameFilters(filters);
    // Qt's dialog adds the suffix before it asks whether to replace a file.
    dialog.setDefaultSuffix(suffixOf(filters.first()));
    QObject::connect(
        &dialog, &QFileDialog::filterSelected, &dialog,
        [&dialog, &suffixOf](const QString& filter) { dialog.setDefaultSuffix(suffixOf(filter)); });
    dialog.setDirectory(dialogFolder());
    dialog.selectFile(name);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
        return std::nullopt;
    }
    return SaveChoice{dialog.selectedFiles().first(), dialog.selectedNameFilter()};
}

} // namespace lumetra::forms
