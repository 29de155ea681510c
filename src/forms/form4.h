// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "controls/surface_window.h"
#include "forms/form_builder.h"
#include "forms/host.h"
#include "forms/plot_history.h"
#include "geometry/calcola.h"
#include "geometry/plot_variables.h"
#include "output/plot_record.h"

class QCheckBox;

namespace lumetra::forms {

class ConstructionWindow;
class PictureMenu;

// The plot window: every activation sets the scale from the calibration
// factor, draws the axes and plots one more curve over the earlier ones.
class Form4 : public controls::SurfaceWindow {
public:
    explicit Form4(Host& host);

    const Controls& controls() const { return controls_; }
    const geometry::PlotVariables& variables() const { return vars_; }
    // What was plotted since the last clear, for the picture saved, copied or printed.
    const output::PlotRecord& record() const { return record_; }
    PictureMenu& pictureMenu() { return *pictureMenu_; }
    // "Costruzione" for the last plot, or for the plot the parameter window's
    // values would make when nothing is plotted; made at its first showing.
    void showConstruction();
    ConstructionWindow* constructionWindow() const { return construction_; }
    // Plots go on at the calibration factor `Incr` until the next activation.
    void useCalibration(double Incr) { frameIncr_ = Incr; }
    // The work kept against a crash, brought back as one step.
    void bringBack(output::PlotRecord record) {
        history_.open(std::move(record), QStringLiteral("ripresa del lavoro"));
    }

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
    // One more curve over the earlier ones, after the set-up when `activation`.
    void plot(geometry::Chords chords, bool activation);
    void clear();
    // The check boxes and the parameter window as `plot` had them.
    void showValuesOf(const output::RecordedPlot& plot);

    Host& host_;
    Controls controls_;
    QCheckBox* check1_;
    QCheckBox* check2_;
    geometry::PlotVariables vars_;
    runtime::Value frameIncr_; // the calibration factor of the last activation
    output::PlotRecord record_;
    PlotHistory history_;
    PictureMenu* pictureMenu_;
    ConstructionWindow* construction_ = nullptr;
};

} // namespace lumetra::forms
