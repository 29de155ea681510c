// SPDX-License-Identifier: GPL-3.0-or-later
#include "forms/form4.h"

#include "forms/animation_saving.h"
#include "forms/construction_window.h"
#include "forms/handler_binding.h"
#include "forms/picture_menu.h"
#include "output/plot_run.h"
#include "resources/layout.h"

#include <QCheckBox>
#include <QPushButton>
#include <QScopeGuard>

namespace lumetra::forms {

Form4::Form4(Host& host)
    : host_(host), controls_(buildWindow(*this, resources::form4Layout())),
      check1_(controls_.get<QCheckBox>(QStringLiteral("Check1"))),
      check2_(controls_.get<QCheckBox>(QStringLiteral("Check2"))),
      history_(*this, surface(), record_, host_) {
    // A check box's click handler runs after its state has changed.
    bindHandler(host_, this, check1_, &QCheckBox::clicked, &Form4::Check1_Click);
    bindHandler(host_, this, check2_, &QCheckBox::clicked, &Form4::Check2_Click);
    const std::pair<const char*, void (Form4::*)()> buttons[] = {
        {"Command1", &Form4::Command1_Click}, {"Command2", &Form4::Command2_Click},
        {"Command3", &Form4::Command3_Click}, {"Command4", &Form4::Command4_Click},
        {"Command5", &Form4::Command5_Click}, {"Command6", &Form4::Command6_Click},
    };
    for (const auto& [name, handler] : buttons) {
        bindHandler(host_, this, controls_.get<QPushButton>(QString::fromLatin1(name)),
                    &QPushButton::clicked, handler);
    }
    firstFocus(controls_, resources::form4Layout())->setFocus();
    history_.setShowValues([this](const output::RecordedPlot* last) {
        if (last != nullptr) {
            showValuesOf(*last);
        }
    });
    pictureMenu_ = new PictureMenu(*this, record_, history_,
                                   [this](const QString& text) { host_.message(this, text); });
    pictureMenu_->addCommand(QStringLiteral("Mostra la costruzione\u2026"),
                             [this] { host_.run(this, [this] { showConstruction(); }); });
}

void Form4::Form_Activate() {
    frameIncr_ = host_.calibrationFactor();
    plot(geometry::Chords::Off, true);
}

void Form4::plot(geometry::Chords chords, bool activation) {
    output::PlotStart start{host_.plotParameters(), frameIncr_, chords, activation,
                            surface().logicalSize()};
    // The counter goes back to its owner however the plot ends.
    const auto giveBackCounter = qScopeGuard([&] { host_.setMiocolor(start.params.Miocolor); });
    // Kept as a step that can be taken back before it runs, so that a plot
    // that stops on an error is kept as far as it goes.
    output::runPlot(start, vars_, surface(),
                    [this](const output::RecordedPlot& plot) { history_.plot(plot); });
}

void Form4::showConstruction() {
    if (construction_ == nullptr) {
        construction_ = new ConstructionWindow(this);
        new AnimationSaving(*construction_,
                            [this](const QString& text) { host_.message(construction_, text); });
    }
    if (record_.empty()) {
        const output::PlotStart start{host_.plotParameters(), host_.calibrationFactor(),
                                      geometry::Chords::Off, true, surface().logicalSize()};
        construction_->showPlot(output::recordOf(start, vars_));
    } else {
        construction_->showPlot(record_.plots().back());
    }
    construction_->show();
    construction_->raise();
    construction_->activateWindow();
}

void Form4::clear() {
    history_.clear();
}

void Form4::showValuesOf(const output::RecordedPlot& plot) {
    check1_->setChecked(plot.xCosine);
    check2_->setChecked(plot.yCosine);
    vars_.Risposta1 = geometry::answerOf(plot.xCosine);
    vars_.Risposta2 = geometry::answerOf(plot.yCosine);
    host_.setParameters(plot.VALa, plot.VALb, plot.VALe);
}

void Form4::Check1_Click() {
    vars_.Risposta1 = geometry::answerOf(check1_->isChecked());
}

void Form4::Check2_Click() {
    vars_.Risposta2 = geometry::answerOf(check2_->isChecked());
}

void Form4::Command1_Click() {
    host_.show(FormId::Form3);
}

void Form4::Command2_Click() {
    clear();
    host_.show(FormId::Form3);
}

void Form4::Command3_Click() {
    host_.end();
}

void Form4::Command4_Click() {
    plot(geometry::Chords::On, false);
}

void Form4::Command5_Click() {
    plot(geometry::Chords::Off, false);
}

void Form4::Command6_Click() {
    const PlotHistory::OneStep step(history_);
    clear();
    Form_Activate();
}

} // namespace lumetra::forms
