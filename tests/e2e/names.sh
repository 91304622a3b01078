#!/usr/bin/env bash
# names.sh -- names on the real program's command line as GTK leaves them: "--" before a name that
# looks like an option, and a name that is not UTF-8, opened without a word on the terminal and
# titled as the desktop shows it.
# Usage: names.sh TAVROLU_EXE RES_DIR XSELECTION_EXE
source "$(dirname "$0")/lib.sh"
e2e_init e2e_names "$@"

# A 1 by 1 map of tile 0, all walkable, with no sprites.
write_map() # PATH
{
    {
        printf '\x01\x00\x00\x00\x01\x00\x00\x00\x00'
        head -c 256 /dev/zero | tr '\0' '\1'
        printf '\xff\xff\xff\xff'
    } >"$1"
}

quit_from_menu()
{
    window_geometry "$WIN"
    focus_window "$WIN" $((WX + WW / 2)) $((WY + WH / 2))
    xdotool key alt+a
    wait_for_window '^tavrolu$'
    xdotool key e
    wait_for_exit
    [ "$APP_STATUS" -eq 0 ] || fail "Eixir ended the program with status $APP_STATUS"
}

# A title that only _NET_WM_NAME can hold (U+FFFD), which a search by name misses.
titled() # TITLE
{
    local w
    WIN=
    for w in $(timeout 10 xdotool search --onlyvisible --class tavrolu 2>/dev/null); do
        [ "$(xdotool getwindowname "$w" 2>/dev/null)" != "$1" ] || WIN=$w
    done
    [ -n "$WIN" ]
}

step 1-double-dash
write_map "$WORK/-x.tvr"
write_map "$WORK/--"
start_app -- -x.tvr
wait_until 'a window titled "-x.tvr - Tavrolu"' titled "-x.tvr - Tavrolu"
refuse_window '^(Nou Mapa|Tavrolu)$' "the map after -- opens at once"
quit_from_menu

step 2-name-not-utf8
write_map "$WORK/$(printf 'm\340p.tvr')"
start_app "$(printf 'm\340p.tvr')"
wait_until "a window titled \"m\uFFFDp.tvr - Tavrolu\"" titled "m$(printf '\uFFFD')p.tvr - Tavrolu"
quit_from_menu
if grep -F "couldn't be converted" "$APP_LOG"; then
    fail "the toolkit's warning about the name reached the terminal"
fi
