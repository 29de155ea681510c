#pragma once

#include "forms/form_builder.h"
#include "forms/host.h"
#include "geometry/calcola.h"
#include "geometry/plot_variables.h"
#include "surface/surface_window.h"

class QCheckBox;

namespace lumetra::forms {

// The plot window: every activation sets the scale from the calibration
// factor, draws the axes and plots one more curve over the earlier ones.
class Form4 : public surface::SurfaceWindow {
public:
    explicit Form4(Host& host);

    const Controls& controls() const { return controls_; }
    const geometry::PlotVariables& variables() const { return vars_; }

    void Form_Activate();
    void Check1_Click();
    void Check2_Click();
    void Command1_Click();
    void Command2_Click();
    void Command3_Click();
    void Command4_Click();
    void Command5_Click();
    void Command6_Click();

private:
    void plot(geometry::Chords chords);
    static runtime::Value answerOf(const QCheckBox* box);

    Host& host_;
    Controls controls_;
    QCheckBox* check1_;
    QCheckBox* check2_;
    geometry::PlotVariables vars_;
};

} // namespace lumetra::forms
