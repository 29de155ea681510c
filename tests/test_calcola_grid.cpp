// The curve construction over a grid of parameters far beyond the defaults:
// lengths 0 to 10^6, angles -720 to 720, increments -400 to 400, every check-box
// answer, with and without chords, at the smallest and largest calibration.
// Each call is compared with a plain loop written here, every drawn point must
// lie within the window's accepted range, and after every error the next plot
// with the defaults still works.

#include "geometry/calcola.h"
#include "runtime/palette.h"
#include "runtime/run_time_error.h"
#include "support/recording_target.h"

#include <QtTest>

#include <cmath>
#include <optional>

using namespace lumetra::geometry;
using namespace lumetra::runtime;
using Op = lumetra::testing::RecordingTarget::Op;

namespace {

// The degrees-to-radians factor as a single: 3.1415927 / 180.
constexpr float kP1 = 0.01745329238474369F;

struct Counts {
    int first = 0, second = 0, chords = 0;
    bool overflow = false;
    int Miocolor = 0;
    bool operator==(const Counts&) const = default;
};

// What one plot should draw, by the plain loop: a 0.1 counter summed pass by
// pass, the second angle rounded half to even, both points kept in range.
Counts expected(double a, double b, double e, bool cosX, bool cosY, bool chords, double CX,
                double CY, int Miocolor) {
    Counts c{.Miocolor = Miocolor};
    if (Miocolor == 32767) {
        c.overflow = true;
        return c;
    }
    c.Miocolor = Miocolor + 1;
    const double beta = b * double{kP1};
    int since = 0;
    for (double alfa = 0.0; alfa <= 90.0; alfa += 0.1) {
        const double s1 = std::sin(alfa * double{kP1});
        const double c1 = std::cos(alfa * double{kP1});
        const double a2 = std::nearbyint(alfa * e);
        if (a2 < -32768.0 || a2 > 32767.0) {
            c.overflow = true;
            return c;
        }
        const float theta = static_cast<float>(a2) * kP1;
        if (c1 == 0.0 || std::cos(double{theta}) == 0.0) {
            continue;
        }
        const double sx = cosX ? c1 : s1, sy = cosY ? c1 : s1;
        if (std::abs(a * std::cos(beta) * sx) > CX || std::abs(a * std::sin(beta) * sy) > CY) {
            continue;
        }
        ++c.first;
        const double gamma = beta * std::sin(double{theta});
        if (std::abs(a * std::cos(gamma) * sx) > CX || std::abs(a * std::sin(gamma) * sy) > CY) {
            continue;
        }
        ++c.second;
        if (chords && since++ == 15) {
            since = 0;
            ++c.chords;
        }
        if (c.Miocolor == 14) {
            c.Miocolor = 1;
        }
    }
    return c;
}

bool isCurveColour(Rgb colour) {
    for (int index = 1; index < kPaletteSize; ++index) {
        if (QBColor(index) == colour) {
            return true;
        }
    }
    return false;
}

// The plot window after its activation: origin (260, CY), user scale 500 x 2 CY.
struct Window : lumetra::testing::RecordingTarget {
    explicit Window(float cy) {
        vars.P1 = kP1;
        vars.CX = 260.0F;
        vars.CY = cy;
    }
    // Runs one plot; true when it ended in the overflow error.
    bool plot(Value a, Value b, Value e, Chords chords) {
        VALa = std::move(a);
        VALb = std::move(b);
        VALe = std::move(e);
        try {
            CALCOLA(*this, vars, {VALa, VALb, VALe, Miocolor}, chords);
            return false;
        } catch (const RunTimeError& error) {
            if (error.code() != ErrorCode::Overflow) {
                throw;
            }
            return true;
        }
    }
    // Every operation lands within the accepted range, in a width and colour
    // the plot uses: first family in the foreground, the rest in a curve colour.
    bool drewOnlyWithinRange() const {
        const auto inside = [&](float x, float y) {
            return std::isfinite(x) && std::isfinite(y) && x >= 0.0F && x <= 2.0F * vars.CX &&
                   y >= 0.0F && y <= 2.0F * vars.CY;
        };
        for (const Op& op : ops()) {
            const bool point = op.kind == Kind::Point;
            if (!inside(op.x1, op.y1) || !inside(op.x2, op.y2) || op.drawWidth != (point ? 3 : 1) ||
                (op.colour && !isCurveColour(*op.colour)) || (!point && !op.colour)) {
                return false;
            }
        }
        return true;
    }
    Counts counts(bool overflow) const {
        Counts c{.overflow = overflow, .Miocolor = Miocolor};
        for (const Op& op : ops()) {
            op.kind == Kind::Line ? ++c.chords : op.colour ? ++c.second : ++c.first;
        }
        return c;
    }
    Value VALa, VALb, VALe;
    std::int16_t Miocolor = 0;
    PlotVariables vars;
};

} // namespace

class TestCalcolaGrid : public QObject {
    Q_OBJECT

private slots:
    void grid_data() {
        QTest::addColumn<float>("CY");
        QTest::addColumn<int>("Miocolor");
        // The smallest and the largest factor of the calibration on a 500 x 500 scale.
        QTest::newRow("factor 0.51") << 127.5F << 0;
        QTest::newRow("factor 1.11, counter 13") << 277.5F << 13;
        QTest::newRow("factor 0.55, counter at its limit") << 137.5F << 32767;
    }

    void grid() {
        QFETCH(float, CY);
        QFETCH(int, Miocolor);
        const double lengths[] = {0.0, 1e-300, 1.0, 86.0, 137.5, 260.0, 1000.0, 123456.789, 1e6};
        const double angles[] = {-720.0, -405.0, -90.0, -55.0, -0.1,  0.0,
                                 30.0,   55.0,   90.0,  180.0, 359.9, 720.0};
        const double increments[] = {-400.0, -364.0, -2.0, -0.5, 0.0, 0.25, 1.0, 3.3, 364.0, 400.0};
        const std::pair<Value, Value> answers[] = {{Value(), Value()},
                                                   {std::int16_t{7}, std::int16_t{0}},
                                                   {std::int16_t{0}, std::int16_t{7}},
                                                   {std::int16_t{7}, std::int16_t{7}}};
        int plots = 0, errors = 0;
        for (const double a : lengths) {
            for (const double b : angles) {
                for (const double e : increments) {
                    for (const auto& [r1, r2] : answers) {
                        const Chords chords = ++plots % 2 ? Chords::On : Chords::Off;
                        Window window(CY);
                        window.Miocolor = static_cast<std::int16_t>(Miocolor);
                        window.vars.Risposta1 = r1;
                        window.vars.Risposta2 = r2;
                        const bool overflow = window.plot(a, b, e, chords);
                        const Counts want =
                            expected(a, b, e, r1.equalsNumber(7), r2.equalsNumber(7),
                                     chords == Chords::On, 260.0, CY, Miocolor);
                        const QByteArray where = QByteArray::number(a) + ' ' +
                                                 QByteArray::number(b) + ' ' +
                                                 QByteArray::number(e);
                        QVERIFY2(window.counts(overflow) == want, where);
                        QVERIFY2(window.drewOnlyWithinRange(), where);
                        if (!overflow) {
                            continue;
                        }
                        // The parameter window's "AVANTI" puts a counter above 14 back
                        // to 0; then the defaults plot in full.
                        ++errors;
                        window.clear();
                        if (window.Miocolor > 14) {
                            window.Miocolor = 0;
                        }
                        QVERIFY2(!window.plot(86.0, 55.0, 1.0, Chords::Off), where);
                        QCOMPARE(window.points().size(), std::size_t{1802});
                    }
                }
            }
        }
        // The grid does reach the overflow: at the increments beyond 364, and everywhere
        // when the counter starts at its limit.
        QVERIFY(errors >= plots / 5);
    }
};

QTEST_APPLESS_MAIN(TestCalcolaGrid)
#include "test_calcola_grid.moc"
