#!/usr/bin/env bash
# tools_test.sh -- the desktop's tools the program starts end with it, helpers included, however
# it ends (Eixir, a map it cannot open at start, SIGTERM); a refresh of the databases that an end
# cut short is done again at the next start, and one that finished is not repeated.
source "$(dirname "$0")/desktop_lib.sh"
program=$1

start_display
start_window_manager
use_scratch_home
mkdir "$scratch/work" && cd "$scratch/work"

# Stand-ins for the tools, first on PATH. One puts its helper in the background and exits at once
# (as xdg-mime does); the other waits on its helper. Each writes its own number and its helper's.
fakes="$scratch/fakes"
export TOOL_PIDS="$scratch/pids"
mkdir "$fakes" "$TOOL_PIDS"
cat >"$fakes/update-mime-database" <<'EOF'
#!/bin/sh
sleep 300 &
echo $$ $! >"$TOOL_PIDS/mime"
EOF
cat >"$fakes/update-desktop-database" <<'EOF'
#!/bin/sh
sleep 300 &
echo $$ $! >"$TOOL_PIDS/desktop"
wait
EOF
chmod +x "$fakes"/*
real_path=$PATH

start_program() # ARGUMENTS...
{
    rm -f "$TOOL_PIDS"/*
    "$program" "$@" >>"$scratch/tavrolu.log" 2>&1 &
    pid=$!
    started+=($pid)
    watched=$pid
}

# Answers "Nou Mapa" and waits for the main window.
new_map()
{
    local dialog
    dialog=$(wait_window '^Nou Mapa$') || fail "no \"Nou Mapa\" at a plain start"
    xdotool windowactivate --sync "$dialog" key Return
    frame=$(wait_window '^Sin título - Tavrolu$') || fail "no main window after \"Nou Mapa\""
}

wait_file() # PATH WHAT
{
    local end=$((SECONDS + 30))
    until [ -s "$1" ]; do
        [ $SECONDS -lt $end ] || fail "$2"
        sleep 0.1
    done
}

# Waits (30 s at most) for the program to end, its status in $status.
wait_end()
{
    local end=$((SECONDS + 30))
    while kill -0 "$pid" 2>/dev/null; do
        [ $SECONDS -lt $end ] || fail "the program did not end"
        sleep 0.1
    done
    status=0
    wait "$pid" || status=$?
    watched=""
}

# Gone, or a zombie: a kill is delivered when the process next runs, so each has 5 s.
ended()
{
    local state
    state=$(ps -o stat= -p "$1" 2>/dev/null) || return 0
    [[ $state == Z* ]]
}
tools_end() # WHEN
{
    local p end=$((SECONDS + 5))
    for p in $(cat "$TOOL_PIDS"/*); do
        until ended "$p"; do
            [ $SECONDS -lt $end ] || fail "$1: $(ps -o pid=,args= -p "$p") outlived the program"
            sleep 0.1
        done
    done
}

# --- Eixir while the refresh runs: both tools' groups end with the program ---------------------
export PATH="$fakes:$real_path"
start_program
new_map
wait_file "$TOOL_PIDS/desktop" "the tools did not start"
xdotool windowactivate --sync "$frame" key alt+a
wait_window '^tavrolu$' >/dev/null || fail "no Arxiu menu"
xdotool key e
wait_end
expect_eq "$status" 0 "the status after Eixir"
tools_end "Eixir"

# --- the next start, with the real tools, does the refresh that was cut short -----------------
export PATH=$real_path
start_program
new_map
write_map x.tvr
eventually_eq application/x-tavrolu.document "the type of x.tvr after a refresh cut short" \
    file_type x.tvr
# The refresh has finished: a later start repeats nothing.
wait_file "$XDG_DATA_HOME/tavrolu/registered" "no mark of a finished refresh"
kill "$pid"
wait_end
export PATH="$fakes:$real_path"
start_program
new_map
kill "$pid"
wait_end
[ -z "$(ls "$TOOL_PIDS")" ] || fail "a finished refresh was done again"

# --- a map that cannot be opened at start (status 255): the tools end with the program ---------
export XDG_DATA_HOME="$scratch/data-255"
start_program missing.tvr
wait_file "$TOOL_PIDS/desktop" "the tools did not start before the missing map's message"
message=$(wait_window '^Tavrolu$') || fail "no message about missing.tvr"
xdotool windowactivate --sync "$message" key Return
wait_end
expect_eq "$status" 255 "the status after a map that cannot be opened"
tools_end "a map that cannot be opened"

# --- SIGTERM: the tools end with the program, which ends by the signal --------------------------
export XDG_DATA_HOME="$scratch/data-term"
start_program
new_map
wait_file "$TOOL_PIDS/desktop" "the tools did not start"
kill -TERM "$pid"
wait_end
expect_eq "$status" $((128 + 15)) "the status after SIGTERM"
tools_end "SIGTERM"
echo "PASS"
