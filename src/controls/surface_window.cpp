// SPDX-License-Identifier: GPL-3.0-or-later
#include "controls/surface_window.h"

#include <QEvent>
#include <QPaintEvent>
#include <QPainter>

namespace lumetra::controls {

SurfaceWindow::SurfaceWindow(QWidget* parent)
    : QWidget(parent),
      surface_(palette().color(QPalette::ButtonText), palette().color(QPalette::Button)) {
    // The image covers every pixel, so Qt need not clear underneath it first.
    setAttribute(Qt::WA_OpaquePaintEvent);
    surface_.setChangeListener([this] { update(); });
    followClientArea();
}

void SurfaceWindow::followClientArea() {
    surface_.resize(size(), devicePixelRatioF());
}

void SurfaceWindow::paintEvent(QPaintEvent* event) {
    if (surface_.devicePixelRatio() != devicePixelRatioF()) {
        followClientArea();
    }
    QPainter painter(this);
    const QImage& image = surface_.image();
    const qreal ratio = image.devicePixelRatio();
    // Fractional pixels at fractional ratios: a source rounded to whole pixels
    // would shift a partial repaint against the rest and leave seams.
    const QRectF logical = event->rect();
    const QRectF source(logical.topLeft() * ratio, logical.size() * ratio);
    painter.drawImage(logical, image, source);
    surface_.markPainted();
}

void SurfaceWindow::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    followClientArea();
}

void SurfaceWindow::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    followClientArea();
}

void SurfaceWindow::changeEvent(QEvent* event) {
    QWidget::changeEvent(event);
    if (event->type() == QEvent::PaletteChange) {
        surface_.setColours(palette().color(QPalette::ButtonText),
                            palette().color(QPalette::Button));
    }
}

} // namespace lumetra::controls
