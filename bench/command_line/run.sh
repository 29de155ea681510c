#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The command line's start-up: `lumetra -o curve.png` (one default curve, a
# 1280 x 800 PNG) against a minimal Qt program that starts a QGuiApplication on
# the offscreen platform and writes a blank 1280 x 800 PNG. Both built in
# Release, run with no display and timed as whole processes with hyperfine, in
# ROUNDS (default 30) rounds of RUNS (default 3) runs each, the order
# alternating. Prints the medians and their ratio (target: at most 1.15).
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/../../scripts/setup.sh"
source "$(dirname "${BASH_SOURCE[0]}")/../common.sh"

ensure_packages "${BUILD_PACKAGES[@]}" "${BENCH_PACKAGES[@]}" hyperfine jq file

build="${LUMETRA_COMMAND_LINE_BUILD:-$LUMETRA_ROOT/build-command-line}"
rounds="${ROUNDS:-30}"
runs="${RUNS:-3}"
build_release "$build" ON lumetra lumetra_blank_png

results="$build/command-line"
rm -rf "$results"
mkdir -p "$results"
unset DISPLAY WAYLAND_DISPLAY QT_QPA_PLATFORM
export LC_ALL=C.UTF-8
program="$build/lumetra -o $results/curve.png"
minimal="$build/bench/command_line/lumetra_blank_png $results/blank.png"

# Both must write their picture, or nothing is measured.
$program && $minimal
for picture in curve blank; do
    [ "$(file -b "$results/$picture.png" | cut -d , -f 2)" = " 1280 x 800" ] ||
        { echo "$picture.png is not a 1280 x 800 PNG" >&2; exit 1; }
done

alternate_rounds "$results" "$rounds" "$runs" "$program" "$minimal"

of() { awk -v name="$1" '$1 == name { print $2 }' "$results/times-ms.txt"; }
awk -v tp="$(of lumetra | median)" -v tm="$(of minimal | median)" -v n="$((rounds * runs))" 'BEGIN {
    printf "Command line to a 1280x800 PNG, medians of %d runs: lumetra %.1f ms, blank PNG %.1f ms, ratio %.2f; target <= 1.15\n", n, tp, tm, tp / tm
}'
