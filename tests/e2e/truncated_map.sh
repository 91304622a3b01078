#!/usr/bin/env bash
# truncated_map.sh -- a map cut short, named on the command line: the program says so in its own
# message box and ends without ever showing its main window.
# Usage: truncated_map.sh TAVROLU_EXE RES_DIR XSELECTION_EXE
source "$(dirname "$0")/lib.sh"
e2e_init e2e_truncated_map "$@"

step 7-truncated-map
# A 2 by 1 map of tiles 5 and 7, all walkable, then a hen's record that ends after its x.
{
    printf '\x02\x00\x00\x00\x01\x00\x00\x00\x05\x07'
    for ((i = 0; i < 256; i++)); do printf '\x01'; done
    printf '\x01\x00\x00\x00\x20\x00\x00\x00'
} >"$WORK/cut.tvr"

no_main_window()
{
    refuse_window ' - Tavrolu$' "a map that cannot be read leaves no main window"
    refuse_window '^Nou Mapa$' "a map named on the command line never asks for a new one"
}
box_without_main()
{
    no_main_window
    window_shown '^Tavrolu$'
}

start_app "$WORK/cut.tvr"
wait_until "a message box titled \"Tavrolu\"" box_without_main
BOX=$WIN
shot message
window_geometry "$BOX"
focus_window "$BOX" $((WX + WW / 2)) $((WY + 10))
# Tab focuses the label, which selects its text: the selection is read back exactly.
xdotool key Tab
EXPECTED='Formato de archivo no esperado.'
message_text()
{
    local text
    text=$(timeout "$X_CALL_TIMEOUT" "$XSELECTION" 2>/dev/null) || true
    WAIT_DETAIL="the selection held \"$text\""
    [ "$text" = "$EXPECTED" ]
}
wait_until "the text \"$EXPECTED\" in the message box" message_text
xdotool key Return
wait_for_exit no_main_window
[ "$APP_STATUS" -ne 0 ] || fail "the program ended with status 0 after a failed start"
window_gone '.' || fail "windows left on screen: $(visible_windows '.' | tr '\n' ' ')"
