#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Builds the Debian package of an already built tree and checks what a user
# would get: its fields, its files, that apt can resolve its dependencies,
# that the packaged program starts, that lintian finds no error and no warning
# and that the AppStream metadata is valid. Checks the plain `cmake --install`
# too.
# Usage: check_package.sh BUILD-FOLDER WORK-FOLDER APP-ID (work folder emptied first).
set -uo pipefail

[ $# -eq 3 ] || { echo "usage: $0 BUILD-FOLDER WORK-FOLDER APP-ID" >&2; exit 2; }
BUILD=$1
WORK=$2
APP_ID=$3

fail() {
    echo "package: FAIL: $*" >&2
    exit 1
}

for tool in cpack dpkg-deb dpkg-shlibdeps desktop-file-validate readelf apt-get timeout lintian \
    appstreamcli; do
    command -v "$tool" >/dev/null || fail "$tool is not installed"
done
rm -rf "$WORK"
mkdir -p "$WORK"

# png_size FILE: the width and height from the PNG header, as WxH.
png_size() {
    local words
    read -r -a words < <(od -An -tu1 -j16 -N8 "$1")
    echo "$(((words[2] << 8) | words[3]))x$(((words[6] << 8) | words[7]))"
}

# check_tree PREFIX WHAT: the binary, the desktop entry, the icons, the
# AppStream metadata, the manual page, the copyright and the changelog under PREFIX.
check_tree() {
    local prefix=$1 what=$2
    local desktop="$prefix/share/applications/$APP_ID.desktop"
    local icons="$prefix/share/icons/hicolor"
    local metainfo="$prefix/share/metainfo/$APP_ID.metainfo.xml"
    [ -x "$prefix/bin/lumetra" ] || fail "$what: no executable bin/lumetra"
    [ -f "$desktop" ] || fail "$what: no $desktop"
    desktop-file-validate "$desktop" || fail "$what: the desktop entry is not valid"
    local exec icon
    exec=$(sed -n 's/^Exec=\([^ ]*\).*/\1/p' "$desktop")
    icon=$(sed -n 's/^Icon=//p' "$desktop")
    [ -x "$prefix/bin/$exec" ] || fail "$what: Exec=$exec is not the installed program"
    [ -s "$icons/scalable/apps/$icon.svg" ] || fail "$what: no scalable icon $icon.svg"
    [ -f "$icons/48x48/apps/$icon.png" ] || fail "$what: no 48x48 icon $icon.png"
    [ "$(png_size "$icons/48x48/apps/$icon.png")" = 48x48 ] ||
        fail "$what: the 48x48 icon is $(png_size "$icons/48x48/apps/$icon.png")"
    [ -f "$metainfo" ] || fail "$what: no $metainfo"
    appstreamcli validate --no-net "$metainfo" || fail "$what: the AppStream metadata is not valid"
    grep -q "<launchable type=\"desktop-id\">$APP_ID.desktop</launchable>" "$metainfo" ||
        fail "$what: the AppStream metadata does not name the desktop entry"
    gzip -t "$prefix/share/man/man1/lumetra.1.gz" || fail "$what: no manual page lumetra.1.gz"
    [ -s "$prefix/share/doc/lumetra/copyright" ] || fail "$what: no copyright file"
    gzip -t "$prefix/share/doc/lumetra/changelog.gz" || fail "$what: no changelog.gz"
}

echo "package: cpack"
cpack --config "$BUILD/CPackConfig.cmake" -G DEB -B "$WORK/cpack" >"$WORK/cpack.log" 2>&1 ||
    { cat "$WORK/cpack.log" >&2; fail "cpack failed"; }
debs=("$WORK"/cpack/lumetra_*.deb)
{ [ "${#debs[@]}" -eq 1 ] && [ -f "${debs[0]}" ]; } || fail "expected one lumetra_*.deb, got ${debs[*]}"
DEB=${debs[0]}

echo "package: fields of $(basename "$DEB")"
depends=$(dpkg-deb --field "$DEB" Depends)
echo "Depends: $depends"
grep -Eq '(^|, )libqt6widgets6( |,|$)' <<<"$depends" || fail "Depends lacks the Qt 6 widgets library"
grep -Eq '(^|, )libqt6printsupport6( |,|$)' <<<"$depends" || fail "Depends lacks Qt 6 print support"
grep -Eq '(^|, )fonts-liberation( |,|$)' <<<"$depends" || fail "Depends lacks fonts-liberation"
grep -Eq '(^|, )libgif7( |,|$)' <<<"$depends" || fail "Depends lacks giflib, which writes the animated GIF"
[ "$(dpkg-deb --field "$DEB" Recommends)" = "qt6-wayland, qt6-translations-l10n" ] ||
    fail "Recommends is not qt6-wayland, qt6-translations-l10n"
[ "$(dpkg-deb --field "$DEB" Package)" = lumetra ] || fail "the package is not named lumetra"

echo "package: contents"
dpkg-deb -x "$DEB" "$WORK/root" || fail "dpkg-deb -x failed"
check_tree "$WORK/root/usr" "package"
readelf -S "$WORK/root/usr/bin/lumetra" | grep -q '\.symtab' && fail "the packaged binary is not stripped"

echo "package: the packaged program starts"
QT_QPA_PLATFORM=offscreen LC_ALL=C.UTF-8 timeout 3 "$WORK/root/usr/bin/lumetra" >"$WORK/run.log" 2>&1
status=$?
[ "$status" -eq 124 ] || { cat "$WORK/run.log" >&2; fail "it ended within 3 s with status $status"; }

echo "package: the packaged command line writes a picture with no display"
env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM LC_ALL=C.UTF-8 \
    "$WORK/root/usr/bin/lumetra" -o "$WORK/curve.png" || fail "lumetra -o curve.png failed"
[ "$(png_size "$WORK/curve.png")" = 1280x800 ] || fail "curve.png is $(png_size "$WORK/curve.png")"

echo "package: lintian"
# As root lintian complains of it unless given --allow-root.
lintian_options=(--fail-on error,warning)
if [ "$(id -u)" -eq 0 ]; then lintian_options+=(--allow-root); fi
lintian "${lintian_options[@]}" "$DEB" >"$WORK/lintian.log" 2>&1
status=$?
cat "$WORK/lintian.log"
{ [ "$status" -eq 0 ] && ! grep -q '^[EW]: ' "$WORK/lintian.log"; } ||
    fail "lintian reports errors or warnings (status $status)"

echo "package: apt-get install --simulate"
apt-get install --simulate "$DEB" >"$WORK/apt.log" 2>&1 || { cat "$WORK/apt.log" >&2; fail "apt-get cannot install it"; }
grep -q '^Inst lumetra ' "$WORK/apt.log" || { cat "$WORK/apt.log" >&2; fail "apt-get would not install lumetra"; }

echo "package: cmake --install"
cmake --install "$BUILD" --prefix "$WORK/install" >"$WORK/install.log" 2>&1 ||
    { cat "$WORK/install.log" >&2; fail "cmake --install failed"; }
check_tree "$WORK/install" "cmake --install"
echo "package: PASS ($DEB)"
