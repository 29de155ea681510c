// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "output/plot_record.h"
#include "output/work_journal.h"

#include <QUndoStack>

#include <cstdint>
#include <functional>

class QAction;
class QWidget;

namespace lumetra::surface {
class DrawingSurface;
}

namespace lumetra::forms {

class Host;

// The plot window's steps back and forth on Qt's undo stack: every plot and
// every clear is a step. Taking back a plot draws the picture again from the
// record without it and gives the colour counter back; taking back a clear
// brings the record and its picture back. "Annulla" and "Ripeti" name the
// step they act on and work from the keyboard wherever the focus is in the
// window.
class PlotHistory {
public:
    // At least this many steps are kept; older ones are forgotten, never the picture.
    static constexpr int kSteps = 10000;

    PlotHistory(QWidget& window, surface::DrawingSurface& surface, output::PlotRecord& record,
                Host& host);
    // The program ends normally: the work kept against a crash goes.
    ~PlotHistory();
    PlotHistory(const PlotHistory&) = delete;
    PlotHistory& operator=(const PlotHistory&) = delete;

    // Takes the last plot kept, if any, after a step is taken back or done
    // again, so that the windows' values can follow the picture.
    using ShowValues = std::function<void(const output::RecordedPlot* last)>;

    // Records a plot about to be drawn as a new step; the caller draws it.
    void plot(const output::RecordedPlot& plot);
    // Clears the picture and the record as a new step.
    void clear();
    // Puts plots read back, from a file or the work kept against a crash, in
    // place of the record's, drawn again, as a new step of that name.
    void open(output::PlotRecord opened, const QString& stepName);
    void setShowValues(ShowValues show) { showValues_ = std::move(show); }

    // What happens in its lifetime is one step, even when a plot stops on an error.
    class OneStep {
    public:
        explicit OneStep(PlotHistory& history);
        ~OneStep();
        OneStep(const OneStep&) = delete;
        OneStep& operator=(const OneStep&) = delete;

    private:
        PlotHistory& history_;
    };

    QAction* undoAction() const { return undo_; }
    QAction* redoAction() const { return redo_; }

private:
    friend class PlotStep;
    friend class ClearStep;
    friend class OpenStep;

    void push(QUndoCommand* step);
    void takeBackPlot();
    void plotAgain();
    void takeBackClear(output::PlotRecord& cleared);
    void clearAgain(output::PlotRecord& cleared);
    // Swaps the record with `other` and draws it; the counter goes on from it.
    // `opening`: the other is a file's plots, else the record an opening replaced.
    void swapRecord(output::PlotRecord& other, std::int16_t& Miocolor, bool opening);
    // Tells the user, once, when the work can no longer be kept.
    void kept(const std::optional<output::WorkError>& failure);
    void showLastValues();
    void showSteps();

    QWidget& window_;
    surface::DrawingSurface& surface_;
    output::PlotRecord& record_;
    Host& host_;
    output::PlotRecord undone_; // the plots taken back, the last taken back last
    bool pushingPlot_ = false;  // its step's first redo: the window draws the plot
    ShowValues showValues_;
    output::WorkJournal journal_;
    QUndoStack stack_;
    QAction* undo_;
    QAction* redo_;
};

} // namespace lumetra::forms
