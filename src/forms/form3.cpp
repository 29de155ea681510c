// SPDX-License-Identifier: GPL-3.0-or-later
#include "forms/form3.h"

#include "forms/handler_binding.h"
#include "resources/layout.h"
#include "runtime/locale_numbers.h"

#include <QLineEdit>
#include <QPushButton>

#include <cmath>

namespace lumetra::forms {

namespace {
const QColor kWhite(0xFF, 0xFF, 0xFF);
const QColor kRed(0xFF, 0x00, 0x00);
} // namespace

Form3::Form3(Host& host)
    : host_(host), controls_(buildWindow(*this, resources::form3Layout())),
      text1_(controls_.get<QLineEdit>(QStringLiteral("Text1"))),
      text2_(controls_.get<QLineEdit>(QStringLiteral("Text2"))),
      text5_(controls_.get<QLineEdit>(QStringLiteral("Text5"))) {
    bindHandler(host_, this, controls_.get<QPushButton>(QStringLiteral("Command1")),
                &QPushButton::clicked, &Form3::Command1_Click);
    bindHandler(host_, this, controls_.get<QPushButton>(QStringLiteral("Command2")),
                &QPushButton::clicked, &Form3::Command2_Click);
    text1_->setFocus();
}

void Form3::paint(QLineEdit* field, QColor colour) {
    QPalette palette = field->palette();
    palette.setColor(QPalette::Base, colour);
    field->setPalette(palette);
}

void Form3::Form_Activate() {
    paint(text1_, kWhite);
    paint(text2_, kWhite);
    paint(text5_, kWhite);
    if (!Contr_.equalsNumber(1)) {
        Contr_ = std::int16_t{1};
        text1_->setText(QStringLiteral("86"));
        text2_->setText(QStringLiteral("55"));
        text5_->setText(QStringLiteral("1"));
    }
}

void Form3::readField(QLineEdit* field, runtime::Value& variable, const QString& message) {
    if (const std::optional<double> number = runtime::parseLocaleNumber(field->text())) {
        variable = *number;
        return;
    }
    host_.message(this, message);
    field->setText(QString());
    paint(field, kRed);
    variable = "";
}

void Form3::showField(QLineEdit* field, runtime::Value& variable, double value) {
    if (std::isnan(value)) {
        variable = "";
        field->clear();
    } else {
        variable = value;
        field->setText(runtime::formatLocaleNumber(value));
    }
}

void Form3::setParameters(double VALa, double VALb, double VALe) {
    showField(text1_, VALa_, VALa);
    showField(text2_, VALb_, VALb);
    showField(text5_, VALe_, VALe);
    Contr_ = std::int16_t{1};
}

void Form3::LeggiText1() {
    readField(text1_, VALa_, QStringLiteral("VALa non \u00E8 un numero"));
}

void Form3::LeggiText2() {
    readField(text2_, VALb_, QStringLiteral("VALb non \u00E8 un numero"));
}

void Form3::LeggiText5() {
    readField(text5_, VALe_, QStringLiteral("VALe non \u00E8 un numero"));
}

void Form3::Command2_Click() {
    LeggiText1();
    if (VALa_.equalsText("")) {
        return;
    }
    LeggiText2();
    if (VALb_.equalsText("")) {
        return;
    }
    LeggiText5();
    if (VALe_.equalsText("")) {
        return;
    }
    if (Miocolor_ > geometry::kLastCurveColour) {
        Miocolor_ = 0;
    }
    host_.show(FormId::Form4);
}

void Form3::Command1_Click() {
    host_.end();
}

} // namespace lumetra::forms
