#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# A large PNG from the command line: an A4 page at 300 dpi (3508 x 2480
# pixels) with four curves against the PNG floor, a plain C program that
# writes as many pixels with libpng at the level Qt's PNG writer uses
# (bench/command_line/png_floor.c). Both built in Release, run with no display
# and timed as whole processes with hyperfine, in ROUNDS (default 10) rounds
# of RUNS (default 3) runs each, the order alternating. Prints the medians
# and their ratio (target: at most 1.5).
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/../../scripts/setup.sh"
source "$(dirname "${BASH_SOURCE[0]}")/../common.sh"

ensure_packages "${BUILD_PACKAGES[@]}" "${BENCH_PACKAGES[@]}" hyperfine jq file

build="${LUMETRA_COMMAND_LINE_BUILD:-$LUMETRA_ROOT/build-command-line}"
rounds="${ROUNDS:-10}"
runs="${RUNS:-3}"
size=3508x2480
build_release "$build" ON lumetra lumetra_png_floor

results="$build/png"
rm -rf "$results"
mkdir -p "$results"
unset DISPLAY WAYLAND_DISPLAY QT_QPA_PLATFORM
export LC_ALL=C.UTF-8
program="$build/lumetra -o $results/a4.png --dimensioni $size --curva 150:15:1 \
--curva 150:35:1:x-cos --curva 150:55:1:y-cos --curva 150:75:1:corde"
floor="$build/bench/command_line/lumetra_png_floor $size $results/floor.png"

# Both must write their picture, or nothing is measured.
$program && $floor
for picture in a4 floor; do
    [ "$(file -b "$results/$picture.png" | cut -d , -f 2)" = " ${size/x/ x }" ] ||
        { echo "$picture.png is not a $size PNG" >&2; exit 1; }
done

alternate_rounds "$results" "$rounds" "$runs" "$program" "$floor"

of() { awk -v name="$1" '$1 == name { print $2 }' "$results/times-ms.txt"; }
awk -v tp="$(of lumetra | median)" -v tf="$(of minimal | median)" -v n="$((rounds * runs))" 'BEGIN {
    printf "A4 at 300 dpi with four curves as PNG, medians of %d runs: lumetra / libpng floor = %.2f; target <= 1.5\n", n, tp / tf
}'
