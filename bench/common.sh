# SPDX-License-Identifier: GPL-3.0-or-later
# Shared by the benchmark scripts: the Release build, the Google Benchmark run
# and the alternating hyperfine rounds. Sourced after scripts/setup.sh, not run.

# build_release BUILD_DIR BENCHMARKS(ON|OFF) TARGET...: the release preset in
# a folder of the script's own.
build_release() {
    local build="$1" benchmarks="$2"
    shift 2
    configure release -B "$build" -DLUMETRA_BENCHMARKS="$benchmarks"
    cmake --build "$build" --target "$@" >/dev/null
}

# run_google_benchmark EXECUTABLE OUTPUT [OPTION...]: five repetitions of
# every benchmark, in random order so that a busy machine disturbs all alike,
# aggregates only, shown and kept in OUTPUT. Further Google Benchmark options,
# such as a filter, follow.
run_google_benchmark() {
    local executable="$1" output="$2"
    shift 2
    QT_QPA_PLATFORM=offscreen "$executable" --benchmark_min_time=0.5 \
        --benchmark_repetitions=5 --benchmark_enable_random_interleaving=true \
        --benchmark_report_aggregates_only=true --benchmark_format=console \
        --benchmark_color=false "$@" | tee "$output"
}

median() {
    sort -g | awk '{ v[NR] = $1 } END { print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'
}

# alternate_rounds RESULTS ROUNDS RUNS PROGRAM MINIMAL: times the two commands,
# named lumetra and minimal, as whole processes into RESULTS/round-N.json.
# hyperfine times one command's runs after the other's, and a busy machine
# changes from second to second: short rounds, in alternating order, give both
# programs the same share of quiet and busy moments. Then writes every run's
# wall-clock time, "name milliseconds", to RESULTS/times-ms.txt.
alternate_rounds() {
    local results="$1" rounds="$2" runs="$3" program="$4" minimal="$5" round
    echo "Load average before: $(cut -d ' ' -f 1-3 /proc/loadavg) on $(nproc) cores"
    for ((round = 1; round <= rounds; round++)); do
        local commands=(-n lumetra "$program" -n minimal "$minimal")
        if ((round % 2 == 0)); then commands=(-n minimal "$minimal" -n lumetra "$program"); fi
        if ! hyperfine -N --warmup 2 --runs "$runs" --style none \
            --export-json "$results/round-$round.json" "${commands[@]}" \
            >/dev/null 2>"$results/round-$round.log"; then
            cat "$results/round-$round.log" >&2
            return 1
        fi
    done
    echo "Load average after:  $(cut -d ' ' -f 1-3 /proc/loadavg)"
    jq -r '.results[] | .command as $name | .times[] | "\($name) \(. * 1000)"' \
        "$results"/round-*.json >"$results/times-ms.txt"
}
