#pragma once

#include "forms/form_builder.h"

#include <QWidget>

namespace lumetra::app {
class Program;
}

namespace lumetra::forms {

// The title window: the title page and "AVANTI".
class Form1 : public QWidget {
public:
    explicit Form1(app::Program& program);

    const Controls& controls() const { return controls_; }

    void Command1_Click();

private:
    app::Program& program_;
    Controls controls_;
};

} // namespace lumetra::forms
