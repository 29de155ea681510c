#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Builds the construction window's benchmark in Release and prints the
# medians of five runs: one step of the window at 1920 x 1080 (the frame of
# the last pass drawn afresh over the trail of 900 passes), with and without
# its words, and the trail alone, each in milliseconds (target: one step
# within a display frame, 16 ms) and as a ratio to one plot on that screen.
set -euo pipefail

source "$(dirname "${BASH_SOURCE[0]}")/../scripts/setup.sh"
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"

ensure_packages "${BUILD_PACKAGES[@]}" "${BENCH_PACKAGES[@]}"

build="${LUMETRA_BENCH_BUILD:-$LUMETRA_ROOT/build-bench}"
build_release "$build" ON lumetra_bench_construction_view

output="$(mktemp)"
trap 'rm -f "$output"' EXIT
run_google_benchmark "$build/bench/lumetra_bench_construction_view" "$output"

# Field 2 is the median's wall-clock time in nanoseconds: Qt's painter fills
# large images on threads of its own, whose work the CPU time of the
# benchmark's thread leaves out, and a display frame is wall-clock time.
awk '
    $1 ~ /_median$/ { name = $1; sub(/_median$/, "", name); median[name] = $2 / 1000 }
    END {
        screen = median["BM_ScreenPlot"]
        split("BM_ScreenPlot BM_ConstructionStep BM_ConstructionStepWithWords BM_ConstructionTrail", names)
        for (i in names) if (median[names[i]] == "") { print "missing " names[i]; exit 1 }
        print ""
        printf "plot at 1920 x 1080                 %7.2f ms\n", screen / 1000
        printf "step of the view                    %7.2f ms  %6.2f x the plot  (target <= 16 ms)\n",
            median["BM_ConstructionStep"] / 1000, median["BM_ConstructionStep"] / screen
        printf "step with the words in the corner   %7.2f ms  %6.2f x the plot\n",
            median["BM_ConstructionStepWithWords"] / 1000, median["BM_ConstructionStepWithWords"] / screen
        printf "trail alone                         %7.2f ms  %6.2f x the plot\n",
            median["BM_ConstructionTrail"] / 1000, median["BM_ConstructionTrail"] / screen
        if (median["BM_ConstructionStep"] > 16000) { print "a step takes longer than a display frame"; exit 1 }
    }' "$output"
