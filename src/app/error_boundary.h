// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <functional>

class QWidget;

namespace lumetra::app {

class UserInterface;

// Runs one event handler. A run-time error shows its message over `window`
// and abandons the rest of the handler; whatever was drawn and stored before
// the error stays, and the program keeps running.
void runGuarded(UserInterface& ui, QWidget* window, const std::function<void()>& handler);

} // namespace lumetra::app
