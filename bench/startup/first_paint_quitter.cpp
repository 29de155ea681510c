// SPDX-License-Identifier: GPL-3.0-or-later
#include "first_paint_quitter.h"

#include <QCoreApplication>
#include <QEvent>
#include <QWidget>

#include <cstdio>

FirstPaintQuitter::FirstPaintQuitter(bool report) : report_(report) {
    QCoreApplication::instance()->installEventFilter(this);
}

bool FirstPaintQuitter::eventFilter(QObject* watched, QEvent* event) {
    if (!quitting_ && event->type() == QEvent::Paint && watched->isWidgetType()) {
        const auto* widget = static_cast<const QWidget*>(watched);
        if (widget->isWindow()) {
            quitting_ = true;
            if (report_) {
                std::fprintf(stderr, "first paint: \"%s\" %dx%d\n",
                             qUtf8Printable(widget->windowTitle()), widget->width(),
                             widget->height());
            }
            // Queued: the children of the window and the flush to the screen
            // belong to the same repaint and finish before the loop ends.
            QMetaObject::invokeMethod(
                QCoreApplication::instance(), [] { QCoreApplication::quit(); },
                Qt::QueuedConnection);
        }
    }
    return QObject::eventFilter(watched, event);
}
