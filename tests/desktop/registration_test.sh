#!/usr/bin/env bash
# registration_test.sh -- one plain start of the built program leaves the desktop knowing .tvr
# files as its document type and the program as their opener; its main window has its icon.
source "$(dirname "$0")/desktop_lib.sh"
program=$1

start_display
use_scratch_home
mkdir "$scratch/work" && cd "$scratch/work"
"$program" >"$scratch/tavrolu.log" 2>&1 &
pid=$!
started+=($pid)
watched=$pid

dialog=$(wait_window '^Nou Mapa$') || fail "no \"Nou Mapa\" at a plain start"
xdotool windowfocus --sync "$dialog" key Return
frame=$(wait_window '^Sin título - Tavrolu$') || fail "no main window after \"Nou Mapa\""

icons=$(xprop -id "$frame" _NET_WM_ICON | grep -o 'Icon ([0-9]* x [0-9]*)' | sort | tr '\n' ' ')
expect_eq "$icons" "Icon (16 x 16) Icon (32 x 32) " "the main window's icons"
kill "$pid"
wait "$pid" 2>/dev/null || true

write_map x.tvr
eventually_eq application/x-tavrolu.document "the type of x.tvr" file_type x.tvr
eventually_eq tavrolu.desktop "the opener of the type" \
    xdg-mime query default application/x-tavrolu.document
desktop-file-validate "$XDG_DATA_HOME/applications/tavrolu.desktop" >"$scratch/validate.log" \
    || fail "the registered desktop entry is not valid"
if [ -s "$scratch/validate.log" ]; then fail "the registered desktop entry draws remarks"; fi
echo "PASS"
