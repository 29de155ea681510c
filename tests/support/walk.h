// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "app/program.h"
#include "forms/host.h"
#include "support/recording_ui.h"

#include <QImage>
#include <QString>

#include <optional>

class QAbstractButton;
class QWidget;

namespace lumetra::surface {
class DrawingSurface;
}

namespace lumetra::testing {

// A program with a recording user interface, started afresh by restart().
struct Session {
    std::optional<RecordingUi> ui;
    std::optional<app::Program> program;
    void restart() {
        program.reset();
        ui.emplace();
        program.emplace(*ui);
    }
};

// The part of a window's kept image that its client area shows.
QImage shownArea(const surface::DrawingSurface& surface);

// The button or check box of `window` that shows `caption`, or null.
QAbstractButton* buttonShowing(QWidget& window, const QString& caption);

// Clicks that control with the mouse; false when the window has none.
bool click(QWidget& window, const QString& caption);

// Turns the window's menu choice `text` on or off; false when the window has none.
bool choose(QWidget& window, const QString& text, bool on = true);

// Waits until the window `id` has been activated last.
bool waitActive(const app::Program& program, forms::FormId id);

// The user's road to the parameter window: the calibration window, one step
// right on its scroll bar (factor 0.55), then "OK - continua".
bool reachParameterWindow(app::Program& program);

// On from there with "AVANTI" to the plot window and its first curve.
bool reachPlotWindow(app::Program& program);

} // namespace lumetra::testing
