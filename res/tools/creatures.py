# creatures.py -- the hen, the dog, the Malote, the ball and the item sheets: 16-pixel frames in
# one row, each creature outlined and standing on the bottom of its frame.
import effects
from pixels import Image, paste, outline, framed, flip_h, flip_v, hexcolour

INK = hexcolour("1c1424")


def cell(img, w=16, h=16, x=None, y=None):
    """img outlined and placed in a w x h frame: centred, feet on the last row but one."""
    fig = framed(img, INK)
    frame = Image(w, h)
    x = (w - fig.w) // 2 if x is None else x
    y = h - fig.h if y is None else y
    return paste(frame, fig, x, y)


def turned(img):
    """A quarter turn clockwise."""
    out = Image(img.h, img.w)
    for y in range(img.h):
        for x in range(img.w):
            out.px[x][img.h - 1 - y] = img.px[y][x]
    return out


def row(frames, w=16, h=16):
    sheet = Image(w * len(frames), h)
    for i, f in enumerate(frames):
        paste(sheet, f, i * w, 0)
    return sheet


def colours(*names):
    return [hexcolour(n) for n in names]


def hen(art):
    right = [cell(art["hen_a"]), cell(art["hen_b"])]
    left = [flip_h(f) for f in right]
    feathers = effects.puff(16, 16, colours("fbfbf4", "d8d4cc", "a8a098"), 4)
    return row(right + left + [outline(f, INK) for f in feathers])


def dog(art):
    left = [cell(art["dog_a"]), cell(art["dog_b"])]
    right = [flip_h(f) for f in left]
    body = flip_v(cell(art["dog_a"], y=0))
    dust = effects.puff(16, 16, colours("f0d8a8", "c8a070", "8a6040"), 3)
    return row(left + right + [body] + [outline(f, INK) for f in dust])


def malote(art):
    side = [cell(art["malote_side_a"]), cell(art["malote_side_b"])]
    frames = side + [cell(art["malote_front_a"]), cell(art["malote_front_b"])]
    frames += [flip_h(f) for f in side]
    frames += [cell(art["malote_back_a"]), cell(art["malote_back_b"])]
    smoke = effects.puff(16, 16, colours("f8c0a0", "e84848", "7a1c30"), 5)
    frames += [outline(f, INK) for f in smoke]
    frames.append(Image(16, 16))  # frame 13 is never shown
    return row(frames)


def ball(art):
    orb = art["ball_a"]
    spins = [orb, turned(orb), turned(turned(orb))]
    frames = [cell(s, y=3) for s in spins]
    frames.append(Image(16, 16))  # frame 3 is never shown
    burst = effects.puff(16, 16, colours("fff0a0", "f8a030", "c83828"), 5)
    frames += [outline(f, INK) for f in burst]
    return row(frames)


def items(art):
    """Frame 0 the potion, frame 1 a spare potion no item uses, frames 2-3 the sword."""
    sheet = Image(64, 16)
    paste(sheet, cell(art["potion"]), 0, 0)
    paste(sheet, cell(art["bluepotion"]), 16, 0)
    return paste(sheet, framed(art["sword"], INK), 33, 3)


def build(art):
    return [
        ("hen", "hen_mask", hen(art), 8),
        ("dog", "dog_mask", dog(art), 8),
        ("malote", "malote_mask", malote(art), 4),
        ("ball", "ball_mask", ball(art), 4),
        ("items", "items_mask", items(art), 8),
    ]
