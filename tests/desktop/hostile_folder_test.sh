#!/usr/bin/env bash
# hostile_folder_test.sh -- the built program started in folders whose names try to add keys to
# its desktop entry: the entry stays one valid entry that opens maps in that very folder and runs
# nothing else; a folder name that is not UTF-8 leaves no entry, and the program starts anyway.
source "$(dirname "$0")/desktop_lib.sh"
program=$1

start_display
use_scratch_home
entry="$XDG_DATA_HOME/applications/tavrolu.desktop"

# Starts the program in the folder, answers "Nou Mapa" and ends it.
start_in() # FOLDER
{
    (cd "$1" && exec "$program") >"$scratch/tavrolu.log" 2>&1 &
    local pid=$!
    started+=($pid)
    watched=$pid
    dialog=$(wait_window '^Nou Mapa$') || fail "no \"Nou Mapa\" in the folder $(printf %q "$1")"
    xdotool windowfocus --sync "$dialog" key Return
    wait_window '^Sin título - Tavrolu$' >/dev/null || fail "no main window after \"Nou Mapa\""
    kill "$pid"
    wait "$pid" 2>/dev/null || true
    watched=""
}

# A leading space, a tab, a backslash and new lines carrying keys of their own.
folder="$scratch/ lead"$'\t'"tab\\slash"$'\n'"Exec=touch pwned"$'\n'"Terminal=true"
mkdir "$folder"
start_in "$folder"
desktop-file-validate "$entry" >"$scratch/validate.log" || fail "the entry is not valid"
if [ -s "$scratch/validate.log" ]; then fail "the entry draws remarks: $(cat "$scratch/validate.log")"; fi
expect_eq "$(grep -c '^Exec=' "$entry")" 1 "Exec lines in the entry"
expect_eq "$(grep -c '^Terminal=' "$entry")" 1 "Terminal lines in the entry"
expect_eq "$(grep '^Path=' "$entry")" \
    "Path=$scratch/ lead\\ttab\\\\slash\\nExec=touch pwned\\nTerminal=true" "the Path line"

# Opened from the desktop: the program, in that folder, and nothing else runs.
cd "$scratch"
write_map "$scratch/x.tvr"
gio launch "$entry" "$scratch/x.tvr" >"$scratch/launch.log" 2>&1 || fail "gio launch failed"
frame=$(wait_window '^x.tvr - Tavrolu$') || fail "the entry did not open x.tvr"
pid=$(xdotool getwindowpid "$frame")
started+=($pid)
expect_eq "$(readlink "/proc/$pid/cwd")" "$folder" "the working folder of the program the entry ran"
kill "$pid"
for place in "$scratch" "$folder" "$HOME"; do
    [ ! -e "$place/pwned" ] || fail "the folder's name ran a command"
done

# A name that is not UTF-8 cannot be written into the entry: none is written. F4 90 80 80 would be
# a character above U+10FFFF, which UTF-8 has not.
rm "$entry"
for name in 'bad\377name' 'big\364\220\200\200name'; do
    bad="$scratch/$(printf "$name")"
    mkdir "$bad"
    start_in "$bad"
    [ ! -e "$entry" ] || fail "an entry was written for the folder name $name, which is not UTF-8"
done
echo "PASS"
