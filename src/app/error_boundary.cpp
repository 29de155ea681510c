// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/error_boundary.h"

#include "app/user_interface.h"
#include "runtime/run_time_error.h"

#include <new>

namespace lumetra::app {

void runGuarded(UserInterface& ui, QWidget* window, const std::function<void()>& handler) {
    try {
        handler();
    } catch (const runtime::RunTimeError& error) {
        ui.message(window, QString::fromUtf8(error.message()));
    } catch (const std::bad_alloc&) {
        ui.message(window, QString::fromUtf8(runtime::messageFor(runtime::ErrorCode::OutOfMemory)));
    }
}

} // namespace lumetra::app
