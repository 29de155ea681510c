// SPDX-License-Identifier: GPL-3.0-or-later
#include "controls/stepping_scroll_bar.h"

#include <QMouseEvent>
#include <QStyleOptionSlider>

namespace lumetra::controls {

namespace {

constexpr int kRepeatDelay = 500; // as Qt's own scroll bar: first repeat, then every 50 ms
constexpr int kRepeatInterval = 50;

Qt::MouseButtons leftForMiddle(Qt::MouseButtons buttons) {
    if (buttons & Qt::MiddleButton) {
        buttons = (buttons & ~Qt::MiddleButton) | Qt::LeftButton;
    }
    return buttons;
}

// The same event with the middle button standing for the left one.
QMouseEvent asLeftButton(const QMouseEvent& event) {
    const Qt::MouseButton button =
        event.button() == Qt::MiddleButton ? Qt::LeftButton : event.button();
    return QMouseEvent(event.type(), event.position(), event.scenePosition(),
                       event.globalPosition(), button, leftForMiddle(event.buttons()),
                       event.modifiers(), event.pointingDevice());
}

} // namespace

SteppingScrollBar::SteppingScrollBar(Qt::Orientation orientation, QWidget* parent)
    : QScrollBar(orientation, parent) {}

QAbstractSlider::SliderAction SteppingScrollBar::pageTowards(QPointF position) const {
    QStyleOptionSlider option;
    initStyleOption(&option);
    switch (
        style()->hitTestComplexControl(QStyle::CC_ScrollBar, &option, position.toPoint(), this)) {
    case QStyle::SC_ScrollBarAddPage:
        return SliderPageStepAdd;
    case QStyle::SC_ScrollBarSubPage:
        return SliderPageStepSub;
    default:
        return SliderNoAction;
    }
}

void SteppingScrollBar::mousePressEvent(QMouseEvent* event) {
    QMouseEvent left = asLeftButton(*event);
    const bool alone = left.buttons() == left.button();
    const SliderAction page = pageTowards(event->position());
    // Styles that jump the thumb to a track click would ask Qt's handling for
    // that; the step is done here instead.
    if (left.button() == Qt::LeftButton && alone && page != SliderNoAction) {
        triggerAction(page);
        setRepeatAction(page, kRepeatDelay, kRepeatInterval);
        event->accept();
        return;
    }
    QScrollBar::mousePressEvent(&left);
}

void SteppingScrollBar::mouseReleaseEvent(QMouseEvent* event) {
    setRepeatAction(SliderNoAction);
    QMouseEvent left = asLeftButton(*event);
    QScrollBar::mouseReleaseEvent(&left);
}

void SteppingScrollBar::mouseMoveEvent(QMouseEvent* event) {
    QMouseEvent left = asLeftButton(*event);
    QScrollBar::mouseMoveEvent(&left);
}

} // namespace lumetra::controls
