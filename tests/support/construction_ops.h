// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "geometry/construction.h"
#include "support/recording_target.h"

#include <vector>

namespace lumetra::testing {

// What CALCOLA must have drawn for the construction's passes, in order: each
// drawn point 3 pixels wide, the partner in its colour, a chord 1 wide.
inline std::vector<RecordingTarget::Op> opsOfPasses(const geometry::Construction& construction) {
    using Kind = RecordingTarget::Kind;
    std::vector<RecordingTarget::Op> ops;
    for (const geometry::ConstructionPass& pass : construction.passes) {
        const geometry::Position a = pass.first;
        const geometry::Position b = pass.partner;
        if (pass.drawsFirst()) {
            ops.push_back({Kind::Point, a.x, a.y, a.x, a.y, std::nullopt, 3});
        }
        if (pass.drawsPartner()) {
            ops.push_back({Kind::Point, b.x, b.y, b.x, b.y, pass.colour, 3});
        }
        if (pass.chord) {
            ops.push_back({Kind::Line, a.x, a.y, b.x, b.y, pass.colour, 1});
        }
    }
    return ops;
}

} // namespace lumetra::testing
