#!/usr/bin/env bash
# Builds the benchmarks in Release and prints the medians of five runs and the
# ratios that matter: drawing into a 1080p surface against the bare
# construction, 4K against 1080p, and a repaint over 1000 curves against one
# over a single curve.
set -euo pipefail

root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="${LUMETRA_BENCH_BUILD:-$root/build-bench}"

cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DBUILD_TESTING=OFF \
    -DLUMETRA_BENCHMARKS=ON >/dev/null
cmake --build "$build" --target lumetra_bench >/dev/null

output="$(mktemp)"
trap 'rm -f "$output"' EXIT
# Repetitions in random order, so that a busy machine disturbs all alike.
QT_QPA_PLATFORM=offscreen "$build/bench/lumetra_bench" --benchmark_min_time=0.5 \
    --benchmark_repetitions=5 --benchmark_enable_random_interleaving=true \
    --benchmark_report_aggregates_only=true --benchmark_format=console \
    --benchmark_color=false | tee "$output"

# Every benchmark reports in microseconds: field 4 is the median's CPU time,
# steadier than the wall-clock time when other work shares the machine.
awk '
    $1 ~ /_median$/ { name = $1; sub(/_median$/, "", name); median[name] = $4 }
    END {
        a = median["BM_CalcolaCounting"]
        b = median["BM_CalcolaSurface/1920/1080"]
        c = median["BM_CalcolaSurface/3840/2160"]
        d1 = median["BM_Repaint/1"]
        d1000 = median["BM_Repaint/1000"]
        if (a == "" || b == "" || c == "" || d1 == "" || d1000 == "") {
            print "missing medians"; exit 1
        }
        print ""
        printf "CPU-time medians (us): a %.1f  b %.1f  c %.1f  d:1 %.1f  d:1000 %.1f\n", a, b, c, d1, d1000
        printf "(b)/(a)         %.2f  (target <= 1.5)\n", b / a
        printf "(c)/(b)         %.2f  (target <= 1.2)\n", c / b
        printf "(d1000)/(d1)    %.2f  (target <= 1.1)\n", d1000 / d1
    }' "$output"
