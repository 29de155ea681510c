// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/launch.h"

#include <QSet>

#include <algorithm>

namespace lumetra::cli {

namespace {

using namespace Qt::StringLiterals;

// Qt's own switches, which QGuiApplication, QApplication and the X11 platform
// take out of the arguments themselves: these with the next argument as their
// value,
const QSet<QString> kQtSwitchesWithValue = {u"-platform"_s,
                                            u"-platformpluginpath"_s,
                                            u"-platformtheme"_s,
                                            u"-plugin"_s,
                                            u"-qwindowgeometry"_s,
                                            u"-qwindowtitle"_s,
                                            u"-qwindowicon"_s,
                                            u"-session"_s,
                                            u"-style"_s,
                                            u"-stylesheet"_s,
                                            u"-display"_s,
                                            u"-geometry"_s,
                                            u"-font"_s,
                                            u"-name"_s,
                                            u"-title"_s,
                                            u"-icon"_s,
                                            u"-visual"_s,
                                            u"-dialogs"_s};
// these alone,
const QSet<QString> kQtSwitches = {u"-reverse"_s, u"-widgetcount"_s, u"-nograb"_s, u"-dograb"_s,
                                   u"-sync"_s};
// and these with their value after '='.
const QStringList kQtSwitchesWithJoinedValue = {u"-style="_s, u"-stylesheet="_s};

// Qt reads "--platform" as "-platform".
QString singleDashed(const QString& argument) {
    return argument.startsWith(u"--"_s) ? argument.sliced(1) : argument;
}

bool joinsItsValue(const QString& name) {
    return std::any_of(kQtSwitchesWithJoinedValue.begin(), kQtSwitchesWithJoinedValue.end(),
                       [&](const QString& prefix) { return name.startsWith(prefix); });
}

} // namespace

bool startsWindows(const QStringList& arguments) {
    int files = 0;
    for (qsizetype i = 0; i < arguments.size(); ++i) {
        const QString& argument = arguments[i];
        if (!argument.startsWith(u'-')) {
            ++files;
            continue;
        }
        const QString name = singleDashed(argument);
        if (kQtSwitchesWithValue.contains(name)) {
            ++i;
        } else if (!kQtSwitches.contains(name) && !joinsItsValue(name)) {
            return false;
        }
    }
    return files <= 1;
}

} // namespace lumetra::cli
