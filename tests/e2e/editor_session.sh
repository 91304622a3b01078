#!/usr/bin/env bash
# editor_session.sh -- a user's first session with the editor, driven from outside: a new map, a
# tile stroke, the hero placed, the question before the unsaved map is replaced, a game run,
# Save As, and the saved map opened again from the command line and from the recent-file list.
# Usage: editor_session.sh TAVROLU_EXE RES_DIR XSELECTION_EXE
source "$(dirname "$0")/lib.sh"
e2e_init e2e_editor_session "$@"

MAIN_RE=' - Tavrolu$'
BRUSH_TILE=110                  # a stone wall: nothing like the grass of tile 0
TILESET_COLUMNS=12
TILE=16
STROKE_FROM=(40 40)             # map pixels: cells (2, 2) to (4, 3)
STROKE_TO=(80 60)
HERO_AT=(330 350)               # the cursor; the hero's 32-pixel square is centred on it
HERO=(314 334)
HERO_SIZE=32
MAP_PIXELS=480                  # a new map is 30 by 30 tiles
# The part of the view compared between screenshots: clear of the overlay scroll bars.
VIEW_W=440
VIEW_H=380

# Dialog units of the templates, in pixels.
dlu_x() { echo $(($1 * 6 / 4)); }
dlu_y() { echo $(($1 * 13 / 8)); }

# Sets VX, VY to the screen place of the map's top-left pixel: the first copy of tile 0, the
# ground of every map here, below the menu and the toolbar.
view_located()
{
    window_geometry "$MAIN"
    ((WW >= VIEW_W && WH >= VIEW_H)) || fail "main window ${WW}x${WH} is too small for the checks"
    map_origin "$MAIN" "$SCRATCH/tile0.png" || return 1
    ((VX + VIEW_W <= WX + WW && VY + VIEW_H <= WY + WH)) || fail "the map view is too small"
}

view_shows() # REFERENCE: the compared part of the view, from a fresh screenshot
{
    shot view
    region_equals "$SHOT" "$VX" "$VY" "$VIEW_W" "$VIEW_H" "$1"
}

main_shown_without() # UNWANTED_TITLE_RE TITLE_RE
{
    refuse_window "$1" "it must not show while the main window opens"
    window_shown "$2"
}

newmap_before_main()
{
    refuse_window "$MAIN_RE" "the main window must not show before Nou Mapa"
    window_shown '^Nou Mapa$'
}

# --- 1 ---------------------------------------------------------------------------------------
step 1-plain-start
start_app
wait_until "the Nou Mapa dialog" newmap_before_main
NEWMAP=$WIN
shot nou-mapa
refuse_window "$MAIN_RE" "the main window must not show while Nou Mapa is open"
window_geometry "$NEWMAP"
focus_window "$NEWMAP" $((WX + WW / 2)) $((WY + 10))
xdotool key Return
wait_until "the main window titled \"Sin título - Tavrolu\"" \
    main_shown_without '^Nou Mapa$' '^Sin título - Tavrolu$'
MAIN=$WIN

# --- 2 ---------------------------------------------------------------------------------------
step 2-tile-stroke
window_geometry "$MAIN"
focus_window "$MAIN" $((WX + WW / 2)) $((WY + WH / 2))
xdotool key t
wait_for_window '^Seleccio de tiles$'
PALETTE=$WIN
window_geometry "$PALETTE"
PX=$WX PY=$WY
TX=$((PX + BRUSH_TILE % TILESET_COLUMNS * TILE))
TY=$((PY + BRUSH_TILE / TILESET_COLUMNS * TILE))
wait_until "the tile set in the palette" region_settled "$PX" "$PY" 192 208 palette
# The white frame marks the selected tile: tile 0 now, the brush tile after the click.
crop "$SHOT" "$PX" "$PY" "$TILE" "$TILE" "$SCRATCH/tile0-framed.png"
crop "$SHOT" "$TX" "$TY" "$TILE" "$TILE" "$SCRATCH/brush.png"
xdotool mousemove $((TX + TILE / 2)) $((TY + TILE / 2)) click 1
frame_moved()
{
    region_settled "$PX" "$PY" 192 208 palette-clicked || return 1
    ! region_equals "$SHOT" "$TX" "$TY" "$TILE" "$TILE" "$SCRATCH/brush.png" &&
        ! region_equals "$SHOT" "$PX" "$PY" "$TILE" "$TILE" "$SCRATCH/tile0-framed.png"
}
wait_until "the selection frame on tile $BRUSH_TILE" frame_moved
crop "$SHOT" "$PX" "$PY" "$TILE" "$TILE" "$SCRATCH/tile0.png"
xdotool mousemove $((PX + $(dlu_x 40) + $(dlu_x 50) / 2)) $((PY + $(dlu_y 155) + $(dlu_y 14) / 2)) \
    click 1
wait_until "the palette to close after Tancar" window_gone '^Seleccio de tiles$'

wait_until "the map view" view_located
tiled "$SCRATCH/tile0.png" "$VIEW_W" "$VIEW_H" "$SCRATCH/ground.png"
wait_until "a new map all of tile 0" view_shows "$SCRATCH/ground.png"
crop "$SCRATCH/ground.png" "${HERO[0]}" "${HERO[1]}" $HERO_SIZE $HERO_SIZE "$SCRATCH/hero-ground.png"

# Cells (2, 2) to (4, 3) of the brush tile, seen with a ring of untouched ground around them.
RING_X=$((VX + 1 * TILE)) RING_Y=$((VY + 1 * TILE))
tiled "$SCRATCH/brush.png" $((3 * TILE)) $((2 * TILE)) "$SCRATCH/stroke.png"
crop "$SCRATCH/ground.png" $TILE $TILE $((5 * TILE)) $((4 * TILE)) "$SCRATCH/ring.png"
"$COMPOSITE" -geometry +$TILE+$TILE "$SCRATCH/stroke.png" "$SCRATCH/ring.png" \
    "$SCRATCH/ring-painted.png"

xdotool mousemove $((VX + STROKE_FROM[0])) $((VY + STROKE_FROM[1]))
xdotool mousedown 1
# The toolkit may merge motion into the press: each poll moves again, within the same cells.
preview_follows()
{
    xdotool mousemove $((VX + STROKE_TO[0] + RANDOM % 2)) $((VY + STROKE_TO[1]))
    shot preview
    region_equals "$SHOT" "$RING_X" "$RING_Y" $((5 * TILE)) $((4 * TILE)) "$SCRATCH/ring-painted.png"
}
wait_until "the stroke's preview over cells (2, 2) to (4, 3)" preview_follows
xdotool mouseup 1
# Once released, moving on must leave the stroke where it is.
xdotool mousemove $((VX + 250)) $((VY + 200))
stroke_painted()
{
    region_settled "$RING_X" "$RING_Y" $((5 * TILE)) $((4 * TILE)) stroke &&
        region_equals "$SHOT" "$RING_X" "$RING_Y" $((5 * TILE)) $((4 * TILE)) "$SCRATCH/ring-painted.png"
}
wait_until "cells (2, 2) to (4, 3) painted with tile $BRUSH_TILE" stroke_painted

# --- 3 ---------------------------------------------------------------------------------------
step 3-place-hero
window_geometry "$MAIN"
focus_window "$MAIN" $((VX + 250)) $((VY + 200))
xdotool key s
wait_for_window "^Selecció d'sprite\$"
SPRITES=$WIN
window_geometry "$SPRITES"
SX=$WX SY=$WY
wait_until "the sprite preview" region_settled $((SX + 10)) $((SY + 10)) $HERO_SIZE $HERO_SIZE sprites
# The preview stands at (10, 10) on the dialog's face: what is not face is the hero.
face=$(pixel_at "$SHOT" $((SX + 5)) $((SY + 5)))
crop "$SHOT" $((SX + 10)) $((SY + 10)) $HERO_SIZE $HERO_SIZE "$SCRATCH/preview.png"
"$CONVERT" "$SCRATCH/preview.png" -transparent "$face" "$SCRATCH/hero.png"
opaque=$("$CONVERT" "$SCRATCH/hero.png" -alpha extract -format '%[fx:round(mean*w*h)]' info:)
((opaque >= 200)) || fail "the preview shows only $opaque pixels of a sprite"
# The list opens on its first row, "Player - (Lynx)": that row alone is highlighted.
LIST_X=$((SX + $(dlu_x 130) + 2)) LIST_Y=$((SY + $(dlu_y 7)))
first_row=$(pixel_at "$SHOT" "$LIST_X" $((LIST_Y + 4)))
low_row=$(pixel_at "$SHOT" "$LIST_X" $((LIST_Y + $(dlu_y 80) - 6)))
[ "$first_row" != "$low_row" ] || fail "the sprite list's first row is not highlighted"
focus_window "$SPRITES" $((SX + 26)) $((SY + 60))
xdotool key Return
wait_until "the sprite dialog to close" window_gone "^Selecció d'sprite\$"

# A move may be merged away by the toolkit: until the hero shows, each poll moves again. The
# click waits until two polls in a row, with no move between them, show the hero in place.
hero_follows()
{
    shot pending
    if region_shows_sprite "$SHOT" $((VX + HERO[0])) $((VY + HERO[1])) "$SCRATCH/hero.png"; then
        ((MOVED == 0)) && return 0
        MOVED=0
        return 1
    fi
    xdotool mousemove $((VX + HERO_AT[0] + 1)) $((VY + HERO_AT[1] + 1))
    xdotool mousemove $((VX + HERO_AT[0])) $((VY + HERO_AT[1]))
    MOVED=1
    return 1
}
xdotool mousemove $((VX + HERO_AT[0])) $((VY + HERO_AT[1]))
MOVED=1
wait_until "the hero under the cursor" hero_follows
xdotool click 1
# Placed, it stays when the cursor leaves; pending, it would follow.
xdotool mousemove $((VX + 100)) $((VY + 250))
hero_stays()
{
    region_settled $((VX + HERO[0])) $((VY + HERO[1])) $HERO_SIZE $HERO_SIZE placed &&
        region_shows_sprite "$SHOT" $((VX + HERO[0])) $((VY + HERO[1])) "$SCRATCH/hero.png" &&
        ! region_shows_sprite "$SHOT" $((VX + 100 - 16)) $((VY + 250 - 16)) "$SCRATCH/hero.png"
}
wait_until "the hero placed at the click" hero_stays
crop "$SHOT" "$VX" "$VY" "$VIEW_W" "$VIEW_H" "$SCRATCH/edited.png"

# --- 3b --------------------------------------------------------------------------------------
step 3b-unsaved-question
# The placed hero is an unsaved edit: Ctrl+N asks first, and Cancelar, or Esc, keeps the map.
# The box's buttons fill its bottom row in thirds: No, Cancelar, Sí.
question_cancelled_by() # KEY_OR_CLICK
{
    focus_window "$MAIN" $((VX + 100)) $((VY + 250))
    xdotool key ctrl+n
    wait_for_window '^Tavrolu$'
    QUESTION=$WIN
    shot question
    refuse_window '^Nou Mapa$' "the question comes before the new map"
    window_geometry "$QUESTION"
    focus_window "$QUESTION" $((WX + WW / 2)) $((WY + WH - 12))
    if [ "$1" = click ]; then xdotool click 1; else xdotool key "$1"; fi
    wait_until "the question to close after $1" window_gone '^Tavrolu$'
    wait_until "the edited map kept, the hero where it was placed" view_shows "$SCRATCH/edited.png"
    refuse_window '^Nou Mapa$' "Cancelar keeps the map"
    refuse_window '^Guardar como$' "Cancelar saves nothing"
    window_shown '^Sin título - Tavrolu$' || fail "the map's title changed after Cancelar"
}
question_cancelled_by click
question_cancelled_by Escape

# --- 4 ---------------------------------------------------------------------------------------
step 4-play
focus_window "$MAIN" $((VX + 100)) $((VY + 250))
xdotool key F1
wait_until "the game window \"Play\" instead of the main window" \
    main_shown_without "$MAIN_RE" '^Play$'
PLAY=$WIN
window_geometry "$PLAY"
QX=$WX QY=$WY
# The camera puts the hero's bottom-right corner in the middle and stays inside the map.
clamp() { local v=$1; ((v < $2)) && v=$2; ((v > $3)) && v=$3; echo "$v"; }
CAM_X=$(clamp $((HERO[0] + HERO_SIZE - WW / 2)) 0 $((MAP_PIXELS - WW)))
CAM_Y=$(clamp $((HERO[1] + HERO_SIZE - WH / 2)) 0 $((MAP_PIXELS - WH)))
STOOD_X=$((QX + HERO[0] - CAM_X)) STOOD_Y=$((QY + HERO[1] - CAM_Y))
hero_in_game()
{
    shot game
    region_shows_sprite "$SHOT" "$STOOD_X" "$STOOD_Y" "$SCRATCH/hero.png"
}
wait_until "the hero in the game window" hero_in_game
focus_window "$PLAY" $((QX + WW / 2)) $((QY + WH / 2))
# The camera is held at the map's right edge: walking right, the hero leaves its place on screen.
xdotool keydown Right
ground_where_it_stood()
{
    shot walking
    region_equals "$SHOT" "$STOOD_X" "$STOOD_Y" $HERO_SIZE $HERO_SIZE "$SCRATCH/hero-ground.png"
}
wait_until "the hero to walk off the place where it stood" ground_where_it_stood
xdotool keyup Right
xdotool key Escape
wait_until "the main window back after Esc" main_shown_without '^Play$' "$MAIN_RE"
wait_until "the map view" view_located
wait_until "the edited map, the hero where it was placed" view_shows "$SCRATCH/edited.png"

# --- 5 ---------------------------------------------------------------------------------------
step 5-save-as
# The user's documents folder, named as xdg-user-dirs names it: a new map's first Save As opens
# there, never in the program's working folder.
DOCUMENTS=$HOME/Documents
mkdir -p "$DOCUMENTS" "$XDG_CONFIG_HOME"
echo 'XDG_DOCUMENTS_DIR="$HOME/Documents"' >"$XDG_CONFIG_HOME/user-dirs.dirs"
focus_window "$MAIN" $((VX + 100)) $((VY + 250))
xdotool key ctrl+s
wait_for_window '^Guardar como$'
SAVE=$WIN
window_geometry "$SAVE"
focus_window "$SAVE" $((WX + WW / 2)) $((WY + WH / 2))
# The chooser opens on the documents folder with the name field focused, proposing "Sin título.tvr"
# with the name before the extension selected: what is typed takes the name's place.
name_proposed()
{
    [ "$(timeout "$X_CALL_TIMEOUT" "$XSELECTION" 2>/dev/null)" = "Sin título" ]
}
wait_until "\"Sin título\" selected in the chooser's name field" name_proposed
xdotool type --delay 40 mapa_e2e
# Selecting the field's text makes it readable: Enter goes only once the name is all there.
name_typed()
{
    xdotool key ctrl+a
    [ "$(timeout "$X_CALL_TIMEOUT" "$XSELECTION" 2>/dev/null)" = mapa_e2e.tvr ]
}
wait_until "the name \"mapa_e2e.tvr\" in the chooser's name field" name_typed
# The chooser may drop an Enter that comes soon after the typing (seen on every run here): while
# it stays open, Enter goes again every few seconds.
xdotool key Return
LAST_ENTER=$SECONDS
SAVED=$DOCUMENTS/mapa_e2e.tvr
saved()
{
    if ! window_gone '^Guardar como$'; then
        if ((SECONDS - LAST_ENTER >= 3)); then
            xdotool key Return
            LAST_ENTER=$SECONDS
        fi
        return 1
    fi
    [ -s "$SAVED" ] && window_shown '^mapa_e2e\.tvr - Tavrolu$'
}
wait_until "$SAVED and the caption \"mapa_e2e.tvr - Tavrolu\"" saved
[ ! -e "$DOCUMENTS/mapa_e2e" ] || fail "a file without the extension was written as well"

expected_map()
{
    local row col i
    le32 30
    le32 30
    for ((row = 0; row < 30; row++)); do
        for ((col = 0; col < 30; col++)); do
            if ((col >= 2 && col <= 4 && row >= 2 && row <= 3)); then byte $BRUSH_TILE; else byte 0; fi
        done
    done
    for ((i = 0; i < 256; i++)); do byte 1; done
    le32 0          # the hero's type id
    le32 "${HERO[0]}"
    le32 "${HERO[1]}"
    le32 -1
}
expected_map >"$SCRATCH/expected.tvr"
if ! cmp "$SCRATCH/expected.tvr" "$SAVED" >&2; then
    cp "$SAVED" "$ARTIFACTS/$TEST_NAME-saved.tvr"
    fail "the saved bytes differ from the documented layout (kept as $ARTIFACTS/$TEST_NAME-saved.tvr)"
fi

# Arxiu > Eixir, from the keyboard; the program must end well.
quit_from_menu()
{
    focus_window "$MAIN" $((VX + 100)) $((VY + 250))
    xdotool key alt+a
    wait_for_window '^tavrolu$'
    xdotool key e
    wait_for_exit
    [ "$APP_STATUS" -eq 0 ] || fail "Eixir ended the program with status $APP_STATUS"
}

# --- 6 ---------------------------------------------------------------------------------------
step 6-open-again
quit_from_menu
SETTINGS="$XDG_CONFIG_HOME/Local AppWizard-Generated Applications/Tavrolu.conf"
grep -qxF "File1=$SAVED" "$SETTINGS" ||
    fail "the recent-file list in $SETTINGS does not start with $SAVED: $(cat "$SETTINGS")"

start_app "$SAVED"
wait_until "the main window titled \"mapa_e2e.tvr - Tavrolu\", without Nou Mapa" \
    main_shown_without '^Nou Mapa$' '^mapa_e2e\.tvr - Tavrolu$'
MAIN=$WIN
wait_until "the map view" view_located
wait_until "the saved map's pixels" view_shows "$SCRATCH/edited.png"
refuse_window '^Nou Mapa$' "a map named on the command line opens without it"

# The list's first entry, chosen from the Arxiu menu, brings the map back after a new one.
focus_window "$MAIN" $((VX + 100)) $((VY + 250))
xdotool key ctrl+n
wait_for_window '^Nou Mapa$'
NEWMAP=$WIN
window_geometry "$NEWMAP"
focus_window "$NEWMAP" $((WX + WW / 2)) $((WY + 10))
xdotool key Return
wait_until "a new map, \"Sin título - Tavrolu\"" main_shown_without '^Nou Mapa$' '^Sin título - Tavrolu$'
wait_until "a new map all of tile 0" view_shows "$SCRATCH/ground.png"
focus_window "$MAIN" $((VX + 100)) $((VY + 250))
xdotool key alt+a
wait_for_window '^tavrolu$'
shot arxiu-menu
xdotool key 1
wait_until "the recent file reopened" window_shown '^mapa_e2e\.tvr - Tavrolu$'
wait_until "the saved map's pixels" view_shows "$SCRATCH/edited.png"

quit_from_menu
