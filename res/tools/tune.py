# tune.py -- reads the note list of res/music/cor.txt and writes it as a standard MIDI file:
# format 1, a tempo track, then the melody, the bass and the drums (channel 10) in their tracks.
import struct

DIVISION = 480  # ticks per quarter note
NOTE_NAMES = {"C": 0, "D": 2, "E": 4, "F": 5, "G": 7, "A": 9, "B": 11}


def parse_note(token):
    """(midi key or None for a rest, length in ticks) of a token such as C#5/8. or r/4."""
    name, length = token.split("/")
    dotted = length.endswith(".")
    ticks = DIVISION * 4 // int(length.rstrip("."))
    if dotted:
        ticks += ticks // 2
    if name == "r":
        return None, ticks
    key = NOTE_NAMES[name[0]]
    octave = name[1:]
    if octave.startswith("#"):
        key, octave = key + 1, octave[1:]
    elif octave.startswith("b"):
        key, octave = key - 1, octave[1:]
    return 12 * (int(octave) + 1) + key, ticks


def varlen(value):
    out = [value & 0x7F]
    value >>= 7
    while value:
        out.append(0x80 | (value & 0x7F))
        value >>= 7
    return bytes(reversed(out))


def track(events, end):
    """An MTrk chunk of (absolute tick, order, bytes) events, ended by End of Track at end, so
    that every track lasts exactly as long as the loop."""
    data = b""
    now = 0
    for tick, _, body in sorted(events):
        data += varlen(tick - now) + body
        now = tick
    data += varlen(end - now) + b"\xff\x2f\x00"
    return b"MTrk" + struct.pack(">I", len(data)) + data


def note_events(notes, channel, velocity):
    events = []
    now = 0
    for key, ticks in notes:
        if key is not None:
            gate = ticks * 7 // 8
            events.append((now, 1, bytes([0x90 | channel, key, velocity])))
            events.append((now + gate, 0, bytes([0x80 | channel, key, 0])))
        now += ticks
    return events, now


def read(path):
    """The parts of the tune file: tempo, voiced parts with their notes, and the drum part."""
    song = {"tempo": 120, "parts": [], "drums": None}
    part = None
    with open(path, encoding="utf-8") as f:
        for line in f:
            words = line.split("#")[0].split()
            if not words:
                continue
            if words[0] == "tempo":
                song["tempo"] = int(words[1])
            elif words[0] in ("melody", "bass"):
                part = {"name": words[0], "program": int(words[2]), "velocity": int(words[4]),
                        "bars": [[]]}
                song["parts"].append(part)
            elif words[0] == "drums":
                part = {"bars": int(words[2]), "velocity": int(words[4]), "lines": [],
                        "crash": None}
                song["drums"] = part
            elif words[0] == "drum":
                part["lines"].append((int(words[1]), words[2]))
            elif words[0] == "crash":
                part["crash"] = int(words[1])
            else:
                for token in words:
                    if token == "|":
                        part["bars"].append([])
                    else:
                        part["bars"][-1].append(parse_note(token))
    return song


def voiced(part, channel):
    bars = [b for b in part["bars"] if b]
    for number, bar in enumerate(bars, 1):
        if sum(t for _, t in bar) != DIVISION * 4:
            raise ValueError("%s bar %d does not fill four beats" % (part["name"], number))
    notes = [n for bar in bars for n in bar]
    events, end = note_events(notes, channel, part["velocity"])
    name = part["name"].encode()
    head = [(0, 0, b"\xff\x03" + varlen(len(name)) + name),
            (0, 0, bytes([0xC0 | channel, part["program"]]))]
    return head + events, end


def drum_events(drums):
    step = DIVISION // 4
    events = [(0, 0, b"\xff\x03\x05drums")]
    for bar in range(drums["bars"]):
        for key, pattern in drums["lines"]:
            for i, ch in enumerate(pattern):
                if ch in "xX":
                    tick = (bar * 16 + i) * step
                    velocity = drums["velocity"] + (25 if ch == "X" else 0)
                    events.append((tick, 1, bytes([0x99, key, velocity])))
                    events.append((tick + step // 2, 0, bytes([0x89, key, 0])))
    if drums["crash"]:
        events.append((0, 1, bytes([0x99, drums["crash"], 100])))
        events.append((DIVISION * 2, 0, bytes([0x89, drums["crash"], 0])))
    return events


def build(path):
    song = read(path)
    tempo = 60000000 // song["tempo"]
    conductor = [(0, 0, b"\xff\x03\x03cor"), (0, 0, b"\xff\x51\x03" + struct.pack(">I", tempo)[1:]),
                 (0, 0, b"\xff\x58\x04\x04\x02\x18\x08")]
    end = song["drums"]["bars"] * DIVISION * 4
    tracks = [track(conductor, end)]
    for channel, part in enumerate(song["parts"]):
        events, length = voiced(part, channel)
        if length != end:
            raise ValueError("%s lasts %d ticks, the drums %d" % (part["name"], length, end))
        tracks.append(track(events, end))
    tracks.append(track(drum_events(song["drums"]), end))
    header = b"MThd" + struct.pack(">IHHH", 6, 1, len(tracks), DIVISION)
    return header + b"".join(tracks)
