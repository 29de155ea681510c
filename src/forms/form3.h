// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "forms/form_builder.h"
#include "forms/host.h"
#include "geometry/plot_variables.h"
#include "runtime/value.h"

#include <QWidget>

class QLineEdit;

namespace lumetra::forms {

// The parameter window: length of OA, its angle with the X axis and the angle
// increment, checked as numbers under the user's locale; it also owns the
// colour counter that every plot advances.
class Form3 : public QWidget {
public:
    explicit Form3(Host& host);

    const Controls& controls() const { return controls_; }

    // Accessors for the other windows; reading them runs no handler.
    const runtime::Value& VALa() const { return VALa_; }
    const runtime::Value& VALb() const { return VALb_; }
    const runtime::Value& VALe() const { return VALe_; }
    std::int16_t Miocolor() const { return Miocolor_; }
    void setMiocolor(std::int16_t value) { Miocolor_ = value; }
    // The three values and their fields as a plot had them, NaN for a rejected
    // entry; the first activation keeps them rather than the defaults.
    void setParameters(double VALa, double VALb, double VALe);
    // The parameters as the curve construction reads them.
    geometry::PlotParameters plotParameters() const { return {VALa_, VALb_, VALe_, Miocolor_}; }

    void Form_Activate();
    void Command1_Click();
    void Command2_Click();
    void LeggiText1();
    void LeggiText2();
    void LeggiText5();

private:
    void readField(QLineEdit* field, runtime::Value& variable, const QString& message);
    static void showField(QLineEdit* field, runtime::Value& variable, double value);
    static void paint(QLineEdit* field, QColor colour);

    Host& host_;
    Controls controls_;
    QLineEdit* text1_;
    QLineEdit* text2_;
    QLineEdit* text5_;
    runtime::Value VALa_;
    runtime::Value VALb_;
    runtime::Value VALe_;
    std::int16_t Miocolor_ = 0;
    runtime::Value Contr_;
};

} // namespace lumetra::forms
