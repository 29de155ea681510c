// SPDX-License-Identifier: GPL-3.0-or-later
#include "forms/plot_history.h"

#include "forms/host.h"
#include "output/legend.h"
#include "output/replay.h"
#include "output/surface_replay.h"

#include <QAction>
#include <QWidget>

#include <utility>

namespace lumetra::forms {

namespace {

// A step names itself for the menu; `latest` is the last plot kept on the side
// the step is taken from, if any.
class Step : public QUndoCommand {
public:
    virtual QString name(const output::RecordedPlot* latest) const = 0;
};

QString nameOf(const QUndoCommand* command, const output::RecordedPlot* latest) {
    if (const auto* step = dynamic_cast<const Step*>(command)) {
        return step->name(latest);
    }
    QStringList names; // a clear and a plot taken as one step
    for (int i = 0; i < command->childCount(); ++i) {
        names << nameOf(command->child(i), latest);
    }
    return names.join(QStringLiteral(" e "));
}

const output::RecordedPlot* lastOf(const output::PlotRecord& record) {
    return record.empty() ? nullptr : &record.plots().back();
}

void showStep(QAction* action, const QString& verb, const QUndoCommand* step,
              const output::RecordedPlot* latest) {
    const QString name = step != nullptr ? nameOf(step, latest) : QString();
    action->setText(name.isEmpty() ? verb : verb + u' ' + name);
    action->setEnabled(step != nullptr);
}

QAction* addAction(QWidget& window, const QList<QKeySequence>& keys) {
    auto* action = new QAction(&window);
    action->setShortcuts(keys);
    action->setShortcutContext(Qt::WindowShortcut);
    window.addAction(action);
    return action;
}

// Ctrl+Y first, the key the menu shows beside "Ripeti" whatever the
// desktop's own order; Ctrl+Shift+Z and the desktop's keys work as well.
QList<QKeySequence> redoKeys() {
    QList<QKeySequence> keys{QKeySequence(Qt::CTRL | Qt::Key_Y),
                             QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z)};
    for (const QKeySequence& key : QKeySequence::keyBindings(QKeySequence::Redo)) {
        if (!keys.contains(key)) {
            keys << key;
        }
    }
    return keys;
}

} // namespace

// A plot, which the window draws itself the first time. It keeps nothing of
// its own: its plot is the record's last while done and the last taken back
// while undone, so that a step costs as little memory as Qt allows.
class PlotStep final : public Step {
public:
    explicit PlotStep(PlotHistory& history) : history_(history) {}

    void undo() override { history_.takeBackPlot(); }
    void redo() override {
        if (!history_.pushingPlot_) {
            history_.plotAgain();
        }
    }
    QString name(const output::RecordedPlot* latest) const override {
        const QString curve = QStringLiteral("curva");
        return latest != nullptr ? curve + QStringLiteral(" (") + output::curveName(*latest) + u')'
                                 : curve;
    }

private:
    PlotHistory& history_;
};

// A clear keeps the plots it cleared while it is done.
class ClearStep final : public Step {
public:
    explicit ClearStep(PlotHistory& history) : history_(history) {}

    void undo() override { history_.takeBackClear(cleared_); }
    void redo() override { history_.clearAgain(cleared_); }
    QString name(const output::RecordedPlot*) const override {
        return QStringLiteral("cancellazione");
    }

private:
    PlotHistory& history_;
    output::PlotRecord cleared_;
};

// An opened file in place of the record: keeps the record it replaced while
// done, the opened one while taken back, and the colour counter of the other.
class OpenStep final : public Step {
public:
    OpenStep(PlotHistory& history, output::PlotRecord opened, std::int16_t Miocolor,
             QString stepName)
        : history_(history), other_(std::move(opened)), Miocolor_(Miocolor),
          stepName_(std::move(stepName)) {}

    void undo() override { history_.swapRecord(other_, Miocolor_, false); }
    void redo() override { history_.swapRecord(other_, Miocolor_, true); }
    QString name(const output::RecordedPlot*) const override { return stepName_; }

private:
    PlotHistory& history_;
    output::PlotRecord other_;
    std::int16_t Miocolor_;
    QString stepName_;
};

PlotHistory::PlotHistory(QWidget& window, surface::DrawingSurface& surface,
                         output::PlotRecord& record, Host& host)
    : window_(window), surface_(surface), record_(record), host_(host), journal_(record),
      undo_(addAction(window, QKeySequence::keyBindings(QKeySequence::Undo))),
      redo_(addAction(window, redoKeys())) {
    stack_.setUndoLimit(kSteps);
    QObject::connect(undo_, &QAction::triggered, &stack_, &QUndoStack::undo);
    QObject::connect(redo_, &QAction::triggered, &stack_, &QUndoStack::redo);
    // Emitted whenever the stack moves or takes a step, a macro's opening included.
    QObject::connect(&stack_, &QUndoStack::canUndoChanged, &stack_, [this] { showSteps(); });
    QObject::connect(&stack_, &QUndoStack::canRedoChanged, &stack_, [this] { showSteps(); });
    showSteps();
    kept(journal_.start(output::keptWorkPath()));
}

PlotHistory::~PlotHistory() {
    journal_.finish();
}

void PlotHistory::plot(const output::RecordedPlot& plot) {
    record_.add(plot);
    kept(journal_.added());
    pushingPlot_ = true;
    push(new PlotStep(*this));
    pushingPlot_ = false;
}

void PlotHistory::clear() {
    if (record_.empty()) {
        surface_.cls(); // nothing to bring back: not a step
        return;
    }
    push(new ClearStep(*this));
}

void PlotHistory::push(QUndoCommand* step) {
    // A new step drops the steps taken back, and with them their plots.
    undone_.clear();
    stack_.push(step);
}

void PlotHistory::open(output::PlotRecord opened, const QString& stepName) {
    // The counter goes on from the opened plots: as the last one left it.
    const std::int16_t Miocolor = opened.empty() ? host_.plotParameters().Miocolor
                                                 : output::counterAfter(opened.plots().back());
    push(new OpenStep(*this, std::move(opened), Miocolor, stepName));
}

PlotHistory::OneStep::OneStep(PlotHistory& history) : history_(history) {
    history_.undone_.clear();
    history_.stack_.beginMacro(QString());
}

PlotHistory::OneStep::~OneStep() {
    history_.stack_.endMacro();
}

void PlotHistory::takeBackPlot() {
    const output::RecordedPlot plot = record_.plots().back();
    record_.removeLast();
    kept(journal_.dropped());
    undone_.add(plot);
    host_.setMiocolor(plot.Miocolor);
    output::replayOnSurface(record_, surface_);
    showLastValues();
}

void PlotHistory::plotAgain() {
    const output::RecordedPlot plot = undone_.plots().back();
    undone_.removeLast();
    record_.add(plot);
    kept(journal_.added());
    host_.setMiocolor(output::replayPlotOnSurface(plot, surface_));
    showLastValues();
}

void PlotHistory::takeBackClear(output::PlotRecord& cleared) {
    record_ = std::exchange(cleared, {});
    kept(journal_.uncleared());
    output::replayOnSurface(record_, surface_);
    showLastValues();
}

void PlotHistory::clearAgain(output::PlotRecord& cleared) {
    cleared = std::exchange(record_, {});
    kept(journal_.cleared());
    surface_.cls();
}

void PlotHistory::swapRecord(output::PlotRecord& other, std::int16_t& Miocolor, bool opening) {
    std::swap(record_, other);
    kept(opening ? journal_.opened() : journal_.uncleared());
    const std::int16_t before = host_.plotParameters().Miocolor;
    host_.setMiocolor(Miocolor);
    Miocolor = before;
    output::replayOnSurface(record_, surface_);
    showLastValues();
}

void PlotHistory::kept(const std::optional<output::WorkError>& failure) {
    if (failure) {
        host_.message(&window_, failure->reason);
    }
}

void PlotHistory::showLastValues() {
    if (showValues_) {
        showValues_(lastOf(record_));
    }
}

void PlotHistory::showSteps() {
    const int index = stack_.index();
    showStep(undo_, QStringLiteral("Annulla"),
             stack_.canUndo() ? stack_.command(index - 1) : nullptr, lastOf(record_));
    showStep(redo_, QStringLiteral("Ripeti"), stack_.canRedo() ? stack_.command(index) : nullptr,
             lastOf(undone_));
}

} // namespace lumetra::forms
