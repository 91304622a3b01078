# effects.py -- the one-shot effects: a puff of smoke for the creatures' deaths and the ball's
# burst, a figure dissolving into sparks, and the soul that leaves a fallen character.
import math

from pixels import Image, paste, outline, hexcolour

BAYER = [[0, 8, 2, 10], [12, 4, 14, 6], [3, 11, 1, 9], [15, 7, 13, 5]]
INK = hexcolour("1c1424")


def puff(w, h, colours, frames, cx=None, cy=None, grow=1.0):
    """A cloud that swells from the centre and thins out: colours are light, mid, dark."""
    light, mid, dark = colours
    cx = w / 2 if cx is None else cx
    cy = h / 2 if cy is None else cy
    out = []
    for i in range(frames):
        t = (i + 1) / frames
        img = Image(w, h)
        radius = (2 + t * min(w, h) * 0.42) * grow
        blobs = [(0, 0, 1.0)] + [(math.cos(a * math.pi / 3 + 0.4) * radius * 0.55,
                                  math.sin(a * math.pi / 3 + 0.4) * radius * 0.55, 0.55)
                                 for a in range(6)]
        for y in range(h):
            for x in range(w):
                inside = None
                for bx, by, br in blobs:
                    dx, dy = x + 0.5 - (cx + bx), y + 0.5 - (cy + by)
                    d = math.hypot(dx, dy) / (radius * br)
                    if d <= 1:
                        inside = d if inside is None else min(inside, d)
                if inside is None:
                    continue
                fade = BAYER[y % 4][x % 4] / 16
                if t > 0.5 and fade < (t - 0.5) * 1.6:
                    continue
                shade = light if inside < 0.45 and (x + y) % 3 else mid if inside < 0.8 else dark
                img.px[y][x] = shade
        out.append(sparkle(img, i, light))
    return out


def sparkle(img, i, colour):
    """A few sparks flying out from the cloud."""
    cx, cy = img.w // 2, img.h // 2
    for k in range(4):
        angle = k * math.pi / 2 + math.pi / 4 + i * 0.3
        r = 3 + i * 2.2
        x, y = int(cx + math.cos(angle) * r), int(cy + math.sin(angle) * r)
        if 0 <= x < img.w and 0 <= y < img.h and img.px[y][x] is None:
            img.px[y][x] = colour
    return img


def dissolve(fig, colours, frames):
    """The figure breaking up into sparks of the given colours and rising away."""
    out = []
    for i in range(frames):
        t = (i + 1) / (frames + 1)
        img = Image(fig.w, fig.h)
        for y in range(fig.h):
            for x in range(fig.w):
                c = fig.px[y][x]
                if c is None:
                    continue
                level = BAYER[y % 4][x % 4] / 16
                if level >= t * 1.25:
                    img.put(x, y, c)
                elif level >= t * 1.25 - 0.3:
                    img.put(x + (x % 3) - 1, y - 2 * i - (y % 2), colours[(x + y) % len(colours)])
        out.append(img)
    return out


GHOST = [
    "...wwww...",
    "..wwwwww..",
    ".wwwwwwww.",
    ".wwewwewwg",
    "wwwewwewwg",
    "wwwwwwwwwg",
    "wwwwwoowwg",
    "wwwwwwwwgg",
    "wwwwwwwwgg",
    "wgwwgwwggg",
    "w.ww.wgg.g",
]


def ghost():
    colours = {"w": hexcolour("f4f4ff"), "g": hexcolour("b8c0e0"), "e": hexcolour("3a3060"),
               "o": hexcolour("6a5a90"), ".": None}
    img = Image(len(GHOST[0]), len(GHOST))
    for y, row in enumerate(GHOST):
        for x, ch in enumerate(row):
            img.px[y][x] = colours[ch]
    return outline(paste(Image(img.w + 2, img.h + 2), img, 1, 1), INK)


def soul():
    """Nine frames of 24 x 32: a puff of dust where the character fell, then its soul rising."""
    dust = puff(24, 20, [hexcolour("f0ece0"), hexcolour("c8c0b0"), hexcolour("8c8478")], 5)
    spirit = ghost()
    frames = []
    for i in range(9):
        frame = Image(24, 32)
        if i < 5:
            paste(frame, dust[i], 0, 12)
        if i >= 2:
            rise = (i - 2) * 3
            faded = spirit.copy()
            if i >= 7:
                for y in range(faded.h):
                    for x in range(faded.w):
                        if BAYER[y % 4][x % 4] < (i - 6) * 6:
                            faded.px[y][x] = None
            paste(frame, faded, 6, 16 - rise)
        frames.append(frame)
    sheet = Image(24 * 9, 32)
    for i, f in enumerate(frames):
        paste(sheet, f, i * 24, 0)
    return sheet
