#!/usr/bin/env bash
# Installs what is missing, builds LUMETRA and starts it.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/setup.sh"

ensure_packages "${BUILD_PACKAGES[@]}"
configure_and_build "$LUMETRA_ROOT/build" -DBUILD_TESTING=OFF
exec "$LUMETRA_ROOT/build/lumetra"
