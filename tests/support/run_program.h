// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QProcess>
#include <QStringList>

#include <functional>

namespace lumetra::testing {

// How a program ended: its exit status (-1 when a signal ended it), what it
// wrote to standard output, and to standard error.
struct Run {
    int status;
    QByteArray out;
    QString err;
};

// `command` run as a script runs it, with no display whatever this process
// has; `prepare` may first change the process's folder, environment or output.
Run runProgram(const QStringList& command, const std::function<void(QProcess&)>& prepare = {});

// What the reader of pictures `tool` (rsvg-convert or a poppler-utils tool) printed; when it
// fails, a test failure that names the Debian package to install.
QString readWith(const QString& tool, const QStringList& arguments);

} // namespace lumetra::testing
