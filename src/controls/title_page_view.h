// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QFont>
#include <QWidget>

namespace lumetra::controls {

// Shows the title page from its text and geometry, at natural size from the
// top-left corner, clipped to the control.
class TitlePageView : public QWidget {
public:
    explicit TitlePageView(QWidget* parent = nullptr);

    // Where a line's text starts and where its baseline lies, in
    // device-independent pixels from the control's top-left corner.
    static QPointF textOrigin(int paragraph, double leftUnits);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QFont font_;
};

} // namespace lumetra::controls
