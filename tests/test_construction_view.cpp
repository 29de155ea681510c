// SPDX-License-Identifier: GPL-3.0-or-later
// The "Costruzione" window: its trail ends as the plot window's picture, the
// pass's points stand out over the fainter trail where the plot draws them,
// keys and buttons step through the passes, the words name the pass, and the
// plot window's menu opens it on the last curve plotted.

#include "app/start_up.h"
#include "forms/construction_window.h"
#include "forms/form4.h"
#include "output/construction_frame.h"
#include "output/surface_replay.h"
#include "runtime/palette.h"
#include "support/walk.h"

#include <QtTest>
#include <QtWidgets>

using lumetra::forms::ConstructionWindow;
using lumetra::output::RecordedPlot;

namespace {

const QColor kForeground = Qt::black;
const QColor kBackground(0xEF, 0xEF, 0xEF);
constexpr double kIncr = 0.55; // a scale 500 x 275 units
constexpr int kPasses = 901;

// The parameter window's defaults after an activation of a window `area` large.
RecordedPlot defaults(QSize area = {500, 275}) {
    return {86.0, 55.0, 1.0, kIncr, area.width(), area.height(), 0, false, false, false, true};
}

QString wordsOf(const ConstructionWindow& window) {
    return window.findChild<QLabel*>(QStringLiteral("words"))->text();
}

QPushButton* button(const ConstructionWindow& window, const QString& text) {
    for (QPushButton* candidate : window.findChildren<QPushButton*>()) {
        if (candidate->text() == text) {
            return candidate;
        }
    }
    return nullptr;
}

} // namespace

Q_DECLARE_METATYPE(RecordedPlot)

class TestConstructionView : public QObject {
    Q_OBJECT

    std::unique_ptr<ConstructionWindow> window;

private slots:
    void initTestCase() { lumetra::app::prepareApplication(); }

    void init() {
        window = std::make_unique<ConstructionWindow>(nullptr);
        window->showPlot(defaults());
        window->show();
        window->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(window.get()));
    }

    void trailAfterTheLastPassIsThePlotPicture_data() {
        QTest::addColumn<RecordedPlot>("plot");
        QTest::addColumn<qreal>("ratio");
        QTest::newRow("defaults") << defaults() << qreal(1.0);
        QTest::newRow("chords, ratio 2") << [] {
            RecordedPlot plot = defaults({640, 360});
            plot.chords = true;
            return plot;
        }() << qreal(2.0);
        QTest::newRow("both cosines, increment 2, ratio 1.5") << [] {
            RecordedPlot plot = defaults({700, 400});
            plot.xCosine = plot.yCosine = true;
            plot.VALe = 2.0;
            return plot;
        }() << qreal(1.5);
        QTest::newRow("only 97 passes in range") << [] {
            RecordedPlot plot = defaults();
            plot.VALa = 1000.0;
            return plot;
        }() << qreal(1.0);
    }
    void trailAfterTheLastPassIsThePlotPicture() {
        QFETCH(RecordedPlot, plot);
        QFETCH(qreal, ratio);
        lumetra::output::PlotRecord record;
        record.add(plot);
        lumetra::surface::DrawingSurface surface(kForeground, kBackground);
        surface.resize(plot.area(), ratio);
        lumetra::output::replayOnSurface(record, surface);
        const QImage trail =
            lumetra::output::constructionTrail(lumetra::output::constructionOf(plot), kPasses,
                                               plot.area(), ratio, {kForeground, kBackground});
        QCOMPARE(trail, surface.image());
    }

    // Second-family points of the worked example, in palette colour 2: at full
    // strength at their own pass, fainter than that afterwards.
    void passPointStandsOutOfTheTrail_data() {
        QTest::addColumn<int>("pass");
        QTest::addColumn<int>("shownAt");
        QTest::addColumn<QPoint>("pixel");
        QTest::addColumn<bool>("fullStrength");
        QTest::newRow("pass 16 at its pass") << 16 << 16 << QPoint(262, 137) << true;
        QTest::newRow("pass 451 at its pass") << 451 << 451 << QPoint(307, 99) << true;
        QTest::newRow("pass 451 at pass 600") << 451 << 600 << QPoint(307, 99) << false;
    }
    void passPointStandsOutOfTheTrail() {
        QFETCH(int, shownAt);
        QFETCH(QPoint, pixel);
        QFETCH(bool, fullStrength);
        const QImage frame =
            lumetra::output::constructionFrame(lumetra::output::constructionOf(defaults()), shownAt,
                                               {500, 275}, 1.0, false, {kForeground, kBackground});
        const QRgb curve = 0xFF000000U | lumetra::runtime::QBColor(2);
        QCOMPARE(frame.pixel(pixel) == curve, fullStrength);
        QVERIFY(frame.pixel(pixel) != kBackground.rgb());
    }

    void keysChangeThePass_data() {
        QTest::addColumn<int>("from");
        QTest::addColumn<Qt::Key>("key");
        QTest::addColumn<int>("to");
        QTest::newRow("Right") << 450 << Qt::Key_Right << 451;
        QTest::newRow("Left") << 450 << Qt::Key_Left << 449;
        QTest::newRow("Page Down") << 450 << Qt::Key_PageDown << 460;
        QTest::newRow("Page Up") << 450 << Qt::Key_PageUp << 440;
        QTest::newRow("Home") << 450 << Qt::Key_Home << 0;
        QTest::newRow("End") << 450 << Qt::Key_End << kPasses;
        QTest::newRow("Right at the last") << kPasses << Qt::Key_Right << kPasses;
        QTest::newRow("Page Up near the first") << 4 << Qt::Key_PageUp << 0;
    }
    void keysChangeThePass() {
        QFETCH(int, from);
        QFETCH(Qt::Key, key);
        QFETCH(int, to);
        window->setPass(from);
        // Wherever the focus is: on the slider, which takes arrows of its own, too.
        window->findChild<QSlider*>()->setFocus();
        QTest::keyClick(window->focusWidget(), key);
        QCOMPARE(window->pass(), to);
    }

    void buttonsChangeThePass_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("to");
        QTest::newRow("Avanti") << QStringLiteral("Avanti") << 301;
        QTest::newRow("- 10") << QStringLiteral("\u2212 10") << 290;
        QTest::newRow("Fine") << QStringLiteral("Fine") << kPasses;
    }
    void buttonsChangeThePass() {
        QFETCH(QString, text);
        QFETCH(int, to);
        window->setPass(300);
        QPushButton* pressed = button(*window, text);
        QVERIFY(pressed != nullptr);
        QTest::mouseClick(pressed, Qt::LeftButton);
        QCOMPARE(window->pass(), to);
    }

    void spacePlaysAndPauses() {
        window->setPass(1);
        QTest::keyClick(window.get(), Qt::Key_Space);
        QVERIFY(window->playing());
        QTRY_VERIFY(window->pass() > 3);
        QTest::keyClick(window.get(), Qt::Key_Space);
        QVERIFY(!window->playing());
        const int stopped = window->pass();
        QTest::qWait(200);
        QCOMPARE(window->pass(), stopped);
    }

    void playingRunsToTheLastPassAndStops() {
        window->findChild<QComboBox*>()->setCurrentIndex(3); // 240 passes a second
        QTest::mouseClick(button(*window, QStringLiteral("Avvia")), Qt::LeftButton);
        QTRY_COMPARE_WITH_TIMEOUT(window->pass(), kPasses, 15000);
        QVERIFY(!window->playing());
    }

    // The worked example's passes: the accumulated counter, A2 tied to even, the points.
    void wordsNameThePass_data() {
        QTest::addColumn<RecordedPlot>("plot");
        QTest::addColumn<int>("pass");
        QTest::addColumn<QString>("fact");
        QTest::newRow("k") << defaults() << 26 << QStringLiteral("Passo 26 di 901");
        QTest::newRow("ALFA of pass 16")
            << defaults() << 16 << QStringLiteral("ALFA = 1.5000000000000002\u00B0");
        QTest::newRow("A2 of pass 26") << defaults() << 26 << QStringLiteral("A2 = 3\u00B0");
        QTest::newRow("first point") << defaults() << 451 << QStringLiteral("(34.8799; 49.8136)");
        QTest::newRow("second point") << defaults() << 451 << QStringLiteral("(47.3320; 38.1796)");
        QTest::newRow("chord") << [] {
            RecordedPlot plot = defaults();
            plot.chords = true;
            return plot;
        }() << 16 << QStringLiteral("Corda tra i due punti");
        QTest::newRow("out of range") << [] {
            RecordedPlot plot = defaults();
            plot.VALa = 1000.0;
            return plot;
        }() << 98 << QStringLiteral("fuori dall'area");
        QTest::newRow("nothing yet")
            << defaults() << 0 << QStringLiteral("nessun punto ancora disegnato");
    }
    void wordsNameThePass() {
        QFETCH(RecordedPlot, plot);
        QFETCH(int, pass);
        QFETCH(QString, fact);
        window->showPlot(plot);
        window->setPass(pass);
        QVERIFY2(wordsOf(*window).contains(fact), qPrintable(wordsOf(*window)));
    }

    void screenReaderHearsTheWords() {
        window->setPass(451);
        const QWidget* figure = window->findChild<lumetra::forms::ConstructionFigure*>();
        QCOMPARE(figure->accessibleDescription(), wordsOf(*window));
    }

    void opensFromThePlotWindowMenu() {
        lumetra::testing::RecordingUi ui;
        lumetra::app::Program program(ui);
        QVERIFY(lumetra::testing::reachPlotWindow(program));
        auto& form4 = program.form4();
        QAction* command = nullptr;
        for (QMenu* menu : form4.findChildren<QMenu*>()) {
            for (QAction* action : menu->actions()) {
                if (action->text() == QStringLiteral("Mostra la costruzione\u2026")) {
                    command = action;
                }
            }
        }
        QVERIFY(command != nullptr);
        command->trigger();
        ConstructionWindow* shown = form4.constructionWindow();
        QVERIFY(shown != nullptr);
        QVERIFY(shown->isVisible());
        QCOMPARE(shown->windowTitle(), QStringLiteral("Costruzione"));
        QCOMPARE(shown->pass(), kPasses);
        QCOMPARE(shown->construction().area, form4.record().plots().back().area());
        QCOMPARE(ui.messages, QStringList());
    }
};

QTEST_MAIN(TestConstructionView)
#include "test_construction_view.moc"
