// SPDX-License-Identifier: GPL-3.0-or-later
// The curve construction with any parameters, on a plot window set up from
// any calibration factor and height, beyond the recorded digests' grid:
// CALCOLA, with its quick ways, draws exactly what the construction worked
// out pass by pass gives (points, chords, colours, pen widths), stops on the
// same pass, and raises only the arithmetic's run-time errors.
//
// Input, little-endian: VALa, VALb, VALe as doubles; Miocolor (2 bytes);
// flags (bits 0-1 and 2-3: Risposta1 and Risposta2 as Empty, 0 or 7; bit 4:
// the chord command; bits 5-7: VALa, VALb, VALe rejected, holding ""); a
// scroll position (31 and above: any factor in 0.51..1.11 from the next two
// bytes); the area's height in pixels (2). Missing bytes read as 0.

#include "geometry/calibration_figure.h"
#include "geometry/plot_frame.h"
#include "require.h"
#include "runtime/run_time_error.h"
#include "support/construction_ops.h"

#include <cstring>
#include <optional>

using namespace lumetra::geometry;
using namespace lumetra::runtime;

namespace {

// The input's layout, which the seeds in fuzz/corpus/calcola follow.
struct Input {
    double a, b, e;
    std::uint16_t colour;
    std::uint8_t flags, scroll;
    std::uint16_t fraction, height;
};
static_assert(sizeof(Input) == 32); // no padding: at 0, 8, 16, 24, 26, 27, 28 and 30

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    Input in{};
    std::memcpy(&in, data, std::min(size, sizeof in));
    const auto entry = [&in](double v, unsigned bit) { return in.flags & bit ? Value("") : v; };
    const auto box = [](unsigned code) {
        return code % 3 == 0 ? Value() : Value(std::int16_t(code % 3 == 1 ? 0 : 7));
    };
    PlotVariables vars{.Risposta1 = box(in.flags & 3), .Risposta2 = box(in.flags >> 2 & 3)};
    const double Incr =
        in.scroll < 31 ? scrollFactor(in.scroll) : 0.51 + 0.6 * in.fraction / 65535.0;
    const Chords chords = in.flags & 0x10 ? Chords::On : Chords::Off;
    PlotParameters params{entry(in.a, 0x20), entry(in.b, 0x40), entry(in.e, 0x80),
                          static_cast<std::int16_t>(in.colour)};
    lumetra::testing::RecordingTarget target(1000, 1 + in.height % 4000);
    setUpPlotFrame(target, vars, Value(Incr), params.VALe);
    target.clear(); // the axes
    const Construction construction = constructionOf(vars, params, chords);
    std::optional<ErrorCode> error;
    try {
        CALCOLA(target, vars, params, chords);
    } catch (const RunTimeError& raised) {
        error = raised.code();
    }
    require(target.ops() == lumetra::testing::opsOfPasses(construction),
            "CALCOLA draws what the construction gives");
    const bool stopped =
        construction.passes.empty() || construction.passes.back().outcome == PassOutcome::Stopped;
    require(error.has_value() == stopped, "an error exactly where the construction stops");
    const bool rejected =
        params.VALa.isString() || params.VALb.isString() || params.VALe.isString();
    require(!error || *error == ErrorCode::Overflow ||
                (*error == ErrorCode::TypeMismatch && rejected),
            "overflow, or a type mismatch on a rejected entry");
    return 0;
}
