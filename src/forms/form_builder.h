// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "resources/layout.h"
#include "resources/text.h"

#include <QHash>
#include <QString>
#include <QWidget>

namespace lumetra::forms {

// The controls of a window, by their layout names.
class Controls {
public:
    QWidget* widget(const QString& name) const { return byName_.value(name); }
    template <typename T> T* get(const QString& name) const {
        return qobject_cast<T*>(byName_.value(name));
    }
    void add(const QString& name, QWidget* widget) { byName_.insert(name, widget); }

private:
    QHash<QString, QWidget*> byName_;
};

using resources::text;

// Gives `window` its caption and client size and builds its controls from
// `layout`: geometry (twips to device-independent pixels), fonts, colours,
// accessible names, and a tab order that follows the tab indexes.
Controls buildWindow(QWidget& window, const resources::WindowLayout& layout);

// The control with the lowest tab index that takes the focus.
QWidget* firstFocus(const Controls& controls, const resources::WindowLayout& layout);

} // namespace lumetra::forms
