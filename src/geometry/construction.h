// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "geometry/calcola.h"
#include "geometry/origin.h"
#include "geometry/plot_variables.h"
#include "runtime/palette.h"

#include <cstdint>
#include <vector>

namespace lumetra::geometry {

// What one pass of the sweep drew, and if nothing, why.
enum class PassOutcome : std::uint8_t {
    Pair,            // both points drawn
    FirstOnly,       // the second-family point fell out of range
    ZeroFactor,      // COS1 or COS2 is exactly 0: nothing drawn
    FirstOutOfRange, // the first-family point fell out of range: nothing drawn
    Stopped,         // a run-time error (A2 beyond 16 bits, a value not a number) ends the plot
};

// One pass of the sweep with every quantity the plot computes in it.
struct ConstructionPass {
    int k = 0;           // 1 to 901
    double ALFA = 0.0;   // the accumulated sweep angle, in degrees
    std::int16_t A2 = 0; // the second angle, in whole degrees
    double SC1 = 0.0;    // the x factor: COS1 or SEN1 as Check1 chooses
    double SCY = 0.0;    // the y factor: COS1 or SEN1 as Check2 chooses
    double gamma = 0.0;  // BETA1 x SEN2, the direction of the second-family point, in radians
    double X1 = 0.0;     // the first-family point relative to O, y upwards
    double Y1 = 0.0;
    double XS = 0.0; // the second-family point relative to O
    double YS = 0.0;
    Position first{};   // where the plot draws the first-family point
    Position partner{}; // where the plot draws the second-family point
    PassOutcome outcome = PassOutcome::ZeroFactor;
    bool chord = false;      // the pass also draws the chord between its two points
    runtime::Rgb colour = 0; // of the second-family point and the chord

    bool drawsFirst() const {
        return outcome == PassOutcome::Pair || outcome == PassOutcome::FirstOnly;
    }
    bool drawsPartner() const { return outcome == PassOutcome::Pair; }
};

// A plot's construction, pass by pass: the values of the start of CALCOLA and
// the passes up to the last one run (901, or fewer when a pass stopped it).
struct Construction {
    double OA = 0.0;
    double BETA1 = 0.0; // radians
    double Ve = 0.0;
    float CX = 0.0F; // the origin O, in the window's units
    float CY = 0.0F;
    bool xCosine = false; // Risposta1 = 7
    bool yCosine = false; // Risposta2 = 7
    std::vector<ConstructionPass> passes;
};

// The construction CALCOLA draws for `params` with the set-up that `vars`
// holds (P1, CX, CY and the two check-box answers, as the plot window's
// activation leaves them): the same points at the same single-precision
// positions, the same chords and colours, computed pass by pass.
Construction constructionOf(const PlotVariables& vars, const PlotParameters& params, Chords chords);

} // namespace lumetra::geometry
