#!/usr/bin/env bash
# The real program on a headless Weston compositor through Qt's native Wayland
# backend, with no X server to fall back on: it must map its first window and
# keep running without any complaint from the platform plugin.
# Usage: run.sh PATH/TO/lumetra
set -uo pipefail

[ $# -eq 1 ] || { echo "usage: $0 PATH/TO/lumetra" >&2; exit 2; }
LUMETRA=$1
WORK=$(mktemp -d)
WESTON_PID="" APP_PID=""

cleanup() {
    local pid
    for pid in "$APP_PID" "$WESTON_PID"; do
        [ -n "$pid" ] && kill "$pid" 2>/dev/null && wait "$pid" 2>/dev/null
    done
    rm -rf "$WORK"
}
trap cleanup EXIT

fail() {
    echo "wayland_smoke: FAIL: $*" >&2
    for log in weston lumetra; do
        [ -s "$WORK/$log.log" ] && { echo "--- last lines of $log.log" && tail -n 20 "$WORK/$log.log"; } >&2
    done
    exit 1
}

command -v weston >/dev/null || fail "weston is not installed"
[ -x "$LUMETRA" ] || fail "no program at $LUMETRA"

# wait_until SECONDS WHAT PID COMMAND...: polls COMMAND every 0.1 s while PID lives.
wait_until() {
    local tries=$(($1 * 10)) what=$2 pid=$3
    shift 3
    until "$@"; do
        kill -0 "$pid" 2>/dev/null || fail "ended while waiting for $what"
        tries=$((tries - 1))
        [ "$tries" -gt 0 ] || fail "timed out waiting for $what"
        sleep 0.1
    done
}

# A private runtime folder: the compositor's socket lives there, out of the
# way of any session on this machine.
export XDG_RUNTIME_DIR="$WORK/runtime"
mkdir -m 700 "$XDG_RUNTIME_DIR"
export WAYLAND_DISPLAY=lumetra-smoke
weston --backend=headless-backend.so --socket="$WAYLAND_DISPLAY" --no-config --idle-time=0 \
    >"$WORK/weston.log" 2>&1 &
WESTON_PID=$!
wait_until 10 "Weston's socket" "$WESTON_PID" test -S "$XDG_RUNTIME_DIR/$WAYLAND_DISPLAY"

# The protocol trace tells when the window has a buffer on screen.
env -u DISPLAY QT_QPA_PLATFORM=wayland WAYLAND_DEBUG=client LC_ALL=C.UTF-8 \
    "$LUMETRA" >"$WORK/lumetra.log" 2>&1 &
APP_PID=$!

# The title window's surface: the wl_surface behind the toplevel titled Form1,
# once a buffer has been attached to it.
form1_mapped() {
    awk '
        # ids(TEXT): the object numbers in TEXT, in order, into id[1], id[2], ...
        function ids(text,    n) {
            n = 0
            while (match(text, /@[0-9]+/)) {
                id[++n] = substr(text, RSTART + 1, RLENGTH - 1)
                text = substr(text, RSTART + RLENGTH)
            }
        }
        /get_xdg_surface\(new id xdg_surface@/ { ids($0); surface_of[id[2]] = id[3] }
        /\.get_toplevel\(new id xdg_toplevel@/ { ids($0); shell_of[id[2]] = id[1] }
        /xdg_toplevel@[0-9]+\.set_title\("Form1"\)/ { ids($0); form1 = surface_of[shell_of[id[1]]] }
        form1 != "" && index($0, "wl_surface@" form1 ".attach(wl_buffer@") { found = 1; exit }
        END { exit !found }' "$WORK/lumetra.log"
}
wait_until 10 "the title window to be mapped" "$APP_PID" form1_mapped
sleep 1
kill -0 "$APP_PID" 2>/dev/null || fail "the program ended after showing its window"
warnings=$(grep -v '^\[' "$WORK/lumetra.log" | grep -iE 'qt\.qpa|platform|wayland|xcb|display')
[ -z "$warnings" ] || fail "the platform complained: $warnings"
echo "wayland_smoke: PASS"
