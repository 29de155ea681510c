// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QStringList>

#include <cstddef>
#include <functional>
#include <optional>
#include <utility>

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

// A format a save dialog offers: the text of its filter, and the format.
template <typename Format> struct FileFilter {
    const char* text;
    Format format;
};

// Asks where to save in one of the `filters`' formats, the first proposed;
// the file, with the suffix of its format, and the format chosen.
template <typename Format, std::size_t N>
std::optional<std::pair<QString, Format>> askWhereToSave(QWidget& parent, const QString& title,
                                                         const FileFilter<Format> (&filters)[N],
                                                         const QString& name) {
    QStringList texts;
    for (const FileFilter<Format>& filter : filters) {
        texts << QString::fromUtf8(filter.text);
    }
    const auto formatOf = [&filters](const QString& text) {
        for (const FileFilter<Format>& filter : filters) {
            if (text == QString::fromUtf8(filter.text)) {
                return filter.format;
            }
        }
        return filters[0].format;
    };
    const std::optional<SaveChoice> choice = askWhereToSave(
        parent, title, texts,
        [&formatOf](const QString& text) { return extensionOf(formatOf(text)); }, name);
    if (!choice) {
        return std::nullopt;
    }
    return std::pair{choice->file, formatOf(choice->filter)};
}

} // namespace lumetra::forms
