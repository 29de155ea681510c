// SPDX-License-Identifier: GPL-3.0-or-later
#include "forms/animation_saving.h"

#include "forms/construction_window.h"
#include "forms/save_dialog.h"

#include <QCoreApplication>
#include <QHBoxLayout>
#include <QProgressDialog>
#include <QPushButton>

namespace lumetra::forms {

namespace {

using output::AnimationFormat;

constexpr FileFilter<AnimationFormat> kFilters[] = {
    {"Animazione GIF (*.gif)", AnimationFormat::Gif},
    {"Animazione SVG (*.svg)", AnimationFormat::Svg},
};

// The window's colours, which its figure and the plot window share.
output::FrameColours coloursOf(const QWidget& window) {
    return {window.palette().color(QPalette::ButtonText), window.palette().color(QPalette::Button)};
}

} // namespace

AnimationSaving::AnimationSaving(ConstructionWindow& window, Messenger message)
    : QObject(&window), window_(window), message_(std::move(message)),
      button_(new QPushButton(QStringLiteral("Salva animazione\u2026"), &window)) {
    button_->setToolTip(QStringLiteral("La costruzione in una GIF animata o in un SVG animato"));
    window.commandRow().addWidget(button_);
    connect(button_, &QPushButton::clicked, this, &AnimationSaving::save);
}

void AnimationSaving::save() {
    if (const auto choice = askWhereToSave(window_, QStringLiteral("Salva animazione"), kFilters,
                                           QStringLiteral("costruzione.gif"))) {
        saveAs(choice->first, choice->second);
    }
}

void AnimationSaving::saveAs(const QString& name, AnimationFormat chosen) {
    const output::AnimationFile file = output::animationFileFor(name, chosen);
    QProgressDialog progress(QStringLiteral("Salvataggio dell'animazione\u2026"),
                             QStringLiteral("Annulla"), 0, 1, &window_);
    progress.setWindowTitle(QCoreApplication::applicationName());
    progress.setWindowModality(Qt::ApplicationModal);
    const output::SaveResult result = output::saveAnimation(
        file, window_.construction(), coloursOf(window_), [&progress](int done, int total) {
            progress.setMaximum(total);
            progress.setValue(done);
            return !progress.wasCanceled();
        });
    if (result.status == output::SaveResult::Status::Saved) {
        rememberSavedIn(file.name);
    } else if (result.status == output::SaveResult::Status::Failed) {
        message_(result.message);
    }
}

} // namespace lumetra::forms
