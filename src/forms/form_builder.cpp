// SPDX-License-Identifier: GPL-3.0-or-later
#include "forms/form_builder.h"

#include "controls/caption_frame.h"
#include "controls/face.h"
#include "controls/stepping_scroll_bar.h"
#include "controls/title_page_view.h"
#include "controls/wrapping_button.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>

#include <algorithm>
#include <optional>
#include <vector>

namespace lumetra::forms {

namespace {

using resources::ControlKind;
using resources::ControlLayout;

QRect pixels(const ControlLayout& entry) {
    using resources::twipsToPixels;
    return {twipsToPixels(entry.left), twipsToPixels(entry.top), twipsToPixels(entry.width),
            twipsToPixels(entry.height)};
}

// The colour a layout entry asks for, if it asks for one.
std::optional<QColor> layoutColour(const std::optional<resources::Colour>& colour,
                                   const QPalette& palette) {
    if (colour && colour->rgb) {
        return QColor::fromRgb(*colour->rgb);
    }
    if (!colour || !colour->role) {
        return std::nullopt;
    }
    switch (*colour->role) {
    case resources::SystemColour::ButtonFace:
        return palette.color(QPalette::Button);
    case resources::SystemColour::ButtonText:
        return palette.color(QPalette::ButtonText);
    case resources::SystemColour::WindowBackground:
        return palette.color(QPalette::Base);
    case resources::SystemColour::HighlightText:
        return palette.color(QPalette::HighlightedText);
    }
    return std::nullopt;
}

QFont fontOf(const resources::FontStyle& entry) {
    QFont font(controls::installedFace(entry.family));
    font.setPointSizeF(entry.pointSize);
    font.setWeight(entry.weight >= 700 ? QFont::Bold : QFont::Normal);
    return font;
}

// An opaque background in the button face, as the platform's labels and check
// boxes have: drawing on the window never shows through them.
void fillWithButtonFace(QWidget& control) {
    control.setAutoFillBackground(true);
    QPalette palette = control.palette();
    palette.setColor(QPalette::Window, palette.color(QPalette::Button));
    control.setPalette(palette);
}

QWidget* createControl(const ControlLayout& entry, QWidget* parent) {
    const QString caption = text(entry.caption);
    switch (entry.kind) {
    case ControlKind::CommandButton:
        return new controls::WrappingButton(caption, parent);
    case ControlKind::Label: {
        auto* label = new QLabel(caption, parent);
        label->setWordWrap(true);
        label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
        fillWithButtonFace(*label);
        QPalette palette = label->palette();
        palette.setColor(QPalette::WindowText, palette.color(QPalette::ButtonText));
        label->setPalette(palette);
        return label;
    }
    case ControlKind::TextBox: {
        auto* edit = new QLineEdit(caption, parent);
        edit->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
        return edit;
    }
    case ControlKind::HScrollBar: {
        auto* bar = new controls::SteppingScrollBar(Qt::Horizontal, parent);
        if (entry.scroll) {
            bar->setRange(entry.scroll->minimum, entry.scroll->maximum);
            bar->setSingleStep(entry.scroll->smallChange);
            bar->setPageStep(entry.scroll->largeChange);
            bar->setValue(entry.scroll->value);
        }
        // The value changes when the thumb is released, not while it is dragged.
        bar->setTracking(false);
        // Right steps up, as on every other horizontal control.
        bar->setInvertedControls(false);
        bar->setFocusPolicy(Qt::StrongFocus);
        return bar;
    }
    case ControlKind::CheckBox: {
        auto* box = new QCheckBox(caption, parent);
        fillWithButtonFace(*box);
        return box;
    }
    case ControlKind::Frame:
        return new controls::CaptionFrame(caption, parent);
    case ControlKind::TitlePage:
        return new controls::TitlePageView(parent);
    }
    return nullptr;
}

void applyLook(QWidget& control, const ControlLayout& entry) {
    if (entry.font) {
        control.setFont(fontOf(*entry.font));
    }
    QPalette palette = control.palette();
    if (const std::optional<QColor> colour = layoutColour(entry.foreground, palette)) {
        palette.setColor(QPalette::WindowText, *colour);
        palette.setColor(QPalette::ButtonText, *colour);
        palette.setColor(QPalette::Text, *colour);
    }
    if (const std::optional<QColor> colour = layoutColour(entry.background, palette)) {
        palette.setColor(QPalette::Button, *colour);
        palette.setColor(QPalette::Window, *colour);
    }
    control.setPalette(palette);
    // Text boxes and the scroll bar show no caption: their name comes from
    // the label beside them or from what they are for.
    const std::string_view name =
        entry.accessibleName.empty() ? entry.caption : entry.accessibleName;
    if (!name.empty()) {
        control.setAccessibleName(text(name));
    }
}

} // namespace

Controls buildWindow(QWidget& window, const resources::WindowLayout& layout) {
    using resources::twipsToPixels;
    window.setObjectName(text(layout.name));
    window.setWindowTitle(text(layout.caption));
    window.resize(twipsToPixels(layout.clientWidth), twipsToPixels(layout.clientHeight));

    Controls built;
    // Frames first, so that the controls inside them find their parent.
    std::vector<const ControlLayout*> ordered;
    for (const ControlLayout& entry : layout.controls) {
        ordered.push_back(&entry);
    }
    std::stable_partition(ordered.begin(), ordered.end(),
                          [](const ControlLayout* s) { return s->container.empty(); });
    for (const ControlLayout* entry : ordered) {
        QWidget* parent = entry->container.empty() ? &window : built.widget(text(entry->container));
        QWidget* control = createControl(*entry, parent);
        control->setObjectName(text(entry->name));
        control->setGeometry(pixels(*entry));
        applyLook(*control, *entry);
        built.add(text(entry->name), control);
    }
    std::vector<const ControlLayout*> byTab;
    for (const ControlLayout& entry : layout.controls) {
        if (built.widget(text(entry.name))->focusPolicy() != Qt::NoFocus &&
            entry.kind != ControlKind::Label) {
            byTab.push_back(&entry);
        }
    }
    std::sort(byTab.begin(), byTab.end(), [](const ControlLayout* a, const ControlLayout* b) {
        return a->tabIndex < b->tabIndex;
    });
    for (std::size_t i = 1; i < byTab.size(); ++i) {
        QWidget::setTabOrder(built.widget(text(byTab[i - 1]->name)),
                             built.widget(text(byTab[i]->name)));
    }
    return built;
}

QWidget* firstFocus(const Controls& controls, const resources::WindowLayout& layout) {
    const ControlLayout* best = nullptr;
    for (const ControlLayout& entry : layout.controls) {
        QWidget* widget = controls.widget(text(entry.name));
        if (widget->focusPolicy() == Qt::NoFocus || entry.kind == ControlKind::Label) {
            continue;
        }
        if (best == nullptr || entry.tabIndex < best->tabIndex) {
            best = &entry;
        }
    }
    return best ? controls.widget(text(best->name)) : nullptr;
}

} // namespace lumetra::forms
