// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/start_up.h"

#include "app/user_interface.h"
#include "controls/face.h"
#include "resources/layout.h"

#include <QApplication>
#include <QFont>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

#include <csignal>

namespace lumetra::app {

void prepareApplication() {
    // A file-size limit then fails a write, which says so, instead of ending
    // the program with its unsaved curves.
    std::signal(SIGXFSZ, SIG_IGN);
    // Metric-compatible faces where the layout's own are missing.
    QFont::insertSubstitution(QStringLiteral("MS Sans Serif"), QStringLiteral("Liberation Sans"));
    QFont::insertSubstitution(QStringLiteral("Courier New"), QStringLiteral("Liberation Mono"));
    QFont font(controls::installedFace(resources::kWindowFont.family));
    font.setPointSizeF(resources::kWindowFont.pointSize);
    QApplication::setFont(font);
    // Not the display name: Qt would append it to every window caption.
    QCoreApplication::setApplicationName(QString::fromLatin1(kApplicationTitle));
    // The few settings kept between runs: ~/.config/LUMETRA/LUMETRA.conf.
    QCoreApplication::setOrganizationName(QString::fromLatin1(kApplicationTitle));
    // Lets a Wayland desktop match the windows to the installed menu entry and icon.
    QGuiApplication::setDesktopFileName(QStringLiteral(LUMETRA_APP_ID));
    // Qt's own dialogs and buttons in the user's language, like the rest.
    auto* translator = new QTranslator(qApp);
    if (translator->load(QLocale(), QStringLiteral("qtbase"), QStringLiteral("_"),
                         QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        QCoreApplication::installTranslator(translator);
    }
}

} // namespace lumetra::app
