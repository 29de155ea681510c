// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "output/animation_file.h"

#include <QObject>
#include <QString>

#include <functional>

class QPushButton;

namespace lumetra::forms {

class ConstructionWindow;

// "Salva animazione…" in the construction window's row of commands: the
// construction shown, as an animated GIF or SVG of the plot's size, through
// the save dialog, written as every picture is (whole or not at all), behind
// a progress dialog that can cancel it. Why a save failed goes to `message`.
class AnimationSaving : public QObject {
    Q_OBJECT

public:
    using Messenger = std::function<void(const QString& text)>;

    AnimationSaving(ConstructionWindow& window, Messenger message);

    void save();
    // Saves as the dialog would with `name` chosen under the filter of `chosen`.
    void saveAs(const QString& name, output::AnimationFormat chosen);

    QPushButton& button() { return *button_; }

private:
    ConstructionWindow& window_;
    Messenger message_;
    QPushButton* button_;
};

} // namespace lumetra::forms
