#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
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

cd "$LUMETRA_ROOT"
configure default -DLUMETRA_WERROR="$strict"
cmake --build --preset default
ctest --preset default

if [ "${CI:-}" = "true" ]; then
    configure sanitize
    cmake --build --preset sanitize
    ctest --preset sanitize
    bash "$LUMETRA_ROOT/scripts/fuzz.sh"
fi
