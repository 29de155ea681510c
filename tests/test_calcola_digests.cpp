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
#include <cmath>
#include <tuple>

using namespace lumetra::geometry;
using namespace lumetra::runtime;
using namespace lumetra::testing;

namespace {

// A plot window whose drawing operations are recorded, and the FNV-1a digest of
// the bytes of every value added.
struct Window : lumetra::testing::RecordingTarget {
    template <typename... T> void add(const T&... values) { (addOne(values), ...); }
    template <typename T> void addOne(const T& value) {
        for (const auto byte : std::bit_cast<std::array<unsigned char, sizeof(T)>>(value)) {
            digest = (digest ^ byte) * 1099511628211ULL;
        }
    }
    void addOne(const Value& v) {
        add(v.isString() ? 2 : int{!v.isEmpty()}, v.isString() ? 0 : v.arithmetic());
    }
    void plot(const Value& a, const Value& b, const Value& e, Chords chords) {
        int code = 0; // the error raised, if any
        params = {a, b, e, params.Miocolor};
        try {
            CALCOLA(*this, vars, params, chords);
        } catch (const RunTimeError& error) {
            code = static_cast<int>(error.code());
        }
        add(code, params.Miocolor, vars.A2, vars.BETA1, vars.SC1, vars.X1, vars.Y1, vars.OA,
            vars.Ve);
    }
    // Every operation in order, then the pen and the scale.
    void addOperations() {
        for (const Op& op : ops()) {
            add(op.x1, op.y1, op.x2, op.y2, op.kind, op.drawWidth, op.colour.value_or(~Rgb{}));
        }
        add(drawWidth(), scaleMode(), scaleWidth(), scaleHeight());
    }
    PlotVariables vars;
    PlotParameters params;
    std::uint64_t digest = 14695981039346656037ULL;
};

QByteArray text(const Value& v) {
    return v.isEmpty() ? "E" : v.isString() ? "\"\"" : QByteArray::number(v.arithmetic());
}

const double kFactors[] = {0.51, 0.55, 1.11};
const Value kBoxes[] = {Value(), std::int16_t{0}, std::int16_t{7}};
const Value kVALe[] = {-400.0, -3.0, 0.0, 0.1, 1.0, 2.5, 45.0, 364.0, 399.0, 400.0, HUGE_VAL};
const Value kVALa[] = {"", 0.0, 86.0, 137.5, 260.0, 1000.0, 1e6};
const Value kVALb[] = {"", 0.0, 55.0, -30.0, 135.0};
const std::int16_t kCounters[] = {0, 1, 12, 13, 14, -2, 32766, 32767};

} // namespace

class TestCalcolaDigests : public QObject {
    Q_OBJECT

private slots:
    // One line per case: factor, check boxes, chords, VALa, VALb, VALe, Miocolor, digest.
    // Every check box, chord choice, increment, length and angle together; the factor
    // and the counter turn with the case, so that each meets every pair of those.
    void matchesRecordedDigests() {
        QByteArrayList lines;
        for (std::size_t n = 0; n < 3 * 3 * 2 * 11 * 7 * 5; ++n) {
            const Value &b = kVALb[n % 5], &a = kVALa[n / 5 % 7], &e = kVALe[n / 35 % 11];
            const auto chords = static_cast<Chords>(n / 385 % 2);
            const Value &r2 = kBoxes[n / 770 % 3], &r1 = kBoxes[n / 2310];
            Window window;
            window.params.Miocolor = kCounters[n % 8];
            const QByteArray line = text(kFactors[n % 3]) + ' ' + text(r1) + ' ' + text(r2) +
                                    (chords == Chords::On ? " on " : " off ") + text(a) + ' ' +
                                    text(b) + ' ' + text(e) + ' ' + text(kCounters[n % 8]);
            setUpPlotFrame(window, window.vars, kFactors[n % 3], e);
            std::tie(window.vars.Risposta1, window.vars.Risposta2) = std::tie(r1, r2);
            window.plot(a, b, e, chords);
            window.params.Miocolor = window.params.Miocolor > 14 ? 0 : window.params.Miocolor;
            window.plot(86.0, 55.0, 1.0, Chords::Off);
            window.addOperations();
            lines.append(line + ' ' + QByteArray::number(window.digest, 16));
        }
        if (const QByteArray path = qgetenv("LUMETRA_RECORD_DIGESTS"); !path.isEmpty()) {
            QVERIFY(writeFile(QString::fromLocal8Bit(path), lines.join('\n') + '\n'));
        }
        // Says which case differs.
        QCOMPARE(lines, readFile(QFINDTESTDATA("data/calcola_digests.txt")).trimmed().split('\n'));
    }
};

QTEST_APPLESS_MAIN(TestCalcolaDigests)
#include "test_calcola_digests.moc"
