#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Installs what is missing, builds LUMETRA and starts it.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/setup.sh"

ensure_packages "${BUILD_PACKAGES[@]}"
configure default
cmake --build "$LUMETRA_ROOT/build" --target lumetra
exec "$LUMETRA_ROOT/build/lumetra"
