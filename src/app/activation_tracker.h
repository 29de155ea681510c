// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "forms/host.h"

#include <optional>

namespace lumetra::app {

using forms::FormId;

// Decides when a window's activation handler runs. The platform reports
// activation late, sometimes twice, and also when the user comes back from
// another application or a message box closes; the handler must run only when
// the active window *of the program* changes. Only the program's own windows
// are reported here.
class ActivationTracker {
public:
    // `window` became the active window; true when its handler must run.
    bool activated(FormId window);

    std::optional<FormId> lastActive() const { return last_; }

private:
    std::optional<FormId> last_;
};

} // namespace lumetra::app
