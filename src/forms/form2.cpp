// SPDX-License-Identifier: GPL-3.0-or-later
#include "forms/form2.h"

#include "forms/handler_binding.h"
#include "resources/layout.h"
#include "runtime/checked_numbers.h"
#include "runtime/locale_numbers.h"

#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>

namespace lumetra::forms {

Form2::Form2(Host& host)
    : host_(host), controls_(buildWindow(*this, resources::form2Layout())),
      scroll_(controls_.get<QScrollBar>(QStringLiteral("HScroll1"))),
      text1_(controls_.get<QLineEdit>(QStringLiteral("Text1"))) {
    bindHandler(host_, this, scroll_, &QScrollBar::valueChanged, &Form2::HScroll1_Change);
    bindHandler(host_, this, controls_.get<QPushButton>(QStringLiteral("Command1")),
                &QPushButton::clicked, &Form2::Command1_Click);
    bindHandler(host_, this, controls_.get<QPushButton>(QStringLiteral("Command3")),
                &QPushButton::clicked, &Form2::Command3_Click);
    scroll_->setFocus();
}

void Form2::showFactor() {
    text1_->setText(runtime::formatLocaleNumber(vars_.Incr.arithmetic()));
}

void Form2::setIncr(double Incr) {
    vars_.Incr = Incr;
    showFactor();
}

void Form2::Form_Activate() {
    vars_.P1 = runtime::degreesToRadiansFactor();
    vars_.Incr = geometry::kActivationFactor;
    showFactor();
    // COORDINATE ends by plotting the figure; plotting it a second time would
    // change no pixel.
    COORDINATE();
}

void Form2::HScroll1_Change() {
    const double next = geometry::scrollFactor(static_cast<std::int16_t>(scroll_->value()));
    if (vars_.Incr.arithmetic() > next) {
        surface().cls();
    }
    vars_.Incr = next;
    showFactor();
    COORDINATE();
}

void Form2::Command1_Click() {
    if (geometry::passesGate(vars_.Incr)) {
        host_.show(FormId::Form3);
    } else {
        host_.message(this, QStringLiteral("Impostare la risoluzione SCHERMO"));
    }
}

void Form2::Command3_Click() {
    host_.end();
}

void Form2::COORDINATE() {
    geometry::setUpScaleAndAxes(surface(), vars_);
    TRACCIA();
}

void Form2::TRACCIA() {
    lastFigurePoints_ = geometry::plotCircle(surface(), vars_);
}

} // namespace lumetra::forms
