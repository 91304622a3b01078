# desktop_lib.sh -- shared by the desktop tests: a scratch home, an X display of their own,
# windows awaited by their exact titles, and everything started stopped again at the end.
set -Eeuo pipefail
trap 'fail "line $LINENO: $BASH_COMMAND"' ERR

scratch=$(mktemp -d "${TMPDIR:-/tmp}/tavrolu-desktop.XXXXXX")
started=()

cleanup()
{
    local pid
    for pid in "${started[@]}"; do
        kill "$pid" 2>/dev/null || true
    done
    wait 2>/dev/null || true
    rm -rf "$scratch"
}
trap cleanup EXIT

fail()
{
    echo "FAIL: $*" >&2
    local log
    for log in "$scratch"/*.log; do
        [ -s "$log" ] && { echo "--- $log" >&2; cat "$log" >&2; }
    done
    exit 1
}

# Xvfb picks a free display itself and names it: no race with tests running beside this one.
# Without -noreset the server resets whenever its last client leaves (each xdotool call), and a
# program connecting during the reset cannot open the display.
start_display()
{
    Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp -noreset 3>"$scratch/display" \
        >/dev/null 2>&1 &
    started+=($!)
    local i
    for i in $(seq 100); do
        grep -q '^[0-9]' "$scratch/display" 2>/dev/null && break
        sleep 0.1
    done
    grep -q '^[0-9]' "$scratch/display" || fail "Xvfb did not start"
    export DISPLAY=":$(head -1 "$scratch/display")"
    for i in $(seq 100); do
        xdpyinfo >/dev/null 2>&1 && return 0
        sleep 0.1
    done
    fail "Xvfb on $DISPLAY does not answer"
}

# openbox, as on a user's desktop; it manages windows once it names itself on the root window.
start_window_manager()
{
    openbox --sm-disable >"$scratch/openbox.log" 2>&1 &
    started+=($!)
    local i
    for i in $(seq 100); do
        xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id' && return 0
        sleep 0.1
    done
    fail "openbox did not start on $DISPLAY"
}

# The sizes of the icons a window carries for the window manager, e.g. "16 x 16, 32 x 32";
# empty when it carries none.
window_icons()
{
    { xprop -id "$1" _NET_WM_ICON | grep -o '[0-9]* x [0-9]*' || true; } | sort | paste -sd, - \
        | sed 's/,/, /g'
}

# The user's folders all in the scratch home; the system's own MIME database stays visible.
use_scratch_home()
{
    export HOME="$scratch/home"
    export XDG_DATA_HOME="$HOME/.local/share" XDG_CONFIG_HOME="$HOME/.config"
    export XDG_CACHE_HOME="$HOME/.cache" XDG_RUNTIME_DIR="$scratch/run"
    export XDG_DATA_DIRS=/usr/share XDG_CONFIG_DIRS=/etc/xdg
    unset XDG_CURRENT_DESKTOP
    mkdir -p "$HOME" && mkdir -m 700 "$XDG_RUNTIME_DIR"
}

# Prints the id of the visible window whose title matches; fails after the given seconds, or at
# once when the process $watched (if set) has ended.
watched=""
wait_window()
{
    local title=$1 end=$((SECONDS + ${2:-30})) id
    while [ $SECONDS -lt $end ]; do
        id=$(xdotool search --onlyvisible --name "$title" 2>/dev/null | head -1) || true
        [ -n "$id" ] && { echo "$id"; return 0; }
        if [ -n "$watched" ] && ! kill -0 "$watched" 2>/dev/null; then
            return 1
        fi
        sleep 0.1
    done
    return 1
}

# A map of one walkable cell of tile 0 and no sprites.
write_map()
{
    {
        printf '\1\0\0\0\1\0\0\0\0'
        head -c 256 /dev/zero | tr '\0' '\1'
        printf '\377\377\377\377'
    } >"$1"
}

# The MIME type a desktop gives the file (GNOME's query, which reads the shared MIME database).
file_type()
{
    XDG_CURRENT_DESKTOP=GNOME xdg-mime query filetype "$1"
}

# Waits until the command prints the expected text (the desktop's tools run in the background,
# after the program's window is up); fails after 30 s, naming what it last printed.
eventually_eq() # EXPECTED WHAT COMMAND...
{
    local expected=$1 what=$2 got end=$((SECONDS + 30))
    shift 2
    until got=$("$@" 2>/dev/null) && [ "$got" = "$expected" ]; do
        [ $SECONDS -lt $end ] || fail "$what: got '$got', expected '$expected'"
        sleep 0.2
    done
}

expect_eq()
{
    [ "$1" = "$2" ] || fail "$3: got '$1', expected '$2'"
}
