// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "geometry/plot_variables.h"
#include "runtime/value.h"

#include <QString>

#include <cstddef>
#include <cstdint>
#include <functional>

class QWidget;

namespace lumetra::forms {

enum class FormId { Form1, Form2, Form3, Form4 };
inline constexpr std::size_t kFormCount = 4;

// What a window may ask of the program around it. The shell implements it;
// a window never reaches another window directly, only through here.
class Host {
public:
    virtual ~Host() = default;

    // Makes the window visible, brings it to the front and activates it, modeless.
    virtual void show(FormId id) = 0;
    // Ends the program at once.
    virtual void end() = 0;
    // Runs a handler of `window` through the error boundary.
    virtual void run(QWidget* window, const std::function<void()>& handler) = 0;
    // A message box with the application's title and one OK button, over `window`.
    virtual void message(QWidget* window, const QString& text) = 0;

    // Other windows' variables, read and written through their owners
    // (created when needed, never shown): the calibration window's factor
    // Incr, the parameter window's parameters with the colour counter, and
    // the counter as a plot leaves it.
    virtual const runtime::Value& calibrationFactor() = 0;
    virtual geometry::PlotParameters plotParameters() = 0;
    virtual void setMiocolor(std::int16_t Miocolor) = 0;
    // Puts a plot's parameters back in the parameter window; NaN stands for a
    // rejected entry.
    virtual void setParameters(double VALa, double VALb, double VALe) = 0;
};

} // namespace lumetra::forms
