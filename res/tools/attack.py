# attack.py -- the hero's attack sheet: the sword held up, the four guard poses with the shield,
# and two strike frames per direction (the swing, then the blade at full reach).
from pixels import Image, paste, outline, hexcolour

INK = hexcolour("1c1424")
BLADE = hexcolour("eef2f8")
EDGE = hexcolour("a8b0c4")
GUARD = hexcolour("e8b840")
GRIP = hexcolour("7a4a24")

SHIELD = [
    ".rrrrrr.",
    "rbbbbbbr",
    "rbbyybbr",
    "rbyyyybr",
    "rbbyybbr",
    "rbbbbbbr",
    ".rbbbbr.",
    "..rbbr..",
    "...rr...",
]


def shield():
    colours = {"r": hexcolour("f0c850"), "b": hexcolour("3a68c8"), "y": hexcolour("f8f0d0"),
               ".": None}
    img = Image(8, 9)
    for y, row in enumerate(SHIELD):
        for x, ch in enumerate(row):
            img.px[y][x] = colours[ch]
    return img


def sword(layer, hx, hy, dx, dy, length):
    """A sword whose grip is at (hx, hy), pointing along (dx, dy) (one of eight directions)."""
    px, py = -dy, dx  # across the blade
    for i in range(-2, 0):
        layer.put(hx + dx * i, hy + dy * i, GRIP)
    for k in (-2, -1, 0, 1, 2):
        layer.put(hx + px * k, hy + py * k, GUARD)
    for i in range(1, length + 1):
        layer.put(hx + dx * i, hy + dy * i, BLADE)
        if i < length:
            layer.put(hx + dx * i + px, hy + dy * i + py, EDGE)


def with_sword(fig_canvas, hx, hy, dx, dy, length, behind=False):
    """The figure in a 32 x 32 frame with a sword; the figure's canvas goes at (6, 1)."""
    blade = Image(32, 32)
    sword(blade, hx, hy, dx, dy, length)
    blade = outline(blade, INK)
    frame = Image(32, 32)
    if behind:
        paste(frame, blade, 0, 0)
        return paste(frame, fig_canvas, 6, 1)
    paste(frame, fig_canvas, 6, 1)
    return paste(frame, blade, 0, 0)


def guard(art, figure, hero, d):
    """Standing with the shield on the arm that faces the viewer."""
    extra = Image(20, 30)
    spot = {0: (8, 16), 1: (11, 15), 2: (8, 16), 3: (1, 15)}[d]
    paste(extra, shield(), *spot)
    fig = figure(art, hero, d, "stand", extra)
    return paste(Image(32, 32), fig, 6, 1)


def strikes(art, figure, hero, d):
    """(swing, reach) for direction d, hand positions in frame pixels."""
    fig = figure(art, hero, d, "a" if d in (0, 2) else "stand")
    if d == 0:
        return (with_sword(fig, 20, 16, 1, -1, 10), with_sword(fig, 21, 19, 1, 0, 10))
    if d == 2:
        return (with_sword(fig, 11, 16, -1, -1, 10), with_sword(fig, 10, 19, -1, 0, 10))
    if d == 1:
        return (with_sword(fig, 9, 21, -1, 1, 8), with_sword(fig, 12, 22, 0, 1, 9))
    return (with_sword(fig, 23, 12, 1, -1, 8, behind=True),
            with_sword(fig, 21, 12, 0, -1, 11, behind=True))


def sheet(art, figure, hero):
    frames = [with_sword(figure(art, hero, 1, "stand"), 24, 14, 0, -1, 12)]
    frames += [guard(art, figure, hero, d) for d in range(4)]
    for d in range(4):
        frames += strikes(art, figure, hero, d)
    out = Image(32 * len(frames), 32)
    for i, f in enumerate(frames):
        paste(out, f, i * 32, 0)
    return out
