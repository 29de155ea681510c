// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QPushButton>

namespace lumetra::controls {

// A command button whose caption wraps at word boundaries when it does not
// fit on one line, each line centred. Blanks inside the caption are kept.
// With the focus it is pressed by Enter as well as by Space, though it is
// never a default button.
class WrappingButton : public QPushButton {
public:
    explicit WrappingButton(const QString& caption, QWidget* parent = nullptr);

    // The caption's lines as the button lays them out at its current width.
    QStringList captionLines() const;

protected:
    void paintEvent(QPaintEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    QRect captionRect() const;
};

} // namespace lumetra::controls
