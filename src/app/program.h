// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "app/activation_tracker.h"
#include "forms/host.h"

#include <QObject>

#include <array>
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

using forms::FormId;
using forms::kFormCount;

class UserInterface;

// The program's four windows and what happens between them: one object per
// window, created on first reference and kept until the program ends; Show;
// activation; program end; the error boundary around every handler.
class Program : public QObject, public forms::Host {
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

    // The window's activation handler runs when the platform reports it active.
    void show(FormId id) override;
    // Starts with a picture's work: the plot window shows it at the picture's
    // calibration, without plotting at its first activation. The title window
    // instead, after a message, when the file carries no work to trust.
    void startWith(const QString& fileName);
    // Before any window: offers back the work a LUMETRA that did not end
    // normally kept, and shows it in the plot window when the user wants it.
    // False when nothing was brought back.
    bool offerAbandonedWork();
    void end() override;
    bool ended() const { return ended_; }
    void run(QWidget* window, const std::function<void()>& handler) override;
    void message(QWidget* window, const QString& text) override;
    const runtime::Value& calibrationFactor() override;
    geometry::PlotParameters plotParameters() override;
    void setMiocolor(std::int16_t Miocolor) override;
    void setParameters(double VALa, double VALb, double VALe) override;

    const ActivationTracker& tracker() const { return tracker_; }

    // The platform reports `window` active; runs its Form_Activate when the
    // active program window has changed. Public so tests can drive it.
    void windowActivated(FormId id);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    template <typename Form> Form& getOrCreate(FormId id);
    // Shows the plot window's work at calibration `Incr`, without plotting.
    void showWork(double Incr);
    std::optional<FormId> formOf(const QObject* object) const;

    UserInterface& ui_;
    ActivationTracker tracker_;
    std::array<std::unique_ptr<QWidget>, kFormCount> forms_; // by FormId
    bool ended_ = false;
};

} // namespace lumetra::app
