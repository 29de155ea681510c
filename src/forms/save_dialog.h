// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QStringList>

#include <functional>
#include <optional>

class QWidget;

namespace lumetra::forms {

// Where the save and open dialogs start: the folder of the last file saved,
// while it is there and takes files; else the pictures folder; else home.
QString dialogFolder();

// Remembers the folder of a file that was saved there; call only once the
// save succeeded, so that no dialog opens where saving fails.
void rememberSavedIn(const QString& savedFile);

// What the user chose in a save dialog: the file and the filter it was chosen under.
struct SaveChoice {
    QString file;
    QString filter;
};

// Asks where to save, in a dialog that starts in dialogFolder() with `name`
// proposed; the file gets the suffix that `suffixOf` gives for the filter
// chosen. Nothing when the user cancels.
std::optional<SaveChoice> askWhereToSave(QWidget& parent, const QString& title,
                                         const QStringList& filters,
                                         const std::function<QString(const QString&)>& suffixOf,
                                         const QString& name);

} // namespace lumetra::forms
