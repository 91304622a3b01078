#!/usr/bin/env bash
# registration_test.sh -- one plain start of the built program leaves the desktop knowing .tvr
# files as its document type and the program as their opener; each of its windows, dialogs and
# message boxes carries its icon.
source "$(dirname "$0")/desktop_lib.sh"
program=$1

start_display
start_window_manager
use_scratch_home
mkdir "$scratch/work" && cd "$scratch/work"
"$program" >"$scratch/tavrolu.log" 2>&1 &
pid=$!
started+=($pid)
watched=$pid

dialog=$(wait_window '^Nou Mapa$') || fail "no \"Nou Mapa\" at a plain start"
expect_eq "$(window_icons "$dialog")" "16 x 16, 32 x 32" "the icons of \"Nou Mapa\""
xdotool windowactivate --sync "$dialog" key Return
frame=$(wait_window '^Sin título - Tavrolu$') || fail "no main window after \"Nou Mapa\""
expect_eq "$(window_icons "$frame")" "16 x 16, 32 x 32" "the main window's icons"
# A game run on a map without a hero ends at once, with a message over the game window.
xdotool windowactivate --sync "$frame" key F1
play=$(wait_window '^Play$') || fail "no game window after F1"
message=$(wait_window '^JTKernel PANIK!$') || fail "no end message from a map without a hero"
expect_eq "$(window_icons "$play")" "16 x 16, 32 x 32" "the game window's icons"
expect_eq "$(window_icons "$message")" "16 x 16, 32 x 32" "the end message's icons"
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
