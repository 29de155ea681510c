// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "output/picture_file.h"
#include "output/plot_record.h"

#include <QObject>
#include <QPageLayout>

#include <functional>
#include <optional>

class QAction;
class QMenu;
class QPrinter;

namespace lumetra::controls {
class SurfaceWindow;
}

namespace lumetra::forms {

class PlotHistory;

// The plot window's picture off the screen: a context menu on the drawing (not
// on its controls) and the same commands as shortcuts wherever the focus is in
// the window: save as PNG, SVG or PDF, copy, print, preview, and how these
// pictures look (remembered between runs): with a legend, on the window's
// background rather than white, cropped to the figure. Above them, taking the
// last step back and doing it again.
class PictureMenu : public QObject {
public:
    using Messenger = std::function<void(const QString& text)>;

    PictureMenu(controls::SurfaceWindow& window, const output::PlotRecord& record,
                PlotHistory& history, Messenger message);

    // A command of the window at the end of the menu.
    void addCommand(const QString& text, const std::function<void()>& command);

    // Asks for a picture LUMETRA wrote and opens it.
    void open();
    // Opens the work a picture carries as one step; false, with a message
    // naming the file and the reason, when it carries none to trust.
    bool openFile(const QString& name);

    void save();
    // Saves as the dialog would with `name` chosen under the filter of `chosen`;
    // once saved, the next dialog opens in its folder.
    void saveAs(const QString& name, output::PictureFormat chosen);
    void copy();
    void print();
    void preview();
    // Prints the picture as it is now on the printer the print dialog set up;
    // a PDF file carries the work as a saved one does.
    void printOn(QPrinter& printer) { printOn(printer, picture()); }
    void printOn(QPrinter& printer, const output::Picture& picture);

private:
    QAction* addAction(const QString& text, const QKeySequence& keys,
                       void (PictureMenu::*command)());
    void showRecentFiles();
    // The menu over the drawing: at the mouse when it is there, else at the
    // first point of the drawing that no control covers.
    void popUpFromKeyboard();
    bool eventFilter(QObject* watched, QEvent* event) override;
    output::Picture picture() const;

    controls::SurfaceWindow& window_;
    const output::PlotRecord& record_;
    PlotHistory& history_;
    Messenger message_;
    QMenu* menu_;
    QMenu* recent_;
    QAction* legend_;
    QAction* screenBackground_;
    QAction* crop_;
    // The paper of the last print dialog, which a saved PDF takes too.
    std::optional<QPageLayout> paper_;
};

} // namespace lumetra::forms
