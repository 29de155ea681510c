// SPDX-License-Identifier: GPL-3.0-or-later
#include "controls/wrapping_button.h"

#include <QFontMetrics>
#include <QKeyEvent>
#include <QStyleOptionButton>
#include <QStylePainter>
#include <QTextLayout>

namespace lumetra::controls {

namespace {
constexpr int kCaptionMargin = 3;

QTextOption wrappingOption() {
    QTextOption option(Qt::AlignHCenter);
    option.setWrapMode(QTextOption::WordWrap);
    return option;
}
} // namespace

WrappingButton::WrappingButton(const QString& caption, QWidget* parent)
    : QPushButton(caption, parent) {
    setAutoDefault(false);
    setDefault(false);
}

QRect WrappingButton::captionRect() const {
    return rect().adjusted(kCaptionMargin, kCaptionMargin, -kCaptionMargin, -kCaptionMargin);
}

QStringList WrappingButton::captionLines() const {
    QTextLayout layout(text(), font());
    layout.setTextOption(wrappingOption());
    QStringList lines;
    layout.beginLayout();
    for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
        line.setLineWidth(captionRect().width());
        lines << text().mid(line.textStart(), line.textLength());
    }
    layout.endLayout();
    return lines;
}

void WrappingButton::paintEvent(QPaintEvent* /*event*/) {
    QStylePainter painter(this);
    QStyleOptionButton option;
    initStyleOption(&option);
    option.text.clear();
    painter.drawControl(QStyle::CE_PushButton, option);

    const QRect area = captionRect();
    const QFontMetrics metrics(font());
    const QStringList lines = captionLines();
    const int lineHeight = metrics.height();
    int y = area.top() + (area.height() - lineHeight * static_cast<int>(lines.size())) / 2;
    if (isDown()) {
        y += style()->pixelMetric(QStyle::PM_ButtonShiftVertical, &option, this);
    }
    painter.setPen(
        palette().color(isEnabled() ? QPalette::Active : QPalette::Disabled, QPalette::ButtonText));
    for (const QString& line : lines) {
        // Blanks at the end of a wrapped line do not count for centring.
        QString shown = line;
        while (shown.endsWith(QLatin1Char(' '))) {
            shown.chop(1);
        }
        painter.drawText(QRect(area.left(), y, area.width(), lineHeight), Qt::AlignCenter, shown);
        y += lineHeight;
    }
}

void WrappingButton::keyPressEvent(QKeyEvent* event) {
    // Qt leaves Enter to default buttons only; Return and the keypad's Enter
    // both count, without other modifiers.
    const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
    if (!enter || (event->modifiers() & ~Qt::KeypadModifier) != Qt::NoModifier) {
        QPushButton::keyPressEvent(event);
        return;
    }
    if (!event->isAutoRepeat()) {
        click();
    }
    event->accept();
}

} // namespace lumetra::controls
