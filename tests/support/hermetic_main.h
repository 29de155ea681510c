// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

namespace lumetra::testing {

// The user's folders, all inside `home`: what the test and the programs it
// starts read and write there is never the user's.
inline void moveHome(const QString& home) {
    qputenv("HOME", QFile::encodeName(home));
    qputenv("XDG_RUNTIME_DIR", QFile::encodeName(home)); // private to the user, as it must be
    for (const char* name : {"CONFIG", "DATA", "CACHE", "STATE"}) {
        const QString folder = QDir(home).filePath(QString::fromLatin1(name).toLower());
        qputenv(QByteArray("XDG_") + name + "_HOME", QFile::encodeName(folder));
    }
}

} // namespace lumetra::testing

// A test program's main that moves the user's folders into a temporary one
// before Qt reads them, so that a test run by hand is as hermetic as under CTest.
#define LUMETRA_HERMETIC_MAIN(TestClass, Application)                                              \
    int main(int argc, char* argv[]) {                                                             \
        const QTemporaryDir home;                                                                  \
        lumetra::testing::moveHome(home.path());                                                   \
        const Application application(argc, argv);                                                 \
        TestClass test;                                                                            \
        return QTest::qExec(&test, argc, argv);                                                    \
    }
