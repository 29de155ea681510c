// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "output/plot_construction.h"
#include "output/plot_record.h"

#include <QImage>
#include <QWidget>

class QComboBox;
class QHBoxLayout;
class QLabel;
class QPushButton;
class QSlider;
class QTimer;

namespace lumetra::forms {

// The figure of one pass, filling its widget at the screen's pixel ratio.
class ConstructionFigure : public QWidget {
public:
    explicit ConstructionFigure(QWidget* parent);

    void showPass(const output::PlotConstruction* construction, int k);

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    const output::PlotConstruction* construction_ = nullptr;
    int pass_ = 0;
    QImage frame_; // drawn for the present size and pass; null when either changed
};

// "Costruzione": how one plot finds its points, pass by pass. The figure,
// the words of the pass beside it (also the figure's accessible
// description), and the controls: play and pause, a pass or ten back and
// forward, the first and the last, a slider over the passes, the speed.
// Each has its key wherever the focus is in the window: Space, Left, Right,
// Page Up, Page Down, Home, End.
class ConstructionWindow : public QWidget {
public:
    explicit ConstructionWindow(QWidget* parent);

    // Shows the construction of `plot`, at its last pass.
    void showPlot(const output::RecordedPlot& plot);

    const output::PlotConstruction& construction() const { return construction_; }
    int pass() const { return pass_; }
    bool playing() const;
    // The row of buttons under the figure, where commands on the whole
    // construction (saving it as an animation) take their place.
    QHBoxLayout& commandRow() { return *commandRow_; }

    // Shows pass k, kept within 0 and the last pass.
    void setPass(int k);
    void step(int passes) { setPass(pass_ + passes); }
    void playOrPause();

private:
    QPushButton* addCommand(const QString& text, const QString& hint, const QKeySequence& key,
                            void (ConstructionWindow::*command)());
    void buildControls();
    void first() { setPass(0); }
    void last();
    void back() { step(-1); }
    void forward() { step(1); }
    void backTen() { step(-kPageStep); }
    void forwardTen() { step(kPageStep); }
    void advance();
    void pause();
    void followSpeed();

    static constexpr int kPageStep = 10;

    output::PlotConstruction construction_;
    int pass_ = 0;
    ConstructionFigure* figure_;
    QLabel* words_;
    QLabel* angle_;
    QSlider* slider_;
    QComboBox* speed_;
    QPushButton* play_;
    QHBoxLayout* commandRow_;
    QTimer* timer_;
};

} // namespace lumetra::forms
