#!/usr/bin/env bash
# End-to-end walk through the four windows of the real program in a virtual X
# server with a window manager: real mouse clicks at the controls' positions
# (computed from each window's client area and the layouts' twips) and real
# key presses, checked on screenshots.
#
# Usage: run.sh PATH/TO/lumetra OUTPUT-FOLDER
# Leaves one full-screen PNG per step in OUTPUT-FOLDER, and form1.png ...
# form4.png, each cropped to its window with its frame.
set -uo pipefail

if [ $# -ne 2 ]; then
    echo "usage: $0 PATH/TO/lumetra OUTPUT-FOLDER" >&2
    exit 2
fi
LUMETRA=$1
OUT=$2
mkdir -p "$OUT"
rm -f "$OUT"/*.png
WORK=$(mktemp -d)

XVFB_PID=""
WM_PID=""
APP_PID=""

cleanup() {
    local pid
    for pid in "$APP_PID" "$WM_PID" "$XVFB_PID"; do
        if [ -n "$pid" ] && kill -0 "$pid" 2>/dev/null; then
            kill "$pid" 2>/dev/null
            wait "$pid" 2>/dev/null
        fi
    done
    rm -rf "$WORK"
}
trap cleanup EXIT

STEP="start-up"
fail() {
    echo "end_to_end: FAIL at step '$STEP': $*" >&2
    if [ -n "$XVFB_PID" ] && kill -0 "$XVFB_PID" 2>/dev/null; then
        import -window root -depth 8 "$OUT/failure.png" 2>/dev/null &&
            echo "end_to_end: screen at the failure: $OUT/failure.png" >&2
    fi
    exit 1
}

step() {
    STEP=$1
    echo "end_to_end: $STEP"
}

for tool in Xvfb openbox xdotool xwininfo xprop import convert; do
    command -v "$tool" >/dev/null || fail "$tool is not installed"
done
[ -x "$LUMETRA" ] || fail "no program at $LUMETRA"

# wait_until SECONDS DESCRIPTION COMMAND...: polls COMMAND every 0.1 s.
wait_until() {
    local seconds=$1 what=$2
    shift 2
    local tries=$((seconds * 10))
    while [ "$tries" -gt 0 ]; do
        if "$@"; then
            return 0
        fi
        if [ -n "$APP_PID" ] && ! kill -0 "$APP_PID" 2>/dev/null; then
            fail "the program ended while waiting for: $what"
        fi
        sleep 0.1
        tries=$((tries - 1))
    done
    fail "timed out after ${seconds} s waiting for: $what"
}

# --- The virtual screen, a window manager and the program -------------------

step "starting Xvfb and openbox"
# Xvfb picks a free display itself and writes its number to the descriptor.
exec 3>"$WORK/display"
Xvfb -displayfd 3 -screen 0 1280x800x24 -nolisten tcp >"$WORK/xvfb.log" 2>&1 &
XVFB_PID=$!
exec 3>&-
display_written() { [ -s "$WORK/display" ]; }
wait_until 10 "Xvfb to start" display_written
DISPLAY=":$(head -n 1 "$WORK/display")"
export DISPLAY
unset QT_SCALE_FACTOR QT_SCREEN_SCALE_FACTORS QT_SCALE_FACTOR_ROUNDING_POLICY
export QT_QPA_PLATFORM=xcb LC_ALL=C.UTF-8

openbox >"$WORK/openbox.log" 2>&1 &
WM_PID=$!
window_manager_running() { xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id'; }
wait_until 10 "openbox to manage the screen" window_manager_running

"$LUMETRA" >"$WORK/lumetra.log" 2>&1 &
APP_PID=$!

# --- Windows, geometry, input ----------------------------------------------

# Visible windows of the program whose title matches the regular expression.
windows_named() {
    xdotool search --all --onlyvisible --pid "$APP_PID" --name "$1" 2>/dev/null
}
program_windows() {
    windows_named '' | wc -l
}
window_shown() { [ -n "$(windows_named "$1")" ]; }
window_gone() { [ -z "$(windows_named "$1")" ]; }
window_id() {
    wait_until 10 "a window titled '$1'" window_shown "$1"
    windows_named "$1" | head -n 1
}
is_active() { [ "$(xdotool getactivewindow 2>/dev/null)" = "$1" ]; }

# Client area of a window: sets CX CY CW CH (screen pixels).
client_area() {
    local info
    info=$(xwininfo -id "$1") || fail "no window $1"
    CX=$(awk '/Absolute upper-left X/{print $4}' <<<"$info")
    CY=$(awk '/Absolute upper-left Y/{print $4}' <<<"$info")
    CW=$(awk '/Width:/{print $2}' <<<"$info")
    CH=$(awk '/Height:/{print $2}' <<<"$info")
}

# The window-manager frame around a window: sets FX FY FW FH.
frame_area() {
    local parent info
    parent=$(xwininfo -children -id "$1" | awk '/Parent window id/{print $4}')
    info=$(xwininfo -id "$parent") || fail "no frame for window $1"
    FX=$(awk '/Absolute upper-left X/{print $4}' <<<"$info")
    FY=$(awk '/Absolute upper-left Y/{print $4}' <<<"$info")
    FW=$(awk '/Width:/{print $2}' <<<"$info")
    FH=$(awk '/Height:/{print $2}' <<<"$info")
}

# click_control WINDOW LEFT TOP WIDTH HEIGHT: a left click in the middle of a
# control whose layout rectangle is given in twips (15 to a pixel) from the
# window's client area.
click_control() {
    client_area "$1"
    local x=$((CX + (2 * $2 + $4) / 30)) y=$((CY + (2 * $3 + $5) / 30))
    xdotool mousemove --sync "$x" "$y" click 1
}

keys() {
    xdotool key --delay 50 "$@"
}

# Replaces the text of the focused text box.
type_text() {
    keys ctrl+a
    xdotool type --delay 30 "$1"
}

# --- Screenshots and pixels --------------------------------------------------

# shot NAME: the whole screen, kept as OUT/NAME.png.
shot() {
    import -window root -depth 8 "$OUT/$1.png" || fail "screenshot $1 failed"
}

# client_shot WINDOW FILE: the window's client area from a new screenshot.
client_shot() {
    client_area "$1"
    import -window root -depth 8 "$WORK/screen.png" || fail "screenshot failed"
    convert "$WORK/screen.png" -crop "${CW}x${CH}+${CX}+${CY}" +repage "$2"
}

# keep_window WINDOW NAME: the window with its frame, as OUT/NAME.png.
keep_window() {
    frame_area "$1"
    import -window root -depth 8 "$WORK/screen.png" || fail "screenshot failed"
    convert "$WORK/screen.png" -crop "${FW}x${FH}+${FX}+${FY}" +repage "$OUT/$2.png"
}

# Number of pixels of exactly the colour RRGGBB in FILE (optionally a crop).
count_colour() {
    local file=$1 colour=$2 crop=${3:-}
    local n
    if [ -n "$crop" ]; then
        n=$(convert "$file" -crop "$crop" +repage -format %c histogram:info:- |
            awk -v c="#$colour" 'toupper($3) == c {gsub(":", "", $1); print $1}')
    else
        n=$(convert "$file" -format %c histogram:info:- |
            awk -v c="#$colour" 'toupper($3) == c {gsub(":", "", $1); print $1}')
    fi
    echo "${n:-0}"
}

# Number of dark pixels (grey level below one half) in a crop of FILE.
count_dark() {
    convert "$1" -crop "$2" +repage -colorspace Gray -threshold 50% -negate \
        -format '%[fx:round(mean*w*h)]' info:
}

pixel() {
    convert "$1" -format "%[hex:p{$2,$3}]" info:
}

# Columns of black pixels along row Y of FILE between X0 and X1.
black_columns() {
    convert "$1" -crop "$(($3 - $2 + 1))x1+$2+$4" +repage txt:- |
        awk -v x0="$2" -F'[,:]' '/#000000/ {print $1 + x0}'
}

# Rows of black pixels down column X of FILE between Y0 and Y1.
black_rows() {
    convert "$1" -crop "1x$(($3 - $2 + 1))+$4+$2" +repage txt:- |
        awk -v y0="$2" -F'[,:]' '/#000000/ {print $2 + y0}'
}

colour_in_window() {
    client_shot "$1" "$WORK/poll.png"
    [ "$(count_colour "$WORK/poll.png" "$2")" -gt "${3:-0}" ]
}

# expect_vertical_axis FILE Y X0 X1 CENTRE2 WIDTH: a vertical axis WIDTH
# pixels wide found along row Y between X0 and X1, centred within 1.5 pixels
# of CENTRE2 / 2 (doubled to keep to integers).
expect_vertical_axis() {
    local columns count first last
    columns=$(black_columns "$1" "$3" "$4" "$2")
    count=$(wc -w <<<"$columns")
    [ "$count" -eq "$6" ] || fail "vertical axis: $count black columns at y=$2 (${columns//$'\n'/ }), expected $6"
    first=$(head -n 1 <<<"$columns")
    last=$(tail -n 1 <<<"$columns")
    local centre2=$((first + last + 1))
    if [ $((centre2 - $5)) -gt 3 ] || [ $(($5 - centre2)) -gt 3 ]; then
        fail "vertical axis at columns $first..$last, expected about $(($5 / 2))"
    fi
}

# expect_horizontal_axis FILE X Y0 Y1 CENTRE2 WIDTH: the same down column X.
expect_horizontal_axis() {
    local rows count first last
    rows=$(black_rows "$1" "$3" "$4" "$2")
    count=$(wc -w <<<"$rows")
    [ "$count" -eq "$6" ] || fail "horizontal axis: $count black rows at x=$2 (${rows//$'\n'/ }), expected $6"
    first=$(head -n 1 <<<"$rows")
    last=$(tail -n 1 <<<"$rows")
    local centre2=$((first + last + 1))
    if [ $((centre2 - $5)) -gt 3 ] || [ $(($5 - centre2)) -gt 3 ]; then
        fail "horizontal axis at rows $first..$last, expected about $(($5 / 2))"
    fi
}

# Palette colours of the program.
QB_GREEN=008000 # curve colour 2
QB_CYAN=008080  # curve colour 3
QB_RED=800000   # colour 4: the calibration figure, and the third curve
RED=FF0000      # a field that failed its check

# --- 1. The title window ----------------------------------------------------

step "1. title window"
FORM1=$(window_id '^Form1$') || exit 1
wait_until 10 "the title window to be active" is_active "$FORM1"
sleep 0.3
[ "$(program_windows)" -eq 1 ] || fail "expected the title window alone, found $(program_windows) windows"
client_area "$FORM1"
[ "${CW}x${CH}" = "778x487" ] || fail "title window client area ${CW}x${CH}, expected 778x487"
shot 01-title
keep_window "$FORM1" form1
client_shot "$FORM1" "$WORK/form1.png"
# The title page (OLE1 at 1410,330 twips = 94,22 px): "PROGRAMMA: " from 40 px
# with its baseline at 13.7 px, line 4 from the left edge at 68 px.
[ "$(count_dark "$WORK/form1.png" 200x14+134+24)" -gt 50 ] || fail "no title page line 1"
[ "$(count_dark "$WORK/form1.png" 300x14+94+78)" -gt 50 ] || fail "no title page line 4"
[ "$(count_dark "$WORK/form1.png" 561x230+94+100)" -eq 0 ] || fail "ink below the title page's two lines"

# --- 2. Calibration window --------------------------------------------------

step "2. AVANTI opens the calibration window"
click_control "$FORM1" 3600 5640 2895 855
FORM2=$(window_id '^Form2$') || exit 1
wait_until 10 "the calibration window to be active" is_active "$FORM2"
client_area "$FORM2"
[ "${CW}x${CH}" = "1280x781" ] || fail "calibration window client area ${CW}x${CH}, expected maximized 1280x781"
wait_until 10 "the red figure" colour_in_window "$FORM2" "$QB_RED" 1000
shot 02-calibration
cp "$WORK/poll.png" "$WORK/form2-first.png"
# Axes in the foreground colour, 1 pixel wide: x at 93183.68/146367.36 of the
# width, y at half the height.
expect_vertical_axis "$WORK/form2-first.png" 700 790 840 $((2 * 1280 * 9318368 / 14636736)) 1
expect_horizontal_axis "$WORK/form2-first.png" 1270 370 410 781 1
[ "$(program_windows)" -eq 2 ] || fail "expected two windows, found $(program_windows)"

step "2. OK - continua at 0.51 gives the message"
click_control "$FORM2" 3120 2880 1575 615
BOX=$(window_id '^LUMETRA$') || exit 1
wait_until 10 "the message box to be active" is_active "$BOX"
shot 03-message
window_gone '^ $' || fail "the parameter window opened at 0.51"
keys Return
wait_until 10 "the message box to close" window_gone '^LUMETRA$'
window_gone '^ $' || fail "the parameter window opened after the message"

step "2. the scroll bar stepped to 0.55"
# The click left the focus on "OK - continua"; back through Text1 to the bar.
wait_until 10 "the calibration window to be active again" is_active "$FORM2"
keys shift+Tab shift+Tab Right
# At 0.55 the figure's top lies 390.5 - 352.8 = 38 px down, below the first one.
figure_at_055() {
    client_shot "$FORM2" "$WORK/form2-055.png"
    [ "$(count_colour "$WORK/form2-055.png" "$QB_RED" 30x7+800+35)" -gt 0 ]
}
wait_until 10 "the figure for 0.55" figure_at_055
[ "$(count_colour "$WORK/form2-055.png" "$QB_RED" 30x7+800+7)" -gt 0 ] ||
    fail "the figure for 0.51 was cleared by a larger factor"
shot 04-calibrated
keep_window "$FORM2" form2

step "2. OK - continua at 0.55 opens the parameter window"
click_control "$FORM2" 3120 2880 1575 615
FORM3=$(window_id '^ $') || exit 1
wait_until 10 "the parameter window to be active" is_active "$FORM3"
client_area "$FORM3"
[ "${CW}x${CH}" = "1280x781" ] || fail "parameter window client area ${CW}x${CH}, expected 1280x781"
sleep 0.3
shot 05-parameters
keep_window "$FORM3" form3

# --- 3. Parameters: a bad value, then a good one ------------------------------

step "3. a bad length gives the message and a red field"
# The focus starts in Text1.
type_text abc
click_control "$FORM3" 5280 5640 1935 735
BOX=$(window_id '^LUMETRA$') || exit 1
wait_until 10 "the message box to be active" is_active "$BOX"
shot 06-bad-value
keys Return
wait_until 10 "the message box to close" window_gone '^LUMETRA$'
window_gone '^Form4$' || fail "the plot window opened with a bad length"
# Text1 at 3720,2040 twips, 49 x 33 px: cleared and red inside.
text1_red() {
    client_shot "$FORM3" "$WORK/form3-red.png"
    [ "$(pixel "$WORK/form3-red.png" 262 150)" = "$RED" ] &&
        [ "$(pixel "$WORK/form3-red.png" 285 160)" = "$RED" ]
}
wait_until 10 "Text1 to turn red" text1_red
shot 07-red-field

step "3. a good length opens the plot window"
click_control "$FORM3" 3720 2040 735 495
type_text 86
click_control "$FORM3" 5280 5640 1935 735
FORM4=$(window_id '^Form4$') || exit 1
wait_until 10 "the plot window to be active" is_active "$FORM4"
client_area "$FORM4"
[ "${CW}x${CH}" = "1280x781" ] || fail "plot window client area ${CW}x${CH}, expected 1280x781"
wait_until 10 "the first curve in colour 2" colour_in_window "$FORM4" "$QB_GREEN" 200
sleep 0.3
shot 08-plot
client_shot "$FORM4" "$WORK/form4-first.png"
# Axes 2 pixels wide crossing at x = 260/500 of the width and half the height.
expect_vertical_axis "$WORK/form4-first.png" 700 640 690 $((2 * 1280 * 260 / 500)) 2
expect_horizontal_axis "$WORK/form4-first.png" 10 370 410 781 2
[ "$(count_colour "$WORK/form4-first.png" "$QB_CYAN")" -eq 0 ] || fail "a second curve already"

# --- 4. Back to the parameters, and a trip to the calibration window ----------

step "4. RIPRENDI i dati, a new angle, AVANTI: both curves"
click_control "$FORM4" 960 720 1695 615
wait_until 10 "the parameter window to be active" is_active "$FORM3"
click_control "$FORM3" 3720 2880 735 495
type_text 30
click_control "$FORM3" 5280 5640 1935 735
wait_until 10 "the plot window to be active" is_active "$FORM4"
wait_until 10 "the second curve in colour 3" colour_in_window "$FORM4" "$QB_CYAN" 200
[ "$(count_colour "$WORK/poll.png" "$QB_GREEN")" -gt 200 ] || fail "the first curve is gone"
shot 09-two-curves

step "4. calibration window and back: one more curve at 0.51"
[ "$(count_colour "$WORK/poll.png" "$QB_RED")" -eq 0 ] || fail "colour 4 before the third curve"
xdotool windowactivate --sync "$FORM2"
wait_until 10 "the calibration window to be active" is_active "$FORM2"
sleep 0.3
xdotool windowactivate --sync "$FORM4"
wait_until 10 "the plot window to be active" is_active "$FORM4"
wait_until 10 "the third curve in colour 4" colour_in_window "$FORM4" "$QB_RED" 200
[ "$(count_colour "$WORK/poll.png" "$QB_CYAN")" -gt 0 ] || fail "the second curve is gone"
sleep 0.3
shot 10-three-curves
keep_window "$FORM4" form4

# --- 5. ESCI ------------------------------------------------------------------

step "5. ESCI ends the program"
click_control "$FORM4" 960 1800 1695 615
ended() { ! kill -0 "$APP_PID" 2>/dev/null; }
tries=100
while [ "$tries" -gt 0 ] && ! ended; do
    sleep 0.1
    tries=$((tries - 1))
done
ended || fail "the program is still running 10 s after ESCI"
wait "$APP_PID"
status=$?
APP_PID=""
[ "$status" -eq 0 ] || fail "the program ended with exit code $status"

echo "end_to_end: PASS; screenshots in $OUT"
