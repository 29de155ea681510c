// SPDX-License-Identifier: GPL-3.0-or-later
// The construction pass by pass against the plot's own drawing; the window's
// words test its numbers against the worked example.
#include "geometry/construction.h"
#include "output/plot_construction.h"
#include "output/plot_run.h"
#include "support/construction_ops.h"

#include <QTest>

using namespace lumetra;
using geometry::PassOutcome;
using Op = testing::RecordingTarget::Op;

namespace {

// The worked example: a surface 500 units wide and 275 high gives CX 260, CY 137.5.
output::RecordedPlot examplePlot() {
    output::RecordedPlot plot;
    plot.VALa = 86.0;
    plot.VALb = 55.0;
    plot.VALe = 1.0;
    plot.Incr = 0.55;
    plot.width = 1000;
    plot.height = 550;
    plot.activation = true;
    return plot;
}

// What the plot draws of its curve: the operations after the set-up's two axes.
std::vector<Op> curveOps(const output::RecordedPlot& plot) {
    testing::RecordingTarget target(plot.width, plot.height);
    geometry::PlotVariables vars;
    output::PlotStart start = output::startOf(plot, vars);
    try {
        output::runPlot(start, vars, target);
    } catch (const std::exception&) {
        // what was drawn before the error stays drawn
    }
    return {target.ops().begin() + 2, target.ops().end()};
}

int countOutcome(const geometry::Construction& construction, PassOutcome outcome) {
    return static_cast<int>(
        std::count_if(construction.passes.begin(), construction.passes.end(),
                      [outcome](const auto& p) { return p.outcome == outcome; }));
}

// A plot of the worked example with other values.
struct Variant {
    double VALa;
    double VALe;
    bool xCosine;
    bool yCosine;
    bool chords;
    qint16 Miocolor;
};

} // namespace

class TestConstruction : public QObject {
    Q_OBJECT

private slots:
    void drawsWhatThePlotDraws_data() {
        QTest::addColumn<Variant>("variant");
        QTest::newRow("example") << Variant{86.0, 1.0, false, false, false, 0};
        QTest::newRow("x cosine, chords") << Variant{86.0, 1.0, true, false, true, 3};
        QTest::newRow("y cosine, chords") << Variant{86.0, 2.0, false, true, true, 7};
        QTest::newRow("both cosines") << Variant{86.0, 1.0, true, true, false, 0};
        QTest::newRow("colour wraps") << Variant{86.0, 3.0, false, false, true, 13};
        QTest::newRow("leaves the area") << Variant{1000.0, 1.0, false, false, true, 0};
        QTest::newRow("partner leaves") << Variant{300.0, 0.0, true, false, true, 0};
        QTest::newRow("A2 overflows") << Variant{86.0, 400.0, false, false, false, 0};
    }
    void drawsWhatThePlotDraws() {
        QFETCH(Variant, variant);
        output::RecordedPlot plot = examplePlot();
        plot.VALa = variant.VALa;
        plot.VALe = variant.VALe;
        plot.xCosine = variant.xCosine;
        plot.yCosine = variant.yCosine;
        plot.chords = variant.chords;
        plot.Miocolor = variant.Miocolor;
        const std::vector<Op> drawn = curveOps(plot);
        QVERIFY(!drawn.empty());
        QCOMPARE(testing::opsOfPasses(output::constructionOf(plot).construction), drawn);
    }

    // A length of 1000 draws passes 1 to 97 only; an increment of 400 stops at pass 821.
    void saysWhyAPassDrewNothing() {
        output::RecordedPlot plot = examplePlot();
        plot.VALa = 1000.0;
        const geometry::Construction far = output::constructionOf(plot).construction;
        QCOMPARE(countOutcome(far, PassOutcome::Pair), 97);
        QCOMPARE(far.passes.at(97).outcome, PassOutcome::FirstOutOfRange);
        plot.VALa = 86.0;
        plot.VALe = 400.0;
        const geometry::Construction stopped = output::constructionOf(plot).construction;
        QCOMPARE(stopped.passes.size(), std::size_t(821));
        QCOMPARE(stopped.passes.back().outcome, PassOutcome::Stopped);
    }
};

QTEST_GUILESS_MAIN(TestConstruction)
#include "test_construction.moc"
