// The curve construction with any parameters, on a plot window set up from
// any calibration factor and height: every drawing stays on the area in the
// right pens and colours, the only failures are the arithmetic's run-time
// errors, and after one the default parameters plot in full.
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

#include <cmath>
#include <cstring>
#include <optional>
#include <tuple>

using namespace lumetra::geometry;
using namespace lumetra::runtime;

namespace {

// A plot window 1000 pixels wide, keeping its scale as the tests' recording
// target does, that accepts the two axes while the frame is set up, then only
// points 3 wide and chords 1 wide, in curve colours (first-family points in
// the foreground), inside 0..2 CX by 0..2 CY; counts what the plot draws.
struct CheckingTarget : lumetra::testing::RecordingTarget {
    explicit CheckingTarget(int pixelHeight) : RecordingTarget(1000, pixelHeight) {}
    void setDrawWidth(std::int16_t w) override {
        require(centre ? (w == 3 || w == 1) : w == 2, "pens 2 for axes, 3 and 1 in a plot");
        pen = w;
    }
    void inside(float x, float y) const {
        require(centre && x >= 0 && x <= 2 * centre->first && y >= 0 && y <= 2 * centre->second,
                "within the area");
    }
    void curveColour(Rgb colour, std::int16_t wanted) const {
        bool palette = false;
        for (int i = 1; i < kPaletteSize; ++i) {
            palette = palette || colour == QBColor(i);
        }
        require(palette && pen == wanted, "curve colours 1..15 in the right pen");
    }
    void pset(float x, float y) override {
        inside(x, y);
        require(pen == 3, "points 3 wide");
        ++first;
    }
    void pset(float x, float y, Rgb colour) override {
        inside(x, y);
        curveColour(colour, 3);
        ++second;
    }
    void line(float x1, float y1, float x2, float y2) override {
        require(!centre && std::isfinite(x1 + y1 + x2 + y2), "axes only before the plot");
    }
    void line(float x1, float y1, float x2, float y2, Rgb colour) override {
        inside(x1, y1);
        inside(x2, y2);
        curveColour(colour, 1);
        ++chords;
    }
    void cls() override { require(false, "nothing clears"); }

    std::optional<std::pair<float, float>> centre; // (CX, CY) once the plot begins
    std::int16_t pen = 1;
    int first = 0, second = 0, chords = 0;
};

// The input's layout, which the seeds in fuzz/corpus/calcola follow.
struct Input {
    double a, b, e;
    std::uint16_t colour;
    std::uint8_t flags, scroll;
    std::uint16_t fraction, height;
};
static_assert(sizeof(Input) == 32); // no padding: at 0, 8, 16, 24, 26, 27, 28 and 30

struct Plot {
    Value VALa, VALb, VALe, Risposta1, Risposta2;
    std::int16_t Miocolor = 0;
    Chords chords = Chords::Off;
    double Incr = 0.51;
    int pixelHeight = 1;
};

Plot decode(const std::uint8_t* data, std::size_t size) {
    Input in{};
    std::memcpy(&in, data, std::min(size, sizeof in));
    const auto field = [&in](double v, unsigned bit) { return in.flags & bit ? Value("") : v; };
    const auto box = [](unsigned code) {
        return code % 3 == 0 ? Value() : Value(std::int16_t(code % 3 == 1 ? 0 : 7));
    };
    Plot plot{field(in.a, 0x20), field(in.b, 0x40), field(in.e, 0x80), box(in.flags & 3),
              box(in.flags >> 2 & 3)};
    plot.Miocolor = static_cast<std::int16_t>(in.colour);
    plot.chords = in.flags & 0x10 ? Chords::On : Chords::Off;
    plot.Incr = in.scroll < 31 ? scrollFactor(in.scroll) : 0.51 + 0.6 * in.fraction / 65535.0;
    plot.pixelHeight = 1 + in.height % 4000;
    return plot;
}

// The activation and its curve; the run-time error raised, if any.
std::optional<ErrorCode> activate(CheckingTarget& target, PlotVariables& vars, Plot& plot) try {
    setUpPlotFrame(target, vars, Value(plot.Incr), plot.VALe);
    require(vars.CX == 260.0F && 2 * vars.CY == target.scaleHeight(), "the origin at (260, h/2)");
    target.centre = std::pair(vars.CX, vars.CY);
    PlotParameters params{plot.VALa, plot.VALb, plot.VALe, plot.Miocolor};
    CALCOLA(target, vars, params, plot.chords);
    plot.Miocolor = params.Miocolor;
    return std::nullopt;
} catch (const RunTimeError& error) {
    return error.code();
}

void checkCounts(const CheckingTarget& target, Chords chords) {
    require(target.second <= target.first && target.first <= 901, "a partner per point, 901 most");
    require(target.chords <= (chords == Chords::On ? target.second / 16 : 0), "every 16th chord");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    Plot plot = decode(data, size);
    PlotVariables vars{.Risposta1 = plot.Risposta1, .Risposta2 = plot.Risposta2};
    CheckingTarget target(plot.pixelHeight);
    const std::int16_t before = plot.Miocolor;
    const std::optional<ErrorCode> error = activate(target, vars, plot);
    checkCounts(target, plot.chords);
    if (!error) {
        return 0;
    }
    const bool rejected = plot.VALa.isString() || plot.VALb.isString() || plot.VALe.isString();
    require(*error == ErrorCode::Overflow || (*error == ErrorCode::TypeMismatch && rejected),
            "overflow, or a type mismatch on a rejected entry");
    require(plot.Miocolor == before || plot.Miocolor == 1 || plot.Miocolor == before + 1,
            "the colour counter unchanged, advanced by one or wrapped to 1");
    // The user corrects the entry and presses "AVANTI", which brings the
    // counter back into the palette: the defaults draw every pass.
    plot.Miocolor = plot.Miocolor > kLastCurveColour ? 0 : plot.Miocolor;
    std::tie(plot.VALa, plot.VALb, plot.VALe) = std::tuple(Value(86.0), Value(55.0), Value(1.0));
    CheckingTarget again(plot.pixelHeight);
    require(!activate(again, vars, plot) && again.first == 901 && again.second == 901,
            "the defaults draw 901 + 901 points after an error");
    checkCounts(again, plot.chords);
    return 0;
}
