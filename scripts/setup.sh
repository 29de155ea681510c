# SPDX-License-Identifier: GPL-3.0-or-later
# Shared by run.sh and test.sh: installs the Debian packages that are missing
# and configures and builds one build folder. Sourced, not run.

LUMETRA_ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
BUILD_PACKAGES=(g++ cmake ninja-build qt6-base-dev qt6-translations-l10n libgl-dev libgif-dev
    fonts-liberation fontconfig librsvg2-bin)
BENCH_PACKAGES=(libbenchmark-dev libpng-dev)
DESKTOP_PACKAGES=(xvfb xauth openbox xdotool imagemagick x11-utils weston qt6-wayland)
# Readers of the saved pictures and of the manual page that the tests check them with.
TEST_PACKAGES=(poppler-utils librsvg2-bin groff-base)
PACKAGE_PACKAGES=(dpkg-dev file desktop-file-utils lintian appstream)

as_root() {
    if [ "$(id -u)" -eq 0 ]; then "$@"; else sudo "$@"; fi
}

# Installs the packages that are not installed yet; does nothing when all are.
ensure_packages() {
    local missing=()
    local package
    for package in "$@"; do
        if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed"; then
            missing+=("$package")
        fi
    done
    if [ "${#missing[@]}" -gt 0 ]; then
        echo "Installing: ${missing[*]}"
        as_root apt-get update -qq
        as_root env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq "${missing[@]}" >/dev/null
    fi
}

# configure PRESET [CMAKE OPTIONS...]: the settings live in CMakePresets.json.
configure() {
    (cd "$LUMETRA_ROOT" && cmake --preset "$@" >/dev/null)
}
