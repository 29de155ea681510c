// SPDX-License-Identifier: GPL-3.0-or-later
#include "forms/picture_menu.h"

#include "controls/surface_window.h"
#include "forms/plot_history.h"
#include "forms/recent_files.h"
#include "forms/save_dialog.h"
#include "output/picture_layout.h"
#include "output/work_in_picture.h"

#include <QAction>
#include <QClipboard>
#include <QCoreApplication>
#include <QCursor>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileDialog>
#include <QGuiApplication>
#include <QLineEdit>
#include <QMenu>
#include <QMimeData>
#include <QPainter>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QProgressDialog>
#include <QSettings>

namespace lumetra::forms {

namespace {

using output::PictureFormat;

const QString kLegendKey = QStringLiteral("picture/legend");
const QString kScreenBackgroundKey = QStringLiteral("picture/screenBackground");
const QString kCropKey = QStringLiteral("picture/crop");
const QString kFileName = QStringLiteral("lumetra.pdf");
constexpr std::size_t kProgressFrom = 1000;

constexpr FileFilter<PictureFormat> kFilters[] = {
    {"Immagine PNG (*.png)", PictureFormat::Png},
    {"Disegno vettoriale SVG (*.svg)", PictureFormat::Svg},
    {"Documento PDF (*.pdf)", PictureFormat::Pdf},
};

// Runs `work` with its progress: from 1000 curves on, a progress dialog that
// can cancel it and keeps every window of the program from plotting meanwhile.
template <typename Work>
auto withProgress(QWidget& window, std::size_t curves, const QString& label, Work work) {
    if (curves < kProgressFrom) {
        return work(output::Progress());
    }
    QProgressDialog dialog(label, QStringLiteral("Annulla"), 0, static_cast<int>(curves), &window);
    dialog.setWindowTitle(QCoreApplication::applicationName());
    dialog.setWindowModality(Qt::ApplicationModal);
    dialog.setMinimumDuration(0);
    int done = 0;
    return work(output::Progress([&dialog, &done] {
        dialog.setValue(done++);
        return !dialog.wasCanceled();
    }));
}

// The paper turned to the figure's shape.
void orient(QPrinter& printer, const output::Picture& picture) {
    const QRectF curves =
        picture.options.crop ? output::curvesBox(picture.record, picture.area) : QRectF();
    printer.setPageLayout(
        output::paperFor(printer.pageLayout(), true, output::layOutPicture(picture, curves).frame));
}

// The file the print dialog proposes for a PDF, in the folder Qt chose: Qt
// names it after the document on X11 only, and leaves just the folder elsewhere.
void proposeFileName(QPrintDialog& dialog) {
    auto* field = dialog.findChild<QLineEdit*>(QStringLiteral("filename"));
    if (field == nullptr) {
        return;
    }
    const QString proposed = field->text();
    const QString folder = proposed.endsWith(u'/') ? proposed : QFileInfo(proposed).path();
    field->setText(QDir(folder).filePath(kFileName));
}

// A choice of the menu kept between runs under `key`.
QAction* remembered(QAction* action, const QString& key) {
    action->setCheckable(true);
    action->setChecked(QSettings().value(key, false).toBool());
    QObject::connect(action, &QAction::toggled, action,
                     [key](bool on) { QSettings().setValue(key, on); });
    return action;
}

} // namespace

PictureMenu::PictureMenu(controls::SurfaceWindow& window, const output::PlotRecord& record,
                         PlotHistory& history, Messenger message)
    : QObject(&window), window_(window), record_(record), history_(history),
      message_(std::move(message)), menu_(new QMenu(&window)) {
    QMenu* menu = menu_;
    menu->addAction(history.undoAction());
    menu->addAction(history.redoAction());
    menu->addSeparator();
    menu->addAction(
        addAction(QStringLiteral("Apri\u2026"), QKeySequence::Open, &PictureMenu::open));
    recent_ = menu->addMenu(QStringLiteral("File recenti"));
    connect(recent_, &QMenu::aboutToShow, this, &PictureMenu::showRecentFiles);
    menu->addSeparator();
    menu->addAction(
        addAction(QStringLiteral("Salva immagine\u2026"), QKeySequence::Save, &PictureMenu::save));
    menu->addAction(
        addAction(QStringLiteral("Copia immagine"), QKeySequence::Copy, &PictureMenu::copy));
    menu->addSeparator();
    menu->addAction(
        addAction(QStringLiteral("Stampa\u2026"), QKeySequence::Print, &PictureMenu::print));
    menu->addAction(addAction(QStringLiteral("Anteprima di stampa\u2026"), QKeySequence(),
                              &PictureMenu::preview));
    menu->addSeparator();
    legend_ = remembered(
        addAction(QStringLiteral("Legenda nell'immagine"), QKeySequence(), nullptr), kLegendKey);
    menu->addAction(legend_);
    screenBackground_ =
        remembered(addAction(QStringLiteral("Sfondo come sullo schermo"), QKeySequence(), nullptr),
                   kScreenBackgroundKey);
    menu->addAction(screenBackground_);
    crop_ = remembered(addAction(QStringLiteral("Ritaglia alla figura"), QKeySequence(), nullptr),
                       kCropKey);
    menu->addAction(crop_);

    // Shift+F10 and the Menu key wherever the focus is in the window.
    auto* keyboard = new QAction(&window);
    keyboard->setShortcuts({QKeySequence(Qt::SHIFT | Qt::Key_F10), QKeySequence(Qt::Key_Menu)});
    keyboard->setShortcutContext(Qt::WindowShortcut);
    connect(keyboard, &QAction::triggered, this, &PictureMenu::popUpFromKeyboard);
    window.addAction(keyboard);
    window.setAcceptDrops(true);
    window.installEventFilter(this);

    window.setContextMenuPolicy(Qt::CustomContextMenu);
    connect(&window, &QWidget::customContextMenuRequested, menu, [&window, menu](QPoint at) {
        if (window.childAt(at) == nullptr) {
            menu->popup(window.mapToGlobal(at));
        }
    });
}

QAction* PictureMenu::addAction(const QString& text, const QKeySequence& keys,
                                void (PictureMenu::*command)()) {
    auto* action = new QAction(text, &window_);
    action->setShortcut(keys);
    action->setShortcutContext(Qt::WindowShortcut);
    if (command != nullptr) {
        connect(action, &QAction::triggered, this, command);
    }
    window_.addAction(action);
    return action;
}

void PictureMenu::addCommand(const QString& text, const std::function<void()>& command) {
    menu_->addSeparator();
    connect(menu_->addAction(text), &QAction::triggered, this, command);
}

output::Picture PictureMenu::picture() const {
    const surface::DrawingSurface& surface = window_.surface();
    output::PictureOptions options;
    options.legend = legend_->isChecked();
    options.screenBackground = screenBackground_->isChecked();
    options.crop = crop_->isChecked();
    return {surface.image(),
            record_,
            surface.logicalSize(),
            surface.foreground(),
            surface.background(),
            static_cast<double>(window_.logicalDpiX()),
            options};
}

void PictureMenu::save() {
    if (const auto choice = askWhereToSave(window_, QStringLiteral("Salva immagine"), kFilters,
                                           QStringLiteral("lumetra.png"))) {
        saveAs(choice->first, choice->second);
    }
}

void PictureMenu::saveAs(const QString& name, PictureFormat chosen) {
    output::Picture now = picture();
    const output::PictureFile file = output::pictureFileFor(name, chosen);
    if (file.format == PictureFormat::Pdf) {
        // On the paper of the last print, else on A4 turned to the figure.
        now.options.paper = paper_.value_or(
            QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Landscape, QMarginsF()));
        now.options.orientByFigure = !paper_;
    }
    const output::SaveResult result = withProgress(
        window_, now.record.size(), QStringLiteral("Salvataggio dell'immagine\u2026"),
        [&](const output::Progress& progress) { return output::savePicture(file, now, progress); });
    if (result.status == output::SaveResult::Status::Saved) {
        // Only a folder that took the picture: the next dialog is not to open where saving fails.
        rememberSavedIn(file.name);
        RecentFiles::add(file.name);
    } else if (result.status == output::SaveResult::Status::Failed) {
        message_(result.message);
    }
}

void PictureMenu::open() {
    const QString name =
        QFileDialog::getOpenFileName(&window_, QStringLiteral("Apri"), dialogFolder(),
                                     QStringLiteral("Immagini di LUMETRA (*.png *.svg *.pdf)"));
    if (!name.isEmpty()) {
        openFile(name);
    }
}

bool PictureMenu::openFile(const QString& name) {
    std::variant<output::Work, output::WorkError> work = output::readWorkFile(name);
    if (const auto* error = std::get_if<output::WorkError>(&work)) {
        message_(QStringLiteral("Impossibile aprire %1: %2")
                     .arg(QDir::toNativeSeparators(name), error->reason));
        return false;
    }
    history_.open(std::move(std::get<output::Work>(work).record),
                  QStringLiteral("apertura di ") + QFileInfo(name).fileName());
    RecentFiles::add(name);
    return true;
}

void PictureMenu::showRecentFiles() {
    recent_->clear();
    const QStringList names = RecentFiles::list();
    for (const QString& name : names) {
        QAction* entry = recent_->addAction(QFileInfo(name).fileName());
        entry->setToolTip(QDir::toNativeSeparators(name));
        connect(entry, &QAction::triggered, this, [this, name] {
            if (!QFileInfo::exists(name)) {
                RecentFiles::remove(name);
                message_(
                    QStringLiteral("Il file %1 non esiste pi\u00F9: \u00E8 tolto dai file recenti.")
                        .arg(QDir::toNativeSeparators(name)));
                return;
            }
            openFile(name);
        });
    }
    recent_->setEnabled(!names.isEmpty());
}

void PictureMenu::popUpFromKeyboard() {
    const QPoint mouse = window_.mapFromGlobal(QCursor::pos());
    if (window_.rect().contains(mouse) && window_.childAt(mouse) == nullptr) {
        menu_->popup(QCursor::pos());
        return;
    }
    constexpr int kStep = 8;
    for (int y = window_.height() / 2; y < window_.height(); y += kStep) {
        for (int x = window_.width() / 2; x < window_.width(); x += kStep) {
            if (window_.childAt(x, y) == nullptr) {
                menu_->popup(window_.mapToGlobal(QPoint(x, y)));
                return;
            }
        }
    }
    menu_->popup(window_.mapToGlobal(QPoint(0, 0)));
}

bool PictureMenu::eventFilter(QObject* watched, QEvent* event) {
    if (watched != &window_) {
        return false;
    }
    if (event->type() == QEvent::DragEnter) {
        auto* drag = static_cast<QDragEnterEvent*>(event);
        if (drag->mimeData()->hasUrls() && drag->mimeData()->urls().first().isLocalFile()) {
            drag->acceptProposedAction();
            return true;
        }
    } else if (event->type() == QEvent::Drop) {
        auto* drop = static_cast<QDropEvent*>(event);
        if (drop->mimeData()->hasUrls() && drop->mimeData()->urls().first().isLocalFile()) {
            drop->acceptProposedAction();
            const QString name = drop->mimeData()->urls().first().toLocalFile();
            // After the drop has finished: opening may show a message.
            QMetaObject::invokeMethod(
                this, [this, name] { openFile(name); }, Qt::QueuedConnection);
            return true;
        }
    }
    return false;
}

void PictureMenu::copy() {
    const output::Picture now = picture();
    const std::optional<QByteArray> svg = withProgress(
        window_, now.record.size(), QStringLiteral("Copia dell'immagine\u2026"),
        [&](const output::Progress& progress) { return output::svgPicture(now, progress); });
    if (!svg) {
        return;
    }
    auto* data = new QMimeData;
    data->setImageData(output::rasterPicture(now));
    data->setData(QStringLiteral("image/svg+xml"), *svg);
    QGuiApplication::clipboard()->setMimeData(data);
}

void PictureMenu::print() {
    QPrinter printer(QPrinter::HighResolution);
    const output::Picture now = picture();
    orient(printer, now);
    // The job's name in the printer's queue.
    printer.setDocName(output::pdfTitle(now.record));
    QPrintDialog dialog(&printer, &window_);
    proposeFileName(dialog);
    if (dialog.exec() == QDialog::Accepted) {
        paper_ = printer.pageLayout();
        printOn(printer, now);
    }
}

void PictureMenu::preview() {
    QPrinter printer(QPrinter::HighResolution);
    const output::Picture now = picture();
    orient(printer, now);
    QPrintPreviewDialog dialog(&printer, &window_);
    connect(&dialog, &QPrintPreviewDialog::paintRequested, this,
            [this, &now](QPrinter* target) { printOn(*target, now); });
    dialog.exec();
}

void PictureMenu::printOn(QPrinter& printer, const output::Picture& picture) {
    // A PDF file is written as a saved one, so that it carries the work too.
    if (printer.outputFormat() == QPrinter::PdfFormat && !printer.outputFileName().isEmpty()) {
        output::Picture onPaper = picture;
        onPaper.options.paper = printer.pageLayout();
        onPaper.options.orientByFigure = false;
        const output::PictureFile file{printer.outputFileName(), PictureFormat::Pdf};
        const output::SaveResult result = withProgress(
            window_, picture.record.size(), QStringLiteral("Stampa dell'immagine\u2026"),
            [&](const output::Progress& progress) {
                return output::savePicture(file, onPaper, progress);
            });
        if (result.status == output::SaveResult::Status::Failed) {
            message_(result.message);
        }
        return;
    }
    QPainter painter;
    if (!painter.begin(&printer)) {
        message_(QStringLiteral("Impossibile stampare l'immagine."));
        return;
    }
    const QRectF page(QPointF(0, 0), printer.pageRect(QPrinter::DevicePixel).size());
    const bool complete =
        withProgress(window_, picture.record.size(), QStringLiteral("Stampa dell'immagine\u2026"),
                     [&](const output::Progress& progress) {
                         return output::paintPicture(painter, page, picture, progress);
                     });
    if (!complete) {
        printer.abort();
    }
}

} // namespace lumetra::forms
