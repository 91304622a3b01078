#!/usr/bin/env python3
"""artgen.py -- makes every bitmap, the icons and the tune cor.mid under res/ from the pixel-art
text files in res/art/ and the note list in res/music/cor.txt; run by scripts/regen-art."""
import argparse
import os
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))

import contact  # noqa: E402
import creatures  # noqa: E402
import people  # noqa: E402
import pixels  # noqa: E402
import sheets  # noqa: E402
import tiles  # noqa: E402
import tune  # noqa: E402
import ui  # noqa: E402

RES = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))


def write(relpath, data):
    path = os.path.join(RES, relpath)
    os.makedirs(os.path.dirname(path), exist_ok=True)
    with open(path, "wb") as f:
        f.write(data)


def main():
    parser = argparse.ArgumentParser(description=__doc__)
    parser.add_argument("--contact", metavar="PNG",
                        help="also write a scaled-up contact sheet of every image to PNG")
    args = parser.parse_args()
    art = pixels.load_dir(os.path.join(RES, "art"))

    write("bitmaps/tileset.png", sheets.sheet_png(tiles.build(art), 8, opaque=True))
    for name, mask, img, depth in creatures.build(art) + people.build(art):
        write("bitmaps/%s.png" % name, sheets.sheet_png(img, depth))
        write("bitmaps/%s.png" % mask, sheets.mask_png(img))
    for name, img in people.portraits(art):
        write("bitmaps/%s.png" % name, sheets.sheet_png(img, 8, opaque=True))
    for relpath, data in ui.build(art):
        write(relpath, data)
    write("cor.mid", tune.build(os.path.join(RES, "music", "cor.txt")))
    if args.contact:
        contact.write(RES, args.contact)


if __name__ == "__main__":
    main()
