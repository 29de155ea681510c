// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "app/user_interface.h"

#include <QStringList>

#include <functional>

namespace lumetra::testing {

// Records message boxes and program end instead of blocking or exiting.
// `onMessage` runs while the "box" is open, to look at the program's state
// before the user would have closed it.
struct RecordingUi : app::UserInterface {
    void message(QWidget* window, const QString& text) override {
        messages << text;
        messageWindows << window;
        if (onMessage) {
            onMessage(text);
        }
    }
    bool ask(QWidget*, const QString& question) override {
        questions << question;
        return answer;
    }
    void endProgram() override { ++endCount; }

    QStringList messages;
    QStringList questions;
    bool answer = true;
    QList<QWidget*> messageWindows;
    int endCount = 0;
    std::function<void(const QString&)> onMessage;
};

} // namespace lumetra::testing
