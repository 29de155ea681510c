// SPDX-License-Identifier: GPL-3.0-or-later
#include "forms/form1.h"

#include "forms/handler_binding.h"
#include "resources/layout.h"

#include <QPushButton>

namespace lumetra::forms {

Form1::Form1(Host& host) : host_(host), controls_(buildWindow(*this, resources::form1Layout())) {
    bindHandler(host_, this, controls_.get<QPushButton>(QStringLiteral("Command1")),
                &QPushButton::clicked, &Form1::Command1_Click);
    firstFocus(controls_, resources::form1Layout())->setFocus();
}

void Form1::Command1_Click() {
    host_.show(FormId::Form2);
}

} // namespace lumetra::forms
