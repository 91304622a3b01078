# ui.py -- the editor's toolbar strip (13 buttons of 16 x 16, 4 bits per pixel) and the
# application and document icons (32 x 32 and 16 x 16, 16 colours, index 0 transparent).
import pngfile
from pixels import Image, paste, hexcolour

FACE = hexcolour("c0c0c0")
VGA = {k: hexcolour(v) for k, v in {
    "k": "000000", "r": "800000", "g": "008000", "o": "808000", "n": "000080", "p": "800080",
    "t": "008080", "L": "c0c0c0", "d": "808080", "R": "ff0000", "G": "00ff00", "Y": "ffff00",
    "B": "0000ff", "M": "ff00ff", "C": "00ffff", "W": "ffffff"}.items()}


def rect(img, x0, y0, x1, y1, fill, edge=None):
    for y in range(y0, y1 + 1):
        for x in range(x0, x1 + 1):
            border = x in (x0, x1) or y in (y0, y1)
            img.put(x, y, edge if border and edge else fill)


def line(img, x0, y0, x1, y1, colour):
    steps = max(abs(x1 - x0), abs(y1 - y0))
    for i in range(steps + 1):
        img.put(round(x0 + (x1 - x0) * i / steps), round(y0 + (y1 - y0) * i / steps), colour)


def paste_icon(art):
    img = Image(16, 16)
    rect(img, 1, 2, 10, 14, VGA["o"], VGA["k"])
    rect(img, 3, 1, 8, 3, VGA["d"], VGA["k"])
    rect(img, 6, 6, 14, 15, VGA["W"], VGA["k"])
    for y in (8, 10, 12):
        line(img, 8, y, 12, y, VGA["d"])
    return img


def print_icon(art):
    img = Image(16, 16)
    rect(img, 4, 1, 11, 6, VGA["W"], VGA["k"])
    rect(img, 1, 6, 14, 12, VGA["L"], VGA["k"])
    line(img, 2, 7, 13, 7, VGA["W"])
    img.put(12, 9, VGA["G"])
    rect(img, 3, 11, 12, 14, VGA["W"], VGA["k"])
    line(img, 5, 13, 10, 13, VGA["d"])
    return img


def little_person(img, x, y):
    rect(img, x + 1, y, x + 4, y + 3, VGA["Y"], VGA["k"])
    img.put(x + 2, y + 2, VGA["k"])
    rect(img, x, y + 4, x + 5, y + 8, VGA["g"], VGA["k"])
    rect(img, x + 1, y + 9, x + 4, y + 10, VGA["n"], VGA["k"])


def delete_sprite_icon(art):
    img = Image(16, 16)
    little_person(img, 2, 2)
    line(img, 7, 7, 14, 14, VGA["R"])
    line(img, 8, 7, 15, 14, VGA["R"])
    line(img, 14, 7, 7, 14, VGA["R"])
    line(img, 15, 7, 8, 14, VGA["R"])
    return img


def tiles_icon(art):
    img = Image(16, 16)
    colours = [["G", "g", "C"], ["g", "o", "B"], ["o", "o", "G"]]
    for r in range(3):
        for c in range(3):
            rect(img, 1 + c * 5, 1 + r * 5, 5 + c * 5, 5 + r * 5, VGA[colours[r][c]], VGA["k"])
    return img


def sprites_icon(art):
    img = Image(16, 16)
    rect(img, 0, 12, 15, 15, VGA["g"])
    little_person(img, 5, 2)
    img.put(12, 3, VGA["Y"])
    img.put(13, 2, VGA["Y"])
    img.put(13, 4, VGA["Y"])
    return img


def collisions_icon(art):
    img = Image(16, 16)
    rect(img, 1, 1, 14, 14, VGA["d"], VGA["k"])
    for y in (5, 10):
        line(img, 2, y, 13, y, VGA["k"])
    for x, y0, y1 in ((7, 2, 4), (4, 6, 9), (10, 6, 9), (7, 11, 13)):
        line(img, x, y0, x, y1, VGA["k"])
    line(img, 2, 2, 13, 13, VGA["R"])
    line(img, 13, 2, 2, 13, VGA["R"])
    line(img, 3, 2, 13, 12, VGA["R"])
    line(img, 12, 2, 2, 12, VGA["R"])
    return img


def run_icon(art):
    img = Image(16, 16)
    for x in range(3, 14):
        half = (x - 3) * 6 // 10
        for y in range(8 - 6 + half, 8 + 6 - half + 1):
            edge = y in (2 + half, 14 - half) or x == 3
            img.put(x, y, VGA["k"] if edge else VGA["G"])
    img.put(13, 8, VGA["k"])
    return img


QUESTION = ["..WWWW..", ".WW..WW.", ".....WW.", "....WW..", "...WW...", "...WW...",
            "........", "...WW..."]


def about_icon(art):
    img = Image(16, 16)
    for y in range(16):
        for x in range(16):
            d = (x - 7.5) ** 2 + (y - 7.5) ** 2
            if d <= 56:
                img.px[y][x] = VGA["k"] if d > 42 else VGA["B"]
    for y, row in enumerate(QUESTION):
        for x, ch in enumerate(row):
            if ch == "W":
                img.px[y + 4][x + 4] = VGA["W"]
    return img


def toolbar(art):
    buttons = [art["tb_new"], art["tb_open"], art["tb_save"], art["tb_cut"], art["tb_copy"],
               paste_icon(art), print_icon(art), delete_sprite_icon(art), tiles_icon(art),
               sprites_icon(art), collisions_icon(art), run_icon(art), about_icon(art)]
    strip = Image(16 * len(buttons), 16, FACE)
    for i, b in enumerate(buttons):
        paste(strip, b, i * 16, 0)
    palette = [VGA[k] for k in "krgontLdpRGYBMCW"]
    index = {c: i for i, c in enumerate(palette)}
    rows = [[index[c] for c in row] for row in strip.px]
    return pngfile.encode(strip.w, strip.h, 4, palette, rows)


def icon(img, scale):
    """A 16-colour icon PNG; palette index 0 is the transparent background."""
    palette = [(0, 0, 0)] + [VGA[k] for k in "krgontLdRGYBCW"]
    index = {c: i + 1 for i, c in enumerate(palette[1:])}
    rows = [[0 if img.px[y // scale][x // scale] is None else index[img.px[y // scale][x // scale]]
             for x in range(img.w * scale)] for y in range(img.h * scale)]
    return pngfile.encode(img.w * scale, img.h * scale, 4, palette, rows, transparent_index=0)


def build(art):
    return [("bitmaps/toolbar.png", toolbar(art)),
            ("icons/app32.png", icon(art["app16"], 2)), ("icons/app16.png", icon(art["app16"], 1)),
            ("icons/doc32.png", icon(art["doc16"], 2)), ("icons/doc16.png", icon(art["doc16"], 1))]
