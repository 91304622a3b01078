# contact.py -- a contact sheet of every image under res/, scaled up, for looking at the art.
import os

import pngfile
from pixels import Image, paste

SCALE = 3
GAP = 6


def write(res, out_path, only=None):
    images = []
    for folder in ("bitmaps", "icons"):
        for name in sorted(os.listdir(os.path.join(res, folder))):
            if name.endswith(".png") and (only is None or only in name):
                with open(os.path.join(res, folder, name), "rb") as f:
                    images.append(pngfile.decode_rgb(f.read()))
    width = max(w for w, _, _ in images) * SCALE + 2 * GAP
    height = sum(h * SCALE + GAP for _, h, _ in images) + GAP
    sheet = Image(width, height, (90, 90, 110))
    y = GAP
    for w, h, rows in images:
        big = Image(w * SCALE, h * SCALE)
        for yy in range(h * SCALE):
            for xx in range(w * SCALE):
                big.px[yy][xx] = rows[yy // SCALE][xx // SCALE]
        paste(sheet, big, GAP, y)
        y += h * SCALE + GAP
    palette = sorted({c for row in sheet.px for c in row})
    if len(palette) > 256:
        raise ValueError("contact sheet needs more than 256 colours")
    index = {c: i for i, c in enumerate(palette)}
    rows = [[index[c] for c in row] for row in sheet.px]
    with open(out_path, "wb") as f:
        f.write(pngfile.encode(sheet.w, sheet.h, 8, palette, rows))
