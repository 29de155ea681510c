// SPDX-License-Identifier: GPL-3.0-or-later
#include "controls/caption_frame.h"

#include <QPainter>

namespace lumetra::controls {

namespace {
constexpr int kCaptionIndent = 8;
constexpr int kCaptionPadding = 2;
} // namespace

CaptionFrame::CaptionFrame(const QString& caption, QWidget* parent) : QGroupBox(caption, parent) {
    setFocusPolicy(Qt::NoFocus);
    // Painted whole in the button face, as the platform's frames are: drawing
    // on the window never shows through the frame or between its controls.
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void CaptionFrame::paintEvent(QPaintEvent* /*event*/) {
    QPainter painter(this);
    painter.fillRect(rect(), palette().color(QPalette::Button));
    const QFontMetrics metrics(font());
    const int top = metrics.height() / 2;
    // An etched line: a shadow line with a highlight just inside it.
    const QRect outer(0, top, width() - 2, height() - top - 2);
    painter.setPen(palette().color(QPalette::Dark));
    painter.drawRect(outer);
    painter.setPen(palette().color(QPalette::Light));
    painter.drawRect(outer.translated(1, 1));

    const QRect caption(kCaptionIndent, 0, metrics.horizontalAdvance(title()) + 2 * kCaptionPadding,
                        metrics.height());
    painter.fillRect(caption, palette().color(QPalette::Button));
    painter.setPen(palette().color(QPalette::ButtonText));
    painter.drawText(caption, Qt::AlignCenter, title());
}

} // namespace lumetra::controls
