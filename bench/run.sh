#!/usr/bin/env bash
# Builds the benchmarks in Release and prints the medians of five runs and the
# ratios that matter, each next to its target: the construction alone and a
# plot drawn into a 1080p surface against the floor of their arithmetic (the
# sweep alone, measured in the same run), 4K against 1080p, and a repaint over
# 1000 curves against one over a single curve. Then the soak run: 10,000 plots
# through the plot window's buttons, with the growth of resident memory and
# the repaint after the last plot against after the first.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/../scripts/setup.sh"
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"

ensure_packages "${BUILD_PACKAGES[@]}" "${BENCH_PACKAGES[@]}"

build="${LUMETRA_BENCH_BUILD:-$LUMETRA_ROOT/build-bench}"
build_release "$build" ON lumetra_bench lumetra_soak

output="$(mktemp)"
trap 'rm -f "$output"' EXIT
run_google_benchmark "$build/bench/lumetra_bench" "$output"

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
        printf "(a) construction / floor     %.2f  (target <= 1.8)\n", a / floor
        printf "(b) 1920x1080 / floor        %.2f  (target <= 2.5)\n", b / floor
        printf "(c) 3840x2160 / 1920x1080    %.2f  (target <= 1.1)\n", c / b
        printf "(d) repaint 1000 / 1 curve   %.2f  (target <= 1.1)\n", d1000 / d1
    }' "$output"

echo
QT_QPA_PLATFORM=offscreen "$build/bench/lumetra_soak" 2>/dev/null
