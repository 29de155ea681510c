// SPDX-License-Identifier: GPL-3.0-or-later
// Ten thousand plots on one plot window through its real buttons, as a user
// who keeps pressing "TRACCIA" and the chord command. Prints how much the
// resident memory grew per plot and what a repaint costs after the last plot
// against after the first: the window keeps one picture, and of each plot only
// its parameters for saving and taking back, so the memory may grow by those
// alone and the repaint not at all. Exits non-zero when the windows cannot be
// walked or a message box appears.

#include "app/program.h"
#include "app/start_up.h"
#include "app/user_interface.h"
#include "forms/form2.h"
#include "forms/form3.h"
#include "forms/form4.h"

#include <QAbstractButton>
#include <QApplication>
#include <QFile>
#include <QTest>

#include <algorithm>
#include <cstdio>
#include <ctime>
#include <limits>
#include <unistd.h>

using lumetra::app::FormId;
using lumetra::app::Program;

namespace {

constexpr int kWarmUp = 100;
constexpr int kPlots = 10000;
constexpr int kRepaints = 301;
constexpr int kWarmUpRepaints = 20;

// Counts message boxes instead of showing them; the walk must meet none.
class CountingUi : public lumetra::app::UserInterface {
public:
    void message(QWidget*, const QString& text) override {
        std::fprintf(stderr, "message box: %s\n", qPrintable(text));
        ++messages;
    }
    bool ask(QWidget*, const QString&) override { return false; }
    void endProgram() override {}

    int messages = 0;
};

QAbstractButton* buttonShowing(QWidget& window, const QString& caption) {
    for (auto* button : window.findChildren<QAbstractButton*>()) {
        if (button->text() == caption) {
            return button;
        }
    }
    return nullptr;
}

bool clickAndWait(Program& program, QWidget& window, const QString& caption, FormId next) {
    QAbstractButton* button = buttonShowing(window, caption);
    if (button == nullptr) {
        return false;
    }
    QTest::mouseClick(button, Qt::LeftButton);
    return QTest::qWaitFor([&] { return program.tracker().lastActive() == next; });
}

// The user's road to the plot window: one step on the calibration scroll bar,
// then "OK - continua" and the parameter window's "AVANTI" with its defaults.
bool reachPlotWindow(Program& program) {
    program.show(FormId::Form2);
    if (!QTest::qWaitFor([&] { return program.tracker().lastActive() == FormId::Form2; })) {
        return false;
    }
    QTest::keyClick(program.form2().controls().widget(QStringLiteral("HScroll1")), Qt::Key_Right);
    return clickAndWait(program, program.form2(), QStringLiteral("OK - continua"), FormId::Form3) &&
           clickAndWait(program, program.form3(), QStringLiteral("AVANTI"), FormId::Form4);
}

qint64 residentBytes() {
    QFile statm(QStringLiteral("/proc/self/statm"));
    if (!statm.open(QIODevice::ReadOnly)) {
        return -1;
    }
    const QList<QByteArray> fields = statm.readAll().split(' ');
    return fields.size() > 1 ? fields[1].toLongLong() * sysconf(_SC_PAGESIZE) : -1;
}

double cpuNanoseconds() {
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) * 1e9 + static_cast<double>(now.tv_nsec);
}

// The shortest CPU time of many full synchronous repaints of `window`, after
// a few that warm the caches: the work itself, with as little as possible of
// whatever else the machine does, which moves even the medians by half.
double repaintCost(QWidget& window) {
    for (int i = 0; i < kWarmUpRepaints; ++i) {
        window.repaint();
    }
    double shortest = std::numeric_limits<double>::max();
    for (int i = 0; i < kRepaints; ++i) {
        const double start = cpuNanoseconds();
        window.repaint();
        shortest = std::min(shortest, cpuNanoseconds() - start);
    }
    return shortest;
}

} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    lumetra::app::prepareApplication();
    CountingUi ui;
    Program program(ui);
    if (!reachPlotWindow(program)) {
        std::fprintf(stderr, "the plot window was not reached\n");
        return 1;
    }
    auto& plot = program.form4();
    QAbstractButton* traccia = buttonShowing(plot, QStringLiteral("TRACCIA"));
    QAbstractButton* chords =
        buttonShowing(plot, QString::fromUtf8("Traccia le linee tra le curve di I° livello"));
    if (traccia == nullptr || chords == nullptr) {
        std::fprintf(stderr, "the plot buttons are missing\n");
        return 1;
    }
    const double firstRepaint = repaintCost(plot);
    const auto plotTimes = [&](int count) {
        for (int i = 0; i < count; ++i) {
            (i % 2 ? chords : traccia)->click();
            if (i % 100 == 0) {
                QCoreApplication::processEvents(); // the repaints a user would see
            }
        }
        QCoreApplication::processEvents();
    };
    // The allocator and Qt's caches settle before the baseline.
    plotTimes(kWarmUp);
    const qint64 before = residentBytes();
    plotTimes(kPlots - kWarmUp);
    const qint64 grown = residentBytes() - before;
    const double lastRepaint = repaintCost(plot);

    std::printf("resident memory growth over %d plots: %lld bytes, %.0f a plot (target <= 200)\n",
                kPlots - kWarmUp, grown, static_cast<double>(grown) / (kPlots - kWarmUp));
    std::printf("shortest repaint after %d plots / after 1: %.2f (target <= 1.1)\n", kPlots,
                lastRepaint / firstRepaint);
    return before > 0 && ui.messages == 0 ? 0 : 1;
}
