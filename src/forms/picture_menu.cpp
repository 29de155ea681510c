#include "forms/picture_menu.h"

#include "forms/plot_history.h"
#include "surface/surface_window.h"

#include <QAction>
#include <QClipboard>
#include <QCoreApplication>
#include <QFileDialog>
#include <QGuiApplication>
#include <QMenu>
#include <QMimeData>
#include <QPainter>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QProgressDialog>
#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryFile>

namespace lumetra::forms {

namespace {

using output::PictureFormat;

const QString kLegendKey = QStringLiteral("picture/legend");
const QString kFolderKey = QStringLiteral("picture/folder");
constexpr std::size_t kProgressFrom = 1000;

struct Filter {
    const char* text;
    PictureFormat format;
};
constexpr Filter kFilters[] = {
    {"Immagine PNG (*.png)", PictureFormat::Png},
    {"Disegno vettoriale SVG (*.svg)", PictureFormat::Svg},
    {"Documento PDF (*.pdf)", PictureFormat::Pdf},
};

PictureFormat formatOfFilter(const QString& text) {
    for (const Filter& filter : kFilters) {
        if (text == QString::fromUtf8(filter.text)) {
            return filter.format;
        }
    }
    return PictureFormat::Png;
}

// Whether a file can be made in `folder`. Tried rather than judged by its
// permissions: root may write anywhere by them, yet /proc takes no file.
bool takesNewFiles(const QString& folder) {
    if (folder.isEmpty() || !QFileInfo(folder).isDir()) {
        return false;
    }
    QTemporaryFile probe(QDir(folder).filePath(QStringLiteral(".lumetra-XXXXXX")));
    return probe.open();
}

// Where the save dialog opens: the folder of the last picture saved, while
// it is there and takes files; else the pictures folder; else home.
QString startFolder() {
    const QString remembered = QSettings().value(kFolderKey).toString();
    const QString pictures = QStandardPaths::writableLocation(QStandardPaths::PicturesLocation);
    for (const QString& folder : {remembered, pictures}) {
        if (takesNewFiles(folder)) {
            return folder;
        }
    }
    return QDir::homePath();
}

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

void orient(QPrinter& printer, const output::Picture& picture) {
    printer.setPageOrientation(picture.area.width() > picture.area.height()
                                   ? QPageLayout::Landscape
                                   : QPageLayout::Portrait);
}

} // namespace

PictureMenu::PictureMenu(surface::SurfaceWindow& window, const output::PlotRecord& record,
                         const PlotHistory& history, Messenger message)
    : QObject(&window), window_(window), record_(record), message_(std::move(message)) {
    auto* menu = new QMenu(&window);
    menu->addAction(history.undoAction());
    menu->addAction(history.redoAction());
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
    legend_ = addAction(QStringLiteral("Legenda nell'immagine"), QKeySequence(), nullptr);
    legend_->setCheckable(true);
    legend_->setChecked(QSettings().value(kLegendKey, false).toBool());
    connect(legend_, &QAction::toggled, this,
            [](bool on) { QSettings().setValue(kLegendKey, on); });
    menu->addAction(legend_);

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

output::Picture PictureMenu::picture() const {
    const surface::DrawingSurface& surface = window_.surface();
    return {surface.image(),       record_,
            surface.logicalSize(), surface.foreground(),
            surface.background(),  static_cast<double>(window_.logicalDpiX()),
            legend_->isChecked()};
}

void PictureMenu::save() {
    QFileDialog dialog(&window_, QStringLiteral("Salva immagine"));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    QStringList filters;
    for (const Filter& filter : kFilters) {
        filters << QString::fromUtf8(filter.text);
    }
    dialog.setNameFilters(filters);
    // Qt's dialog adds the suffix before it asks whether to replace a file.
    const auto suffixOf = [](const QString& filter) {
        return output::extensionOf(formatOfFilter(filter));
    };
    dialog.setDefaultSuffix(suffixOf(filters.first()));
    connect(
        &dialog, &QFileDialog::filterSelected, &dialog,
        [&dialog, suffixOf](const QString& filter) { dialog.setDefaultSuffix(suffixOf(filter)); });
    dialog.setDirectory(startFolder());
    dialog.selectFile(QStringLiteral("lumetra.png"));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
        return;
    }
    saveAs(dialog.selectedFiles().first(), formatOfFilter(dialog.selectedNameFilter()));
}

void PictureMenu::saveAs(const QString& name, PictureFormat chosen) {
    const output::Picture now = picture();
    const output::PictureFile file = output::pictureFileFor(name, chosen);
    const output::SaveResult result = withProgress(
        window_, now.record.size(), QStringLiteral("Salvataggio dell'immagine\u2026"),
        [&](const output::Progress& progress) { return output::savePicture(file, now, progress); });
    if (result.status == output::SaveResult::Status::Saved) {
        // Only a folder that took the picture: the next dialog is not to open where saving fails.
        QSettings().setValue(kFolderKey, QFileInfo(file.name).absolutePath());
    } else if (result.status == output::SaveResult::Status::Failed) {
        message_(result.message);
    }
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
    QPrintDialog dialog(&printer, &window_);
    if (dialog.exec() == QDialog::Accepted) {
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
