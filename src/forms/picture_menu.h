#pragma once

#include "output/picture_file.h"
#include "output/plot_record.h"

#include <QObject>

#include <functional>

class QAction;
class QPrinter;

namespace lumetra::surface {
class SurfaceWindow;
}

namespace lumetra::forms {

class PlotHistory;

// The plot window's picture off the screen: a context menu on the drawing (not
// on its controls) and the same commands as shortcuts wherever the focus is in
// the window: save as PNG, SVG or PDF, copy, print, preview, and whether these
// pictures carry a legend (remembered between runs). Above them, taking the
// last step back and doing it again.
class PictureMenu : public QObject {
public:
    using Messenger = std::function<void(const QString& text)>;

    PictureMenu(surface::SurfaceWindow& window, const output::PlotRecord& record,
                const PlotHistory& history, Messenger message);

    void save();
    // Saves as the dialog would with `name` chosen under the filter of `chosen`;
    // once saved, the next dialog opens in its folder.
    void saveAs(const QString& name, output::PictureFormat chosen);
    void copy();
    void print();
    void preview();

private:
    QAction* addAction(const QString& text, const QKeySequence& keys,
                       void (PictureMenu::*command)());
    output::Picture picture() const;
    void printOn(QPrinter& printer, const output::Picture& picture);

    surface::SurfaceWindow& window_;
    const output::PlotRecord& record_;
    Messenger message_;
    QAction* legend_;
};

} // namespace lumetra::forms
