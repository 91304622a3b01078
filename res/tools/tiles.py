# tiles.py -- composes the tile set: 12 x 13 tiles of 16 x 16, numbered row by row from the top
# left. Ground edges are cut from rounded shapes so that neighbouring tiles always join.
import math

from pixels import Image, paste, outline, framed, crop, hexcolour

COLS, ROWS, TS = 12, 13, 16

# The boundary wobbles a little but crosses every tile border at the same place.
WOBBLE = [0, 1, 1, 0, 0, -1, -1, 0, 0, 1, 1, 0, 0, -1, -1, 0]

LEAF = hexcolour("24461f")
STONE = hexcolour("3a3634")
WOOD = hexcolour("40281a")
DARK = hexcolour("2a2230")


def round_rect_distance(px, py, x0, y0, x1, y1, radius):
    """Signed distance from the point to a rounded rectangle: negative inside."""
    cx, cy = (x0 + x1) / 2, (y0 + y1) / 2
    qx = abs(px - cx) - (x1 - x0) / 2 + radius
    qy = abs(py - cy) - (y1 - y0) / 2 + radius
    outside = math.hypot(max(qx, 0), max(qy, 0))
    return outside + min(max(qx, qy), 0) - radius


def depth(island, x, y):
    """How far pixel (x, y) of a block lies inside the terrain: the 3 x 3 block is a rounded
    patch of terrain on grass, the 2 x 2 block (island) terrain around a small patch of grass."""
    wob = WOBBLE[(x + y) % 16] * 0.6
    if island:
        return round_rect_distance(x + 0.5, y + 0.5, 12, 12, 20, 20, 4) + wob
    return -round_rect_distance(x + 0.5, y + 0.5, 4, 4, 44, 44, 9) + wob


class Terrain:
    """A ground that lies over grass: its texture, its rim colours and the grass fringe."""

    def __init__(self, texture, rim, inner_rim, fringe):
        self.texture = texture
        self.rim = rim
        self.inner_rim = inner_rim
        self.fringe = fringe

    def pixel(self, grass, d, x, y):
        if d >= 0:
            if d < 1 and self.rim:
                return self.rim
            if d < 2 and self.inner_rim:
                return self.inner_rim
            return self.texture.px[y][x]
        if d > -1 and self.fringe:
            return self.fringe
        return grass.px[y][x]


def transition(terrain, grass, island, bx, by):
    tile = Image(TS, TS)
    for y in range(TS):
        for x in range(TS):
            d = depth(island, bx * TS + x, by * TS + y)
            tile.px[y][x] = terrain.pixel(grass, d, x, y)
    return tile


def put(sheet, col, row, tile):
    paste(sheet, tile, col * TS, row * TS)


def place_block(sheet, terrain, grass, col, row):
    """The 3 x 3 block at (col, row) and its 2 x 2 inner corners just right of it."""
    for by in range(3):
        for bx in range(3):
            put(sheet, col + bx, row + by, transition(terrain, grass, False, bx, by))
    for by in range(2):
        for bx in range(2):
            put(sheet, col + 3 + bx, row + by, transition(terrain, grass, True, bx, by))


def on(base, thing, x=None, y=None, line=None):
    """A copy of base with thing drawn on it, outlined with line if given; centred at the
    bottom by default."""
    if line is not None:
        thing = framed(thing, line)
        x = None if x is None else x - 1
        y = None if y is None else y - 1
    if x is None:
        x = (base.w - thing.w) // 2
    if y is None:
        y = base.h - thing.h - 1
    return paste(base.copy(), thing, x, y)


def stacked(top, bottom):
    img = Image(top.w, top.h + bottom.h)
    paste(img, top, 0, 0)
    return paste(img, bottom, 0, top.h)


def put_tall(sheet, col, row, img):
    """An image several tiles big, cut into tiles from (col, row) on."""
    for r in range(img.h // TS):
        for c in range(img.w // TS):
            put(sheet, col + c, row + r, crop(img, c * TS, r * TS, TS, TS))


def fence(art, grass, left, right, up, down):
    """A fence tile: rails to the sides named, a post in the middle."""
    wood = Image(TS, TS)
    if left or right:
        rail = art["fencerail"]
        x0, x1 = (0 if left else 8), (TS if right else 8)
        paste(wood, crop(rail, 0, 0, x1 - x0, rail.h), x0, 5)
    if up or down:
        y0, y1 = (0 if up else 8), (TS if down else 8)
        paste(wood, crop(art["fencevrail"], 0, 0, 2, y1 - y0), 7, y0)
    paste(wood, art["fencepost"], 4, 2)
    return paste(grass.copy(), outline(wood, WOOD), 0, 0)


def pattern(colours, rule):
    tile = Image(TS, TS)
    for y in range(TS):
        for x in range(TS):
            tile.px[y][x] = hexcolour(colours[rule(x, y)])
    return tile


def checker_colour(x, y):
    """Light and dark squares of 8 pixels, each with a darker seam on its right and bottom."""
    dark = (x // 8 + y // 8) % 2
    seam = x % 8 == 7 or y % 8 == 7
    return (3 if seam else 1) if dark else (2 if seam else 0)


def floors():
    stone = pattern(["d6d1c6", "bdb7ab", "a19b90", "e8e4dc"],
                    lambda x, y: 2 if x % 8 == 7 or y % 8 == 7 else
                    3 if x % 8 == 0 or y % 8 == 0 else (1 if (x * 7 + y * 3) % 11 == 0 else 0))
    checker = pattern(["ece4d4", "6e5a8a", "cfc6b4", "4e3e66"], checker_colour)
    carpet = pattern(["b8303c", "d8484c", "f0c050", "8c2030"],
                     lambda x, y: 1 if (x + y) % 4 == 0 and (x - y) % 8 == 0 else 0)
    carpet_edge = pattern(["b8303c", "d8484c", "f0c050", "8c2030"],
                          lambda x, y: 3 if y < 2 else 2 if y == 3 else
                          1 if (x + y) % 4 == 0 and (x - y) % 8 == 0 else 0)
    wall_top = pattern(["4a3a5a", "5c4a6c", "3a2c48"],
                       lambda x, y: 2 if y == 15 else (1 if (x + 2 * y) % 9 == 0 else 0))
    wall_face = pattern(["efe2c4", "d9c9a6", "9c6a40", "7a5030", "c0ab88"],
                        lambda x, y: 3 if y == 9 else 2 if y > 9 else
                        4 if y == 8 else (1 if x % 8 == 0 else 0))
    stairs = pattern(["b8b3aa", "98938a", "e0dcd4", "6e6a64"],
                     lambda x, y: 3 if x in (0, 15) else
                     (2 if y % 4 == 0 else 1 if y % 4 == 3 else 0))
    bridge_h = pattern(["c89460", "a87448", "7c5232", "e0b078"],
                       lambda x, y: 2 if y in (0, 15) or x % 4 == 3 else 3 if x % 4 == 0 else
                       1 if (x * 5 + y) % 13 == 0 else 0)
    bridge_v = pattern(["c89460", "a87448", "7c5232", "e0b078"],
                       lambda x, y: 2 if x in (0, 15) or y % 4 == 3 else 3 if y % 4 == 0 else
                       1 if (y * 5 + x) % 13 == 0 else 0)
    void = pattern(["1a1424", "241c30"], lambda x, y: 1 if (x * 3 + y * 5) % 17 == 0 else 0)
    return (stone, checker, carpet, carpet_edge, wall_top, wall_face, stairs, bridge_h, bridge_v,
            void)


def build(art):
    sheet = Image(COLS * TS, ROWS * TS)
    g1, g2, g3, g4, dg = (art[n] for n in ("grass1", "grass2", "grass3", "grass4", "darkgrass"))
    path, water, sand, cob, wood = (art[n] for n in ("path", "water", "sand", "cobbles",
                                                     "woodfloor"))
    (stone, checker, carpet, carpet_edge, wall_top, wall_face, stairs, bridge_h, bridge_v,
     void) = floors()

    row0 = [g1, g2, g3, g4, on(g1, art["flowersred"], 0, 0), on(g2, art["flowersyellow"], 0, 0),
            on(g3, art["tallgrass"], 0, 2), on(g1, art["bush"], line=LEAF),
            on(g2, art["rock"], line=STONE), on(g1, art["stump"], line=WOOD),
            on(g4, art["mushrooms"], line=hexcolour("4a2020")), dg]
    for i, tile in enumerate(row0):
        put(sheet, i, 0, tile)

    place_block(sheet, Terrain(path, hexcolour("c49a60"), None, hexcolour("4f9a3c")), g1, 0, 1)
    place_block(sheet, Terrain(water, hexcolour("e6f6fc"), hexcolour("a6dcf6"),
                               hexcolour("7a5a36")), g1, 5, 1)
    place_block(sheet, Terrain(sand, hexcolour("dcc688"), None, hexcolour("54a33c")), g1, 0, 4)
    place_block(sheet, Terrain(cob, hexcolour("7b766f"), None, hexcolour("4f9a3c")), g1, 5, 4)

    lily = on(art["water2"], art["lilypad"], 2, 5, line=hexcolour("2a5a2a"))
    singles = {
        (3, 3): art["pathstones"], (4, 3): path, (8, 3): art["water2"], (9, 3): lily,
        (10, 1): bridge_h, (11, 1): bridge_v,
        (10, 2): on(water, art["steppingstone"], 0, 2, line=STONE),
        (11, 2): on(art["water2"], art["reeds"], 0, 9, line=hexcolour("234a22")),
        (10, 3): on(g1, art["sign"], line=WOOD), (11, 3): on(g2, art["well"], line=STONE),
        (3, 6): sand, (4, 6): on(sand, art["shell"], line=hexcolour("8a4a5a")),
        (8, 6): cob, (9, 6): on(cob, art["lamp"], line=hexcolour("24202c")),
        (10, 4): on(g3, art["boulder"], line=STONE), (11, 4): on(g1, art["hole"], y=4),
        (10, 5): on(g4, art["grave"], line=STONE),
        (11, 5): on(cob, art["flowerpot"], line=hexcolour("4a2020")),
        (10, 6): on(g2, art["haybale"], line=hexcolour("5a4418")),
        (11, 6): on(g3, art["logs"], line=WOOD),
        (3, 7): on(dg, art["flowersred"], 0, 0), (4, 7): on(dg, art["mushrooms"],
                                                           line=hexcolour("4a2020")),
        (5, 7): on(dg, art["tallgrass"], 0, 2), (3, 8): on(dg, art["bush"], line=LEAF),
        (4, 8): on(dg, art["rock"], line=STONE), (5, 8): on(dg, art["stump"], line=WOOD),
    }
    for (c, r), tile in singles.items():
        put(sheet, c, r, tile)

    tree = Image(32, 32)
    paste(tree, outline(art["roundtree"], LEAF), 2, 0)
    put_tall(sheet, 0, 7, on(stacked(crop_row(g1, g2), crop_row(g3, g4)), tree, 0, 0))
    pine = Image(16, 32)
    paste(pine, outline(art["pinetree"], LEAF), 0, 1)
    put_tall(sheet, 2, 7, on(stacked(g2, g1), pine, 0, 0))

    fences = [(False, True, False, False), (True, True, False, False),
              (True, False, False, False), (False, False, False, False),
              (False, False, True, True), (True, True, False, False),
              (False, True, False, True), (True, False, False, True),
              (False, True, True, False), (True, False, True, False),
              (False, False, False, True), (False, False, True, False)]
    for i, sides in enumerate(fences):
        base = g1 if i != 5 else path
        put(sheet, 6 + i % 6, 7 + i // 6, fence(art, base, *sides))

    walltop, wallface = art["walltop"], art["wallface"]
    shade = hexcolour("8a857c")
    put(sheet, 0, 9, edge(walltop, shade, left=True))
    put(sheet, 1, 9, walltop)
    put(sheet, 2, 9, edge(walltop, shade, right=True))
    put(sheet, 0, 10, edge(wallface, hexcolour("5c5750"), left=True))
    put(sheet, 1, 10, wallface)
    put(sheet, 2, 10, edge(wallface, hexcolour("5c5750"), right=True))
    house = art["housewall"]
    for i, tile in enumerate([art["roofridge"], art["roof"], edge(art["roof"], hexcolour("6e2424"),
                                                                  left=True, right=True)]):
        put(sheet, 3 + i, 9, tile)
    put(sheet, 3, 10, house)
    put(sheet, 4, 10, on(house, art["window"], 3, 2))
    put(sheet, 5, 10, on(house, art["door"], 3, 2))
    for i, tile in enumerate([wood, stone, checker, carpet, carpet_edge, stairs]):
        put(sheet, 6 + i, 9, tile)
    for i, tile in enumerate([wall_top, wall_face, on(wood, art["table"], line=WOOD),
                              on(wood, art["barrel"], line=WOOD), on(wood, art["crate"],
                                                                     line=WOOD),
                              on(wood, art["flowerpot"], line=hexcolour("4a2020"))]):
        put(sheet, 6 + i, 10, tile)

    soil = art["soil"]
    row11 = [soil, on(soil, art["wheat"], 0, 2), on(soil, art["cabbages"], 0, 2),
             edge(art["roof"], hexcolour("6e2424"), left=True),
             edge(art["roof"], hexcolour("6e2424"), right=True),
             edge(house, hexcolour("6a4a34"), left=True), edge(house, hexcolour("6a4a34"),
                                                               right=True),
             on(stone, art["table"], line=WOOD), on(stone, art["barrel"], line=WOOD),
             on(carpet, art["crate"], line=WOOD), on(path, art["rock"], line=STONE),
             on(path, art["haybale"], line=hexcolour("5a4418"))]
    row12 = [on(water, art["boulder"], line=STONE), on(sand, art["rock"], line=STONE),
             on(sand, art["boulder"], line=STONE), on(g4, art["sign"], line=WOOD),
             on(dg, art["well"], line=STONE), on(dg, art["grave"], line=STONE),
             on(dg, art["lamp"], line=hexcolour("24202c")), on(dg, art["hole"], y=4),
             on(path, art["flowerpot"], line=hexcolour("4a2020")),
             on(cob, art["barrel"], line=WOOD), on(cob, art["crate"], line=WOOD), void]
    for i, tile in enumerate(row11):
        put(sheet, i, 11, tile)
    for i, tile in enumerate(row12):
        put(sheet, i, 12, tile)
    return sheet


def crop_row(left, right):
    img = Image(2 * TS, TS)
    paste(img, left, 0, 0)
    return paste(img, right, TS, 0)


def edge(tile, colour, left=False, right=False):
    """A tile with a dark line down its left or right border, where a wall or roof ends."""
    out = tile.copy()
    for y in range(TS):
        if left:
            out.px[y][0] = colour
        if right:
            out.px[y][TS - 1] = colour
    return out
