// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>

// Watches every event of the application and ends the event loop, normally,
// once the first top-level window has painted: start-up measured up to the
// first picture on screen, the same way for any Qt Widgets program.
class FirstPaintQuitter : public QObject {
public:
    // With `report`, the painted window's title and size go to the standard
    // error stream when it quits, so that a test can tell which window it was.
    explicit FirstPaintQuitter(bool report);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    bool report_;
    bool quitting_ = false;
};
