#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Builds the libFuzzer targets with clang, AddressSanitizer and
# UndefinedBehaviorSanitizer, and runs each for a bounded time from the seeds
# in fuzz/corpus (copied, so the repository stays clean). Exits non-zero when
# a fuzzer finds a crash, a broken property, a time-out or an
# out-of-memory; the input that did it is left in build-fuzz/artifacts.
# FUZZ_SECONDS sets the time per fuzzer (45 by default).
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/setup.sh"

ensure_packages "${BUILD_PACKAGES[@]}" clang libclang-rt-14-dev

seconds="${FUZZ_SECONDS:-45}"
build="$LUMETRA_ROOT/build-fuzz"
targets=(fuzz_locale_number fuzz_calcola fuzz_command_line fuzz_work)

configure fuzz
cmake --build "$build" --target "${targets[@]}"

work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
artifacts="$build/artifacts"
mkdir -p "$artifacts"

# Qt keeps one-time allocations to the end; leaks are not what these look for.
export ASAN_OPTIONS="detect_leaks=0:abort_on_error=1"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"

status=0
for target in "${targets[@]}"; do
    corpus="$work/${target#fuzz_}"
    cp -r "$LUMETRA_ROOT/fuzz/corpus/${target#fuzz_}" "$corpus"
    options=(-max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -print_final_stats=1
        -artifact_prefix="$artifacts/$target-")
    dictionary="$LUMETRA_ROOT/fuzz/${target#fuzz_}.dict"
    if [ -f "$dictionary" ]; then options+=(-dict="$dictionary"); fi
    echo "== $target for ${seconds} s"
    if "$build/fuzz/$target" "$corpus" "${options[@]}" 2>"$work/$target.log"; then
        grep -E '^#[0-9]+[[:space:]]+DONE|^stat::(number_of_executed_units|average_exec_per_sec)' \
            "$work/$target.log"
    else
        status=1
        echo "$target found a failure; input in $artifacts" >&2
        tail -n 60 "$work/$target.log" >&2
    fi
done
exit "$status"
