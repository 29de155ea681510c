#!/usr/bin/env bash
# Installs what is missing, builds LUMETRA with its tests and runs them all
# headless: unit and window tests offscreen, the end-to-end test in a virtual
# X server and a headless Wayland compositor, and the Debian package is built
# and installed into a temporary root. With CI=true warnings are errors, the
# tests run again under AddressSanitizer, LeakSanitizer and
# UndefinedBehaviorSanitizer, and the fuzzers run for a bounded time.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/setup.sh"

ensure_packages "${BUILD_PACKAGES[@]}" "${BENCH_PACKAGES[@]}" "${DESKTOP_PACKAGES[@]}" \
    "${TEST_PACKAGES[@]}" "${PACKAGE_PACKAGES[@]}"

strict=OFF
if [ "${CI:-}" = "true" ]; then strict=ON; fi

configure "$LUMETRA_ROOT/build" -DBUILD_TESTING=ON -DLUMETRA_WERROR="$strict" \
    -DLUMETRA_END_TO_END=ON
cmake --build "$LUMETRA_ROOT/build"
ctest --test-dir "$LUMETRA_ROOT/build" --output-on-failure --no-tests=error

if [ "${CI:-}" = "true" ]; then
    configure "$LUMETRA_ROOT/build-sanitize" -DBUILD_TESTING=ON -DLUMETRA_WERROR=ON \
        -DLUMETRA_SANITIZE=ON -DLUMETRA_BENCHMARKS=OFF -DCMAKE_BUILD_TYPE=Debug
    cmake --build "$LUMETRA_ROOT/build-sanitize"
    ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 \
        ctest --test-dir "$LUMETRA_ROOT/build-sanitize" --output-on-failure --no-tests=error
    bash "$LUMETRA_ROOT/scripts/fuzz.sh"
fi
