#!/usr/bin/env python3
"""pixel_hash.py NAME ANYMAP: prints "NAME WIDTH HEIGHT HASH" for a portable
anymap (P1-P6) as a tool decoded it.  HASH is FNV-1a 64 over the pixels as
R, G, B bytes (grey repeated three times), rows from the top; samples are
scaled to 0-255.  The reader tests hash their own decodes the same way."""
import sys


def tokens(data, count, pos):
    out = []
    while len(out) < count:
        while data[pos:pos + 1].isspace():
            pos += 1
        if data[pos:pos + 1] == b"#":
            while data[pos:pos + 1] not in (b"\n", b""):
                pos += 1
            continue
        start = pos
        while not data[pos:pos + 1].isspace():
            pos += 1
        out.append(data[start:pos])
    return out, pos + 1


def rgb_pixels(data):
    kind = data[:2]
    if kind in (b"P1", b"P4"):
        (w, h), pos = tokens(data, 2, 2)
        w, h = int(w), int(h)
        if kind == b"P4":
            row = (w + 7) // 8
            bits = [(data[pos + y * row + x // 8] >> (7 - x % 8)) & 1 for y in range(h) for x in range(w)]
        else:
            bits = [int(c) for c in data[pos:].decode() if c in "01"][: w * h]
        return w, h, bytes(v for b in bits for v in ((0, 0, 0) if b else (255, 255, 255)))
    (w, h, maxval), pos = tokens(data, 3, 2)
    w, h, maxval = int(w), int(h), int(maxval)
    channels = 3 if kind in (b"P3", b"P6") else 1
    count = w * h * channels
    if kind in (b"P2", b"P3"):
        samples = [int(t) for t in data[pos:].split()][:count]
    elif maxval < 256:
        samples = list(data[pos:pos + count])
    else:
        samples = [data[pos + 2 * i] << 8 | data[pos + 2 * i + 1] for i in range(count)]
    samples = [(s * 255 + maxval // 2) // maxval for s in samples]
    if channels == 1:
        samples = [s for s in samples for _ in range(3)]
    return w, h, bytes(samples)


def fnv1a64(data):
    h = 0xCBF29CE484222325
    for b in data:
        h = ((h ^ b) * 0x100000001B3) & 0xFFFFFFFFFFFFFFFF
    return h


name, path = sys.argv[1], sys.argv[2]
w, h, pixels = rgb_pixels(open(path, "rb").read())
print(f"{name} {w} {h} {fnv1a64(pixels):016x}")
