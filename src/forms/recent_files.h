// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QStringList>

namespace lumetra::forms {

// The pictures last opened or saved, newest first, kept between runs.
class RecentFiles {
public:
    static constexpr qsizetype kMost = 8;

    static QStringList list();
    // `name` becomes the newest; the oldest beyond kMost are forgotten.
    static void add(const QString& name);
    static void remove(const QString& name);
};

} // namespace lumetra::forms
