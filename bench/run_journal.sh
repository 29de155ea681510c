#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Builds the journal benchmark in Release and prints what keeping the work in
# progress costs a step of the plot window with 10,000 curves in the record,
# in microseconds and as a ratio to one plot on a 1920 x 1080 surface (target:
# under 1 ms a step), with the same at 100 curves beside it: a step's cost does
# not grow with the record. Then the rewriting of the whole journal, and what
# it adds to a step spread over the steps between two rewritings.
set -euo pipefail

source "$(dirname "${BASH_SOURCE[0]}")/../scripts/setup.sh"
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"

ensure_packages "${BUILD_PACKAGES[@]}" "${BENCH_PACKAGES[@]}"

build="${LUMETRA_BENCH_BUILD:-$LUMETRA_ROOT/build-bench}"
build_release "$build" ON lumetra_bench_journal

output="$(mktemp)"
trap 'rm -f "$output"' EXIT
run_google_benchmark "$build/bench/lumetra_bench_journal" "$output"

# The steps are timed by hand (wall clock, field 2 of a "manual_time" line);
# the plot and the rewriting by the benchmark (field 2, wall clock too, since
# a rewriting waits for the disk).
awk '
    $1 ~ /_median$/ { name = $1; sub(/_median$/, "", name); sub(/\/manual_time$/, "", name); median[name] = $2 }
    END {
        plot = median["BM_ScreenPlot"]
        split("BM_KeepPlot/100 BM_KeepPlot/10000 BM_KeepUndo/100 BM_KeepUndo/10000 BM_KeepRewrite/10000", names)
        for (i in names) if (median[names[i]] == "") { print "missing " names[i]; exit 1 }
        if (plot == "") { print "missing BM_ScreenPlot"; exit 1 }
        print ""
        printf "plot on a 1920x1080 surface            %9.1f us\n", plot
        printf "keeping a plot, 10,000 curves          %9.2f us  %.4f x the plot  (target < 1000 us)\n", \
            median["BM_KeepPlot/10000"], median["BM_KeepPlot/10000"] / plot
        printf "keeping an undo, 10,000 curves         %9.2f us  %.4f x the plot  (target < 1000 us)\n", \
            median["BM_KeepUndo/10000"], median["BM_KeepUndo/10000"] / plot
        printf "keeping a plot / an undo, 100 curves   %9.2f us / %.2f us\n", \
            median["BM_KeepPlot/100"], median["BM_KeepUndo/100"]
        # A rewriting of 10,000 curves follows 4 x 10,001 + 1024 - 10,001 steps of a plot or an undo.
        rewrite = median["BM_KeepRewrite/10000"]
        printf "rewriting 10,000 curves                %9.1f us  (%.1f x the plot), %.2f us a step spread\n", \
            rewrite, rewrite / plot, rewrite / 31027
    }' "$output"
