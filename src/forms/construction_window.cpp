// SPDX-License-Identifier: GPL-3.0-or-later
#include "forms/construction_window.h"

#include "output/construction_frame.h"
#include "output/construction_words.h"

#include <QAction>
#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QSlider>
#include <QTimer>
#include <QVBoxLayout>

#include <algorithm>
#include <cmath>

namespace lumetra::forms {

namespace {

constexpr int kFrameMilliseconds = 16;
constexpr int kWordsWidth = 320;
constexpr QSize kFirstSize(1000, 620);

struct Speed {
    const char* text;
    int passesPerSecond;
};
constexpr Speed kSpeeds[] = {
    {"Lenta (10 passi al secondo)", 10},
    {"Media (30 passi al secondo)", 30},
    {"Veloce (60 passi al secondo)", 60},
    {"Molto veloce (240 passi al secondo)", 240},
};
constexpr int kFirstSpeed = 1;

output::FrameColours coloursOf(const QWidget& widget) {
    // The plot window's colours, which the trail repeats.
    return {widget.palette().color(QPalette::ButtonText), widget.palette().color(QPalette::Button)};
}

} // namespace

ConstructionFigure::ConstructionFigure(QWidget* parent) : QWidget(parent) {
    setAttribute(Qt::WA_OpaquePaintEvent);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
    setAccessibleName(QStringLiteral("Figura della costruzione"));
}

void ConstructionFigure::showPass(const output::PlotConstruction* construction, int k) {
    construction_ = construction;
    pass_ = k;
    frame_ = QImage();
    update();
}

void ConstructionFigure::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    if (construction_ == nullptr) {
        painter.fillRect(rect(), palette().color(QPalette::Button));
        return;
    }
    if (frame_.isNull() || frame_.devicePixelRatio() != devicePixelRatioF()) {
        frame_ = output::constructionFrame(*construction_, pass_, size(), devicePixelRatioF(),
                                           false, coloursOf(*this));
    }
    painter.drawImage(QPointF(0, 0), frame_);
}

void ConstructionFigure::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    frame_ = QImage();
}

ConstructionWindow::ConstructionWindow(QWidget* parent)
    : QWidget(parent, Qt::Window), figure_(new ConstructionFigure(this)), words_(new QLabel(this)),
      angle_(new QLabel(this)), slider_(new QSlider(Qt::Horizontal, this)),
      speed_(new QComboBox(this)), play_(nullptr), commandRow_(new QHBoxLayout),
      timer_(new QTimer(this)) {
    setWindowTitle(QStringLiteral("Costruzione"));
    words_->setObjectName(QStringLiteral("words"));
    words_->setWordWrap(true);
    words_->setAlignment(Qt::AlignTop | Qt::AlignLeft);
    words_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    words_->setFixedWidth(kWordsWidth);
    auto* figureRow = new QHBoxLayout;
    figureRow->addWidget(figure_, 1);
    figureRow->addWidget(words_);

    slider_->setSingleStep(1);
    slider_->setPageStep(kPageStep);
    slider_->setAccessibleName(QStringLiteral("Passo"));
    connect(slider_, &QSlider::valueChanged, this, &ConstructionWindow::setPass);
    auto* sliderRow = new QHBoxLayout;
    sliderRow->addWidget(slider_, 1);
    sliderRow->addWidget(angle_);

    buildControls();
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(figureRow, 1);
    layout->addLayout(sliderRow);
    layout->addLayout(commandRow_);
    connect(timer_, &QTimer::timeout, this, &ConstructionWindow::advance);
    resize(kFirstSize);
}

void ConstructionWindow::buildControls() {
    addCommand(QStringLiteral("Inizio"), QStringLiteral("Al primo passo (Home)"),
               QKeySequence(Qt::Key_Home), &ConstructionWindow::first);
    addCommand(QStringLiteral("\u2212 10"), QStringLiteral("Indietro di dieci passi (Pag su)"),
               QKeySequence(Qt::Key_PageUp), &ConstructionWindow::backTen);
    addCommand(QStringLiteral("Indietro"),
               QStringLiteral("Indietro di un passo (Freccia sinistra)"),
               QKeySequence(Qt::Key_Left), &ConstructionWindow::back);
    play_ = addCommand(QStringLiteral("Avvia"), QStringLiteral("Avvia o ferma (Spazio)"),
                       QKeySequence(Qt::Key_Space), &ConstructionWindow::playOrPause);
    addCommand(QStringLiteral("Avanti"), QStringLiteral("Avanti di un passo (Freccia destra)"),
               QKeySequence(Qt::Key_Right), &ConstructionWindow::forward);
    addCommand(QStringLiteral("+ 10"), QStringLiteral("Avanti di dieci passi (Pag gi\u00F9)"),
               QKeySequence(Qt::Key_PageDown), &ConstructionWindow::forwardTen);
    addCommand(QStringLiteral("Fine"), QStringLiteral("All'ultimo passo (Fine)"),
               QKeySequence(Qt::Key_End), &ConstructionWindow::last);
    commandRow_->addStretch(1);
    auto* speedLabel = new QLabel(QStringLiteral("&Velocit\u00E0:"), this);
    speedLabel->setBuddy(speed_);
    for (const Speed& speed : kSpeeds) {
        speed_->addItem(QString::fromUtf8(speed.text), speed.passesPerSecond);
    }
    speed_->setCurrentIndex(kFirstSpeed);
    connect(speed_, &QComboBox::currentIndexChanged, this, &ConstructionWindow::followSpeed);
    commandRow_->addWidget(speedLabel);
    commandRow_->addWidget(speed_);
    followSpeed();
}

QPushButton* ConstructionWindow::addCommand(const QString& text, const QString& hint,
                                            const QKeySequence& key,
                                            void (ConstructionWindow::*command)()) {
    auto* button = new QPushButton(text, this);
    button->setToolTip(hint);
    button->setAccessibleDescription(hint);
    // Enter presses the button that has the focus; the keys below act wherever it is.
    button->setAutoDefault(true);
    connect(button, &QPushButton::clicked, this, command);
    commandRow_->addWidget(button);
    auto* action = new QAction(this);
    action->setShortcut(key);
    action->setShortcutContext(Qt::WindowShortcut);
    connect(action, &QAction::triggered, this, command);
    addAction(action);
    return button;
}

void ConstructionWindow::showPlot(const output::RecordedPlot& plot) {
    pause();
    construction_ = output::constructionOf(plot);
    const int count = output::passCount(construction_);
    const QSignalBlocker quiet(slider_);
    slider_->setRange(0, count);
    pass_ = -1; // so that setPass shows the pass even when its number stays
    setPass(count);
}

void ConstructionWindow::setPass(int k) {
    k = std::clamp(k, 0, output::passCount(construction_));
    if (k == pass_) {
        return;
    }
    pass_ = k;
    {
        const QSignalBlocker quiet(slider_);
        slider_->setValue(k);
    }
    angle_->setText(
        QStringLiteral("Passo %1 \u00B7 %2").arg(k).arg(output::sweepAngleText(construction_, k)));
    const QString words = output::passWords(construction_, k).join(u'\n');
    words_->setText(words);
    figure_->setAccessibleDescription(words);
    figure_->showPass(&construction_, k);
}

bool ConstructionWindow::playing() const {
    return timer_->isActive();
}

void ConstructionWindow::last() {
    setPass(output::passCount(construction_));
}

void ConstructionWindow::playOrPause() {
    if (playing()) {
        pause();
        return;
    }
    if (pass_ == output::passCount(construction_)) {
        first();
    }
    timer_->start();
    play_->setText(QStringLiteral("Pausa"));
}

void ConstructionWindow::pause() {
    timer_->stop();
    if (play_ != nullptr) {
        play_->setText(QStringLiteral("Avvia"));
    }
}

void ConstructionWindow::advance() {
    const int passesPerSecond = speed_->currentData().toInt();
    const int passesPerTick =
        std::max(1, static_cast<int>(std::lround(passesPerSecond * timer_->interval() / 1000.0)));
    step(passesPerTick);
    if (pass_ == output::passCount(construction_)) {
        pause();
    }
}

// A tick a display frame apart at most: a faster speed takes more passes a tick.
void ConstructionWindow::followSpeed() {
    const int passesPerSecond = speed_->currentData().toInt();
    timer_->setInterval(std::max(kFrameMilliseconds, 1000 / passesPerSecond));
}

} // namespace lumetra::forms
