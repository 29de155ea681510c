#pragma once

#include <QString>

#include <memory>

class QMessageBox;
class QWidget;

namespace lumetra::app {

// A message box as the platform makes one, over `window`, not yet shown: the
// program's name as caption, `text`, one plain "OK" button and no icon; wide
// enough for the caption to fit in its title bar, whose only button closes it.
std::unique_ptr<QMessageBox> messageBox(QWidget* window, const QString& text);

} // namespace lumetra::app
