#!/usr/bin/env python3
"""Draws the glyphs of the gallery's bitmap buttons: four 16 x 16 arrows (left, right, up, down),
one 24-bit BMP each, on magenta; a glyph's top-left pixel names its transparent colour.

Usage: make_glyphs.py OUT_DIR  (writes glyph-left.bmp, glyph-right.bmp, glyph-up.bmp,
glyph-down.bmp)"""
import os
import struct
import sys

SIZE = 16
BACK = (255, 0, 255)
FILL = (32, 120, 200)
EDGE = (16, 60, 110)


def arrow_left(x, y):
    """Inside an arrow pointing left: a head (triangle) and a shaft."""
    head = x >= 2 and x <= 8 and abs(y - 7.5) <= (x - 1.5)
    shaft = 8 <= x <= 13 and 5 <= y <= 10
    return head or shaft


def shape(direction):
    px = []
    for y in range(SIZE):
        row = []
        for x in range(SIZE):
            # Every arrow is the left one turned.
            sx, sy = {"left": (x, y), "right": (SIZE - 1 - x, y), "up": (y, x), "down": (SIZE - 1 - y, x)}[direction]
            if not arrow_left(sx, sy):
                row.append(BACK)
                continue
            # A darker rim where a neighbour is outside.
            rim = any(not arrow_left(sx + dx, sy + dy) for dx, dy in ((1, 0), (-1, 0), (0, 1), (0, -1)))
            row.append(EDGE if rim else FILL)
        px.append(row)
    return px


def write_bmp(path, px):
    stride = (SIZE * 3 + 3) // 4 * 4
    data = b""
    for row in reversed(px):  # bottom-up
        line = b"".join(bytes((b, g, r)) for (r, g, b) in row)
        data += line + b"\0" * (stride - len(line))
    info = struct.pack("<IiiHHIIiiII", 40, SIZE, SIZE, 1, 24, 0, len(data), 2835, 2835, 0, 0)
    head = struct.pack("<2sIHHI", b"BM", 14 + len(info) + len(data), 0, 0, 14 + len(info))
    with open(path, "wb") as f:
        f.write(head + info + data)


def main(out_dir):
    os.makedirs(out_dir, exist_ok=True)
    for direction in ("left", "right", "up", "down"):
        write_bmp(os.path.join(out_dir, "glyph-%s.bmp" % direction), shape(direction))


if __name__ == "__main__":
    if len(sys.argv) != 2:
        sys.exit(__doc__)
    main(sys.argv[1])
