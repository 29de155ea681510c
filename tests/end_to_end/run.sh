#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The real program's four windows in a virtual X server with a window manager:
# real clicks at the controls' layout positions and real keys, checked on
# screenshots. Usage: run.sh PATH/TO/lumetra OUTPUT-FOLDER. Leaves a full-screen
# PNG per step in OUTPUT-FOLDER, form1.png ... form4.png with their frames, and
# plot.svg, the plot window's picture saved through its save dialog, which then
# opens again; the "Costruzione" window of the last curve steps and plays by
# its keys; last, the work of ten plots comes back after a SIGKILL. What the
# offscreen tests check already (the axes' places and widths, refused entries
# opening no window, one colour per curve, the frame of check boxes hiding the
# curves) is not checked again here.
set -uo pipefail

[ $# -eq 2 ] || { echo "usage: $0 PATH/TO/lumetra OUTPUT-FOLDER" >&2; exit 2; }
LUMETRA=$1 OUT=$2
mkdir -p "$OUT" && rm -f "$OUT"/*.png
WORK=$(mktemp -d)
XVFB_PID="" WM_PID="" APP_PID="" PID=""
# A home of its own: the user's settings are neither read nor changed.
export HOME="$WORK/home" XDG_CONFIG_HOME="$WORK/home/config" XDG_DATA_HOME="$WORK/home/data" \
    XDG_CACHE_HOME="$WORK/home/cache"
mkdir "$HOME"

cleanup() {
    local pid
    for pid in "$APP_PID" "$PID" "$WM_PID" "$XVFB_PID"; do
        [ -n "$pid" ] && kill "$pid" 2>/dev/null && wait "$pid" 2>/dev/null
    done
    rm -rf "$WORK"
}
trap cleanup EXIT

STEP="start-up"
fail() {
    echo "end_to_end: FAIL at '$STEP': $*" >&2
    [ -n "$XVFB_PID" ] && import -window root -depth 8 "$OUT/failure.png" 2>/dev/null &&
        echo "end_to_end: screen at the failure: $OUT/failure.png" >&2
    exit 1
}
step() { STEP=$1 && echo "end_to_end: $1"; }

for tool in Xvfb openbox xdotool xwininfo xprop import convert compare; do
    command -v "$tool" >/dev/null || fail "$tool is not installed"
done
[ -x "$LUMETRA" ] || fail "no program at $LUMETRA"

source "$(dirname "$0")/../support/wait_until.sh"
running() { [ -z "$APP_PID" ] || kill -0 "$APP_PID" 2>/dev/null; } # the program, once started

# Visible windows of the program whose title matches the regular expression.
windows_named() { xdotool search --all --onlyvisible --pid "$APP_PID" --name "$1" 2>/dev/null; }
window_shown() { [ -n "$(windows_named "$1")" ]; }
window_gone() { [ -z "$(windows_named "$1")" ]; }
is_active() { [ "$(xdotool getactivewindow 2>/dev/null)" = "$1" ]; }
# active VAR: waits for the window whose id is in VAR to be active.
active() { wait_until "$1 to be active" is_active "${!1}"; }

# area WINDOW: sets X Y W H to the window's place on the screen.
area() {
    read -r X Y W H < <(xwininfo -id "$1" | awk '/Absolute upper-left X/{x=$4}
        /Absolute upper-left Y/{y=$4} /Width:/{w=$2} /Height:/{h=$2} END{print x, y, w, h}')
}

# open_window VAR TITLE [WxH]: waits for the window TITLE (a regular expression)
# to be shown and active, checks its client size, and sets VAR to its id.
open_window() {
    wait_until "a window titled '$2'" window_shown "$2"
    printf -v "$1" %s "$(windows_named "$2" | head -n 1)"
    active "$1"
    [ -z "${3:-}" ] || { area "${!1}" && [ "${W}x${H}" = "$3" ]; } ||
        fail "'$2' has a client area of ${W}x${H}, expected $3"
}

# click WINDOW LEFT TOP WIDTH HEIGHT: clicks the middle of a control given in
# twips (15 to a pixel) from the window's client area.
click() {
    area "$1" && xdotool mousemove --sync $((X + (2*$2 + $4)/30)) $((Y + (2*$3 + $5)/30)) click 1
}
keys() { xdotool key --delay 50 "$@"; }
type_text() { keys ctrl+a && xdotool type --delay 30 "$1"; } # into the focused text box
# field TOP TEXT: types TEXT into the parameter window's text box at TOP twips.
field() { click "$FORM3" 3720 "$1" 735 495 && type_text "$2"; }
avanti() { click "$FORM3" 5280 5640 1935 735; }
replot() { avanti && active FORM4; } # with the plot window open already
riprendi() { click "$FORM4" 960 720 1695 615 && active FORM3; }

# shot NAME [WINDOW KEPT]: the screen as OUT/NAME.png, and the window with its
# frame as OUT/KEPT.png.
shot() {
    import -window root -depth 8 "$OUT/$1.png" || fail "screenshot failed"
    [ $# -eq 1 ] || import -frame -window "$2" -depth 8 "$OUT/$3.png" || fail "no picture of $2"
}
# grab WINDOW FILE: the window's client area as it is on the screen.
grab() { import -window "$1" -depth 8 "$2" || fail "no picture of $1"; }

# count_colour FILE RRGGBB [CROP]: the number of pixels of exactly that colour.
count_colour() {
    convert "$1" ${3:+-crop "$3" +repage} -format %c histogram:info:- |
        awk -v c="#$2" 'toupper($3) == c {gsub(":", "", $1); n = $1} END {print n + 0}'
}
# count_dark FILE CROP: the number of pixels darker than mid-grey.
count_dark() {
    convert "$1" -crop "$2" +repage -colorspace Gray -threshold 50% -negate \
        -format '%[fx:round(mean*w*h)]' info:
}
# in_window WINDOW RRGGBB MORE-THAN [CROP]: grabs the window to $WORK/poll.png
# and finds more pixels of the colour there (in CROP) than MORE-THAN.
in_window() {
    grab "$1" "$WORK/poll.png" && [ "$(count_colour "$WORK/poll.png" "$2" "${4:-}")" -gt "$3" ]
}
# differing FILE1 FILE2: the number of pixels that differ.
differing() { compare -metric AE "$1" "$2" null: 2>&1 | cut -d' ' -f1; }
# looks_like WINDOW FILE: the window shows the picture of FILE, pixel for pixel.
looks_like() { grab "$1" "$WORK/look.png" && [ "$(differing "$2" "$WORK/look.png")" -eq 0 ]; }

maximized() { area "$1" && [ "${W}x${H}" = "$MAXIMIZED" ]; }
not_maximized() { ! maximized "$1"; }
# title_bar_double_click WINDOW: restores a maximized window, maximizes a restored one.
title_bar_double_click() {
    area "$1" && xdotool mousemove --sync $((X + W / 2)) $((Y - 8)) click --repeat 2 --delay 80 1
}

# message_box NAME: a message box is up; a screenshot, then Return closes it.
message_box() {
    open_window BOX '^LUMETRA$' && shot "$1" && keys Return
    wait_until "the message box to close" window_gone '^LUMETRA$'
}

# Curve colours 2 to 5 (4 is the calibration figure's too), and a field that failed its check.
GREEN=008000 CYAN=008080 RED4=800000 MAGENTA=800080 RED=FF0000

# Xvfb picks a free display itself and writes its number to descriptor 3.
Xvfb -displayfd 3 -screen 0 1280x800x24 -nolisten tcp 3>"$WORK/display" >"$WORK/xvfb.log" 2>&1 &
XVFB_PID=$!
wait_until "Xvfb to start" test -s "$WORK/display"
export DISPLAY=":$(head -n 1 "$WORK/display")" QT_QPA_PLATFORM=xcb LC_ALL=C.UTF-8
unset QT_SCALE_FACTOR QT_SCREEN_SCALE_FACTORS QT_SCALE_FACTOR_ROUNDING_POLICY
openbox >"$WORK/openbox.log" 2>&1 & WM_PID=$!
wm_running() { xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id'; }
wait_until "openbox to manage the screen" wm_running
"$LUMETRA" >"$WORK/lumetra.log" 2>&1 & APP_PID=$!
MAXIMIZED=1280x781

step "1. title window"
open_window FORM1 '^Form1$' 778x487
sleep 0.3
[ "$(windows_named '' | wc -l)" -eq 1 ] || fail "more windows than the title window"
shot 01-title "$FORM1" form1
grab "$FORM1" "$WORK/form1.png"
# OLE1 at 94,22 px: "PROGRAMMA: " from 40 px, baseline 13.7; line 4 from 0, baseline 68.
[ "$(count_dark "$WORK/form1.png" 200x14+134+24)" -gt 50 ] || fail "no title page line 1"
[ "$(count_dark "$WORK/form1.png" 300x14+94+78)" -gt 50 ] || fail "no title page line 4"
[ "$(count_dark "$WORK/form1.png" 561x230+94+100)" -eq 0 ] || fail "ink below the title page"

step "2. AVANTI opens the calibration window, OK - continua at 0.51 is refused"
click "$FORM1" 3600 5640 2895 855
open_window FORM2 '^Form2$' $MAXIMIZED
wait_until "the red figure" in_window "$FORM2" $RED4 1000
shot 02-calibration
click "$FORM2" 3120 2880 1575 615
message_box 03-message

step "2. the scroll bar steps to 0.55, OK - continua opens the parameter window"
# The focus is on "OK - continua"; back through Text1 to the bar.
active FORM2
keys shift+Tab shift+Tab Right
# At 0.55 the figure's top lies 38 px down, below the one for 0.51.
wait_until "the figure for 0.55" in_window "$FORM2" $RED4 0 30x7+800+35
shot 04-calibrated "$FORM2" form2
click "$FORM2" 3120 2880 1575 615
open_window FORM3 '^ $' $MAXIMIZED
sleep 0.3
shot 05-parameters "$FORM3" form3

step "3. a bad length gives the message and a red field"
type_text abc # the focus starts in Text1
avanti
message_box 06-bad-value
# Text1 at 248,136 px, 49 x 33: cleared and red inside, right of the cursor.
wait_until "Text1 to turn red" in_window "$FORM3" $RED 599 30x20+262+142
shot 07-red-field

step "3. a good length opens the plot window"
field 2040 86
avanti
open_window FORM4 '^Form4$' $MAXIMIZED
wait_until "the first curve in colour 2" in_window "$FORM4" $GREEN 200
sleep 0.3
shot 08-plot

step "4. RIPRENDI i dati, a new angle, AVANTI: both curves"
riprendi
field 2880 30
replot
wait_until "the second curve in colour 3" in_window "$FORM4" $CYAN 200
[ "$(count_colour "$WORK/poll.png" $GREEN)" -gt 200 ] || fail "the first curve is gone"
shot 09-two-curves

step "4. calibration window and back: a third curve at 0.51"
xdotool windowactivate --sync "$FORM2" && active FORM2
sleep 0.3
xdotool windowactivate --sync "$FORM4" && active FORM4
wait_until "the third curve in colour 4" in_window "$FORM4" $RED4 200
[ "$(count_colour "$WORK/poll.png" $CYAN)" -gt 0 ] || fail "the second curve is gone"
sleep 0.3
shot 10-three-curves "$FORM4" form4
grab "$FORM4" "$WORK/three-curves.png"

step "4. Ctrl+S saves the picture through the save dialog, as SVG by its name"
keys ctrl+s
open_window DIALOG '^Salva immagine$'
shot 10-save-dialog
type_text "$WORK/plot.svg" && keys Return
wait_until "the dialog to close" window_gone '^Salva immagine$'
wait_until "the saved picture" test -s "$WORK/plot.svg"
[ "$(grep -c '<circle' "$WORK/plot.svg")" -eq $((3 * 2 * 901)) ] || fail "not the three curves' dots"
cp "$WORK/plot.svg" "$OUT/plot.svg"
active FORM4

step "4. a fourth curve, through the frame of check boxes"
riprendi
field 2040 250
field 2880 165
replot
wait_until "the fourth curve in colour 5" in_window "$FORM4" $MAGENTA 200
shot 11-through-the-frame

step "4. restored down and maximized again, the picture is whole"
cp "$WORK/poll.png" "$WORK/maximized.png"
title_bar_double_click "$FORM4"
wait_until "the plot window to be restored" not_maximized "$FORM4"
shot 12-restored
title_bar_double_click "$FORM4"
wait_until "the plot window to be maximized" maximized "$FORM4"
sleep 0.3
looks_like "$FORM4" "$WORK/maximized.png" || fail "the picture changed through the shrink"

step "4. Ctrl+Z takes the fourth curve back, Ctrl+Y draws it again"
keys ctrl+z
wait_until "the picture of three curves" looks_like "$FORM4" "$WORK/three-curves.png"
shot 13-undone
keys ctrl+y
wait_until "the fourth curve again" looks_like "$FORM4" "$WORK/maximized.png"

step "4. Mostra la costruzione… shows the fourth curve pass by pass"
keys shift+F10 && sleep 0.3 && keys Up Return # the menu's last command
open_window VIEW '^Costruzione$'
wait_until "the last pass in colour 5" in_window "$VIEW" $MAGENTA 0
shot 14-construction "$VIEW" construction
no_colour() { ! in_window "$@"; }
keys Home
wait_until "no pass drawn at the start" no_colour "$VIEW" $MAGENTA 0
keys Right
wait_until "the first pass's direction in colour 5" in_window "$VIEW" $MAGENTA 0
keys End
sleep 0.3
grab "$VIEW" "$WORK/last-pass.png"
keys space
changed() { ! looks_like "$VIEW" "$WORK/last-pass.png"; }
wait_until "playing to start again from the first pass" changed
shot 15-playing
keys space End
wait_until "the last pass again" looks_like "$VIEW" "$WORK/last-pass.png"
xdotool windowclose "$VIEW"
wait_until "the construction window to close" window_gone '^Costruzione$'
xdotool windowactivate --sync "$FORM4" && active FORM4
sleep 0.3
looks_like "$FORM4" "$WORK/maximized.png" || fail "coming back from the construction plotted again"

step "5. ESCI ends the program"
click "$FORM4" 960 1800 1695 615
PID=$APP_PID APP_PID="" # its end is awaited here, not a failure
wait_until "the program to end" test ! -e "/proc/$PID"
wait "$PID" || fail "the program ended with exit code $?"

step "6. the saved picture opens straight into the plot window, as it was"
"$LUMETRA" "$WORK/plot.svg" >"$WORK/lumetra.log" 2>&1 & APP_PID=$!
open_window FORM4 '^Form4$' $MAXIMIZED
away() { xdotool mousemove --sync 1200 700; } # no button under the mouse to light up
away
wait_until "the three curves of the picture" looks_like "$FORM4" "$WORK/three-curves.png"
shot 16-reopened

step "7. ten plots, a kill, and the work comes back at the next start"
traccia() { click "$FORM4" 3120 3360 1095 375; }
for _ in 1 2 3 4 5 6 7; do traccia && sleep 0.2; done
away && sleep 0.5
grab "$FORM4" "$WORK/ten-plots.png"
kill -KILL "$APP_PID" && wait "$APP_PID" 2>/dev/null
APP_PID=""
"$LUMETRA" >"$WORK/lumetra.log" 2>&1 & APP_PID=$!
open_window BOX '^LUMETRA$'
shot 17-bring-back
keys Return # "Sì"
open_window FORM4 '^Form4$' $MAXIMIZED
away
wait_until "the ten plots again" looks_like "$FORM4" "$WORK/ten-plots.png"
shot 18-brought-back
click "$FORM4" 960 1800 1695 615 # ESCI
PID=$APP_PID APP_PID=""
wait_until "the program to end" test ! -e "/proc/$PID"
[ -z "$(ls -A "$XDG_DATA_HOME"/*/*.journal 2>/dev/null)" ] || fail "the kept work outlived a normal end"
echo "end_to_end: PASS; screenshots in $OUT"
