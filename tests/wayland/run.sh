#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The real program on a headless Weston compositor through Qt's native Wayland
# backend, with no X server to fall back on: it must map its first window and
# keep running without any complaint from the platform plugin.
# Usage: run.sh PATH/TO/lumetra
set -uo pipefail

[ $# -eq 1 ] || { echo "usage: $0 PATH/TO/lumetra" >&2; exit 2; }
WORK=$(mktemp -d)
PIDS=()
trap 'kill "${PIDS[@]}" 2>/dev/null; wait 2>/dev/null; rm -rf "$WORK"' EXIT
# A home of its own: the user's settings are neither read nor changed.
export HOME="$WORK/home" XDG_CONFIG_HOME="$WORK/home/config" XDG_DATA_HOME="$WORK/home/data" \
    XDG_CACHE_HOME="$WORK/home/cache"
mkdir "$HOME"

fail() {
    echo "wayland_smoke: FAIL: $*" >&2
    tail -n 20 "$WORK"/*.log >&2
    exit 1
}
source "$(dirname "$0")/../support/wait_until.sh"
running() { kill -0 "${PIDS[@]}" 2>/dev/null; } # the compositor and the program

# A private runtime folder keeps the compositor's socket away from any session.
export XDG_RUNTIME_DIR="$WORK/runtime" WAYLAND_DISPLAY=lumetra-smoke
mkdir -m 700 "$XDG_RUNTIME_DIR"
weston --backend=headless-backend.so --socket="$WAYLAND_DISPLAY" --no-config --idle-time=0 \
    >"$WORK/weston.log" 2>&1 &
PIDS+=($!)
wait_until "Weston's socket" test -S "$XDG_RUNTIME_DIR/$WAYLAND_DISPLAY"
# The protocol trace tells when a window has a buffer on screen.
env -u DISPLAY QT_QPA_PLATFORM=wayland WAYLAND_DEBUG=client LC_ALL=C.UTF-8 "$1" \
    >"$WORK/lumetra.log" 2>&1 &
PIDS+=($!)
# The surface behind the toplevel titled Form1, once a buffer is attached to it.
form1_mapped() {
    awk 'function ids(text, n) {
            for (n = 0; match(text, /@[0-9]+/); text = substr(text, RSTART + RLENGTH))
                id[++n] = substr(text, RSTART + 1, RLENGTH - 1)
        }
        /get_xdg_surface\(new id xdg_surface@/ { ids($0); surface_of[id[2]] = id[3] }
        /\.get_toplevel\(new id xdg_toplevel@/ { ids($0); shell_of[id[2]] = id[1] }
        /xdg_toplevel@[0-9]+\.set_title\("Form1"\)/ { ids($0); form1 = surface_of[shell_of[id[1]]] }
        form1 != "" && index($0, "wl_surface@" form1 ".attach(wl_buffer@") { found = 1; exit }
        END { exit !found }' "$WORK/lumetra.log"
}
wait_until "the title window to be mapped" form1_mapped
sleep 1
running || fail "the program ended after showing its window"
warnings=$(grep -v '^\[' "$WORK/lumetra.log" | grep -iE 'qt\.qpa|platform|wayland|xcb|display')
[ -z "$warnings" ] || fail "the platform complained: $warnings"
echo "wayland_smoke: PASS"
