#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Builds the benchmarks in Release and prints the ratios that matter, each next
# to its target: the construction alone and a plot drawn into a 1080p surface
# against the floor of their arithmetic (the sweep alone), 4K against 1080p,
# and a repaint over 1000 curves against one over a single curve. Then the soak
# run: 10,000 plots through the plot window's buttons, with the growth of
# resident memory and the repaint after the last plot against after the first.
#
# The plot ratios are judged on a quiet core: a core shared with other work
# slows the plot's many cheap instructions far more than the floor's library
# calls. BM_QuietRatios times the floor and
# the plots in moments a few milliseconds long and keeps the moments whose
# floor was as fast as the fastest; the ratios over all moments follow, so
# that a busy machine is plain to see.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/../scripts/setup.sh"
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"

ensure_packages "${BUILD_PACKAGES[@]}" "${BENCH_PACKAGES[@]}"

build="${LUMETRA_BENCH_BUILD:-$LUMETRA_ROOT/build-bench}"
build_release "$build" ON lumetra_bench lumetra_soak

output="$(mktemp)"
ratios="$(mktemp)"
trap 'rm -f "$output" "$ratios"' EXIT
run_google_benchmark "$build/bench/lumetra_bench" "$output" --benchmark_filter='-BM_QuietRatios'
QT_QPA_PLATFORM=offscreen "$build/bench/lumetra_bench" --benchmark_filter='^BM_QuietRatios' \
    --benchmark_format=csv 2>/dev/null >"$ratios"

# Every benchmark reports in microseconds: field 4 is the median's CPU time,
# steadier than the wall-clock time when other work shares the machine.
awk '
    $1 ~ /_median$/ { name = $1; sub(/_median$/, "", name); median[name] = $4 }
    END {
        floor = median["BM_Sweep"]
        a = median["BM_CalcolaCounting"]
        b = median["BM_CalcolaSurface/1920/1080"]
        c = median["BM_CalcolaSurface/3840/2160"]
        d1 = median["BM_Repaint/1"]
        d1000 = median["BM_Repaint/1000"]
        if (floor == "" || a == "" || b == "" || c == "" || d1 == "" || d1000 == "") {
            print "missing medians"; exit 1
        }
        print ""
        printf "CPU-time medians (us): floor %.1f  a %.1f  b %.1f  c %.1f  d:1 %.1f  d:1000 %.1f\n", \
            floor, a, b, c, d1, d1000
        printf "(d) repaint 1000 / 1 curve   %.2f   (target <= 1.1)\n", d1000 / d1
    }' "$output"

# The CSV names its counters, in quotes, in its header line.
awk -F, '
    { gsub(/"/, "") }
    /^name,/ { for (i = 1; i <= NF; i++) column[$i] = i; next }
    /BM_QuietRatios/ {
        for (name in column) value[name] = $column[name]
        found = 1
    }
    END {
        if (!found || value["quiet"] == "") { print "missing ratios"; exit 1 }
        printf "\nMoments of the plot ratios: %d, of which %d quiet (fastest floor %.2f us)\n", \
            value["moments"], value["quiet"], value["floor_us"]
        printf "Median ratios                quiet   all moments\n"
        show("(a) construction / floor  ", "a", "1.8")
        show("(b) 1920x1080 / floor     ", "b", "2.5")
        show("(c) 3840x2160 / 1920x1080 ", "c", "1.1")
    }
    # With no quiet moment there is no quiet ratio, rather than a ratio of 0.
    function show(label, key, target,    quiet) {
        quiet = value["quiet"] > 0 ? sprintf("%.2f", value[key "_quiet"]) : "none"
        printf "%s   %-4s    %.2f   (target <= %s)\n", label, quiet, value[key "_all"], target
    }' "$ratios"

echo
QT_QPA_PLATFORM=offscreen "$build/bench/lumetra_soak" 2>/dev/null
