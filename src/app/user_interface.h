// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

class QWidget;

namespace lumetra::app {

// The program's name, the caption of every message box.
inline constexpr char kApplicationTitle[] = "LUMETRA";

// Message boxes and program end, behind an interface so that tests can record
// them instead of blocking on a modal box or leaving the test process.
class UserInterface {
public:
    virtual ~UserInterface() = default;

    // A message box with the application's title, one OK button and no icon,
    // over `window`; returns when the user has closed it.
    virtual void message(QWidget* window, const QString& text) = 0;

    // A question with the application's title and the buttons "Sì" and "No";
    // true for "Sì".
    virtual bool ask(QWidget* window, const QString& question) = 0;

    // Ends the program at once.
    virtual void endProgram() = 0;
};

// The real thing: a message box on screen and the end of the event loop.
class DesktopInterface : public UserInterface {
public:
    void message(QWidget* window, const QString& text) override;
    bool ask(QWidget* window, const QString& question) override;
    void endProgram() override;
};

} // namespace lumetra::app
