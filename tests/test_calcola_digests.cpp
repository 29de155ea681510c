// SPDX-License-Identifier: GPL-3.0-or-later
// The curve construction over a grid of parameters against recorded digests:
// every drawing operation (kind, coordinates as bit patterns, pen width,
// colour), the scale, the error raised, the colour counter and the variables a
// plot leaves must come out bit for bit the same. Each case is followed by a
// plot with the defaults, after the counter reset "AVANTI" does, which nothing
// in the case may disturb.
// LUMETRA_RECORD_DIGESTS=FILE writes the digests of the code as it is to FILE.

#include "geometry/calcola.h"
#include "geometry/plot_frame.h"
#include "runtime/run_time_error.h"
#include "support/files.h"
#include "support/recording_target.h"

#include <QtTest>

#include <array>
#include <bit>
#include <limits>
#include <tuple>

using namespace lumetra::geometry;
using namespace lumetra::runtime;
using namespace lumetra::testing;

namespace {

// FNV-1a over the bytes of every value added.
struct Digest {
    template <typename... T> void add(const T&... values) { (addOne(values), ...); }
    template <typename T> void addOne(const T& value) {
        for (const auto byte : std::bit_cast<std::array<unsigned char, sizeof(T)>>(value)) {
            state = (state ^ byte) * 1099511628211ULL;
        }
    }
    void addOne(const Value& value) {
        add(value.isString() ? 2 : int{!value.isEmpty()},
            value.isString() ? 0 : value.arithmetic());
    }
    std::uint64_t state = 14695981039346656037ULL;
};

struct Window : lumetra::testing::RecordingTarget {
    void plot(const Value& a, const Value& b, const Value& e, Chords chords) {
        int error = 0;
        PlotParameters params{a, b, e, Miocolor};
        try {
            CALCOLA(*this, vars, params, chords);
        } catch (const RunTimeError& raised) {
            error = static_cast<int>(raised.code());
        }
        Miocolor = params.Miocolor;
        digest.add(error, Miocolor, vars.A2, vars.BETA1, vars.SC1, vars.X1, vars.Y1, vars.OA,
                   vars.Ve);
    }
    // Every operation in order, then the pen and the scale.
    void addOperations() {
        for (const Op& op : ops()) {
            digest.add(op.x1, op.y1, op.x2, op.y2, op.kind, op.drawWidth,
                       op.colour.value_or(std::numeric_limits<Rgb>::max()));
        }
        digest.add(drawWidth(), scaleMode(), scaleWidth(), scaleHeight());
    }
    PlotVariables vars;
    std::int16_t Miocolor = 0;
    Digest digest;
};

QByteArray text(const Value& value) {
    return value.isEmpty()    ? "E"
           : value.isString() ? "\"\""
                              : QByteArray::number(value.arithmetic());
}

// One line per case: factor, check boxes, chords, VALa, VALb, VALe, Miocolor, digest.
QByteArrayList digestLines() {
    const double inf = std::numeric_limits<double>::infinity();
    const double factors[] = {0.51, 0.55, 1.11};
    const Value boxes[] = {Value(), std::int16_t{0}, std::int16_t{7}};
    const Chords chordChoices[] = {Chords::Off, Chords::On};
    const Value increments[] = {-400.0, -3.0, 0.0, 0.1, 1.0, 2.5, 45.0, 364.0, 399.0, 400.0, inf};
    const Value lengths[] = {"", 0.0, 86.0, 137.5, 260.0, 1000.0, 1e6};
    const Value angles[] = {"", 0.0, 55.0, -30.0, 135.0};
    const std::int16_t counters[] = {0, 1, 12, 13, 14, -2, 32766, 32767};
    QByteArrayList lines;
    // Every check box, chord choice, increment, length and angle together; the factor
    // and the counter turn with the case, so that each meets every pair of those.
    for (std::size_t n = 0; n < 3 * 3 * 2 * 11 * 7 * 5; ++n) {
        std::size_t rest = n;
        const auto next = [&rest](const auto& choices) -> const auto& {
            const auto& choice = choices[rest % std::size(choices)];
            rest /= std::size(choices);
            return choice;
        };
        const Value &b = next(angles), &a = next(lengths), &e = next(increments);
        const Chords chords = next(chordChoices);
        const Value &r2 = next(boxes), &r1 = next(boxes);
        const double factor = factors[n % 3];
        Window window;
        window.Miocolor = counters[n % 8];
        const QByteArray line = QByteArray::number(factor) + ' ' + text(r1) + ' ' + text(r2) +
                                (chords == Chords::On ? " on " : " off ") + text(a) + ' ' +
                                text(b) + ' ' + text(e) + ' ' + QByteArray::number(window.Miocolor);
        setUpPlotFrame(window, window.vars, factor, e);
        std::tie(window.vars.Risposta1, window.vars.Risposta2) = std::tie(r1, r2);
        window.plot(a, b, e, chords);
        window.Miocolor = window.Miocolor > 14 ? 0 : window.Miocolor;
        window.plot(86.0, 55.0, 1.0, Chords::Off);
        window.addOperations();
        lines.append(line + ' ' + QByteArray::number(window.digest.state, 16));
    }
    return lines;
}

} // namespace

class TestCalcolaDigests : public QObject {
    Q_OBJECT

private slots:
    void matchesRecordedDigests() {
        const QByteArrayList lines = digestLines();
        if (const QByteArray path = qgetenv("LUMETRA_RECORD_DIGESTS"); !path.isEmpty()) {
            QVERIFY(writeFile(QString::fromLocal8Bit(path), lines.join('\n') + '\n'));
        }
        const QByteArray recorded = readFile(QFINDTESTDATA("data/calcola_digests.txt"));
        QCOMPARE(lines, recorded.trimmed().split('\n')); // says which case differs
    }
};

QTEST_APPLESS_MAIN(TestCalcolaDigests)
#include "test_calcola_digests.moc"
