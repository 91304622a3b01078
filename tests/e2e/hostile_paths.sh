#!/usr/bin/env bash
# hostile_paths.sh -- the real program against FIFOs, devices, a file-size limit, links, a
# read-only map checked as an unprivileged user, settings and data folders it cannot write, a
# closed standard error, and memory, open-file and process limits below and above its needs: a
# message in the framework's words, a refused start with its reason, or nothing, and never a
# hang, a kill or a replaced node.
# Usage: hostile_paths.sh TAVROLU_EXE RES_DIR XSELECTION_EXE
source "$(dirname "$0")/lib.sh"
e2e_init e2e_hostile_paths "$@"
PROGRAM=$EXE

# A little-endian 32-bit integer, as printf %b escapes.
int32()
{
    printf '\\x%02x\\x%02x\\x%02x\\x%02x' $(($1 & 255)) $(($1 >> 8 & 255)) $(($1 >> 16 & 255)) \
        $(($1 >> 24 & 255))
}

# A W by H map of tile 0, all walkable, the hero at (40, 40), then HENS hens in rows.
write_map() # PATH W H HENS
{
    local i sprites
    sprites="$(int32 0)$(int32 40)$(int32 40)"
    for ((i = 0; i < $4; i++)); do
        sprites+="$(int32 1)$(int32 $((i % 40 * 24)))$(int32 $((80 + i / 40 * 24)))"
    done
    {
        printf '%b' "$(int32 "$2")$(int32 "$3")"
        head -c $(($2 * $3)) /dev/zero
        head -c 256 /dev/zero | tr '\0' '\1'
        printf '%b' "$sprites$(int32 -1)"
    } >"$1"
}

# The message box "Tavrolu" says exactly EXPECTED; Return closes it.
message_says() # EXPECTED
{
    EXPECTED=$1
    wait_for_window '^Tavrolu$'
    local box=$WIN
    shot message
    window_geometry "$box"
    focus_window "$box" $((WX + WW / 2)) $((WY + 10))
    # Tab focuses the label, which selects its text: the selection is read back exactly.
    xdotool key Tab
    wait_until "the text \"$EXPECTED\" in the message box" message_text
    xdotool key Return
    wait_until "the message box to close" window_gone '^Tavrolu$'
}
message_text()
{
    local text
    text=$(timeout "$X_CALL_TIMEOUT" "$XSELECTION" 2>/dev/null) || true
    WAIT_DETAIL="the selection held \"$text\""
    [ "$text" = "$EXPECTED" ]
}

main_window() # TITLE_RE: sets MAIN and focuses it
{
    wait_for_window "$1"
    MAIN=$WIN
    window_geometry "$MAIN"
    focus_window "$MAIN" $((WX + WW / 2)) $((WY + WH / 2))
}

# F1 runs the game: its window shows (the tune opened, the backup written or refused), Esc ends it.
play_and_back() # MAIN_TITLE_RE
{
    xdotool key F1
    wait_for_window '^Play$'
    window_geometry "$WIN"
    focus_window "$WIN" $((WX + WW / 2)) $((WY + WH / 2))
    xdotool key Escape
    main_window "$1"
}

quit_from_menu()
{
    xdotool key alt+a
    wait_for_window '^tavrolu$'
    xdotool key e
    wait_for_exit
    [ "$APP_STATUS" -eq 0 ] || fail "Eixir ended the program with status $APP_STATUS"
}

# The program as another user runs it: a copy in the scratch folder, which that user can reach
# wherever the build lies (a clone in /root, in a 0700 folder). Sets OTHERS_PROGRAM.
program_for_others()
{
    OTHERS_PROGRAM=$SCRATCH/bin/tavrolu
    chmod 755 "$SCRATCH"
    if [ ! -x "$OTHERS_PROGRAM" ]; then
        mkdir -p -m 755 "$SCRATCH/bin"
        cp "$PROGRAM" "$OTHERS_PROGRAM"
        chmod 755 "$OTHERS_PROGRAM"
    fi
}

# Starts the program on MAP as the map's owner, a user other than root when the tests run as root
# (root may write any file, so rights would test nothing).
start_as_owner() # MAP
{
    if [ "$(id -u)" -ne 0 ]; then
        start_app "$1"
        return
    fi
    program_for_others
    chown 65534:65534 "$1"
    EXE=setpriv
    start_app --reuid=65534 --regid=65534 --clear-groups "$OTHERS_PROGRAM" "$1"
    EXE=$PROGRAM
}

# A user id that no process has (the process limit counts every task of a user on the machine,
# and other programs run as nobody), picked at random in 60000-64999, away from other suites.
free_uid()
{
    local used uid tries
    used=$(awk '/^Uid:/ { print $2 }' /proc/[0-9]*/status 2>/dev/null | sort -u)
    for ((tries = 0; tries < 5000; tries++)); do
        uid=$((60000 + (RANDOM + tries) % 5000))
        grep -qx "$uid" <<<"$used" || { echo "$uid"; return; }
    done
    fail "no user id in 60000-64999 is free of processes"
}

# The program ended at its start with status 1 and said why on standard error, before any window.
refused_at_start() # REASON_RE
{
    wait_for_exit refuse_window 'Tavrolu$|^Nou Mapa$' "a refused start shows no window"
    [ "$APP_STATUS" -eq 1 ] || fail "the program ended with status $APP_STATUS, not 1"
    tail -n +"$APP_LOG_FROM" "$APP_LOG" | grep -qE "^tavrolu: $1" ||
        fail "no line \"$1\" on standard error: $(tail -n +"$APP_LOG_FROM" "$APP_LOG")"
}

# Ctrl+O shows the file dialog ("Abrir"), Esc closes it.
open_dialog_and_back() # MAIN_TITLE_RE
{
    xdotool key ctrl+o
    wait_for_window '^Abrir$'
    xdotool key Escape
    wait_until "the file dialog to close" window_gone '^Abrir$'
    main_window "$1"
}

# The main window and nothing else: no message, no toolkit dialog.
only_main_window()
{
    [ "$(visible_windows '.' | wc -l)" -eq 1 ] ||
        fail "windows beside the main one: $(visible_windows '.' | xargs -n1 xdotool getwindowname | tr '\n' '|')"
}

no_temporaries() # DIR
{
    local left
    left=$(find "$1" -maxdepth 1 -name '.*' ! -name . | tr '\n' ' ')
    [ -z "$left" ] || fail "temporaries left in $1: $left"
}

# --- FIFOs and devices named on the command line ---------------------------------------------
step 1-fifo-and-device
mkfifo "$WORK/canal.tvr"
for target in "$WORK/canal.tvr" /dev/zero; do
    start_app "$target"
    # Checked while the program still runs: after its end no window could be left anyway.
    wait_for_window '^Tavrolu$'
    refuse_window ' - Tavrolu$' "a refused map leaves no main window"
    message_says "Acceso denegado a $target."
    wait_for_exit refuse_window ' - Tavrolu$' "a refused map leaves no main window"
    [ "$APP_STATUS" -eq 255 ] ||
        fail "the program ended with status $APP_STATUS after refusing $target"
done
[ -p "$WORK/canal.tvr" ] || fail "the FIFO was replaced"

# --- a file-size limit: a save and the backup of a run fail, the map stays open ----------------
step 2-file-size-limit
# 64 by 64 tiles and 1,500 hens: the map and the sprites' backup are both beyond 16 KB.
write_map "$WORK/gran.tvr" 64 64 1500
cp "$WORK/gran.tvr" "$SCRATCH/gran.orig"
EXE=prlimit
start_app --fsize=16384 "$PROGRAM" "$WORK/gran.tvr"
EXE=$PROGRAM
main_window '^gran\.tvr - Tavrolu$'
xdotool key ctrl+s
message_says "Disco lleno al acceder a $WORK/gran.tvr."
main_window '^gran\.tvr - Tavrolu$'
cmp "$SCRATCH/gran.orig" "$WORK/gran.tvr" || fail "the map changed under a failed save"
play_and_back '^gran\.tvr - Tavrolu$'
[ ! -e "$WORK/manager.bak" ] || fail "a backup beyond the limit was written"
no_temporaries "$WORK"
quit_from_menu

# --- a link saved through; a linked backup and a FIFO tune left alone -------------------------
step 3-links-and-tune
write_map "$SCRATCH/small.tvr" 3 3 0
{ cat "$SCRATCH/small.tvr"; printf 'ignored tail'; } >"$WORK/real.tvr"
ln -s real.tvr "$WORK/link.tvr"
printf 'keep me' >"$WORK/other.txt"
ln -s other.txt "$WORK/manager.bak"
rm "$WORK/cor.mid"
mkfifo "$WORK/cor.mid"
start_app "$WORK/link.tvr"
main_window '^link\.tvr - Tavrolu$'
xdotool key ctrl+s
saved_through() { cmp -s "$SCRATCH/small.tvr" "$WORK/real.tvr"; }
wait_until "the map saved into real.tvr" saved_through
[ "$(readlink "$WORK/link.tvr")" = real.tvr ] || fail "link.tvr is no longer the link"
play_and_back '^link\.tvr - Tavrolu$'
[ "$(cat "$WORK/other.txt")" = 'keep me' ] || fail "the backup went through its link"
[ -f "$WORK/manager.bak" ] && [ ! -L "$WORK/manager.bak" ] || fail "manager.bak is not a file"
no_temporaries "$WORK"
quit_from_menu

# --- a read-only map, as a user other than root; settings and data folders it cannot write ----
step 4-read-only
RO=$SCRATCH/ro
mkdir -m 777 "$RO"
write_map "$RO/ro.tvr" 3 3 0
chmod 444 "$RO/ro.tvr"
printf x >"$SCRATCH/plain"
export XDG_CONFIG_HOME=$SCRATCH/plain/config XDG_DATA_HOME=$SCRATCH/plain/data
start_as_owner "$RO/ro.tvr"
main_window '^ro\.tvr - Tavrolu$'
xdotool key ctrl+s
message_says "Acceso denegado a $RO/ro.tvr."
write_map "$SCRATCH/ro.orig" 3 3 0
cmp "$SCRATCH/ro.orig" "$RO/ro.tvr" || fail "the read-only map was replaced"
no_temporaries "$RO"
main_window '^ro\.tvr - Tavrolu$'
only_main_window
quit_from_menu

# --- standard error closed by whatever started the program: the toolkit's complaint
# about the data folder it cannot make (the folders above still apply) goes nowhere, and the file
# dialog opens and closes
step 4b-closed-standard-descriptors
EXE=bash
start_app -c 'exec 2>&- "$0" "$@"' "$PROGRAM" "$WORK/real.tvr"
EXE=$PROGRAM
main_window '^real\.tvr - Tavrolu$'
open_dialog_and_back '^real\.tvr - Tavrolu$'
quit_from_menu

# --- memory and thread limits: F1 runs the game, silent if the tune cannot start ---------------
step 5-memory-and-thread-limits
# The user's own folders again, writable.
export XDG_CONFIG_HOME=$HOME/.config XDG_DATA_HOME=$HOME/.local/share
write_map "$WORK/heroi.tvr" 3 3 0

# F1 shows the game window, or the game's own message when something other than the tune
# failed; never the end of the program.
play_or_game_error() # MAIN_TITLE_RE
{
    xdotool key F1
    wait_until "the game window or the game's message" window_shown '^(Play|Tavrolu)$'
    if [ "$(xdotool getwindowname "$WIN")" = Play ]; then
        window_geometry "$WIN"
        focus_window "$WIN" $((WX + WW / 2)) $((WY + WH / 2))
        xdotool key Escape
    else
        message_says "El joc s'ha aturat per un error."
    fi
    main_window "$1"
}

# Just above what the program needs to start, F1 runs the game or ends the run with its message:
# a map as large as the screen shows, with sprites, makes the view's and the game's surfaces
# full-size; with a small map, 113-118 MB leave the synthesizer too little room to load its
# SoundFont safely, so it does not start. Below the floor the program refuses to start.
write_map "$WORK/camp.tvr" 40 30 60
for run in camp:96 camp:98 camp:100 camp:104 camp:108 heroi:113 heroi:114 heroi:115 heroi:116 \
    heroi:117 heroi:118 camp:120 camp:140 heroi:160 camp:200 heroi:250 camp:300 heroi:360; do
    map=${run%:*} mb=${run#*:}
    echo "    F1 on $map.tvr under $mb MB"
    EXE=prlimit
    start_app --as=$((mb << 20)) "$PROGRAM" "$WORK/$map.tvr"
    EXE=$PROGRAM
    main_window "^$map\\.tvr - Tavrolu\$"
    play_or_game_error "^$map\\.tvr - Tavrolu\$"
    quit_from_menu
done
for mb in 70 95; do
    EXE=prlimit
    start_app --as=$((mb << 20)) "$PROGRAM" "$WORK/camp.tvr"
    EXE=$PROGRAM
    refused_at_start "the address-space limit of $mb MB is below the 96 MB"
done

# A small soft open-file limit is raised to the hard one: the file dialog opens and F1 plays.
# A hard limit below what the toolkit needs refuses the start.
EXE=prlimit
start_app --nofile=8:4096 "$PROGRAM" "$WORK/heroi.tvr"
EXE=$PROGRAM
main_window '^heroi\.tvr - Tavrolu$'
open_dialog_and_back '^heroi\.tvr - Tavrolu$'
play_or_game_error '^heroi\.tvr - Tavrolu$'
quit_from_menu
EXE=prlimit
start_app --nofile=8:8 "$PROGRAM" "$WORK/heroi.tvr"
EXE=$PROGRAM
refused_at_start "the open-file limit of 8 is below the 32 files"

# A process limit binds only a user other than root: run as a user no process has, with a home
# of its own. Ten tasks run the file dialog and the game; nine refuse the start; and so do twelve
# when three of them are taken by processes the user already runs.
if [ "$(id -u)" -eq 0 ]; then
    program_for_others
    LIMITED=$(free_uid)
    mkdir -p "$SCRATCH/limited/.config" "$SCRATCH/limited/.local/share" "$SCRATCH/limited/.cache"
    chown -R "$LIMITED:$LIMITED" "$SCRATCH/limited"
    chmod 777 "$WORK"
    as_limited() # PROCESS_LIMIT
    {
        EXE=setpriv
        start_app --reuid="$LIMITED" --regid="$LIMITED" --clear-groups env HOME="$SCRATCH/limited" \
            XDG_CONFIG_HOME="$SCRATCH/limited/.config" XDG_DATA_HOME="$SCRATCH/limited/.local/share" \
            XDG_CACHE_HOME="$SCRATCH/limited/.cache" prlimit --nproc="$1" "$OTHERS_PROGRAM" \
            "$WORK/heroi.tvr"
        EXE=$PROGRAM
    }
    as_limited 10
    main_window '^heroi\.tvr - Tavrolu$'
    open_dialog_and_back '^heroi\.tvr - Tavrolu$'
    play_or_game_error '^heroi\.tvr - Tavrolu$'
    quit_from_menu
    as_limited 9
    refused_at_start "the process limit of 9 leaves room for 9 tasks beside the user's 0 others"
    sleepers=()
    for i in 1 2 3; do
        setpriv --reuid="$LIMITED" --regid="$LIMITED" --clear-groups sleep 120 &
        sleepers+=($!)
    done
    sleepers_up() { [ "$(awk '/^Uid:/ { print $2 }' /proc/[0-9]*/status 2>/dev/null |
        grep -cx "$LIMITED")" -ge 3 ]; }
    wait_until "the user's three processes" sleepers_up
    as_limited 12
    refused_at_start "the process limit of 12 leaves room for 9 tasks beside the user's 3 others"
    kill "${sleepers[@]}"
    wait "${sleepers[@]}" 2>/dev/null || true
fi

# --- a damaged settings file: read as far as it makes sense, then replaced whole ----------------
step 6-damaged-settings
SETTINGS="$XDG_CONFIG_HOME/Local AppWizard-Generated Applications/Tavrolu.conf"
mkdir -p "$(dirname "$SETTINGS")"
{
    printf '=x\n\177ELF\2\1\1\0\0\0junk=\377\376\n'
    printf '[Recent\\ File\\ List]\nFile1=%s\n' "$WORK/real.tvr"
} >"$SETTINGS"
start_app "$WORK/heroi.tvr"
main_window '^heroi\.tvr - Tavrolu$'
only_main_window
quit_from_menu
expected=$(printf '[Recent\\ File\\ List]\nFile1=%s\nFile2=%s' "$WORK/heroi.tvr" "$WORK/real.tvr")
[ "$(cat "$SETTINGS")" = "$expected" ] || fail "the settings file now holds: $(cat -A "$SETTINGS")"

# --- FIFOs where the desktop's tools read: the window comes, the tools end with the program -----
step 7-desktop-fifos
export XDG_CONFIG_HOME=$SCRATCH/fifo-config XDG_DATA_HOME=$SCRATCH/fifo-data
mkdir -p "$XDG_CONFIG_HOME" "$XDG_DATA_HOME/mime/packages" "$XDG_DATA_HOME/applications"
mkfifo "$XDG_CONFIG_HOME/mimeapps.list" "$XDG_DATA_HOME/mime/packages/other.xml" \
    "$XDG_DATA_HOME/applications/other.desktop"
start_app "$WORK/heroi.tvr"
main_window '^heroi\.tvr - Tavrolu$'
quit_from_menu
# The tools' processes, by the folders they were given or the settings folder they inherited.
tools_left()
{
    local p
    for p in /proc/[0-9]*; do
        if { grep -qF -- "$XDG_DATA_HOME" "$p/cmdline" ||
            tr '\0' '\n' <"$p/environ" | grep -qxF "XDG_CONFIG_HOME=$XDG_CONFIG_HOME"
        } 2>/dev/null; then
            echo "${p#/proc/} $(tr '\0' ' ' <"$p/cmdline" 2>/dev/null)"
        fi
    done
}
# A kill is delivered when the process next runs: the tools are gone within a few seconds, long
# before their own 20 s time limit would end them.
no_tools_left()
{
    local left
    left=$(tools_left)
    WAIT_DETAIL="desktop tools outlived the program: $left"
    [ -z "$left" ]
}
E2E_TIMEOUT=5 wait_until "the desktop tools to end with the program" no_tools_left
export XDG_CONFIG_HOME=$HOME/.config XDG_DATA_HOME=$HOME/.local/share

# --- names the locale cannot read: opened by their bytes, reported when missing ----------------
step 8-names-the-locale-cannot-read
latin1=$(printf 'm\340p.tvr')
write_map "$WORK/$latin1" 3 3 0
start_app "$WORK/$latin1"
# The byte that is not UTF-8 shows as the desktop shows it, U+FFFD. Such a title is only in
# _NET_WM_NAME (no X text encoding has that character), which a search by name misses.
title="m$(printf '\uFFFD')p.tvr - Tavrolu"
named_window() { WIN=$(for w in $(visible_windows_of_class tavrolu); do
    [ "$(xdotool getwindowname "$w" 2>/dev/null)" != "$title" ] || echo "$w"; done | head -n1)
    [ -n "$WIN" ]; }
visible_windows_of_class() {
    timeout 10 xdotool search --onlyvisible --class "$1" 2>/dev/null || true
}
wait_until "a window titled \"$title\"" named_window
window_geometry "$WIN"
focus_window "$WIN" $((WX + WW / 2)) $((WY + WH / 2))
xdotool key ctrl+s
quit_from_menu
write_map "$SCRATCH/small.orig" 3 3 0
cmp "$SCRATCH/small.orig" "$WORK/$latin1" || fail "the map saved under another name"
[ "$(find "$WORK" -name 'm*p.tvr' | wc -l)" -eq 1 ] || fail "a second map: $(ls "$WORK")"

write_map "$WORK/mapà.tvr" 3 3 0
LC_ALL=C
start_app "$WORK/mapà.tvr"
LC_ALL=C.UTF-8
main_window '^mapà\.tvr - Tavrolu$'
quit_from_menu

start_app "$WORK/$(printf 'n\340.tvr')"
message_says "No se encontró $WORK/n$(printf '\uFFFD').tvr."
wait_for_exit
[ "$APP_STATUS" -eq 255 ] || fail "the program ended with status $APP_STATUS after a missing map"

# --- a map at a path of 4095 bytes, the longest there is: saved (in place as a user other than
# root, whose folder it is not); then read-only, its message box wraps the path within the screen
step 9-longest-path
DEEP=$SCRATCH
while [ $((${#DEEP} + 1 + 255 + 6)) -le 4095 ]; do
    DEEP+=/$(head -c 255 /dev/zero | tr '\0' d)
done
DEEP+=/$(head -c $((4095 - 6 - ${#DEEP} - 1)) /dev/zero | tr '\0' e)
mkdir -p -m 755 "$DEEP"
LONG=$DEEP/m.tvr
write_map "$SCRATCH/deep.orig" 3 3 0
{ cat "$SCRATCH/deep.orig"; printf 'ignored tail'; } >"$LONG"
start_as_owner "$LONG"
main_window '^m\.tvr - Tavrolu$'
xdotool key ctrl+s
saved_deep() { cmp -s "$SCRATCH/deep.orig" "$LONG"; }
wait_until "the map saved at the longest path" saved_deep
[ "$(id -u)" -ne 0 ] || [ "$(stat -c %u:%g "$LONG")" = 65534:65534 ] ||
    fail "the map's owner changed to $(stat -c %u:%g "$LONG")"
no_temporaries "$DEEP"
chmod 444 "$LONG"
main_window '^m\.tvr - Tavrolu$'
xdotool key ctrl+s
wait_for_window '^Tavrolu$'
window_geometry "$WIN"
SCREEN_W=$(xwininfo -root | sed -n 's/^ *Width: //p')
((WX >= 0 && WX + WW <= SCREEN_W)) ||
    fail "the message box spans x $WX to $((WX + WW)) on a screen $SCREEN_W wide"
message_says "Acceso denegado a $LONG."
cmp -s "$SCRATCH/deep.orig" "$LONG" || fail "the read-only map changed"
quit_from_menu
