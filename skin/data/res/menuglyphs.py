#!/usr/bin/env python3
"""Draws the four 16 x 16 glyphs of the skinned system menu (restore, minimise, maximise, close)
as one 64 x 16 monochrome BMP: black glyphs on white, white being the transparent colour."""
import struct
import sys

GLYPHS = [
    # restore: two overlapping windows
    [
        "................", "................", "................", ".....#######....",
        ".....#######....", ".....#.....#....", "...#######.#....", "...#######.#....",
        "...#.....###....", "...#.....#......", "...#.....#......", "...#######......",
        "................", "................", "................", "................",
    ],
    # minimise: a bar at the bottom
    [
        "................", "................", "................", "................",
        "................", "................", "................", "................",
        "................", "................", "....########....", "....########....",
        "................", "................", "................", "................",
    ],
    # maximise: one big window
    [
        "................", "................", "................", "...##########...",
        "...##########...", "...#........#...", "...#........#...", "...#........#...",
        "...#........#...", "...#........#...", "...#........#...", "...##########...",
        "................", "................", "................", "................",
    ],
    # close: a cross
    [
        "................", "................", "................", "....##....##....",
        ".....##..##.....", "......####......", ".......##.......", "......####......",
        ".....##..##.....", "....##....##....", "................", "................",
        "................", "................", "................", "................",
    ],
]


def main(out):
    width, height = 16 * len(GLYPHS), 16
    stride = ((width + 31) // 32) * 4
    rows = []
    for y in range(height - 1, -1, -1):  # bottom-up
        bits = 0
        for g, glyph in enumerate(GLYPHS):
            for x, ch in enumerate(glyph[y]):
                if ch != "#":  # palette index 1 is white
                    bits |= 1 << (width - 1 - (g * 16 + x))
        rows.append(bits.to_bytes(width // 8, "big") + b"\0" * (stride - width // 8))
    pixels = b"".join(rows)
    palette = struct.pack("<II", 0x000000, 0xFFFFFF)
    info = struct.pack("<IiiHHIIiiII", 40, width, height, 1, 1, 0, len(pixels), 2835, 2835, 2, 2)
    offset = 14 + len(info) + len(palette)
    header = struct.pack("<2sIHHI", b"BM", offset + len(pixels), 0, 0, offset)
    with open(out, "wb") as f:
        f.write(header + info + palette + pixels)


if __name__ == "__main__":
    main(sys.argv[1])
