// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "forms/form_builder.h"
#include "forms/host.h"

#include <QWidget>

namespace lumetra::forms {

// The title window: the title page and "AVANTI".
class Form1 : public QWidget {
public:
    explicit Form1(Host& host);

    const Controls& controls() const { return controls_; }

    void Command1_Click();

private:
    Host& host_;
    Controls controls_;
};

} // namespace lumetra::forms
