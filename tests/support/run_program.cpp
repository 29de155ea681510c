// SPDX-License-Identifier: GPL-3.0-or-later
#include "support/run_program.h"

#include <QTest>

using namespace Qt::StringLiterals;

namespace lumetra::testing {

Run runProgram(const QStringList& command, const std::function<void(QProcess&)>& prepare) {
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"}) {
        environment.remove(QString::fromLatin1(name));
    }
    QProcess process;
    process.setProcessEnvironment(environment);
    if (prepare) {
        prepare(process);
    }
    process.start(command.first(), command.mid(1));
    if (!process.waitForStarted()) {
        return {-1, {}, command.first() + QStringLiteral(" does not start")};
    }
    process.waitForFinished(60000);
    return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1,
            process.readAllStandardOutput(), QString::fromUtf8(process.readAllStandardError())};
}

QString readWith(const QString& tool, const QStringList& arguments) {
    const Run run = runProgram(QStringList{tool} + arguments);
    if (run.status != 0) {
        const QString package = tool == u"rsvg-convert" ? u"librsvg2-bin"_s : u"poppler-utils"_s;
        QTest::qFail(
            qPrintable(tool + u" (Debian package "_s + package + u") failed: "_s + run.err),
            __FILE__, __LINE__);
    }
    return QString::fromUtf8(run.out);
}

} // namespace lumetra::testing
