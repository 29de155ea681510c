#pragma once

#include "app/program.h"

#include <QObject>

namespace lumetra::forms {

// Connects `signal` of `sender` to the window's `handler`, run through the
// program's error boundary like every handler.
template <typename Form, typename Sender, typename Signal>
void bindHandler(app::Program& program, Form* form, Sender* sender, Signal signal,
                 void (Form::*handler)()) {
    QObject::connect(sender, signal, form, [&program, form, handler] {
        program.run(form, [form, handler] { (form->*handler)(); });
    });
}

} // namespace lumetra::forms
