# pngfile.py -- writes indexed-colour PNG files (1, 4 or 8 bits per pixel) byte for byte the same
# on every run, with nothing but zlib and struct.
import struct
import zlib


def _chunk(kind, data):
    body = kind + data
    return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body) & 0xFFFFFFFF)


def _pack_row(indices, depth):
    if depth == 8:
        return bytes(indices)
    per_byte = 8 // depth
    out = bytearray()
    for start in range(0, len(indices), per_byte):
        group = indices[start:start + per_byte]
        value = 0
        for i in range(per_byte):
            value = (value << depth) | (group[i] if i < len(group) else 0)
        out.append(value)
    return bytes(out)


def encode(width, height, depth, palette, rows, transparent_index=None):
    """PNG bytes of an indexed image; rows hold palette indices, palette holds (r, g, b)."""
    if depth not in (1, 4, 8):
        raise ValueError("depth must be 1, 4 or 8")
    if len(palette) > (1 << depth):
        raise ValueError("%d colours do not fit in %d bits" % (len(palette), depth))
    raw = bytearray()
    for row in rows:
        if len(row) != width:
            raise ValueError("row of %d pixels in an image %d wide" % (len(row), width))
        raw.append(0)
        raw += _pack_row(row, depth)
    header = struct.pack(">IIBBBBB", width, height, depth, 3, 0, 0, 0)
    plte = b"".join(struct.pack("BBB", *c) for c in palette)
    out = b"\x89PNG\r\n\x1a\n" + _chunk(b"IHDR", header) + _chunk(b"PLTE", plte)
    if transparent_index is not None:
        out += _chunk(b"tRNS", b"\xff" * transparent_index + b"\x00")
    return out + _chunk(b"IDAT", zlib.compress(bytes(raw), 9)) + _chunk(b"IEND", b"")


def decode_rgb(data):
    """(width, height, rows of (r, g, b)) of a PNG written by encode; for the contact sheet."""
    pos = 8
    width = height = depth = 0
    palette = []
    idat = b""
    while pos < len(data):
        length, kind = struct.unpack(">I4s", data[pos:pos + 8])
        body = data[pos + 8:pos + 8 + length]
        if kind == b"IHDR":
            width, height, depth = struct.unpack(">IIB", body[:9])
        elif kind == b"PLTE":
            palette = [tuple(body[i:i + 3]) for i in range(0, len(body), 3)]
        elif kind == b"IDAT":
            idat += body
        pos += 12 + length
    raw = zlib.decompress(idat)
    stride = (width * depth + 7) // 8
    rows = []
    for y in range(height):
        line = raw[y * (stride + 1) + 1:(y + 1) * (stride + 1)]
        row = []
        for x in range(width):
            bit = x * depth
            value = (line[bit // 8] >> (8 - depth - bit % 8)) & ((1 << depth) - 1)
            row.append(palette[value])
        rows.append(row)
    return width, height, rows
