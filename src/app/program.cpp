#include "app/program.h"

#include "app/error_boundary.h"
#include "app/user_interface.h"
#include "forms/form1.h"
#include "forms/form2.h"
#include "forms/form3.h"
#include "forms/form4.h"
#include "resources/layout.h"

#include <QApplication>
#include <QEvent>

namespace lumetra::app {

Program::Program(UserInterface& ui) : ui_(ui) {
    qApp->installEventFilter(this);
}

Program::~Program() {
    qApp->removeEventFilter(this);
}

namespace {
const resources::WindowLayout& layoutOf(FormId id) {
    switch (id) {
    case FormId::Form1:
        return resources::form1Layout();
    case FormId::Form2:
        return resources::form2Layout();
    case FormId::Form3:
        return resources::form3Layout();
    case FormId::Form4:
        return resources::form4Layout();
    }
    return resources::form1Layout();
}

// Get-or-create: the window object is made on its first reference and kept.
template <typename Form> Form& getOrCreate(std::unique_ptr<Form>& slot, Program& program) {
    if (!slot) {
        slot = std::make_unique<Form>(program);
    }
    return *slot;
}
} // namespace

forms::Form1& Program::form1() {
    return getOrCreate(form1_, *this);
}

forms::Form2& Program::form2() {
    return getOrCreate(form2_, *this);
}

forms::Form3& Program::form3() {
    return getOrCreate(form3_, *this);
}

forms::Form4& Program::form4() {
    return getOrCreate(form4_, *this);
}

QWidget& Program::window(FormId id) {
    switch (id) {
    case FormId::Form1:
        return form1();
    case FormId::Form2:
        return form2();
    case FormId::Form3:
        return form3();
    case FormId::Form4:
        return form4();
    }
    return form1();
}

bool Program::exists(FormId id) const {
    switch (id) {
    case FormId::Form1:
        return form1_ != nullptr;
    case FormId::Form2:
        return form2_ != nullptr;
    case FormId::Form3:
        return form3_ != nullptr;
    case FormId::Form4:
        return form4_ != nullptr;
    }
    return false;
}

void Program::show(FormId id) {
    QWidget& w = window(id);
    if (!w.isVisible() || w.isMinimized()) {
        if (layoutOf(id).maximized) {
            w.showMaximized();
        } else {
            w.showNormal();
        }
    }
    w.raise();
    w.activateWindow();
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
    if (tracker_.activated(id)) {
        runActivate(id);
    }
}

void Program::runActivate(FormId id) {
    switch (id) {
    case FormId::Form1:
        return; // the title window has no activation handler
    case FormId::Form2:
        run(&form2(), [this] { form2().Form_Activate(); });
        return;
    case FormId::Form3:
        run(&form3(), [this] { form3().Form_Activate(); });
        return;
    case FormId::Form4:
        run(&form4(), [this] { form4().Form_Activate(); });
        return;
    }
}

std::optional<FormId> Program::formOf(const QObject* object) const {
    if (object == form1_.get() && object != nullptr) {
        return FormId::Form1;
    }
    if (object == form2_.get() && object != nullptr) {
        return FormId::Form2;
    }
    if (object == form3_.get() && object != nullptr) {
        return FormId::Form3;
    }
    if (object == form4_.get() && object != nullptr) {
        return FormId::Form4;
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
