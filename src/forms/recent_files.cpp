// SPDX-License-Identifier: GPL-3.0-or-later
#include "forms/recent_files.h"

#include <QFileInfo>
#include <QSettings>

namespace lumetra::forms {

namespace {
const QString kRecentKey = QStringLiteral("picture/recent");
} // namespace

QStringList RecentFiles::list() {
    return QSettings().value(kRecentKey).toStringList();
}

void RecentFiles::add(const QString& name) {
    const QString path = QFileInfo(name).absoluteFilePath();
    QStringList names = list();
    names.removeAll(path);
    names.prepend(path);
    QSettings().setValue(kRecentKey, names.mid(0, kMost));
}

void RecentFiles::remove(const QString& name) {
    QStringList names = list();
    names.removeAll(name);
    QSettings().setValue(kRecentKey, names);
}

} // namespace lumetra::forms
