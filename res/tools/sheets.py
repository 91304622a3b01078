# sheets.py -- turns composed images into the resource files: a colour sheet on a pure black
# background at the depth the engine expects, and the 1-bit mask made from it.
import pngfile
from pixels import BLACK


def palette_of(img):
    """Black first, then every colour in the order it first appears, row by row."""
    palette = [BLACK]
    seen = {BLACK: 0}
    for row in img.px:
        for c in row:
            if c is not None and c not in seen:
                seen[c] = len(palette)
                palette.append(c)
    return palette, seen


def sheet_png(img, depth, opaque=False):
    """A sprite sheet: transparent pixels become pure black, which no sprite pixel may be."""
    palette, index = palette_of(img)
    rows = []
    for y, row in enumerate(img.px):
        if opaque and None in row:
            raise ValueError("hole in an opaque image at row %d" % y)
        if not opaque and BLACK in row:
            raise ValueError("pure black inside a sprite at row %d" % y)
        rows.append([0 if c is None else index[c] for c in row])
    if len(palette) > (1 << depth):
        raise ValueError("%d colours do not fit in %d bits per pixel" % (len(palette), depth))
    return pngfile.encode(img.w, img.h, depth, palette, rows)


def mask_png(img):
    """White (1) where the sheet is black, black (0) under the sprite's own pixels."""
    rows = [[1 if c is None else 0 for c in row] for row in img.px]
    return pngfile.encode(img.w, img.h, 1, [BLACK, (255, 255, 255)], rows)
