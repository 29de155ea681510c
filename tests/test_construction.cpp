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

// A plot of the worked example with other values.
struct Variant {
    double VALa;
    double VALe;
    bool xCosine;
    bool yCosine;
    bool chords;
    qint16 Miocolor;
};

// A pass of the worked example, rounded to four decimals.
struct ExamplePass {
    int k;
    double ALFA;
    int A2;
    double X1, Y1, XS, YS;
};

double rounded(double value) {
    return std::round(value * 1e4) / 1e4;
}

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
        QCOMPARE(opsOfPasses(output::constructionOf(plot).construction), drawn);
    }

    void followsTheWorkedExample_data() {
        QTest::addColumn<ExamplePass>("expected");
        QTest::newRow("2") << ExamplePass{2, 0.1, 0, 0.0861, 0.1230, 0.1501, 0.0};
        QTest::newRow("16") << ExamplePass{16, 1.5000000000000002, 2, 1.2912, 1.8441, 2.25, 0.0754};
        QTest::newRow("26") << ExamplePass{26,    2.500000000000001, 3, 2.1516, 3.0729, 3.7465,
                                           0.1884};
        QTest::newRow("451") << ExamplePass{451,    45.00000000000037, 45, 34.8799, 49.8136, 47.332,
                                            38.1796};
        QTest::newRow("901") << ExamplePass{901,     89.99999999999916, 90,     49.3276,
                                            70.4471, 49.3276,           70.4471};
    }
    void followsTheWorkedExample() {
        QFETCH(ExamplePass, expected);
        const geometry::ConstructionPass pass =
            output::constructionOf(examplePlot()).construction.passes.at(expected.k - 1);
        QCOMPARE(pass.k, expected.k);
        QCOMPARE(pass.ALFA, expected.ALFA);
        QCOMPARE(pass.A2, expected.A2);
        QCOMPARE(rounded(pass.X1), expected.X1);
        QCOMPARE(rounded(pass.Y1), expected.Y1);
        QCOMPARE(rounded(pass.XS), expected.XS);
        QCOMPARE(rounded(pass.YS), expected.YS);
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
