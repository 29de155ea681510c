// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

#include <memory>

class QDialog;
class QWidget;

namespace lumetra::app {

// A message box over `window`, not yet shown: the program's name as caption,
// `text`, one plain "OK" button in the middle and no icon; wide enough for the
// caption to fit in its title bar, whose only button closes it. A plain dialog
// with a layout of its own, which Qt's public interface lets it size.
std::unique_ptr<QDialog> messageBox(QWidget* window, const QString& text);

} // namespace lumetra::app
