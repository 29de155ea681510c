// SPDX-License-Identifier: GPL-3.0-or-later
// The construction pass by pass against the plot's own drawing and the
// worked example's numbers.
#include "geometry/construction.h"
#include "output/plot_construction.h"
#include "output/plot_run.h"
#include "support/recording_target.h"

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

// The same operations as the construction's passes give them, in pass order.
std::vector<Op> opsOfPasses(const geometry::Construction& construction) {
    std::vector<Op> ops;
    std::int16_t width = 2; // the axes' pen until the curve sets its own
    for (const geometry::ConstructionPass& pass : construction.passes) {
        if (pass.drawsFirst()) {
            width = 3;
            ops.push_back({testing::RecordingTarget::Kind::Point, pass.first.x, pass.first.y,
                           pass.first.x, pass.first.y, std::nullopt, width});
        }
        if (pass.drawsPartner()) {
            width = 3;
            ops.push_back({testing::RecordingTarget::Kind::Point, pass.partner.x, pass.partner.y,
                           pass.partner.x, pass.partner.y, pass.colour, width});
        }
        if (pass.chord) {
            width = 1;
            ops.push_back({testing::RecordingTarget::Kind::Line, pass.first.x, pass.first.y,
                           pass.partner.x, pass.partner.y, pass.colour, width});
        }
    }
    return ops;
}

int countOutcome(const geometry::Construction& construction, PassOutcome outcome) {
    return static_cast<int>(
        std::count_if(construction.passes.begin(), construction.passes.end(),
                      [outcome](const auto& p) { return p.outcome == outcome; }));
}

} // namespace

class TestConstruction : public QObject {
    Q_OBJECT

private slots:
    void drawsWhatThePlotDraws_data() {
        QTest::addColumn<double>("VALa");
        QTest::addColumn<double>("VALe");
        QTest::addColumn<bool>("xCosine");
        QTest::addColumn<bool>("yCosine");
        QTest::addColumn<bool>("chords");
        QTest::addColumn<qint16>("Miocolor");
        QTest::newRow("example") << 86.0 << 1.0 << false << false << false << qint16(0);
        QTest::newRow("x cosine, chords") << 86.0 << 1.0 << true << false << true << qint16(3);
        QTest::newRow("y cosine, chords") << 86.0 << 2.0 << false << true << true << qint16(7);
        QTest::newRow("both cosines") << 86.0 << 1.0 << true << true << false << qint16(0);
        QTest::newRow("colour wraps") << 86.0 << 3.0 << false << false << true << qint16(13);
        QTest::newRow("leaves the area") << 1000.0 << 1.0 << false << false << true << qint16(0);
        QTest::newRow("partner leaves") << 300.0 << 0.0 << true << false << true << qint16(0);
        QTest::newRow("A2 overflows") << 86.0 << 400.0 << false << false << false << qint16(0);
    }
    void drawsWhatThePlotDraws() {
        QFETCH(double, VALa);
        QFETCH(double, VALe);
        QFETCH(bool, xCosine);
        QFETCH(bool, yCosine);
        QFETCH(bool, chords);
        QFETCH(qint16, Miocolor);
        output::RecordedPlot plot = examplePlot();
        plot.VALa = VALa;
        plot.VALe = VALe;
        plot.xCosine = xCosine;
        plot.yCosine = yCosine;
        plot.chords = chords;
        plot.Miocolor = Miocolor;
        const std::vector<Op> drawn = curveOps(plot);
        QVERIFY(!drawn.empty());
        QCOMPARE(opsOfPasses(output::constructionOf(plot).construction), drawn);
    }

    void followsTheWorkedExample_data() {
        QTest::addColumn<int>("k");
        QTest::addColumn<double>("ALFA");
        QTest::addColumn<int>("A2");
        QTest::addColumn<double>("X1");
        QTest::addColumn<double>("Y1");
        QTest::addColumn<double>("XS");
        QTest::addColumn<double>("YS");
        QTest::newRow("2") << 2 << 0.1 << 0 << 0.0861 << 0.1230 << 0.1501 << 0.0;
        QTest::newRow("16") << 16 << 1.5000000000000002 << 2 << 1.2912 << 1.8441 << 2.2500
                            << 0.0754;
        QTest::newRow("26") << 26 << 2.500000000000001 << 3 << 2.1516 << 3.0729 << 3.7465 << 0.1884;
        QTest::newRow("451") << 451 << 45.00000000000037 << 45 << 34.8799 << 49.8136 << 47.3320
                             << 38.1796;
        QTest::newRow("901") << 901 << 89.99999999999916 << 90 << 49.3276 << 70.4471 << 49.3276
                             << 70.4471;
    }
    void followsTheWorkedExample() {
        QFETCH(int, k);
        QFETCH(double, ALFA);
        QFETCH(int, A2);
        QFETCH(double, X1);
        QFETCH(double, Y1);
        QFETCH(double, XS);
        QFETCH(double, YS);
        const geometry::ConstructionPass pass =
            output::constructionOf(examplePlot()).construction.passes.at(k - 1);
        QCOMPARE(pass.k, k);
        QCOMPARE(pass.ALFA, ALFA);
        QCOMPARE(pass.A2, A2);
        QCOMPARE(std::round(pass.X1 * 1e4) / 1e4, X1);
        QCOMPARE(std::round(pass.Y1 * 1e4) / 1e4, Y1);
        QCOMPARE(std::round(pass.XS * 1e4) / 1e4, XS);
        QCOMPARE(std::round(pass.YS * 1e4) / 1e4, YS);
    }

    void knowsItsScaleAndStart() {
        const output::PlotConstruction c = output::constructionOf(examplePlot());
        QCOMPARE(c.construction.CX, 260.0F);
        QCOMPARE(c.construction.CY, 137.5F);
        QCOMPARE(c.construction.BETA1, 0.959931081160903);
        QCOMPARE(c.scaleWidth, 500.0F);
        QCOMPARE(c.scaleHeight, 275.0F);
        QCOMPARE(c.construction.passes.size(), std::size_t(901));
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
