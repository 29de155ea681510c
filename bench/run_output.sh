#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Builds the picture benchmarks in Release and prints the medians of five runs
# and their ratios to the on-screen plot of the same curve: the SVG replay in
# memory (target: at most 3 times the plot), and saving one curve as PNG, SVG
# and PDF; then what 1000 curves cost as SVG and PDF, and what a curve costs
# the command line when it writes 100 into a PNG, an SVG or a PDF.
set -euo pipefail

source "$(dirname "${BASH_SOURCE[0]}")/../scripts/setup.sh"
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"

ensure_packages "${BUILD_PACKAGES[@]}" "${BENCH_PACKAGES[@]}"

build="${LUMETRA_BENCH_BUILD:-$LUMETRA_ROOT/build-bench}"
build_release "$build" ON lumetra_bench_output

output="$(mktemp)"
trap 'rm -f "$output"' EXIT
run_google_benchmark "$build/bench/lumetra_bench_output" "$output"

# Field 4 is the median's CPU time in microseconds: writing the file waits for
# the disk, which is the machine's and not the program's.
awk '
    $1 ~ /_median$/ { name = $1; sub(/_median$/, "", name); median[name] = $4 }
    END {
        screen = median["BM_ScreenPlot"]
        split("BM_SvgReplay/1 BM_SavePng/1 BM_SaveSvg/1 BM_SavePdf/1 BM_SaveSvg/1000 BM_SavePdf/1000 " \
            "BM_CommandLinePng BM_CommandLineSvg BM_CommandLinePdf", names)
        for (i in names) if (median[names[i]] == "") { print "missing " names[i]; exit 1 }
        if (screen == "") { print "missing BM_ScreenPlot"; exit 1 }
        print ""
        printf "on-screen plot of one curve     %9.1f us\n", screen
        printf "SVG replay in memory / plot     %9.2f  (target <= 3)\n", median["BM_SvgReplay/1"] / screen
        printf "save PNG / plot                 %9.2f\n", median["BM_SavePng/1"] / screen
        printf "save SVG / plot                 %9.2f\n", median["BM_SaveSvg/1"] / screen
        printf "save PDF / plot                 %9.2f\n", median["BM_SavePdf/1"] / screen
        printf "save 1000 curves as SVG         %9.2f s  (%.0f x one curve)\n",
            median["BM_SaveSvg/1000"] / 1e6, median["BM_SaveSvg/1000"] / median["BM_SaveSvg/1"]
        printf "save 1000 curves as PDF         %9.2f s  (%.0f x one curve)\n",
            median["BM_SavePdf/1000"] / 1e6, median["BM_SavePdf/1000"] / median["BM_SavePdf/1"]
        split("Png Svg Pdf", formats)
        for (i = 1; i <= 3; i++) {
            curve = median["BM_CommandLine" formats[i]] / 100
            printf "command line, 100 curves to %s: %9.1f us a curve, %.2f x the plot\n",
                toupper(formats[i]), curve, curve / screen
        }
    }' "$output"
