#!/usr/bin/env python3
"""rle4_bmp.py PICTURE.ppm OUT.bmp: writes a 4-bit BI_RLE4 bitmap of a picture
of at most 16 colours (no Debian tool writes RLE4).  Runs of one colour become
encoded runs, everything else absolute groups padded to even byte counts;
every row ends with an end-of-line code and the picture with end-of-bitmap."""
import struct
import sys


def read_ppm(path):
    data = open(path, "rb").read()
    fields, pos = [], 2
    while len(fields) < 3:
        while data[pos:pos + 1].isspace():
            pos += 1
        start = pos
        while not data[pos:pos + 1].isspace():
            pos += 1
        fields.append(int(data[start:pos]))
    w, h, _ = fields
    pos += 1
    px = [tuple(data[pos + 3 * i:pos + 3 * i + 3]) for i in range(w * h)]
    return w, h, px


def encode_row(indices):
    out, x, n = bytearray(), 0, len(indices)
    while x < n:
        run = 1
        while x + run < n and run < 255 and indices[x + run] == indices[x]:
            run += 1
        if run >= 3 or n - x < 3:
            out += bytes([run, indices[x] << 4 | indices[x]])
            x += run
            continue
        count = 3
        while x + count < n and count < 255 and not (
                x + count + 2 < n and indices[x + count] == indices[x + count + 1] == indices[x + count + 2]):
            count += 1
        group = indices[x:x + count] + [0]
        packed = bytes(group[i] << 4 | group[i + 1] for i in range(0, count, 2))
        out += bytes([0, count]) + packed + (b"\0" if len(packed) % 2 else b"")
        x += count
    return out + b"\0\0"


w, h, px = read_ppm(sys.argv[1])
palette = sorted(set(px))
assert len(palette) <= 16, "at most 16 colours"
index = {c: i for i, c in enumerate(palette)}
data = bytearray()
for y in reversed(range(h)):
    data += encode_row([index[c] for c in px[y * w:(y + 1) * w]])
data += b"\0\1"
colours = b"".join(bytes([b, g, r, 0]) for r, g, b in palette) + b"\0" * 4 * (16 - len(palette))
offset = 14 + 40 + len(colours)
header = struct.pack("<2sIHHI", b"BM", offset + len(data), 0, 0, offset)
info = struct.pack("<IiiHHIIiiII", 40, w, h, 1, 4, 2, len(data), 2835, 2835, 16, 0)
open(sys.argv[2], "wb").write(header + info + colours + data)
