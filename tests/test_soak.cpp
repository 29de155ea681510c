// Ten thousand plots on one plot window through its real buttons: the memory
// stays flat and a repaint costs what it cost after the first plot, because the
// window keeps one picture, not a growing list of what was drawn.

#include "app/program.h"
#include "app/start_up.h"
#include "forms/form3.h"
#include "forms/form4.h"
#include "support/recording_ui.h"
#include "support/walk.h"

#include <QAbstractButton>
#include <QElapsedTimer>
#include <QFile>
#include <QTest>

#include <algorithm>
#include <limits>
#include <unistd.h>

using lumetra::forms::FormId;
using lumetra::testing::buttonShowing;

namespace {

// Resident memory of this process in bytes.
qint64 residentBytes() {
    QFile statm(QStringLiteral("/proc/self/statm"));
    if (!statm.open(QIODevice::ReadOnly)) {
        return -1;
    }
    const QList<QByteArray> fields = statm.readAll().split(' ');
    return fields.size() > 1 ? fields[1].toLongLong() * sysconf(_SC_PAGESIZE) : -1;
}

// The shortest of many full synchronous repaints of `window`, in nanoseconds:
// the work itself, with as little as possible of whatever else the machine does.
qint64 repaintCost(QWidget& window) {
    qint64 best = std::numeric_limits<qint64>::max();
    for (int i = 0; i < 101; ++i) {
        QElapsedTimer timer;
        timer.start();
        window.repaint();
        best = std::min(best, timer.nsecsElapsed());
    }
    return best;
}

} // namespace

class TestSoak : public QObject {
    Q_OBJECT

private slots:
    void tenThousandPlots() {
        lumetra::app::prepareApplication();
        lumetra::testing::RecordingUi ui;
        lumetra::app::Program program(ui);
        QVERIFY(lumetra::testing::reachParameterWindow(program));
        QVERIFY(lumetra::testing::click(program.form3(), QStringLiteral("AVANTI")));
        QVERIFY(lumetra::testing::waitActive(program, FormId::Form4));
        auto& plot = program.form4();
        QAbstractButton* traccia = buttonShowing(plot, QStringLiteral("TRACCIA"));
        QAbstractButton* chords =
            buttonShowing(plot, QString::fromUtf8("Traccia le linee tra le curve di I° livello"));
        QVERIFY(traccia && chords);
        const qint64 firstRepaint = repaintCost(plot);

        // Let the allocator and Qt's caches settle before the baseline.
        constexpr int kWarmUp = 100;
        constexpr int kPlots = 10000;
        const auto plotTimes = [&](int count) {
            for (int i = 0; i < count; ++i) {
                (i % 2 ? chords : traccia)->click();
                if (i % 100 == 0) {
                    QCoreApplication::processEvents(); // the repaints a user would see
                }
            }
        };
        plotTimes(kWarmUp);
        const qint64 before = residentBytes();
        plotTimes(kPlots - kWarmUp);
        QCoreApplication::processEvents();
        const qint64 grown = residentBytes() - before;
        const qint64 lastRepaint = repaintCost(plot);

        qInfo("resident memory grew by %lld bytes over %d plots", grown, kPlots - kWarmUp);
        qInfo("shortest repaint: %lld ns after the first plot, %lld ns after the last (ratio %.2f)",
              firstRepaint, lastRepaint, double(lastRepaint) / double(firstRepaint));
        QVERIFY(before > 0);
        QVERIFY(grown < 1024 * 1024);
        // Within the machine's noise (the shortest repaint moves by a third from run
        // to run); a repaint that replayed the plots would take thousands of times longer.
        QVERIFY(lastRepaint < firstRepaint * 2);
        QVERIFY(ui.messages.isEmpty());
        // Every plot advanced the colour counter, which wrapped within the palette.
        const int counter = program.form3().Miocolor();
        QVERIFY(counter >= 1 && counter <= 13);
        QCOMPARE(counter, (1 + kPlots) % 13 == 0 ? 13 : (1 + kPlots) % 13);
    }
};

QTEST_MAIN(TestSoak)
#include "test_soak.moc"
