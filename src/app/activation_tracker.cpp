// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/activation_tracker.h"

namespace lumetra::app {

bool ActivationTracker::activated(FormId window) {
    if (last_ == window) {
        return false;
    }
    last_ = window;
    return true;
}

} // namespace lumetra::app
