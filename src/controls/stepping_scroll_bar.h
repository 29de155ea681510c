// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QScrollBar>

namespace lumetra::controls {

// A scroll bar that moves by one step per click whatever the style and the
// desktop settings say: a click on the track pages towards the pointer with
// either button and any modifier, never jumping the thumb to it, and the
// middle button works like the left one everywhere else.
class SteppingScrollBar : public QScrollBar {
public:
    explicit SteppingScrollBar(Qt::Orientation orientation, QWidget* parent = nullptr);

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;

private:
    SliderAction pageTowards(QPointF position) const;
};

} // namespace lumetra::controls
