# lib.sh -- what the end-to-end scripts share: a display of their own with a window manager
# (openbox, as a user's desktop has one), the program started in a scratch folder with a home of
# its own, waits on windows and pixels, screenshots, a quiet terminal checked at each program's
# end, and failure reports that keep the screenshots next to the test log.
#
# Usage: source lib.sh; e2e_init NAME TAVROLU_EXE RES_DIR XSELECTION_EXE; then steps.
# Coordinates are screen pixels throughout. A window's place and size are its client area's (the
# window manager's frame, title bar and borders, lies around it). Keys go to the window that has
# the focus: the window manager gives it to a window activated or newly opened.

set -euo pipefail

# Another `convert` may come first on PATH.
CONVERT=/usr/bin/convert
COMPARE=/usr/bin/compare
COMPOSITE=/usr/bin/composite
IMPORT=/usr/bin/import

# The machine is shared and slow: every wait is generous.
E2E_TIMEOUT=${E2E_TIMEOUT:-30}

# Every call to the X server has a deadline of its own: a server or a window that stops answering
# fails the step instead of hanging the test.
X_CALL_TIMEOUT=20
xdotool()
{
    timeout "$X_CALL_TIMEOUT" /usr/bin/xdotool "$@"
}

STEP=setup
APP_PID=
WAIT_DETAIL=
FAILED=
XVFB_PID=
WM_PID=
SHOT=

e2e_init()
{
    TEST_NAME=$1
    EXE=$2
    RES_DIR=$3
    XSELECTION=$4
    ARTIFACTS=$PWD
    SCRATCH=$(mktemp -d "${TMPDIR:-/tmp}/tavrolu-e2e.XXXXXX")
    trap e2e_cleanup EXIT
    WORK=$SCRATCH/work
    SHOTS=$SCRATCH/shots
    APP_LOG=$SCRATCH/app.log
    mkdir -p "$WORK" "$SHOTS" "$SCRATCH/home"
    cp "$RES_DIR/cor.mid" "$WORK/"
    # The user's own settings, desktop files and toolkit state are never touched.
    export HOME=$SCRATCH/home
    export XDG_CONFIG_HOME=$HOME/.config XDG_DATA_HOME=$HOME/.local/share
    export XDG_CACHE_HOME=$HOME/.cache XDG_RUNTIME_DIR=$SCRATCH
    export GSETTINGS_BACKEND=memory NO_AT_BRIDGE=1 LC_ALL=C.UTF-8
    rm -f "$ARTIFACTS/$TEST_NAME"-*.png "$ARTIFACTS/$TEST_NAME"-*.log
    START_SECONDS=$SECONDS
    start_display
}

e2e_cleanup()
{
    local status=$?
    if [ "$status" -ne 0 ] && [ -z "$FAILED" ]; then
        report_failure "a command of the script failed (status $status)"
    fi
    if [ -n "$APP_PID" ]; then
        if [ ! -e "$SCRATCH/app.rc" ] && [ -s "$SCRATCH/app.pid" ]; then
            local pid deadline=$((SECONDS + 10))
            pid=$(cat "$SCRATCH/app.pid")
            kill "$pid" 2>/dev/null || true
            # A program that does not end at the request is ended for good.
            while kill -0 "$pid" 2>/dev/null && ((SECONDS < deadline)); do
                sleep 0.2
            done
            kill -KILL "$pid" 2>/dev/null || true
        fi
        wait "$APP_PID" 2>/dev/null || true
    fi
    [ -z "$WM_PID" ] || kill "$WM_PID" 2>/dev/null || true
    [ -z "$WM_PID" ] || wait "$WM_PID" 2>/dev/null || true
    [ -z "$XVFB_PID" ] || kill "$XVFB_PID" 2>/dev/null || true
    [ -z "$XVFB_PID" ] || wait "$XVFB_PID" 2>/dev/null || true
    rm -rf "$SCRATCH"
    if [ "$status" -eq 0 ]; then
        echo "PASS $TEST_NAME ($((SECONDS - START_SECONDS)) s)"
    fi
}

# Xvfb picks a free display number itself and tells it through a descriptor: parallel tests never
# race for one.
start_display()
{
    Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp -noreset 3>"$SCRATCH/display" \
        2>"$SCRATCH/xvfb.log" &
    XVFB_PID=$!
    local deadline=$((SECONDS + E2E_TIMEOUT))
    until [ -s "$SCRATCH/display" ]; do
        kill -0 "$XVFB_PID" 2>/dev/null || fail "Xvfb did not start: $(cat "$SCRATCH/xvfb.log")"
        ((SECONDS < deadline)) || fail "Xvfb named no display within ${E2E_TIMEOUT} s"
        sleep 0.1
    done
    DISPLAY=":$(head -n1 "$SCRATCH/display")"
    export DISPLAY
    unset XAUTHORITY
    start_window_manager
}

# openbox with its default bindings: Alt + right drag resizes, a double click on a title bar
# maximizes and restores. It manages windows once it names itself on the root window.
start_window_manager()
{
    openbox --sm-disable >"$SCRATCH/openbox.log" 2>&1 &
    WM_PID=$!
    wm_ready()
    {
        kill -0 "$WM_PID" 2>/dev/null || fail "openbox did not start: $(cat "$SCRATCH/openbox.log")"
        timeout 10 xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id'
    }
    wait_until "the window manager" wm_ready
}

step()
{
    STEP=$1
    echo "[$((SECONDS - START_SECONDS)) s] step $STEP"
}

# Saves the screenshots of the failing step and a last one next to the test log, and says where.
report_failure()
{
    FAILED=1
    echo "FAIL $TEST_NAME, step $STEP: $*" >&2
    local saved=() f dest
    [ -z "${DISPLAY:-}" ] || timeout "$X_CALL_TIMEOUT" "$IMPORT" -window root "$SHOTS/$STEP--at-failure.png" 2>/dev/null || true
    for f in "$SHOTS/$STEP"--*.png; do
        [ -e "$f" ] || continue
        dest="$ARTIFACTS/$TEST_NAME-$(basename "$f" | sed 's/--/-/')"
        cp "$f" "$dest" && saved+=("$dest")
    done
    if [ -s "$APP_LOG" ]; then
        cp "$APP_LOG" "$ARTIFACTS/$TEST_NAME-app.log" && saved+=("$ARTIFACTS/$TEST_NAME-app.log")
        echo "--- last lines of the program's output:" >&2
        tail -n 20 "$APP_LOG" >&2
    fi
    for f in "${saved[@]}"; do
        echo "saved: $f" >&2
    done
}

fail()
{
    report_failure "$@"
    exit 1
}

# --- the program ---------------------------------------------------------------------------

# Starts the program in the working folder. A wrapper keeps its exit status, which a poll of the
# process id could not tell apart from a zombie.
start_app()
{
    rm -f "$SCRATCH/app.pid" "$SCRATCH/app.rc"
    touch "$APP_LOG"
    APP_LOG_FROM=$(($(wc -l <"$APP_LOG") + 1))
    (
        cd "$WORK"
        "$EXE" "$@" >>"$APP_LOG" 2>&1 &
        echo $! >"$SCRATCH/app.pid"
        status=0
        wait $! || status=$?
        echo "$status" >"$SCRATCH/app.rc"
    ) &
    APP_PID=$!
    wait_until "the program to start" test -s "$SCRATCH/app.pid"
}

app_running()
{
    [ ! -e "$SCRATCH/app.rc" ]
}

# Waits for the program to end and sets APP_STATUS. Extra arguments: a check run while waiting.
wait_for_exit()
{
    local deadline=$((SECONDS + E2E_TIMEOUT))
    while app_running || [ ! -s "$SCRATCH/app.rc" ]; do
        if [ $# -gt 0 ]; then "$@"; fi
        ((SECONDS < deadline)) || fail "the program did not end within ${E2E_TIMEOUT} s"
        sleep 0.2
    done
    wait "$APP_PID" 2>/dev/null || true
    APP_STATUS=$(cat "$SCRATCH/app.rc")
    APP_PID=
    terminal_quiet
}

# The toolkit's complaints on the terminal are a layout gone wrong (a window laid out at a size
# it cannot take, or a bar squeezed under its own borders): none in this run of the program.
terminal_quiet()
{
    local noise
    noise=$(tail -n +"$APP_LOG_FROM" "$APP_LOG" | grep -E 'Gtk-(CRITICAL|WARNING)|Invalid rectangle' | head -n 3) || true
    [ -z "$noise" ] || fail "the program wrote the toolkit's warnings: $noise"
}

# --- waiting -----------------------------------------------------------------------------------

# Runs a check until it succeeds; fails the test after the timeout, or at once if the program ends.
# A check may leave what it last saw in WAIT_DETAIL for the failure report.
wait_until()
{
    local what=$1
    shift
    local deadline=$((SECONDS + E2E_TIMEOUT))
    WAIT_DETAIL=
    until "$@"; do
        if [ -n "$APP_PID" ] && ! app_running; then
            fail "the program ended (status $(cat "$SCRATCH/app.rc")) while waiting for $what"
        fi
        ((SECONDS < deadline)) ||
            fail "timed out after ${E2E_TIMEOUT} s waiting for $what${WAIT_DETAIL:+ ($WAIT_DETAIL)}"
        sleep 0.2
    done
}

# --- windows -----------------------------------------------------------------------------------

# Visible windows whose title matches an extended regular expression, one id a line.
visible_windows()
{
    timeout 10 xdotool search --onlyvisible --name "$1" 2>/dev/null || true
}

# Sets WIN to the first visible window whose title matches.
window_shown()
{
    WIN=$(visible_windows "$1" | head -n1)
    [ -n "$WIN" ]
}

window_gone()
{
    [ -z "$(visible_windows "$1")" ]
}

# Fails the test if a window with a matching title is on screen.
refuse_window()
{
    local found
    found=$(visible_windows "$1" | head -n1)
    if [ -n "$found" ]; then
        fail "unexpected window \"$(xdotool getwindowname "$found")\" ($2)"
    fi
}

wait_for_window()
{
    wait_until "a window titled /$1/" window_shown "$1"
}

# Sets WX, WY, WW, WH to a window's client area: its place on the screen and its size. (Under a
# reparenting window manager `xdotool getwindowgeometry` adds the frame's offset twice.)
window_geometry()
{
    local line
    WX='' WY='' WW='' WH=''
    while read -r line; do
        case $line in
            "Absolute upper-left X:"*) WX=${line##* } ;;
            "Absolute upper-left Y:"*) WY=${line##* } ;;
            "Width:"*) WW=${line##* } ;;
            "Height:"*) WH=${line##* } ;;
        esac
    done < <(timeout 10 xwininfo -id "$1" 2>/dev/null)
    if [ -z "$WX" ] || [ -z "$WH" ]; then
        fail "no geometry for window $1"
    fi
}

# The window manager gives the window the focus; the pointer goes to (X, Y) over it.
focus_window()
{
    local id=$1 x=$2 y=$3
    xdotool mousemove "$x" "$y"
    timeout 10 xdotool windowactivate --sync "$id" 2>/dev/null ||
        timeout 10 xdotool windowfocus --sync "$id" || fail "window $id did not take the focus"
}

# --- screenshots and pixels ------------------------------------------------------------------

# Sets SHOT to a new screenshot of the whole screen, named after the step.
shot()
{
    SHOT=$SHOTS/$STEP--$1.png
    timeout "$X_CALL_TIMEOUT" "$IMPORT" -window root "$SHOT" || fail "no screenshot"
}

# crop SRC X Y W H DEST
crop()
{
    "$CONVERT" "$1" -crop "$4x$5+$2+$3" +repage "$6"
}

# Number of pixels that differ between two images of one size.
differing_pixels()
{
    local n
    n=$("$COMPARE" -metric AE "$1" "$2" null: 2>&1) || true
    printf '%.0f\n' "$n" 2>/dev/null || echo 999999
}

# region_equals SHOT X Y W H REFERENCE: the region shows exactly the reference's pixels.
region_equals()
{
    local cut=$SCRATCH/region.png
    crop "$1" "$2" "$3" "$4" "$5" "$cut"
    [ "$(differing_pixels "$cut" "$6")" -eq 0 ]
}

# region_shows_sprite SHOT X Y SPRITE: the sprite's opaque pixels are at (X, Y), whatever the
# ground around them.
region_shows_sprite()
{
    local cut=$SCRATCH/region.png over=$SCRATCH/over.png w h
    read -r w h < <("$CONVERT" "$4" -format '%w %h\n' info:)
    crop "$1" "$2" "$3" "$w" "$h" "$cut"
    "$COMPOSITE" "$4" "$cut" "$over"
    [ "$(differing_pixels "$over" "$cut")" -eq 0 ]
}

# The colour of one pixel, as ImageMagick names it.
pixel_at()
{
    "$CONVERT" "$1" -format "%[pixel:p{$2,$3}]" info:
}

# A region drawn and at rest: two screenshots in a row agree on it, and it is not one flat colour.
# Sets SHOT to the later one.
region_settled()
{
    local x=$1 y=$2 w=$3 h=$4 before=$SCRATCH/settle.png
    shot "${5:-settle}"
    crop "$SHOT" "$x" "$y" "$w" "$h" "$before"
    [ "$("$CONVERT" "$before" -format '%k' info:)" -gt 1 ] || return 1
    sleep 0.3
    shot "${5:-settle}"
    region_equals "$SHOT" "$x" "$y" "$w" "$h" "$before"
}

# A picture of W by H pixels covered with copies of a tile, starting at the tile's own corner.
tiled()
{
    "$CONVERT" -size "$2x$3" "tile:$1" "$4"
}

# map_origin WINDOW GROUND: sets VX, VY to the screen place of the map's top-left pixel, the first
# copy of the picture GROUND (a tile of the map's first cell) at the window's left edge, below the
# menu and the toolbar; false while it is not on screen.
map_origin()
{
    local strip=$SCRATCH/strip.png found
    window_geometry "$1"
    shot locate-view
    crop "$SHOT" "$WX" "$WY" 48 "$WH" "$strip"
    found=$("$COMPARE" -metric AE -dissimilarity-threshold 1 -subimage-search "$strip" "$2" \
        null: 2>&1) || true
    [[ $found =~ ^0\ @\ ([0-9]+),([0-9]+)$ ]] || return 1
    VX=$((WX + BASH_REMATCH[1]))
    VY=$((WY + BASH_REMATCH[2]))
}

# --- map files ---------------------------------------------------------------------------------

# A 32-bit integer as the map file stores it: four bytes, little-endian.
le32()
{
    local h
    printf -v h '%08x' $(($1 & 0xffffffff))
    printf "\\x${h:6:2}\\x${h:4:2}\\x${h:2:2}\\x${h:0:2}"
}

# One byte of the given value.
byte()
{
    local h
    printf -v h '%02x' "$1"
    printf "\\x$h"
}
