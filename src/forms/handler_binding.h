// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "forms/host.h"

#include <QObject>

namespace lumetra::forms {

// Connects `signal` of `sender` to the window's `handler`, run through the
// program's error boundary like every handler.
template <typename Form, typename Sender, typename Signal>
void bindHandler(Host& host, Form* form, Sender* sender, Signal signal, void (Form::*handler)()) {
    QObject::connect(sender, signal, form, [&host, form, handler] {
        host.run(form, [form, handler] { (form->*handler)(); });
    });
}

} // namespace lumetra::forms
