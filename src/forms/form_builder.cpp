#include "forms/form_builder.h"

#include "controls/caption_frame.h"
#include "controls/title_page_view.h"
#include "controls/wrapping_button.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QScrollBar>

#include <algorithm>
#include <vector>

namespace lumetra::forms {

namespace {

using resources::ControlKind;
using resources::ControlSpec;

QRect pixels(const ControlSpec& spec) {
    using resources::twipsToPixels;
    return {twipsToPixels(spec.left), twipsToPixels(spec.top), twipsToPixels(spec.width),
            twipsToPixels(spec.height)};
}

QColor colourOf(const resources::Colour& colour, const QPalette& palette) {
    if (colour.rgb) {
        return QColor::fromRgb(*colour.rgb);
    }
    switch (*colour.role) {
    case resources::SystemColour::ButtonFace:
        return palette.color(QPalette::Button);
    case resources::SystemColour::ButtonText:
        return palette.color(QPalette::ButtonText);
    case resources::SystemColour::WindowBackground:
        return palette.color(QPalette::Base);
    case resources::SystemColour::HighlightText:
        return palette.color(QPalette::HighlightedText);
    }
    return {};
}

QFont fontOf(const resources::FontSpec& spec) {
    QFont font(text(spec.family));
    font.setPointSizeF(spec.pointSize);
    font.setWeight(spec.weight >= 700 ? QFont::Bold : QFont::Normal);
    return font;
}

QWidget* createControl(const ControlSpec& spec, QWidget* parent) {
    const QString caption = text(spec.caption);
    switch (spec.kind) {
    case ControlKind::CommandButton:
        return new controls::WrappingButton(caption, parent);
    case ControlKind::Label: {
        auto* label = new QLabel(caption, parent);
        label->setWordWrap(true);
        label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
        label->setAutoFillBackground(true);
        QPalette palette = label->palette();
        palette.setColor(QPalette::Window, palette.color(QPalette::Button));
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
        auto* bar = new QScrollBar(Qt::Horizontal, parent);
        bar->setRange(spec.scroll->minimum, spec.scroll->maximum);
        bar->setSingleStep(spec.scroll->smallChange);
        bar->setPageStep(spec.scroll->largeChange);
        bar->setValue(spec.scroll->value);
        // The value changes when the thumb is released, not while it is dragged.
        bar->setTracking(false);
        // Right steps up, as on every other horizontal control.
        bar->setInvertedControls(false);
        bar->setFocusPolicy(Qt::StrongFocus);
        return bar;
    }
    case ControlKind::CheckBox:
        return new QCheckBox(caption, parent);
    case ControlKind::Frame:
        return new controls::CaptionFrame(caption, parent);
    case ControlKind::TitlePage:
        return new controls::TitlePageView(parent);
    }
    return nullptr;
}

void applyLook(QWidget& control, const ControlSpec& spec) {
    if (spec.font) {
        control.setFont(fontOf(*spec.font));
    }
    QPalette palette = control.palette();
    if (spec.foreground) {
        const QColor colour = colourOf(*spec.foreground, palette);
        palette.setColor(QPalette::WindowText, colour);
        palette.setColor(QPalette::ButtonText, colour);
        palette.setColor(QPalette::Text, colour);
    }
    if (spec.background) {
        const QColor colour = colourOf(*spec.background, palette);
        palette.setColor(QPalette::Button, colour);
        palette.setColor(QPalette::Window, colour);
    }
    control.setPalette(palette);
    // Text boxes and the scroll bar show no caption: their name comes from
    // the label beside them or from what they are for.
    const std::string_view name = spec.accessibleName.empty() ? spec.caption : spec.accessibleName;
    if (!name.empty()) {
        control.setAccessibleName(text(name));
    }
}

} // namespace

QString text(std::string_view utf8) {
    return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
}

Controls buildWindow(QWidget& window, const resources::WindowSpec& layout) {
    using resources::twipsToPixels;
    window.setObjectName(text(layout.name));
    window.setWindowTitle(text(layout.caption));
    window.resize(twipsToPixels(layout.clientWidth), twipsToPixels(layout.clientHeight));

    Controls built;
    // Frames first, so that the controls inside them find their parent.
    std::vector<const ControlSpec*> ordered;
    for (const ControlSpec& spec : layout.controls) {
        ordered.push_back(&spec);
    }
    std::stable_partition(ordered.begin(), ordered.end(),
                          [](const ControlSpec* s) { return s->container.empty(); });
    for (const ControlSpec* spec : ordered) {
        QWidget* parent = spec->container.empty() ? &window : built.widget(text(spec->container));
        QWidget* control = createControl(*spec, parent);
        control->setObjectName(text(spec->name));
        control->setGeometry(pixels(*spec));
        applyLook(*control, *spec);
        built.add(text(spec->name), control);
    }
    std::vector<const ControlSpec*> byTab;
    for (const ControlSpec& spec : layout.controls) {
        if (built.widget(text(spec.name))->focusPolicy() != Qt::NoFocus &&
            spec.kind != ControlKind::Label) {
            byTab.push_back(&spec);
        }
    }
    std::sort(byTab.begin(), byTab.end(),
              [](const ControlSpec* a, const ControlSpec* b) { return a->tabIndex < b->tabIndex; });
    for (std::size_t i = 1; i < byTab.size(); ++i) {
        QWidget::setTabOrder(built.widget(text(byTab[i - 1]->name)),
                             built.widget(text(byTab[i]->name)));
    }
    return built;
}

QWidget* firstFocus(const Controls& controls, const resources::WindowSpec& layout) {
    const ControlSpec* best = nullptr;
    for (const ControlSpec& spec : layout.controls) {
        QWidget* widget = controls.widget(text(spec.name));
        if (widget->focusPolicy() == Qt::NoFocus || spec.kind == ControlKind::Label) {
            continue;
        }
        if (best == nullptr || spec.tabIndex < best->tabIndex) {
            best = &spec;
        }
    }
    return best ? controls.widget(text(best->name)) : nullptr;
}

} // namespace lumetra::forms
