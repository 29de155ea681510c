// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/program.h"

#include "app/error_boundary.h"
#include "app/user_interface.h"
#include "forms/form1.h"
#include "forms/form2.h"
#include "forms/form3.h"
#include "forms/form4.h"
#include "forms/picture_menu.h"
#include "output/work_journal.h"
#include "output/work_text.h"
#include "resources/layout.h"

#include <QApplication>
#include <QEvent>
#include <QFile>

namespace lumetra::app {

namespace {

// What the program needs to know of each window, by FormId.
struct FormKind {
    const resources::WindowLayout& (*layout)();
    std::unique_ptr<QWidget> (*create)(forms::Host& host);
    void (*activate)(QWidget& window); // none for the title window
};

template <typename Form> std::unique_ptr<QWidget> create(forms::Host& host) {
    return std::make_unique<Form>(host);
}

template <typename Form> void activate(QWidget& window) {
    static_cast<Form&>(window).Form_Activate();
}

const std::array<FormKind, kFormCount> kForms = {{
    {resources::form1Layout, create<forms::Form1>, nullptr},
    {resources::form2Layout, create<forms::Form2>, activate<forms::Form2>},
    {resources::form3Layout, create<forms::Form3>, activate<forms::Form3>},
    {resources::form4Layout, create<forms::Form4>, activate<forms::Form4>},
}};

std::size_t indexOf(FormId id) {
    return static_cast<std::size_t>(id);
}

} // namespace

Program::Program(UserInterface& ui) : ui_(ui) {
    qApp->installEventFilter(this);
}

Program::~Program() {
    qApp->removeEventFilter(this);
}

QWidget& Program::window(FormId id) {
    std::unique_ptr<QWidget>& slot = forms_[indexOf(id)];
    if (!slot) {
        slot = kForms[indexOf(id)].create(*this);
    }
    return *slot;
}

template <typename Form> Form& Program::getOrCreate(FormId id) {
    return static_cast<Form&>(window(id));
}

forms::Form1& Program::form1() {
    return getOrCreate<forms::Form1>(FormId::Form1);
}

forms::Form2& Program::form2() {
    return getOrCreate<forms::Form2>(FormId::Form2);
}

forms::Form3& Program::form3() {
    return getOrCreate<forms::Form3>(FormId::Form3);
}

forms::Form4& Program::form4() {
    return getOrCreate<forms::Form4>(FormId::Form4);
}

bool Program::exists(FormId id) const {
    return forms_[indexOf(id)] != nullptr;
}

void Program::show(FormId id) {
    QWidget& w = window(id);
    if (!w.isVisible() || w.isMinimized()) {
        if (kForms[indexOf(id)].layout().maximized) {
            w.showMaximized();
        } else {
            w.showNormal();
        }
    }
    w.raise();
    w.activateWindow();
}

void Program::startWith(const QString& fileName) {
    if (!form4().pictureMenu().openFile(fileName)) {
        show(FormId::Form1);
        return;
    }
    showWork(output::calibrationOf(form4().record()));
}

bool Program::offerAbandonedWork() {
    const QString path = output::keptWorkPath();
    std::optional<output::JournalReading> kept = output::abandonedWork(path);
    if (!kept) {
        return false;
    }
    if (const auto* error = std::get_if<output::WorkError>(&*kept)) {
        ui_.message(nullptr, QStringLiteral("Il lavoro rimasto in sospeso non si pu\u00F2 "
                                            "riprendere: %1.")
                                 .arg(error->reason));
        return false;
    }
    output::PlotRecord& record = std::get<output::PlotRecord>(*kept);
    const QString question = QStringLiteral("LUMETRA non si \u00E8 chiuso normalmente e ha "
                                            "custodito il lavoro in corso (curve: %1).\n"
                                            "Riprendere il lavoro?")
                                 .arg(record.size());
    if (!ui_.ask(nullptr, question)) {
        QFile::remove(path);
        return false;
    }
    const double Incr = output::calibrationOf(record);
    form4().bringBack(std::move(record));
    showWork(Incr);
    return true;
}

void Program::showWork(double Incr) {
    form2().setIncr(Incr);
    form4().useCalibration(Incr);
    // Shown as the active window already: its activation handler does not run.
    tracker_.activated(FormId::Form4);
    show(FormId::Form4);
}

void Program::message(QWidget* window, const QString& text) {
    ui_.message(window, text);
}

const runtime::Value& Program::calibrationFactor() {
    return form2().Incr();
}

geometry::PlotParameters Program::plotParameters() {
    return form3().plotParameters();
}

void Program::setMiocolor(std::int16_t Miocolor) {
    form3().setMiocolor(Miocolor);
}

void Program::setParameters(double VALa, double VALb, double VALe) {
    form3().setParameters(VALa, VALb, VALe);
}

void Program::end() {
    ended_ = true;
    ui_.endProgram();
}

void Program::run(QWidget* window, const std::function<void()>& handler) {
    if (ended_) {
        return;
    }
    runGuarded(ui_, window, handler);
}

void Program::windowActivated(FormId id) {
    if (!tracker_.activated(id)) {
        return;
    }
    if (const auto activate = kForms[indexOf(id)].activate) {
        QWidget& form = window(id);
        run(&form, [activate, &form] { activate(form); });
    }
}

std::optional<FormId> Program::formOf(const QObject* object) const {
    for (std::size_t i = 0; i < kFormCount; ++i) {
        if (object != nullptr && object == forms_[i].get()) {
            return static_cast<FormId>(i);
        }
    }
    return std::nullopt;
}

bool Program::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::WindowActivate && !ended_) {
        if (const std::optional<FormId> id = formOf(watched)) {
            // Handlers may open message boxes; run them from the event loop
            // rather than inside the platform's activation bookkeeping.
            const FormId form = *id;
            QMetaObject::invokeMethod(
                this, [this, form] { windowActivated(form); }, Qt::QueuedConnection);
        }
    }
    return QObject::eventFilter(watched, event);
}

} // namespace lumetra::app
