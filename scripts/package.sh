#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Installs what is missing, builds LUMETRA in Release and makes its Debian
# package in build-release/. With --install, also installs the package with
# apt-get, which brings in its dependencies.
# Usage: package.sh [--install]
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/setup.sh"

install=false
case "${1:-}" in
"") ;;
--install) install=true ;;
*)
    echo "usage: $0 [--install]" >&2
    exit 2
    ;;
esac

ensure_packages "${BUILD_PACKAGES[@]}" "${PACKAGE_PACKAGES[@]}"
folder="$LUMETRA_ROOT/build-release"
configure release -DLUMETRA_BENCHMARKS=OFF
cmake --build "$folder"
rm -f "$folder"/lumetra_*.deb
(cd "$folder" && cpack -G DEB >cpack.log 2>&1) || { cat "$folder/cpack.log" >&2; exit 1; }
deb=$(echo "$folder"/lumetra_*.deb)
[ -f "$deb" ] || { echo "no package was made in $folder" >&2; exit 1; }

if "$install"; then
    as_root env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq "$deb" >/dev/null
    echo "Installed $deb"
else
    echo "$deb"
fi
