#!/usr/bin/env bash
# view_and_frame.sh -- the map view and the main window under real input: a small map shown
# whole in a window that keeps its size, a selected sprite that outlives the tile dialog, a
# pending hero dropped by it, brush strokes released inside and outside the view, the wheel's
# steps on a large map, keys that never scroll, the user's resizing through the window manager
# bounded by the map, maximizing and restoring, game runs that leave the frame's size alone at
# any size, a new map's limit in force at once, a corner drag always offered, and no toolkit
# complaints at the smallest sizes.
# Usage: view_and_frame.sh TAVROLU_EXE RES_DIR XSELECTION_EXE
source "$(dirname "$0")/lib.sh"
e2e_init e2e_view_and_frame "$@"

TILE=16
BRUSH_TILE=110                  # a stone wall: nothing like the grass of tile 0
MARK_TILE=60                    # marks the map's first cell, unlike both
TILESET_COLUMNS=12

# map_file FILE W H [COL,ROW,TILE ...] [-- SPRITE_INTS ...]: a map of tile 0 but for the cells
# given, every tile walkable, then the sprite records' integers and the end mark.
map_file()
{
    local file=$1 w=$2 h=$3 row col i
    shift 3
    { le32 "$w"; le32 "$h"; head -c $((w * h)) /dev/zero; } >"$file"
    while [ $# -gt 0 ] && [ "$1" != -- ]; do
        IFS=, read -r col row i <<<"$1"
        byte "$i" |
            dd of="$file" bs=1 seek=$((8 + row * w + col)) conv=notrunc status=none
        shift
    done
    [ $# -eq 0 ] || shift
    {
        for ((i = 0; i < 256; i++)); do printf '\x01'; done
        for i in "$@" -1; do le32 "$i"; done
    } >>"$file"
}

tile_picture() # INDEX DEST: one tile of the tile set as the view draws it
{
    "$CONVERT" "$RES_DIR/bitmaps/tileset.png" -crop \
        "${TILE}x${TILE}+$(($1 % TILESET_COLUMNS * TILE))+$(($1 / TILESET_COLUMNS * TILE))" \
        +repage -type TrueColor "$2"
}
tile_picture 0 "$SCRATCH/ground.png"
tile_picture $BRUSH_TILE "$SCRATCH/brush.png"
tile_picture $MARK_TILE "$SCRATCH/mark.png"

# cells_show COLS ROWS PAINTED...: the view's top-left COLS x ROWS cells are ground but for the
# cells "col,row" given, which show the brush tile; cells under a sprite are left out.
declare -A SPRITE_CELLS=()
cells_show()
{
    local cols=$1 rows=$2 cell c r
    shift 2
    local expected=$SCRATCH/expected-cells.png seen=$SCRATCH/seen-cells.png
    local draw=(-size $((cols * TILE))x$((rows * TILE)) tile:"$SCRATCH/ground.png")
    for cell in "$@"; do
        IFS=, read -r c r <<<"$cell"
        draw+=("$SCRATCH/brush.png" -geometry +$((c * TILE))+$((r * TILE)) -composite)
    done
    local hide=()
    for cell in "${!SPRITE_CELLS[@]}"; do
        IFS=, read -r c r <<<"$cell"
        hide+=(-draw "rectangle $((c * TILE)),$((r * TILE)) $((c * TILE + TILE - 1)),$((r * TILE + TILE - 1))")
    done
    "$CONVERT" "${draw[@]}" -fill black "${hide[@]}" "$expected"
    shot cells
    crop "$SHOT" "$VX" "$VY" $((cols * TILE)) $((rows * TILE)) "$seen"
    "$CONVERT" "$seen" -fill black "${hide[@]}" "$seen"
    WAIT_DETAIL="$(differing_pixels "$seen" "$expected") pixels differ"
    [ "$(differing_pixels "$seen" "$expected")" -eq 0 ]
}

cell_x() { echo $((VX + $1 * TILE + TILE / 2)); }
cell_y() { echo $((VY + $1 * TILE + TILE / 2)); }

# The palette: tile INDEX clicked, then the key given (Return for "Tancar", Escape).
choose_tile()
{
    xdotool key t
    wait_for_window '^Seleccio de tiles$'
    local palette=$WIN
    window_geometry "$palette"
    if [ -n "$1" ]; then
        wait_until "the tile set in the palette" region_settled "$WX" "$WY" 192 208 palette
        xdotool mousemove $((WX + $1 % TILESET_COLUMNS * TILE + 8)) $((WY + $1 / TILESET_COLUMNS * TILE + 8))
        xdotool click 1
        sleep 0.3
    fi
    focus_window "$palette" $((WX + 100)) $((WY + 10))
    xdotool key "$2"
    wait_until "the palette to close" window_gone '^Seleccio de tiles$'
    focus_window "$MAIN" "$(cell_x 6)" "$(cell_y 3)"
}

# The sprite dialog answered with Return on its first row, the hero; no warning must follow.
choose_hero()
{
    xdotool key s
    wait_for_window "^Selecció d'sprite\$"
    local sprites=$WIN
    window_geometry "$sprites"
    # A map that has a hero opens the list on the hen; one without, on the hero, whose preview
    # at (10, 10) covers far more of its 32-pixel square than the hen's.
    wait_until "the sprite preview" region_settled $((WX + 10)) $((WY + 10)) 32 32 sprites
    local face opaque
    face=$(pixel_at "$SHOT" $((WX + 5)) $((WY + 5)))
    crop "$SHOT" $((WX + 10)) $((WY + 10)) 32 32 "$SCRATCH/preview.png"
    opaque=$("$CONVERT" "$SCRATCH/preview.png" -transparent "$face" -alpha extract \
        -format '%[fx:round(mean*w*h)]' info:)
    ((opaque >= 200)) || fail "the sprite dialog does not offer the hero ($opaque pixels shown)"
    focus_window "$sprites" $((WX + 26)) $((WY + 60))
    xdotool key Return
    wait_until "the sprite dialog to close" window_gone "^Selecció d'sprite\$"
    focus_window "$MAIN" "$(cell_x 6)" "$(cell_y 3)"
}

# stroke FROM_X FROM_Y TO_X TO_Y CELLS...: a brush stroke pressed at FROM and moved to TO, in
# screen pixels, released once its preview shows the brush on the cells given (the toolkit may
# merge a move away: each poll moves again).
stroke()
{
    local fx=$1 fy=$2 tx=$3 ty=$4
    shift 4
    xdotool mousemove "$fx" "$fy" mousedown 1
    sleep 0.2
    STROKE_TO=("$tx" "$ty")
    previewed()
    {
        xdotool mousemove $((STROKE_TO[0] - 1)) "${STROKE_TO[1]}"
        xdotool mousemove "${STROKE_TO[0]}" "${STROKE_TO[1]}"
        sleep 0.2
        cells_show 12 7 "$@"
    }
    wait_until "the stroke's preview" previewed "$@"
    xdotool mouseup 1
}

SMALL=$WORK/petit.tvr
map_file "$SMALL" 12 7
MAIN_RE='^petit\.tvr - Tavrolu$'

# --- 1 ---------------------------------------------------------------------------------------
step 1-small-map-whole
start_app "$SMALL"
wait_for_window "$MAIN_RE"
MAIN=$WIN
wait_until "the map view" map_origin "$MAIN" "$SCRATCH/ground.png"
window_geometry "$MAIN"
((WW > 600 && WH > 400)) || fail "the window shrank to ${WW}x${WH} for a 12 x 7 map"
white_beyond()
{
    shot beyond
    [ "$(pixel_at "$SHOT" $((VX + 12 * TILE)) $((VY + 3)))" = "srgb(255,255,255)" ] &&
        [ "$(pixel_at "$SHOT" $((VX + 3)) $((VY + 7 * TILE)))" = "srgb(255,255,255)" ]
}
wait_until "all 12 x 7 cells, the window's background beyond them" cells_show 12 7
white_beyond || fail "the view shows more than the map"

# --- 2 ---------------------------------------------------------------------------------------
step 2-pending-hero-dropped
focus_window "$MAIN" "$(cell_x 6)" "$(cell_y 3)"
choose_hero
choose_tile "" Escape
# Destroyed, the pending hero is no longer the map's hero: the dialog offers it again.
choose_hero
xdotool mousemove "$(cell_x 9)" "$(cell_y 3)"
sleep 0.3
xdotool mousemove "$(cell_x 9)" $(($(cell_y 3) + 1))
sleep 0.3
xdotool click 1
sleep 0.3
# The hero's square, (136, 41) to (168, 73), covers these cells.
for c in 8 9 10; do for r in 2 3 4; do SPRITE_CELLS[$c,$r]=1; done; done

# --- 3 ---------------------------------------------------------------------------------------
step 3-selected-sprite-survives-tiles
xdotool click 1                   # selects the hero just placed
sleep 0.3
choose_tile $BRUSH_TILE Return
SQUARE=(1,1 2,1 3,1 1,2 2,2 3,2 1,3 2,3 3,3)
stroke "$(cell_x 1)" "$(cell_y 1)" $(($(cell_x 1) + 40)) $(($(cell_y 1) + 40)) "${SQUARE[@]}"
xdotool mousemove "$(cell_x 6)" "$(cell_y 1)"
wait_until "cells (1, 1) to (3, 3) painted" cells_show 12 7 "${SQUARE[@]}"

# --- 4 ---------------------------------------------------------------------------------------
step 4-release-outside-the-view
window_geometry "$MAIN"
# Pressed in cell (5, 5), released over the status bar below cell (7, ...): the toolkit hands
# the release to the view, which paints columns 5-7 down to the map's last row.
BOTH=("${SQUARE[@]}" 5,5 6,5 7,5 5,6 6,6 7,6)
stroke "$(cell_x 5)" "$(cell_y 5)" "$(cell_x 7)" $((WY + WH - 5)) "${BOTH[@]}"
# Back over the view above the press: a stroke still going on would preview nothing there, and
# the repaint would show the cells as they are in the map.
xdotool mousemove "$(cell_x 10)" "$(cell_y 1)"
sleep 0.5
wait_until "cells (5, 5) to (7, 6) painted" cells_show 12 7 "${BOTH[@]}"

# --- 5 ---------------------------------------------------------------------------------------
step 5-saved-with-the-hero
focus_window "$MAIN" "$(cell_x 6)" "$(cell_y 3)"
cp "$SMALL" "$SCRATCH/before.tvr"
xdotool key ctrl+s
saved_again()
{
    refuse_window '^Guardar como$' "a map opened from a file is saved to it"
    [ -s "$SMALL" ] && ! cmp -s "$SMALL" "$SCRATCH/before.tvr"
}
wait_until "Ctrl+S to rewrite $SMALL" saved_again
# The hero, placed with its centre on cell (9, 3)'s centre + (0, 1): a 32-pixel square.
map_file "$SCRATCH/expected.tvr" 12 7 1,1,$BRUSH_TILE 2,1,$BRUSH_TILE 3,1,$BRUSH_TILE 1,2,$BRUSH_TILE 2,2,$BRUSH_TILE \
    3,2,$BRUSH_TILE 1,3,$BRUSH_TILE 2,3,$BRUSH_TILE 3,3,$BRUSH_TILE 5,5,$BRUSH_TILE \
    6,5,$BRUSH_TILE 7,5,$BRUSH_TILE 5,6,$BRUSH_TILE 6,6,$BRUSH_TILE 7,6,$BRUSH_TILE \
    -- 0 $((9 * TILE + 8 - 16)) $((3 * TILE + 8 + 1 - 16))
cmp "$SCRATCH/expected.tvr" "$SMALL" >&2 || {
    cp "$SMALL" "$ARTIFACTS/$TEST_NAME-saved.tvr"
    fail "the saved map differs (kept as $ARTIFACTS/$TEST_NAME-saved.tvr)"
}

quit()
{
    focus_window "$MAIN" "$(cell_x 6)" "$(cell_y 3)"
    xdotool key alt+a
    wait_for_window '^tavrolu$'
    xdotool key e
    wait_for_exit
    [ "$APP_STATUS" -eq 0 ] || fail "Eixir ended the program with status $APP_STATUS"
}
quit

# --- 6 ---------------------------------------------------------------------------------------
step 6-wheel-on-a-large-map
# Markers 96 pixels (six cells) down and across: a notch is three hundredths of 3200 pixels. The
# first cell has a mark of its own, so that the view's corner tells the left edge from column 12.
LARGE=$WORK/gran.tvr
map_file "$LARGE" 200 200 0,0,$MARK_TILE 0,6,$BRUSH_TILE 6,0,$BRUSH_TILE
MAIN_RE='^gran\.tvr - Tavrolu$'
start_app "$LARGE"
wait_for_window "$MAIN_RE"
MAIN=$WIN
wait_until "the map view" map_origin "$MAIN" "$SCRATCH/mark.png"
focus_window "$MAIN" "$(cell_x 10)" "$(cell_y 10)"
corner_is() # PICTURE: what the view's top-left cell shows
{
    shot corner
    region_equals "$SHOT" "$VX" "$VY" $TILE $TILE "$1"
}
for key in Down Next End ctrl+Down ctrl+End; do
    xdotool key "$key"
done
# The palette opens once the keys before it have been handled; then the view is at rest.
choose_tile "" Escape
wait_until "the view at rest after the keys" region_settled "$VX" "$VY" $((8 * TILE)) $((8 * TILE)) keys
corner_is "$SCRATCH/mark.png" || fail "a key scrolled the view"
xdotool click 5
wait_until "one notch down to show row 6 at the top" corner_is "$SCRATCH/brush.png"
xdotool click 4
wait_until "one notch up back to the top" corner_is "$SCRATCH/mark.png"
xdotool keydown shift click 5 keyup shift
wait_until "Shift and a notch to show column 6 at the left" corner_is "$SCRATCH/brush.png"
xdotool click 6
wait_until "a notch left back to the left edge" corner_is "$SCRATCH/mark.png"
xdotool click 7
wait_until "a notch right to show column 6 at the left" corner_is "$SCRATCH/brush.png"
quit

# --- the frame under the window manager -------------------------------------------------------
# The window manager has handled everything sent to it so far: it answers a request that comes
# after (a state it sets on the frame and takes back).
wm_caught_up()
{
    above()
    {
        timeout 10 xprop -id "$MAIN" _NET_WM_STATE | grep -q _NET_WM_STATE_ABOVE
    }
    not_above()
    {
        ! above
    }
    timeout 10 wmctrl -i -r "$MAIN" -b add,above
    wait_until "the window manager to keep the frame above" above
    timeout 10 wmctrl -i -r "$MAIN" -b remove,above
    wait_until "the window manager to let the frame go" not_above
}

size_is() # W H: the frame's client area
{
    window_geometry "$MAIN"
    WAIT_DETAIL="${WW}x${WH}"
    [ "$WW" -eq "$1" ] && [ "$WH" -eq "$2" ]
}

# drag FROM_X FROM_Y TO_X TO_Y: openbox's Alt + right-button drag, which resizes the frame from
# the corner nearest the press, as a user's drag of that corner does; over once the window
# manager has handled it.
drag()
{
    xdotool mousemove "$1" "$2"
    sleep 0.2
    xdotool keydown alt mousedown 3
    local i
    for i in 1 2 3 4 5 6; do
        xdotool mousemove $(($1 + ($3 - $1) * i / 6)) $(($2 + ($4 - $2) * i / 6))
        sleep 0.1
    done
    xdotool mouseup 3 keyup alt
    wm_caught_up
}

# The view fills the client area between the bars: neither down its right edge nor across it
# above the status bar is there any of the frame's own grey.
view_fills_client()
{
    window_geometry "$MAIN"
    shot fills
    crop "$SHOT" $((WX + WW - 3)) "$VY" 1 $((WY + WH - 40 - VY)) "$SCRATCH/right-edge.png"
    crop "$SHOT" "$WX" $((WY + WH - 40)) "$WW" 1 "$SCRATCH/low-edge.png"
    WAIT_DETAIL="the frame's grey beside or below the view"
    ! "$CONVERT" "$SCRATCH/right-edge.png" "$SCRATCH/low-edge.png" +append -format %c \
        histogram:info: | grep -q 'srgb(246,245,244)\|#F6F5F4'
}

# The About box, opened from the Ajuda menu, is centred over the frame as it is on screen.
about_centred()
{
    window_geometry "$MAIN"
    local fx=$((WX + WW / 2)) fy=$((WY + WH / 2)) dx dy
    focus_window "$MAIN" "$fx" "$fy"
    xdotool key alt+u
    wait_for_window '^tavrolu$'
    xdotool key a
    wait_for_window '^A prop de Tavrolu$'
    local about=$WIN
    window_geometry "$about"
    dx=$((WX + WW / 2 - fx)) dy=$((WY + WH / 2 - fy))
    ((dx * dx + dy * dy <= 20 * 20)) ||
        fail "the About box is centred at ($((fx + dx)), $((fy + dy))), the frame at ($fx, $fy)"
    focus_window "$about" $((WX + WW / 2)) $((WY + WH / 2))
    xdotool key Return
    wait_until "the About box to close" window_gone '^A prop de Tavrolu$'
}

# --- 7 ---------------------------------------------------------------------------------------
step 7-resizing-bounded-by-the-map
MEDIUM=$WORK/mitja.tvr
map_file "$MEDIUM" 40 30
MAIN_RE='^mitja\.tvr - Tavrolu$'
start_app "$MEDIUM"
wait_for_window "$MAIN_RE"
MAIN=$WIN
wait_until "the map view" map_origin "$MAIN" "$SCRATCH/ground.png"
window_geometry "$MAIN"
((WW > 640)) || fail "the window opened ${WW} wide, not at the desktop's default size"
OPENED=("$WW" "$WH")
# Larger than the map: a drag outwards does not grow it.
drag $((WX + WW - 8)) $((WY + WH - 8)) 1275 1020
size_is "${OPENED[@]}" || fail "a drag grew the frame beyond the map's limit (${WW}x${WH})"
drag $((WX + WW - 8)) $((WY + WH - 8)) $((WX + 400)) $((WY + 300))
window_geometry "$MAIN"
((WW < 500 && WH < 400)) || fail "a drag inwards left the frame at ${WW}x${WH}"
# 640 wide; as high as the menu bar plus the map's 480 rows.
drag $((WX + WW - 8)) $((WY + WH - 8)) 1275 1020
bounded()
{
    window_geometry "$MAIN"
    WAIT_DETAIL="${WW}x${WH}"
    [ "$WW" -eq 640 ] && ((WH > 480 && WH < 540))
}
wait_until "a drag outwards to stop at the map's limit" bounded
MEDIUM_LIMIT=("$WW" "$WH")
wait_until "the view to fill the frame" view_fills_client
about_centred

# --- 8 ---------------------------------------------------------------------------------------
step 8-maximize-and-restore
window_geometry "$MAIN"
BEFORE=("$WW" "$WH")
title_double_click()
{
    window_geometry "$MAIN"
    xdotool mousemove $((WX + WW / 2)) $((WY - 8)) click --repeat 2 --delay 80 1
}
title_double_click
maximized()
{
    window_geometry "$MAIN"
    WAIT_DETAIL="${WW}x${WH}"
    [ "$WW" -eq 1280 ] && ((WH > 960))
}
wait_until "the frame to fill the screen" maximized
wait_until "the view to fill the maximized frame" view_fills_client
about_centred
title_double_click
wait_until "the size before maximizing back" size_is "${BEFORE[@]}"
wait_until "the view to fill the restored frame" view_fills_client
about_centred
quit

# --- 9 ---------------------------------------------------------------------------------------
step 9-game-runs-keep-the-size
# run_keeps_size END_KEY TITLE: F1, the run ended by the key, and the frame back at its size.
run_keeps_size()
{
    window_geometry "$MAIN"
    local before=("$WW" "$WH")
    focus_window "$MAIN" $((WX + WW / 2)) $((WY + WH / 2))
    xdotool key F1
    wait_for_window "$2"
    window_geometry "$WIN"
    focus_window "$WIN" $((WX + WW / 2)) $((WY + WH / 2))
    xdotool key "$1"
    wait_until "the main window back" window_shown "$MAIN_RE"
    # A frame squeezed to its smallest has no view to look at.
    ((before[1] < 150)) || wait_until "the view to fill the frame" view_fills_client
    # The About box opens once the program has handled its return; the window manager then
    # has whatever the program asked of it.
    about_centred
    wm_caught_up
    size_is "${before[@]}" || fail "the game run left the frame at ${WW}x${WH}, not ${before[*]}"
}
# The default 30 x 30 map has no hero: the run ends at its message, answered with Return.
MAIN_RE='^Sin título - Tavrolu$'
start_app
wait_for_window '^Nou Mapa$'
window_geometry "$WIN"
focus_window "$WIN" $((WX + 20)) $((WY + 10))
xdotool key Return
wait_for_window "$MAIN_RE"
MAIN=$WIN
wait_until "the map view" map_origin "$MAIN" "$SCRATCH/ground.png"
run_keeps_size Return '^JTKernel PANIK!$'
quit
# A 16 x 14 map with a hero, 256 pixels wide: runs ended with Esc at the desktop's default
# size, at the map's limit, a few pixels under it, and at the smallest size.
HERO=$WORK/heroi.tvr
map_file "$HERO" 16 14 -- 0 24 24
MAIN_RE='^heroi\.tvr - Tavrolu$'
start_app "$HERO"
wait_for_window "$MAIN_RE"
MAIN=$WIN
wait_until "the map view" map_origin "$MAIN" "$SCRATCH/ground.png"
run_keeps_size Escape '^Play$'
window_geometry "$MAIN"
drag $((WX + WW - 8)) $((WY + WH - 8)) $((WX + 150)) $((WY + 150))
window_geometry "$MAIN"
drag $((WX + WW - 8)) $((WY + WH - 8)) 1275 1020
window_geometry "$MAIN"
((WW == 256)) || fail "a drag outwards left the frame ${WW} wide, not at the map's 256"
run_keeps_size Escape '^Play$'
window_geometry "$MAIN"
drag $((WX + WW - 8)) $((WY + WH - 8)) $((WX + WW - 12)) $((WY + WH - 12))
window_geometry "$MAIN"
((WW < 256)) || fail "a drag inwards left the frame ${WW} wide"
run_keeps_size Escape '^Play$'
window_geometry "$MAIN"
drag $((WX + WW - 8)) $((WY + WH - 8)) $((WX + 10)) $((WY + 10))
run_keeps_size Escape '^Play$'
quit

# --- 10 --------------------------------------------------------------------------------------
step 10-new-limit-and-smallest-sizes
# The frame's smallest and largest sizes as the window manager has them: SMALLEST and LARGEST.
size_hints()
{
    local line
    SMALLEST=() LARGEST=()
    while read -r line; do
        case $line in
            "program specified minimum size:"*) read -r -a SMALLEST <<<"${line#*: }" ;;
            "program specified maximum size:"*) read -r -a LARGEST <<<"${line#*: }" ;;
        esac
    done < <(timeout 10 xprop -id "$MAIN" WM_NORMAL_HINTS)
    # "W by H"
    SMALLEST=("${SMALLEST[0]:-0}" "${SMALLEST[2]:-0}") LARGEST=("${LARGEST[0]:-0}" "${LARGEST[2]:-0}")
}
# A window manager offers the corner only while the frame can still change on both axes.
corner_offered()
{
    size_hints
    ((LARGEST[0] > SMALLEST[0] && LARGEST[1] > SMALLEST[1])) ||
        fail "the largest size ${LARGEST[*]} is the smallest ${SMALLEST[*]} on an axis"
}
# The client area at every size from the smallest up to a view a little taller than both scroll
# bars need, as the program's own requests (the toolkit lays out a drag's size alike).
small_sizes()
{
    local w h
    for w in 150 240 330; do
        for ((h = 40; h <= 150; h += 2)); do
            xdotool windowsize "$MAIN" "$w" "$h"
        done
    done
    wm_caught_up
    wait_until "the view at rest" view_fills_client
    terminal_quiet
}
TINY=$WORK/diminut.tvr
map_file "$TINY" 5 5 -- 0 24 24
MAIN_RE='^diminut\.tvr - Tavrolu$'
start_app "$TINY"
wait_for_window "$MAIN_RE"
MAIN=$WIN
wait_until "the map view" map_origin "$MAIN" "$SCRATCH/ground.png"
window_geometry "$MAIN"
drag $((WX + WW - 8)) $((WY + WH - 8)) $((WX + 10)) $((WY + 10))
corner_offered
# The pointer over the toolbar puts each button's prompt in the status bar, which the frame
# squeezed to its smallest still shows whole.
window_geometry "$MAIN"
for ((y = WY; y < WY + WH; y += 6)); do
    for ((x = WX + 5; x < WX + WW; x += 20)); do
        xdotool mousemove "$x" "$y"
    done
done
wm_caught_up
terminal_quiet
small_sizes
# Squeezed to its smallest, the frame takes a 40 x 30 map's limit at once.
window_geometry "$MAIN"
drag $((WX + WW - 8)) $((WY + WH - 8)) $((WX + 10)) $((WY + 10))
focus_window "$MAIN" $((WX + 40)) $((WY + 10))
xdotool key ctrl+n
wait_for_window '^Nou Mapa$'
window_geometry "$WIN"
focus_window "$WIN" $((WX + 20)) $((WY + 10))
xdotool key Tab ctrl+a type 40
xdotool key Tab ctrl+a type 30
xdotool key Return
MAIN_RE='^Sin título - Tavrolu$'
wait_until "the new map" window_shown "$MAIN_RE"
# Before any drag (a window manager may read the largest size only as a drag starts), and
# although the frame is too short for its bars: the size a drag stopped at for a 40 x 30 map.
largest_is_the_new_limit()
{
    size_hints
    WAIT_DETAIL="${LARGEST[*]}, not ${MEDIUM_LIMIT[*]}"
    [ "${LARGEST[*]}" = "${MEDIUM_LIMIT[*]}" ]
}
wait_until "the new map's limit as the frame's largest size" largest_is_the_new_limit
corner_offered
window_geometry "$MAIN"
drag $((WX + WW - 4)) $((WY + WH - 4)) 1275 1020
size_is "${MEDIUM_LIMIT[@]}" || fail "a drag outwards stopped at ${WW}x${WH}, not at the new map's limit"
corner_offered
small_sizes
quit
