// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/command_line.h"

#include "cli/arguments.h"
#include "cli/parser_texts.h"
#include "cli/render.h"
#include "output/checked_file.h"
#include "output/plot_construction.h"
#include "output/work_in_picture.h"

#include <QDir>
#include <QGuiApplication>
#include <QPalette>

#include <cstdio>

#include <unistd.h>

namespace lumetra::cli {

namespace {

void print(std::FILE* stream, const QString& text) {
    const QByteArray bytes = text.toUtf8();
    std::fwrite(bytes.constData(), 1, static_cast<std::size_t>(bytes.size()), stream);
}

void complain(const QString& message) {
    print(stderr, QStringLiteral("lumetra: ") + message + u'\n');
}

// Qt's own warnings are English and about the platform (no XDG_RUNTIME_DIR
// under cron, for one), not about the picture: the command line reports its
// faults itself. Critical and fatal messages still go out.
QtMessageHandler qtHandler = nullptr;

void keepQtQuiet(QtMsgType type, const QMessageLogContext& context, const QString& message) {
    if ((type == QtCriticalMsg || type == QtFatalMsg) && qtHandler != nullptr) {
        qtHandler(type, context, message);
    }
}

// The picture on standard output, whole or not at all: made in memory first,
// so that a fault in making it writes nothing.
output::SaveResult writeToStandardOutput(const std::optional<QByteArray>& bytes) {
    const QString failure =
        QStringLiteral("impossibile scrivere l'immagine sullo standard output: ");
    if (!bytes) {
        return {output::SaveResult::Status::Failed,
                failure + QStringLiteral("memoria insufficiente")};
    }
    if (const int error = output::writeWhole(STDOUT_FILENO, *bytes)) {
        return {output::SaveResult::Status::Failed, failure + output::systemReason(error)};
    }
    return {output::SaveResult::Status::Saved, {}};
}

// The construction of the last plot drawn, as an animation.
output::SaveResult writeAnimation(const Request& request, const output::Picture& picture) {
    if (picture.record.empty()) {
        return {output::SaveResult::Status::Failed,
                QStringLiteral("nessuna curva di cui mostrare la costruzione")};
    }
    const output::PlotConstruction construction =
        output::constructionOf(picture.record.plots().back());
    // The pictures' background: white, or with --sfondo schermo the window's.
    const output::FrameColours colours{picture.foreground, picture.options.screenBackground
                                                               ? picture.background
                                                               : QColor(Qt::white)};
    if (request.standardOutput) {
        return writeToStandardOutput(
            output::animationBytes(*request.construction, construction, colours, {}));
    }
    return output::saveAnimation({request.file.name, *request.construction}, construction, colours,
                                 {});
}

output::SaveResult writePicture(const Request& request, const output::Picture& picture) {
    if (request.construction) {
        return writeAnimation(request, picture);
    }
    if (request.standardOutput) {
        return writeToStandardOutput(output::pictureBytes(request.file.format, picture, {}));
    }
    return output::savePicture(request.file, picture, {});
}

// The drawing the request asks for: its curves, or the work of a saved picture.
std::variant<Rendering, QString> draw(const Request& request, QColor foreground,
                                      QColor background) {
    if (!request.workFile) {
        return render(request, foreground, background);
    }
    const std::variant<output::Work, output::WorkError> work =
        output::readWorkFile(*request.workFile);
    if (const output::WorkError* error = std::get_if<output::WorkError>(&work)) {
        return QStringLiteral("impossibile leggere il lavoro da %1: %2")
            .arg(QDir::toNativeSeparators(*request.workFile), error->reason);
    }
    return renderWork(request, std::get<output::Work>(work).record, foreground, background);
}

int write(const Request& request) {
    // The plot window's colours: the button face and the button text.
    const QPalette palette = QGuiApplication::palette();
    const std::variant<Rendering, QString> drawn =
        draw(request, palette.color(QPalette::ButtonText), palette.color(QPalette::Button));
    if (const QString* fault = std::get_if<QString>(&drawn)) {
        complain(*fault);
        return kBadUsage;
    }
    const Rendering& rendering = std::get<Rendering>(drawn);
    for (const QString& line : rendering.errors + rendering.leaving) {
        complain(line);
    }
    if (!rendering.complete) {
        complain(QStringLiteral("memoria insufficiente per un'immagine di %1x%2 pixel")
                     .arg(rendering.picture.area.width())
                     .arg(rendering.picture.area.height()));
        return kNotWritten;
    }
    const output::SaveResult saved = writePicture(request, rendering.picture);
    if (saved.status != output::SaveResult::Status::Saved) {
        complain(saved.message);
        return kNotWritten;
    }
    return rendering.errors.isEmpty() ? kWritten : kWrittenWithError;
}

} // namespace

int runCommandLine(int argc, char* argv[]) {
    qtHandler = qInstallMessageHandler(keepQtQuiet);
    // Images, SVG and PDF need no screen: no display, no window, also over SSH.
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QGuiApplication application(argc, argv);
    QCoreApplication::setApplicationVersion(QStringLiteral(LUMETRA_VERSION));
    ParserTexts texts;
    QCoreApplication::installTranslator(&texts);
    const std::variant<Request, Reply> parsed = parseArguments(QCoreApplication::arguments());
    if (const Reply* reply = std::get_if<Reply>(&parsed)) {
        if (reply->status == kWritten) {
            print(stdout, reply->text);
        } else {
            complain(reply->text);
        }
        return reply->status;
    }
    return write(std::get<Request>(parsed));
}

} // namespace lumetra::cli
