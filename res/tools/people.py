# people.py -- the hero's walking and attack sheets, the three talking characters, the sorcerer
# (Fetiller), the characters' death effect and the talk portraits, all from one shared body.
import os

import effects
from pixels import Image, paste, outline, flip_h, crop, recolour, shift, hexcolour

INK = hexcolour("1c1424")
ART = os.path.join(os.path.dirname(os.path.dirname(os.path.abspath(__file__))), "art")


def body_colours():
    """The colour of each letter of the body as people.txt defines it."""
    colours = {}
    with open(os.path.join(ART, "people.txt"), encoding="utf-8") as f:
        for line in f:
            words = line.split()
            if len(words) == 3 and words[0] == "colour":
                colours[words[1]] = hexcolour(words[2])
    return colours


class Person:
    """A character: its colours (letters of people.txt to new colours) and what it wears in
    each view; legs=False hides the legs under a gown or robe."""

    def __init__(self, colours, wear, legs=True):
        base = body_colours()
        self.mapping = {base[k]: hexcolour(v) for k, v in colours.items()}
        self.wear = wear
        self.legs = legs


HERO = Person({}, {"front": ["herocap_front"], "back": ["herocap_back"],
                   "side": ["herocap_side"]})
TAROK = Person({"h": "4a3a30", "H": "2e241e", "c": "c84838", "C": "903028", "p": "6a5a78",
                "P": "4c4058", "s": "e8b080", "S": "c08860", "b": "5a3a24"},
               {"front": ["tarokbeard_front", "tarokband_front"], "back": ["tarokband_front"],
                "side": ["tarokbeard_side", "tarokband_side"]})
TRISHA = Person({"h": "f08838", "H": "c05c20", "c": "4898e0", "C": "2c68b0", "p": "f8c898",
                 "P": "d89c70", "b": "f0f0f8", "y": "f06090", "k": "d04870", "K": "902c50"},
                {"front": ["skirt_front", "trishahair_front"],
                 "back": ["skirt_front", "trishahair_back"],
                 "side": ["skirt_side", "trishahair_side"]})
DAMA = Person({"h": "f8d870", "H": "d0a838", "c": "b070d8", "C": "8048b0", "b": "f8e070",
               "y": "f8f8ff"},
              {"front": ["gown_front", "damahair_front"], "back": ["gown_front", "damahair_back"],
               "side": ["gown_side", "damahair_side"]}, legs=False)
SORCERER = Person({"h": "b8b8c8", "H": "8888a0", "c": "5a48a8", "C": "3a2c78", "b": "f8d848",
                   "y": "f8d848", "s": "d8b8a0", "S": "b09080"},
                  {"front": ["gown_front", "wizbeard_front", "wizhat_front"],
                   "back": ["gown_front", "wizhat_front"],
                   "side": ["gown_side", "wizbeard_side", "wizhat_side"]}, legs=False)
SORCERER_ROBE = {hexcolour("c8b8f0"): hexcolour("6a58c0"), hexcolour("8a70c8"): hexcolour("4a3c98"),
                 hexcolour("6048a0"): hexcolour("30266a")}

# walking poses: the leg grid (None for the standing legs) and how far the body rises
FRONT_POSES = {"stand": (None, 0), "a": ("legsfront_a", 0), "pass": (None, -1),
               "b": ("legsfront_b", 0)}
SIDE_POSES = {"stand": (None, 0), "a": ("legsside_a", 0), "pass": ("legsside_pass", -1),
              "b": ("legsside_b", 0)}


def figure(art, person, direction, pose, extra=None):
    """The outlined figure on a 20 x 30 canvas; direction 0 right, 1 down, 2 left, 3 up."""
    view = {0: "side", 1: "front", 2: "side", 3: "back"}[direction]
    legs, bob = (SIDE_POSES if view == "side" else FRONT_POSES)[pose]
    body = art[view].copy()
    if legs and person.legs:
        for y in range(19, 24):
            body.px[y] = [None] * body.w
        paste(body, art[legs], 0, 19)
    canvas = Image(20, 30)
    paste(canvas, recolour(body, person.mapping), 3, 4 + bob)
    for name in person.wear[view]:
        item = recolour(art[name], person.mapping)
        if person is SORCERER:
            item = recolour(item, SORCERER_ROBE)
        if not person.legs and pose in ("a", "b") and name.startswith("gown"):
            item = sway(item, 1 if pose == "a" else -1)
        paste(canvas, item, 0, bob if not name.startswith("gown") else 0)
    if extra is not None:
        paste(canvas, extra, 0, bob)
    out = outline(canvas, INK)
    return flip_h(out) if direction == 2 else out


def sway(gown, dx):
    """A gown whose hem swings dx pixels aside, for the walking frames."""
    out = gown.copy()
    for y in range(gown.h - 3, gown.h):
        out.px[y] = shift(crop(gown, 0, y, gown.w, 1), dx, 0).px[0]
    return out


def frame_row(frames, w, h):
    sheet = Image(w * len(frames), h)
    for i, f in enumerate(frames):
        paste(sheet, f, i * w, 0)
    return sheet


def hero_walk(art):
    frames = []
    for d in range(4):
        for pose in ("stand", "a", "pass", "b", "pass", "stand"):
            frame = Image(32, 32)
            frames.append(paste(frame, figure(art, HERO, d, pose), 6, 1))
    return frame_row(frames, 32, 32)


def npc_sheet(art, person):
    frames = []
    for d in range(4):
        for pose in ("a", "stand", "b"):
            frames.append(paste(Image(24, 32), figure(art, person, d, pose), 2, 2))
    frames.append(lying(art, person))
    return frame_row(frames, 24, 32)


def lying(art, person):
    """The dead frame: the figure on its back, eyes shut, across the bottom of the frame."""
    shut = Person({}, person.wear, person.legs)
    shut.mapping = dict(person.mapping)
    shut.mapping[body_colours()["e"]] = shut.mapping.get(body_colours()["S"],
                                                          body_colours()["S"])
    fig = figure(art, shut, 1, "stand")
    turned = Image(fig.h, fig.w)
    for y in range(fig.h):
        for x in range(fig.w):
            turned.px[x][fig.h - 1 - y] = fig.px[y][x]
    frame = Image(24, 32)
    return paste(frame, crop(turned, 3, 0, 24, 20), 0, 12)


def sorcerer_sheet(art):
    frames = []
    for d in range(4):
        for pose in ("a", "stand", "b"):
            frames.append(crop(figure(art, SORCERER, d, pose), 1, 0, 18, 30))
    standing = frames[3]
    smoke = effects.puff(18, 30, [hexcolour("e8d8ff"), hexcolour("9a80e8"), hexcolour("4a3c98")],
                         4, cy=18)
    for i, cloud in enumerate(smoke):
        fading = effects.dissolve(standing, [hexcolour("f8e8ff")], 4)[i]
        frames.append(outline(paste(fading, cloud, 0, 0) if i else paste(cloud, standing, 0, 0),
                              INK))
    return frame_row(frames, 18, 30)


def portrait(art, person, background):
    fig = figure(art, person, 1, "stand")
    face = crop(fig, 2, 3, 16, 16)
    out = Image(48, 48, hexcolour(background[0]))
    for y in range(48):
        for x in range(48):
            if (x + y) % 2 == 0 and y > 30:
                out.px[y][x] = hexcolour(background[1])
    for y in range(48):
        for x in range(48):
            c = face.px[y // 3][x // 3]
            if c is not None:
                out.px[y][x] = c
    return out


def build(art):
    """(sheet name, mask name, image, bits per pixel) of every sheet made here."""
    import attack
    return [
        ("hero_walk", "hero_walk_mask", hero_walk(art), 4),
        ("hero_attack", "hero_attack_mask", attack.sheet(art, figure, HERO), 8),
        ("tarok", "tarok_mask", npc_sheet(art, TAROK), 8),
        ("trisha", "trisha_mask", npc_sheet(art, TRISHA), 8),
        ("dama", "dama_mask", npc_sheet(art, DAMA), 8),
        ("npc_death", "npc_death_mask", effects.soul(), 8),
        ("fetiller", "fetiller_mask", sorcerer_sheet(art), 8),
    ]


def portraits(art):
    return [("portrait_tarok", portrait(art, TAROK, ("e8c8a0", "d8b890"))),
            ("portrait_trisha", portrait(art, TRISHA, ("b8e0f8", "a0d0f0"))),
            ("portrait_dama", portrait(art, DAMA, ("f0d0f0", "e0c0e8")))]
