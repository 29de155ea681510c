// The curve construction with any parameters the bytes encode, on a plot
// window whose frame was set up from any reachable calibration factor: every
// drawing stays on the area in the right pens and colours, the only failures
// are the run-time errors of the arithmetic, and after one the next plot with
// the default parameters draws in full.

#include "checking_target.h"
#include "geometry/calcola.h"
#include "geometry/calibration_figure.h"
#include "geometry/plot_frame.h"
#include "require.h"
#include "runtime/run_time_error.h"
#include "runtime/value.h"

#include <bit>
#include <cstdint>
#include <optional>
#include <string>

using lumetra::fuzz::CheckingTarget;
using lumetra::fuzz::require;
using lumetra::geometry::Chords;
using lumetra::geometry::PlotVariables;
using lumetra::runtime::ErrorCode;
using lumetra::runtime::RunTimeError;
using lumetra::runtime::Value;

namespace {

constexpr int kPasses = 901;
constexpr int kChordEvery = 16;
constexpr int kPlotPixelWidth = 1000;
constexpr int kMaxPixelHeight = 4000;
constexpr int kScrollPositions = 31; // 0 is the activation's 0.51, 30 the largest, 1.11
constexpr double kSmallestFactor = 0.51;
constexpr double kFactorRange = 0.6;

// Little-endian fields read in order; bytes past the end of the input read as 0.
class Reader {
public:
    Reader(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}

    std::uint64_t next(int bytes) {
        std::uint64_t value = 0;
        for (int i = 0; i < bytes; ++i, ++at_) {
            const std::uint64_t byte = at_ < size_ ? data_[at_] : 0;
            value |= byte << (8 * i);
        }
        return value;
    }

private:
    const std::uint8_t* data_;
    std::size_t size_;
    std::size_t at_ = 0;
};

// What a plot may meet. Layout: VALa, VALb, VALe as doubles (8 bytes each);
// Miocolor (2); flags (1: bits 0-1 and 2-3 Risposta1 and Risposta2 as Empty,
// 0 or 7, bit 4 the chord command, bits 5-7 VALa, VALb, VALe rejected, that is
// holding ""); a scroll position (1; 31 and above: any factor in 0.51..1.11
// from the next 2 bytes); the area's height in pixels (2).
struct Plot {
    Value VALa, VALb, VALe;
    std::int16_t Miocolor = 0;
    Value Risposta1, Risposta2;
    Chords chords = Chords::Off;
    double Incr = kSmallestFactor;
    int pixelHeight = 1;

    bool anyRejected() const { return VALa.isString() || VALb.isString() || VALe.isString(); }
};

Value checkBox(std::uint64_t code) {
    switch (code % 3) {
    case 1:
        return std::int16_t{0};
    case 2:
        return std::int16_t{7};
    default:
        return Value();
    }
}

Value field(std::uint64_t bits, bool rejected) {
    if (rejected) {
        return std::string();
    }
    return std::bit_cast<double>(bits);
}

double calibrationFactor(Reader& in) {
    const auto position = static_cast<std::int16_t>(in.next(1));
    const auto fraction = static_cast<double>(in.next(2)) / 65535.0;
    if (position < kScrollPositions) {
        return lumetra::geometry::scrollFactor(position);
    }
    return kSmallestFactor + kFactorRange * fraction;
}

Plot decode(const std::uint8_t* data, std::size_t size) {
    Reader in(data, size);
    const std::uint64_t a = in.next(8), b = in.next(8), e = in.next(8);
    Plot plot;
    plot.Miocolor = static_cast<std::int16_t>(in.next(2));
    const std::uint64_t flags = in.next(1);
    plot.VALa = field(a, flags & 0x20U);
    plot.VALb = field(b, flags & 0x40U);
    plot.VALe = field(e, flags & 0x80U);
    plot.Risposta1 = checkBox(flags & 3U);
    plot.Risposta2 = checkBox((flags >> 2) & 3U);
    plot.chords = (flags & 0x10U) ? Chords::On : Chords::Off;
    plot.Incr = calibrationFactor(in);
    plot.pixelHeight = 1 + static_cast<int>(in.next(2) % kMaxPixelHeight);
    return plot;
}

// The plot window's activation up to the curve: scale, origin, axes.
void setUpFrame(CheckingTarget& target, PlotVariables& vars, const Plot& plot) {
    lumetra::geometry::setUpPlotFrame(target, vars, Value(plot.Incr), plot.VALe);
    require(vars.CX == 260.0F, "the origin 260 units from the left");
    require(vars.CY > 0.0F && 2.0F * vars.CY == target.scaleHeight(), "the origin half way down");
    target.beginPlot(vars.CX, vars.CY);
}

// The curve construction as the plot window calls it: the error it raised, if any.
std::optional<ErrorCode> plotCurve(CheckingTarget& target, PlotVariables& vars, Plot& plot) try {
    lumetra::geometry::CALCOLA(target, vars, {plot.VALa, plot.VALb, plot.VALe, plot.Miocolor},
                               plot.chords);
    return std::nullopt;
} catch (const RunTimeError& error) {
    return error.code();
} catch (...) {
    require(false, "only run-time errors leave the curve construction");
    return std::nullopt;
}

void checkCounts(const CheckingTarget& target, Chords chords) {
    require(target.firstFamily() <= kPasses, "at most one first-family point a pass");
    require(target.secondFamily() <= target.firstFamily(), "a partner only for a drawn point");
    const int chordsAllowed = chords == Chords::On ? target.secondFamily() / kChordEvery : 0;
    require(target.chords() <= chordsAllowed, "a chord only every sixteenth drawn pair");
}

void checkError(ErrorCode code, const Plot& plot, std::int16_t before, std::int16_t after) {
    require(code == ErrorCode::Overflow || (code == ErrorCode::TypeMismatch && plot.anyRejected()),
            "overflow, or a type mismatch on a rejected entry");
    const bool counterKept =
        after == before || after == 1 || (before < INT16_MAX && after == before + 1);
    require(counterKept, "the colour counter unchanged, advanced by one or wrapped to 1");
}

// After an error the user corrects the entry and presses "AVANTI": the colour
// counter is brought back into the palette, the window is activated again and
// the default parameters draw every pass.
void checkRecovers(Plot& plot, PlotVariables& vars) {
    if (plot.Miocolor > 14) {
        plot.Miocolor = 0;
    }
    plot.VALa = 86.0;
    plot.VALb = 55.0;
    plot.VALe = 1.0;
    CheckingTarget target(kPlotPixelWidth, plot.pixelHeight);
    setUpFrame(target, vars, plot);
    require(!plotCurve(target, vars, plot), "the default parameters plot without error");
    require(target.firstFamily() == kPasses && target.secondFamily() == kPasses,
            "the default parameters draw 901 + 901 points");
    checkCounts(target, plot.chords);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    Plot plot = decode(data, size);
    PlotVariables vars;
    vars.Risposta1 = plot.Risposta1;
    vars.Risposta2 = plot.Risposta2;
    CheckingTarget target(kPlotPixelWidth, plot.pixelHeight);
    setUpFrame(target, vars, plot);
    const std::int16_t before = plot.Miocolor;
    const std::optional<ErrorCode> error = plotCurve(target, vars, plot);
    checkCounts(target, plot.chords);
    if (error) {
        checkError(*error, plot, before, plot.Miocolor);
        checkRecovers(plot, vars);
    }
    return 0;
}
