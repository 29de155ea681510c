#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Start-up against a minimal Qt Widgets program: each runs offscreen until its
# first window has painted, ended by the quit-after-first-paint plugin, and is
# timed as a whole process with hyperfine. Prints the medians of the
# wall-clock time and of the peak resident memory, and the ratios
# LUMETRA / minimal.
# ROUNDS (default 30) rounds of RUNS (default 3) timed runs of each program.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/../../scripts/setup.sh"
source "$(dirname "${BASH_SOURCE[0]}")/../common.sh"

ensure_packages "${BUILD_PACKAGES[@]}" hyperfine time jq

build="${LUMETRA_STARTUP_BUILD:-$LUMETRA_ROOT/build-startup}"
rounds="${ROUNDS:-30}"
runs="${RUNS:-3}"
build_release "$build" OFF lumetra lumetra_minimal_window lumetra_quit_after_first_paint

program="$build/lumetra"
minimal="$build/bench/startup/lumetra_minimal_window"
results="$build/startup"
rm -rf "$results"
mkdir -p "$results"

export QT_QPA_PLATFORM=offscreen
export QT_PLUGIN_PATH="$build/bench/startup/plugins"
export QT_QPA_GENERIC_PLUGINS=quitafterfirstpaint
export LC_ALL=C.UTF-8

# Both must end by themselves after their first paint, or nothing is measured.
for executable in "$program" "$minimal"; do
    if ! QT_QPA_GENERIC_PLUGINS=quitafterfirstpaint:report timeout 30 "$executable" 2>&1 |
        grep -q '^first paint: '; then
        echo "$executable did not end after its first paint" >&2
        exit 1
    fi
done

alternate_rounds "$results" "$rounds" "$runs" "$program" "$minimal"
jq -r '.results[] | "\(.command) \((.user + .system) * 1000)"' \
    "$results"/round-*.json >"$results/cpu-ms.txt"

# Peak resident memory in KiB, the two programs taking turns.
for ((i = 0; i < rounds * runs; i++)); do
    /usr/bin/time -f %M -a -o "$results/rss-lumetra.txt" "$program" 2>/dev/null
    /usr/bin/time -f %M -a -o "$results/rss-minimal.txt" "$minimal" 2>/dev/null
done

of() { awk -v name="$1" '$1 == name { print $2 }' "$2"; }
time_program="$(of lumetra "$results/times-ms.txt" | median)"
time_minimal="$(of minimal "$results/times-ms.txt" | median)"
cpu_program="$(of lumetra "$results/cpu-ms.txt" | median)"
cpu_minimal="$(of minimal "$results/cpu-ms.txt" | median)"
rss_program="$(median <"$results/rss-lumetra.txt")"
rss_minimal="$(median <"$results/rss-minimal.txt")"

awk -v tp="$time_program" -v tm="$time_minimal" -v cp="$cpu_program" -v cm="$cpu_minimal" \
    -v rp="$rss_program" -v rm="$rss_minimal" -v n="$((rounds * runs))" 'BEGIN {
        printf "Start-up medians (%d runs each): lumetra %.1f ms, minimal %.1f ms, ratio %.2f; target <= 1.15\n", n, tp, tm, tp / tm
        printf "Peak RSS medians: lumetra %.1f MiB, minimal %.1f MiB, ratio %.2f; target <= 1.2\n", rp / 1024, rm / 1024, rp / rm
        printf "CPU time (user + system, median of the rounds): lumetra %.1f ms, minimal %.1f ms, ratio %.2f\n", cp, cm, cp / cm
    }'
