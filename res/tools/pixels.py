# pixels.py -- a small RGB image with transparent pixels, the text format the pixel art is kept
# in, and the few operations the sheets are composed with (paste, mirror, outline, recolour).
import os

BLACK = (0, 0, 0)


class Image:
    def __init__(self, width, height, fill=None):
        self.w = width
        self.h = height
        self.px = [[fill] * width for _ in range(height)]

    def get(self, x, y):
        if 0 <= x < self.w and 0 <= y < self.h:
            return self.px[y][x]
        return None

    def put(self, x, y, colour):
        if 0 <= x < self.w and 0 <= y < self.h:
            self.px[y][x] = colour

    def copy(self):
        out = Image(self.w, self.h)
        out.px = [list(row) for row in self.px]
        return out


def hexcolour(text):
    value = int(text, 16)
    return (value >> 16 & 255, value >> 8 & 255, value & 255)


def _grid(path, name, rows, mirrored, colours):
    full = [r + r[::-1] for r in rows] if mirrored else rows
    width = len(full[0])
    img = Image(width, len(full))
    for y, row in enumerate(full):
        if len(row) != width:
            raise ValueError("%s: grid %s row %d is %d wide, not %d"
                             % (path, name, y, len(row), width))
        for x, ch in enumerate(row):
            if ch not in colours:
                raise ValueError("%s: grid %s uses undefined colour %r" % (path, name, ch))
            img.px[y][x] = colours[ch]
    return img


def load(path):
    """The grids of one art file by name. The format: 'colour C RRGGBB' gives the colour of
    character C; 'grid NAME' starts a grid whose rows follow up to the next blank line, and
    'half NAME' a grid whose rows are left halves, mirrored into the right; '.' is a transparent
    pixel; lines starting with '#' are comments."""
    colours = {".": None}
    grids = {}
    current = None
    with open(path, encoding="utf-8") as f:
        for number, line in enumerate(f, 1):
            words = line.split()
            if words and words[0].startswith("#"):
                continue
            if current is not None and len(words) == 1:
                current[2].append(words[0])
                continue
            if current is not None:
                grids[current[0]] = _grid(path, current[0], current[2], current[1], colours)
                current = None
            if not words:
                continue
            if words[0] == "colour" and len(words) == 3:
                colours[words[1]] = hexcolour(words[2])
            elif words[0] in ("grid", "half") and len(words) == 2:
                if words[1] in grids:
                    raise ValueError("%s:%d: grid %s defined twice" % (path, number, words[1]))
                current = (words[1], words[0] == "half", [])
            else:
                raise ValueError("%s:%d: cannot read %r" % (path, number, line))
    if current is not None:
        grids[current[0]] = _grid(path, current[0], current[2], current[1], colours)
    return grids


def load_dir(folder):
    """Every grid of every .txt file in folder, by name; a name used twice is an error."""
    grids = {}
    for entry in sorted(os.listdir(folder)):
        if entry.endswith(".txt"):
            for key, img in load(os.path.join(folder, entry)).items():
                if key in grids:
                    raise ValueError("grid %s defined twice" % key)
                grids[key] = img
    return grids


def paste(dst, src, x, y):
    """Draws src onto dst with its top left at (x, y); transparent pixels leave dst as it was."""
    for sy in range(src.h):
        for sx in range(src.w):
            c = src.px[sy][sx]
            if c is not None:
                dst.put(x + sx, y + sy, c)
    return dst


def flip_h(img):
    out = Image(img.w, img.h)
    out.px = [row[::-1] for row in img.px]
    return out


def flip_v(img):
    out = Image(img.w, img.h)
    out.px = [list(row) for row in img.px[::-1]]
    return out


def crop(img, x, y, w, h):
    out = Image(w, h)
    for yy in range(h):
        for xx in range(w):
            out.px[yy][xx] = img.get(x + xx, y + yy)
    return out


def outline(img, colour, diagonal=False):
    """Adds a one-pixel border of colour around every opaque shape, inside the image's bounds."""
    out = img.copy()
    steps = [(1, 0), (-1, 0), (0, 1), (0, -1)]
    if diagonal:
        steps += [(1, 1), (1, -1), (-1, 1), (-1, -1)]
    for y in range(img.h):
        for x in range(img.w):
            if img.px[y][x] is None and any(img.get(x + dx, y + dy) is not None
                                            for dx, dy in steps):
                out.px[y][x] = colour
    return out


def framed(img, colour, margin=1):
    """img on a canvas grown by margin on every side, outlined with colour."""
    out = Image(img.w + 2 * margin, img.h + 2 * margin)
    paste(out, img, margin, margin)
    return outline(out, colour)


def recolour(img, mapping):
    out = img.copy()
    out.px = [[mapping.get(c, c) for c in row] for row in img.px]
    return out


def shift(img, dx, dy):
    return paste(Image(img.w, img.h), img, dx, dy)
