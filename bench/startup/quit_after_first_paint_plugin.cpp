// SPDX-License-Identifier: GPL-3.0-or-later
#include "first_paint_quitter.h"

#include <QGenericPlugin>

// Loaded into an unmodified program by QT_PLUGIN_PATH=<folder holding
// generic/> and QT_QPA_GENERIC_PLUGINS=quitafterfirstpaint (or
// quitafterfirstpaint:report to print the painted window).
class QuitAfterFirstPaintPlugin : public QGenericPlugin {
    Q_OBJECT
    Q_PLUGIN_METADATA(IID QGenericPluginFactoryInterface_iid FILE "quit_after_first_paint.json")

public:
    QObject* create(const QString& /*name*/, const QString& option) override {
        // The application owns what a generic plugin creates and deletes it.
        return new FirstPaintQuitter(option == QLatin1String("report"));
    }
};

#include "quit_after_first_paint_plugin.moc"
