#pragma once

#include "app/activation_tracker.h"
#include "app/form_id.h"

#include <QObject>

#include <functional>
#include <memory>

class QWidget;

namespace lumetra::forms {
class Form1;
class Form2;
class Form3;
class Form4;
} // namespace lumetra::forms

namespace lumetra::app {

class UserInterface;

// The program's four windows and what happens between them: one object per
// window, created on first reference and kept until the program ends; Show;
// activation; program end; the error boundary around every handler.
class Program : public QObject {
public:
    explicit Program(UserInterface& ui);
    ~Program() override;

    Program(const Program&) = delete;
    Program& operator=(const Program&) = delete;

    // Get-or-create: the window object, created without being shown.
    forms::Form1& form1();
    forms::Form2& form2();
    forms::Form3& form3();
    forms::Form4& form4();
    QWidget& window(FormId id);
    bool exists(FormId id) const;

    // Makes the window visible, brings it to the front and activates it,
    // modeless. Its activation handler runs when the platform reports it active.
    void show(FormId id);

    // Ends the program at once.
    void end();
    bool ended() const { return ended_; }

    // Runs a handler of `window` through the error boundary.
    void run(QWidget* window, const std::function<void()>& handler);

    UserInterface& ui() { return ui_; }
    const ActivationTracker& tracker() const { return tracker_; }

    // The platform reports `window` active; runs its Form_Activate when the
    // active program window has changed. Public so tests can drive it.
    void windowActivated(FormId id);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void runActivate(FormId id);
    std::optional<FormId> formOf(const QObject* object) const;

    UserInterface& ui_;
    ActivationTracker tracker_;
    std::unique_ptr<forms::Form1> form1_;
    std::unique_ptr<forms::Form2> form2_;
    std::unique_ptr<forms::Form3> form3_;
    std::unique_ptr<forms::Form4> form4_;
    bool ended_ = false;
};

} // namespace lumetra::app
