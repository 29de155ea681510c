#!/usr/bin/env bash
# The real program's four windows in a virtual X server with a window manager:
# real clicks at the controls' layout positions and real keys, checked on
# screenshots. Usage: run.sh PATH/TO/lumetra OUTPUT-FOLDER. Leaves a full-screen
# PNG per step in OUTPUT-FOLDER, form1.png ... form4.png with their frames, and
# plot.svg, the plot window's picture saved through its save dialog.
set -uo pipefail

[ $# -eq 2 ] || { echo "usage: $0 PATH/TO/lumetra OUTPUT-FOLDER" >&2; exit 2; }
LUMETRA=$1
OUT=$2
mkdir -p "$OUT"
rm -f "$OUT"/*.png
WORK=$(mktemp -d)
XVFB_PID="" WM_PID="" APP_PID=""

cleanup() {
    local pid
    for pid in "$APP_PID" "${PID:-}" "$WM_PID" "$XVFB_PID"; do
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

# wait_until SECONDS WHAT COMMAND...: polls COMMAND every 0.1 s.
wait_until() {
    local tries=$(($1 * 10)) what=$2
    shift 2
    until "$@"; do
        [ -z "$APP_PID" ] || kill -0 "$APP_PID" 2>/dev/null ||
            fail "the program ended while waiting for $what"
        tries=$((tries - 1))
        [ "$tries" -gt 0 ] || fail "timed out waiting for $what"
        sleep 0.1
    done
}

# Visible windows of the program whose title matches the regular expression.
windows_named() { xdotool search --all --onlyvisible --pid "$APP_PID" --name "$1" 2>/dev/null; }
window_shown() { [ -n "$(windows_named "$1")" ]; }
window_gone() { [ -z "$(windows_named "$1")" ]; }
is_active() { [ "$(xdotool getactivewindow 2>/dev/null)" = "$1" ]; }

# area WINDOW: sets X Y W H to the window's place on the screen.
area() {
    local info
    info=$(xwininfo -id "$1") || fail "no window $1"
    read -r X Y W H < <(awk '/Absolute upper-left X/{x=$4} /Absolute upper-left Y/{y=$4}
        /Width:/{w=$2} /Height:/{h=$2} END{print x, y, w, h}' <<<"$info")
}

# open_window VAR TITLE [WxH]: waits for the window TITLE (a regular expression)
# to be shown and active, checks its client size, and sets VAR to its id.
open_window() {
    wait_until 10 "a window titled '$2'" window_shown "$2"
    local id
    id=$(windows_named "$2" | head -n 1)
    wait_until 10 "'$2' to be active" is_active "$id"
    if [ -n "${3:-}" ]; then
        area "$id"
        [ "${W}x${H}" = "$3" ] || fail "'$2' has a client area of ${W}x${H}, expected $3"
    fi
    printf -v "$1" %s "$id"
}

# click WINDOW LEFT TOP WIDTH HEIGHT: clicks the middle of a control given in
# twips (15 to a pixel) from the window's client area.
click() {
    area "$1"
    xdotool mousemove --sync $((X + (2 * $2 + $4) / 30)) $((Y + (2 * $3 + $5) / 30)) click 1
}

keys() { xdotool key --delay 50 "$@"; }
type_text() { keys ctrl+a && xdotool type --delay 30 "$1"; } # into the focused text box

screen() { import -window root -depth 8 "$1" || fail "screenshot failed"; }
shot() { screen "$OUT/$1.png"; }

# grab WINDOW FILE: the window's client area from a new screenshot.
grab() {
    area "$1"
    screen "$WORK/screen.png"
    convert "$WORK/screen.png" -crop "${W}x${H}+${X}+${Y}" +repage "$2"
}

# keep_window WINDOW NAME: the window with its frame, as OUT/NAME.png.
keep_window() {
    grab "$(xwininfo -children -id "$1" | awk '/Parent window id/{print $4}')" "$OUT/$2.png"
}

# count_colour FILE RRGGBB [CROP]: the number of pixels of exactly that colour.
count_colour() {
    local n
    n=$(convert "$1" ${3:+-crop "$3" +repage} -format %c histogram:info:- |
        awk -v c="#$2" 'toupper($3) == c {gsub(":", "", $1); print $1}')
    echo "${n:-0}"
}

# count_dark FILE CROP: the number of pixels darker than mid-grey.
count_dark() {
    convert "$1" -crop "$2" +repage -colorspace Gray -threshold 50% -negate \
        -format '%[fx:round(mean*w*h)]' info:
}

# in_window WINDOW RRGGBB MORE-THAN [CROP]: grabs the window to $WORK/poll.png
# and finds more pixels of the colour there (in CROP) than MORE-THAN.
in_window() {
    grab "$1" "$WORK/poll.png"
    [ "$(count_colour "$WORK/poll.png" "$2" "${4:-}")" -gt "$3" ]
}

# axis FILE row|column AT FROM TO CENTRE2 WIDTH: along row (or column) AT from FROM
# to TO, one run of WIDTH black pixels centred within 1.5 px of CENTRE2 / 2.
axis() {
    local crop="$(($5 - $4 + 1))x1+$4+$3" at
    [ "$2" = row ] || crop="1x$(($5 - $4 + 1))+$3+$4"
    mapfile -t at < <(convert "$1" -crop "$crop" +repage txt:- |
        awk -F'[,:]' -v o="$4" '/#000000/ {print $1 + $2 + o}')
    [ "${#at[@]}" -eq "$7" ] || fail "$2 $3: black at ${at[*]:-nowhere}, expected $7 pixels"
    local centre2=$((at[0] + at[${#at[@]} - 1] + 1))
    [ $(((centre2 - $6) ** 2)) -le 9 ] || fail "$2 $3: axis at ${at[*]}, expected about $(($6 / 2))"
}

# differing FILE1 FILE2 [CROP]: the number of pixels that differ.
differing() {
    compare -metric AE ${3:+-extract "$3"} "$1" "$2" null: 2>&1 | cut -d' ' -f1
}

# looks_like WINDOW FILE: the window shows the picture of FILE, pixel for pixel.
looks_like() { grab "$1" "$WORK/look.png" && [ "$(differing "$2" "$WORK/look.png")" -eq 0 ]; }

maximized() { area "$1" && [ "${W}x${H}" = "$MAXIMIZED" ]; }
not_maximized() { ! maximized "$1"; }

# title_bar_double_click WINDOW: restores a maximized window, maximizes a restored one.
title_bar_double_click() {
    area "$1"
    xdotool mousemove --sync $((X + W / 2)) $((Y - 8)) click --repeat 2 --delay 80 1
}

# message_box NAME: a message box is up; a screenshot, then Return closes it.
message_box() {
    open_window BOX '^LUMETRA$'
    shot "$1"
    keys Return
    wait_until 10 "the message box to close" window_gone '^LUMETRA$'
}

GREEN=008000 # curve colour 2
CYAN=008080  # curve colour 3
RED4=800000  # colour 4: the calibration figure, and the third curve
MAGENTA=800080 # colour 5: the fourth curve
RED=FF0000   # a field that failed its check

# Xvfb picks a free display itself and writes its number to descriptor 3.
exec 3>"$WORK/display"
Xvfb -displayfd 3 -screen 0 1280x800x24 -nolisten tcp >"$WORK/xvfb.log" 2>&1 &
XVFB_PID=$!
exec 3>&-
wait_until 10 "Xvfb to start" test -s "$WORK/display"
DISPLAY=":$(head -n 1 "$WORK/display")"
export DISPLAY QT_QPA_PLATFORM=xcb LC_ALL=C.UTF-8
unset QT_SCALE_FACTOR QT_SCREEN_SCALE_FACTORS QT_SCALE_FACTOR_ROUNDING_POLICY
openbox >"$WORK/openbox.log" 2>&1 &
WM_PID=$!
wm_running() { xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id'; }
wait_until 10 "openbox to manage the screen" wm_running
"$LUMETRA" >"$WORK/lumetra.log" 2>&1 &
APP_PID=$!
MAXIMIZED=1280x781

step "1. title window"
open_window FORM1 '^Form1$' 778x487
sleep 0.3
[ "$(windows_named '' | wc -l)" -eq 1 ] || fail "more windows than the title window"
shot 01-title
keep_window "$FORM1" form1
grab "$FORM1" "$WORK/form1.png"
# OLE1 at 94,22 px: "PROGRAMMA: " from 40 px, baseline 13.7; line 4 from 0, baseline 68.
[ "$(count_dark "$WORK/form1.png" 200x14+134+24)" -gt 50 ] || fail "no title page line 1"
[ "$(count_dark "$WORK/form1.png" 300x14+94+78)" -gt 50 ] || fail "no title page line 4"
[ "$(count_dark "$WORK/form1.png" 561x230+94+100)" -eq 0 ] || fail "ink below the title page"

step "2. AVANTI opens the calibration window, OK - continua at 0.51 is refused"
click "$FORM1" 3600 5640 2895 855
open_window FORM2 '^Form2$' $MAXIMIZED
wait_until 10 "the red figure" in_window "$FORM2" $RED4 1000
shot 02-calibration
# 1-pixel axes: x at 93183.68/146367.36 of the width, y at half the height.
axis "$WORK/poll.png" row 700 790 840 $((2 * 1280 * 9318368 / 14636736)) 1
axis "$WORK/poll.png" column 1270 370 410 781 1
click "$FORM2" 3120 2880 1575 615
message_box 03-message
window_gone '^ $' || fail "the parameter window opened at 0.51"

step "2. the scroll bar steps to 0.55, OK - continua opens the parameter window"
# The focus is on "OK - continua"; back through Text1 to the bar.
wait_until 10 "the calibration window to be active" is_active "$FORM2"
keys shift+Tab shift+Tab Right
# At 0.55 the figure's top lies 38 px down, below the one for 0.51, which stays.
wait_until 10 "the figure for 0.55" in_window "$FORM2" $RED4 0 30x7+800+35
[ "$(count_colour "$WORK/poll.png" $RED4 30x7+800+7)" -gt 0 ] || fail "0.51's figure was cleared"
shot 04-calibrated
keep_window "$FORM2" form2
click "$FORM2" 3120 2880 1575 615
open_window FORM3 '^ $' $MAXIMIZED
sleep 0.3
shot 05-parameters
keep_window "$FORM3" form3

step "3. a bad length gives the message and a red field"
type_text abc # the focus starts in Text1
click "$FORM3" 5280 5640 1935 735
message_box 06-bad-value
window_gone '^Form4$' || fail "the plot window opened with a bad length"
# Text1 at 248,136 px, 49 x 33: cleared and red inside, right of the cursor.
wait_until 10 "Text1 to turn red" in_window "$FORM3" $RED 599 30x20+262+142
shot 07-red-field

step "3. a good length opens the plot window"
click "$FORM3" 3720 2040 735 495
type_text 86
click "$FORM3" 5280 5640 1935 735
open_window FORM4 '^Form4$' $MAXIMIZED
wait_until 10 "the first curve in colour 2" in_window "$FORM4" $GREEN 200
sleep 0.3
shot 08-plot
grab "$FORM4" "$WORK/form4.png"
# 2-pixel axes crossing at 260/500 of the width and half the height.
axis "$WORK/form4.png" row 700 640 690 $((2 * 1280 * 260 / 500)) 2
axis "$WORK/form4.png" column 10 370 410 781 2
[ "$(count_colour "$WORK/form4.png" $CYAN)" -eq 0 ] || fail "a second curve already"

step "4. RIPRENDI i dati, a new angle, AVANTI: both curves"
click "$FORM4" 960 720 1695 615
wait_until 10 "the parameter window to be active" is_active "$FORM3"
click "$FORM3" 3720 2880 735 495
type_text 30
click "$FORM3" 5280 5640 1935 735
wait_until 10 "the plot window to be active" is_active "$FORM4"
wait_until 10 "the second curve in colour 3" in_window "$FORM4" $CYAN 200
[ "$(count_colour "$WORK/poll.png" $GREEN)" -gt 200 ] || fail "the first curve is gone"
[ "$(count_colour "$WORK/poll.png" $RED4)" -eq 0 ] || fail "colour 4 before the third curve"
shot 09-two-curves

step "4. calibration window and back: a third curve at 0.51"
xdotool windowactivate --sync "$FORM2" && wait_until 10 "Form2 to be active" is_active "$FORM2"
sleep 0.3
xdotool windowactivate --sync "$FORM4" && wait_until 10 "Form4 to be active" is_active "$FORM4"
wait_until 10 "the third curve in colour 4" in_window "$FORM4" $RED4 200
[ "$(count_colour "$WORK/poll.png" $CYAN)" -gt 0 ] || fail "the second curve is gone"
sleep 0.3
shot 10-three-curves
keep_window "$FORM4" form4
grab "$FORM4" "$WORK/three-curves.png"

step "4. Ctrl+S saves the picture through the save dialog, as SVG by its name"
keys ctrl+s
open_window DIALOG '^Salva immagine$'
shot 10-save-dialog
type_text "$WORK/plot.svg" && keys Return
wait_until 10 "the dialog to close" window_gone '^Salva immagine$'
wait_until 10 "the saved picture" test -s "$WORK/plot.svg"
[ "$(grep -c '<circle' "$WORK/plot.svg")" -eq $((3 * 2 * 901)) ] || fail "not the three curves' dots"
cp "$WORK/plot.svg" "$OUT/plot.svg"
wait_until 10 "the plot window to be active" is_active "$FORM4"

step "4. a curve through the frame stays behind it and its check boxes"
click "$FORM4" 960 720 1695 615
wait_until 10 "the parameter window to be active" is_active "$FORM3"
click "$FORM3" 3720 2040 735 495
type_text 250
click "$FORM3" 3720 2880 735 495
type_text 165
click "$FORM3" 5280 5640 1935 735
wait_until 10 "the plot window to be active" is_active "$FORM4"
wait_until 10 "the fourth curve in colour 5" in_window "$FORM4" $MAGENTA 200
shot 11-through-the-frame
# Frame2 at 72,184 px, 225 x 113: as it was over the first curve, which missed it.
FRAME=225x113+72+184
[ "$(differing "$WORK/form4.png" "$WORK/poll.png" $FRAME)" -eq 0 ] ||
    fail "the curve shows through the frame"

step "4. restored down and maximized again, the picture is whole"
cp "$WORK/poll.png" "$WORK/maximized.png"
title_bar_double_click "$FORM4"
wait_until 10 "the plot window to be restored" not_maximized "$FORM4"
shot 12-restored
title_bar_double_click "$FORM4"
wait_until 10 "the plot window to be maximized" maximized "$FORM4"
sleep 0.3
grab "$FORM4" "$WORK/regrown.png"
[ "$(differing "$WORK/maximized.png" "$WORK/regrown.png")" -eq 0 ] ||
    fail "the picture changed through the shrink and regrow"

step "4. Ctrl+Z takes the fourth curve back, Ctrl+Y draws it again"
keys ctrl+z
wait_until 10 "the picture of three curves" looks_like "$FORM4" "$WORK/three-curves.png"
shot 13-undone
keys ctrl+y
wait_until 10 "the fourth curve again" looks_like "$FORM4" "$WORK/regrown.png"

step "5. ESCI ends the program"
click "$FORM4" 960 1800 1695 615
PID=$APP_PID
APP_PID="" # its end is awaited here, not a failure
ended() { ! kill -0 "$PID" 2>/dev/null; }
wait_until 10 "the program to end" ended
wait "$PID" || fail "the program ended with exit code $?"
echo "end_to_end: PASS; screenshots in $OUT"
