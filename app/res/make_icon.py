#!/usr/bin/env python3
"""Draws Daskel's icon: a clock face with a power symbol for hands, on a round blue disc.

Writes a Windows .ico with 16, 32 and 48 pixel images (32-bit colour with alpha, plus the
AND mask older shells read). Usage: make_icon.py OUT.ico
"""
import math
import struct
import sys


def render(size):
    px = []
    c = (size - 1) / 2.0
    r_outer = size / 2.0 - 0.5
    for y in range(size):
        row = []
        for x in range(size):
            dx, dy = x - c, y - c
            d = math.hypot(dx, dy)
            # Anti-aliased coverage of the disc.
            cover = max(0.0, min(1.0, r_outer - d + 0.5))
            if cover <= 0:
                row.append((0, 0, 0, 0))
                continue
            # Blue disc with a lighter top: a soft light from above.
            t = (y / (size - 1))
            base = (int(40 + 40 * (1 - t)), int(110 + 60 * (1 - t)), int(215 + 30 * (1 - t)))
            col = base
            ring = r_outer * 0.82
            # White clock ring.
            if abs(d - ring) < max(0.8, size / 22):
                col = (250, 250, 250)
            # Hour ticks at 12, 3, 6, 9.
            for ang in (0, 90, 180, 270):
                a = math.radians(ang)
                tx, ty = math.sin(a), -math.cos(a)
                proj = dx * tx + dy * ty
                perp = abs(dx * ty - dy * tx)
                if ring * 0.72 < proj < ring * 0.95 and perp < max(0.6, size / 28):
                    col = (250, 250, 250)
            # Power symbol: an open arc and a bar through the gap at the top.
            pr = ring * 0.5
            ang = math.degrees(math.atan2(dx, -dy))
            if abs(d - pr) < max(0.7, size / 18) and abs(ang) > 40:
                col = (255, 214, 80)
            if abs(dx) < max(0.7, size / 18) and -pr * 1.25 < dy < -pr * 0.15:
                col = (255, 214, 80)
            row.append((col[0], col[1], col[2], int(255 * cover)))
        px.append(row)
    return px


def bmp_entry(size):
    px = render(size)
    header = struct.pack('<IiiHHIIiiII', 40, size, size * 2, 1, 32, 0, 0, 0, 0, 0, 0)
    xor = b''.join(bytes((b, g, r, a)) for row in reversed(px) for (r, g, b, a) in row)
    mask_stride = ((size + 31) // 32) * 4
    mask = b''
    for row in reversed(px):
        bits = bytearray(mask_stride)
        for x, (_, _, _, a) in enumerate(row):
            if a < 128:
                bits[x // 8] |= 0x80 >> (x % 8)
        mask += bytes(bits)
    return header + xor + mask


def main():
    sizes = (16, 32, 48)
    images = [bmp_entry(s) for s in sizes]
    out = struct.pack('<HHH', 0, 1, len(sizes))
    offset = 6 + 16 * len(sizes)
    for s, img in zip(sizes, images):
        out += struct.pack('<BBBBHHII', s % 256, s % 256, 0, 0, 1, 32, len(img), offset)
        offset += len(img)
    out += b''.join(images)
    with open(sys.argv[1], 'wb') as f:
        f.write(out)


if __name__ == '__main__':
    main()
