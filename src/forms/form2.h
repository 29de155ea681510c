// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "controls/surface_window.h"
#include "forms/form_builder.h"
#include "forms/host.h"
#include "geometry/calibration_figure.h"

class QLineEdit;
class QScrollBar;

namespace lumetra::forms {

// The calibration window: the user steps the scroll bar until the test figure
// looks round, which fixes the factor Incr that the plot window scales by.
class Form2 : public controls::SurfaceWindow {
public:
    explicit Form2(Host& host);

    const Controls& controls() const { return controls_; }
    const geometry::CalibrationVariables& variables() const { return vars_; }
    // Read by the plot window at each of its activations.
    const runtime::Value& Incr() const { return vars_.Incr; }
    // A factor found before, as an opened picture's; the next activation
    // starts again from its own.
    void setIncr(double Incr);
    // Points plotted by the last figure.
    int lastFigurePoints() const { return lastFigurePoints_; }

    void Form_Activate();
    void HScroll1_Change();
    void Command1_Click();
    void Command3_Click();
    void COORDINATE();
    void TRACCIA();

private:
    void showFactor();

    Host& host_;
    Controls controls_;
    QScrollBar* scroll_;
    QLineEdit* text1_;
    geometry::CalibrationVariables vars_;
    int lastFigurePoints_ = 0;
};

} // namespace lumetra::forms
