#include "forms/form1.h"

#include "app/program.h"
#include "forms/handler_binding.h"
#include "resources/layout.h"

#include <QPushButton>

namespace lumetra::forms {

Form1::Form1(app::Program& program)
    : program_(program), controls_(buildWindow(*this, resources::form1Layout())) {
    bindHandler(program_, this, controls_.get<QPushButton>(QStringLiteral("Command1")),
                &QPushButton::clicked, &Form1::Command1_Click);
    firstFocus(controls_, resources::form1Layout())->setFocus();
}

void Form1::Command1_Click() {
    program_.show(app::FormId::Form2);
}

} // namespace lumetra::forms
