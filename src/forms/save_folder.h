// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

namespace lumetra::forms {

// Where the save and open dialogs start: the folder of the last file saved,
// while it is there and takes files; else the pictures folder; else home.
QString dialogFolder();

// Remembers the folder of a file that was saved there; call only once the
// save succeeded, so that no dialog opens where saving fails.
void rememberSavedIn(const QString& savedFile);

} // namespace lumetra::forms
