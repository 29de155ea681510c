// SPDX-License-Identifier: GPL-3.0-or-later
#include "controls/title_page_view.h"

#include "controls/face.h"
#include "resources/layout.h"
#include "resources/text.h"
#include "resources/title_page.h"

#include <QPainter>

namespace lumetra::controls {

TitlePageView::TitlePageView(QWidget* parent)
    : QWidget(parent), font_(installedFace(resources::titlePage().fontFamily)) {
    font_.setPointSizeF(resources::titlePage().pointSize);
    setFocusPolicy(Qt::NoFocus);
}

QPointF TitlePageView::textOrigin(int paragraph, double leftUnits) {
    const resources::TitlePage& page = resources::titlePage();
    const double twips = runtime::kTwipsPerPixel;
    return {leftUnits * page.twipsPerUnit() / twips, page.baselineTwips(paragraph) / twips};
}

void TitlePageView::paintEvent(QPaintEvent* /*event*/) {
    const resources::TitlePage& page = resources::titlePage();
    QPainter painter(this);
    painter.setClipRect(rect());
    painter.setFont(font_);
    painter.setPen(Qt::black);
    for (const resources::TitleLine& line : page.lines) {
        painter.drawText(textOrigin(line.paragraph, line.leftUnits), resources::text(line.text));
    }
}

} // namespace lumetra::controls
