// SPDX-License-Identifier: GPL-3.0-or-later
// The curve construction with any parameters, on a plot window set up from
// any calibration factor and height, beyond the recorded digests' grid: every
// point and chord stays on the area in its pen and a curve colour, the only
// failures are the arithmetic's run-time errors, and after one the default
// parameters plot in full.
//
// Input, little-endian: VALa, VALb, VALe as doubles; Miocolor (2 bytes);
// flags (bits 0-1 and 2-3: Risposta1 and Risposta2 as Empty, 0 or 7; bit 4:
// the chord command; bits 5-7: VALa, VALb, VALe rejected, holding ""); a
// scroll position (31 and above: any factor in 0.51..1.11 from the next two
// bytes); the area's height in pixels (2). Missing bytes read as 0.

#include "geometry/calcola.h"
#include "geometry/calibration_figure.h"
#include "geometry/plot_frame.h"
#include "require.h"
#include "runtime/run_time_error.h"
#include "support/recording_target.h"

#include <cstring>
#include <optional>

using namespace lumetra::geometry;
using namespace lumetra::runtime;
using lumetra::testing::RecordingTarget;

namespace {

// The input's layout, which the seeds in fuzz/corpus/calcola follow.
struct Input {
    double a, b, e;
    std::uint16_t colour;
    std::uint8_t flags, scroll;
    std::uint16_t fraction, height;
};
static_assert(sizeof(Input) == 32); // no padding: at 0, 8, 16, 24, 26, 27, 28 and 30

// The activation on a window 1000 pixels wide, then its curve; the run-time error raised, if any.
std::optional<ErrorCode> activate(RecordingTarget& target, PlotVariables& vars, double Incr,
                                  PlotParameters& params, Chords chords) try {
    setUpPlotFrame(target, vars, Value(Incr), params.VALe);
    require(vars.CX == 260.0F && 2 * vars.CY == target.scaleHeight(), "the origin at (260, h/2)");
    target.clear(); // the axes
    CALCOLA(target, vars, params, chords);
    return std::nullopt;
} catch (const RunTimeError& error) {
    return error.code();
}

// First-family points in the foreground and their partners in curve colours,
// 3 wide, chords 1 wide at every sixteenth partner at most, all within 0..2 CX
// by 0..2 CY; the points drawn.
int checkDrawing(const RecordingTarget& target, const PlotVariables& vars, Chords chords) {
    int first = 0, second = 0, lines = 0;
    const auto inside = [&vars](float x, float y) {
        return x >= 0 && x <= 2 * vars.CX && y >= 0 && y <= 2 * vars.CY;
    };
    for (const RecordingTarget::Op& op : target.ops()) {
        const bool point = op.kind == RecordingTarget::Kind::Point;
        bool palette = false;
        for (int i = 1; i < kPaletteSize; ++i) {
            palette = palette || op.colour == QBColor(i);
        }
        require(op.kind != RecordingTarget::Kind::Clear && inside(op.x1, op.y1) &&
                    inside(op.x2, op.y2) && op.drawWidth == (point ? 3 : 1) &&
                    (op.colour ? palette : point),
                "points 3 wide, chords 1, in curve colours, within the area");
        ++(point ? (op.colour ? second : first) : lines);
    }
    require(second <= first && first <= 901, "a partner per point, 901 most");
    require(lines <= (chords == Chords::On ? second / 16 : 0), "every 16th chord");
    return first + second;
}

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
    const int height = 1 + in.height % 4000;
    const auto before = static_cast<std::int16_t>(in.colour);
    PlotParameters params{entry(in.a, 0x20), entry(in.b, 0x40), entry(in.e, 0x80), before};
    RecordingTarget target(1000, height);
    const std::optional<ErrorCode> error = activate(target, vars, Incr, params, chords);
    checkDrawing(target, vars, chords);
    if (!error) {
        return 0;
    }
    const bool rejected =
        params.VALa.isString() || params.VALb.isString() || params.VALe.isString();
    require(*error == ErrorCode::Overflow || (*error == ErrorCode::TypeMismatch && rejected),
            "overflow, or a type mismatch on a rejected entry");
    require(params.Miocolor == before || params.Miocolor == 1 || params.Miocolor == before + 1,
            "the colour counter unchanged, advanced by one or wrapped to 1");
    // The user corrects the entry and presses "AVANTI", which brings the
    // counter back into the palette: the defaults draw every pass.
    params = {86.0, 55.0, 1.0,
              params.Miocolor > kLastCurveColour ? std::int16_t{0} : params.Miocolor};
    RecordingTarget again(1000, height);
    require(!activate(again, vars, Incr, params, chords) &&
                checkDrawing(again, vars, chords) == 1802,
            "the defaults draw 901 + 901 points after an error");
    return 0;
}
