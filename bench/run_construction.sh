#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Builds the construction's benchmarks in Release and prints the medians of
# five runs: the animated GIF of the 901 passes at 640x400 (target: under
# 2 s), its frames alone and the animated SVG, each also as a ratio to one
# plot of the curve at that size.
set -euo pipefail

source "$(dirname "${BASH_SOURCE[0]}")/../scripts/setup.sh"
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"

ensure_packages "${BUILD_PACKAGES[@]}" "${BENCH_PACKAGES[@]}"

build="${LUMETRA_BENCH_BUILD:-$LUMETRA_ROOT/build-bench}"
build_release "$build" ON lumetra_bench_construction

output="$(mktemp)"
trap 'rm -f "$output"' EXIT
run_google_benchmark "$build/bench/lumetra_bench_construction" "$output"

# Field 4 is the median's CPU time, in the unit of field 5.
awk '
    $1 ~ /_median$/ { name = $1; sub(/_median$/, "", name)
        median[name] = $4 * ($5 == "ms" ? 1000 : 1) }
    END {
        plot = median["BM_Plot"]
        if (plot == "") { print "missing BM_Plot"; exit 1 }
        split("BM_ConstructionGif BM_ConstructionFrames BM_ConstructionSvg", names)
        print ""
        printf "one plot at 640x400               %9.1f us\n", plot
        for (i = 1; i <= 3; i++) {
            if (median[names[i]] == "") { print "missing " names[i]; exit 1 }
            printf "%-33s %9.3f s  (%.0f x the plot)%s\n", names[i], median[names[i]] / 1e6,
                median[names[i]] / plot, names[i] ~ /Gif/ ? "  target < 2 s" : ""
        }
    }' "$output"
