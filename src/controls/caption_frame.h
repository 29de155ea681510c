// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QGroupBox>

namespace lumetra::controls {

// A frame whose caption sits on its top border line, as the layouts assume:
// the controls inside are placed from the frame's top edge, so a caption
// drawn above the border would push the border into them.
class CaptionFrame : public QGroupBox {
public:
    explicit CaptionFrame(const QString& caption, QWidget* parent = nullptr);

protected:
    void paintEvent(QPaintEvent* event) override;
};

} // namespace lumetra::controls
