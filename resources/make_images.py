#!/usr/bin/env python3
"""Draws the bar program's icons pixel by pixel and writes them as .ico files.

Run from anywhere: python3 resources/make_images.py. The output is committed; running the script again
gives byte-identical files.
"""
import os
import struct

HERE = os.path.dirname(os.path.abspath(__file__))
OUT = os.path.join(HERE, "images")

WHITE = (255, 255, 255)
GREY = (128, 128, 128)
LIGHT = (192, 192, 192)
BLACK = (0, 0, 0)


def ico_image(pixels, size):
    """One 32-bit icon image: BITMAPINFOHEADER, BGRA rows bottom-up, then the AND mask."""
    header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 32, 0, 0, 0, 0, 0, 0)
    rows = []
    mask_rows = []
    stride = ((size + 31) // 32) * 4
    for y in reversed(range(size)):
        row = bytearray()
        mask = bytearray(stride)
        for x in range(size):
            p = pixels.get((x, y))
            if p is None:
                row += bytes((0, 0, 0, 0))
                mask[x // 8] |= 0x80 >> (x % 8)
            else:
                r, g, b = p
                row += bytes((b, g, r, 255))
        rows.append(bytes(row))
        mask_rows.append(bytes(mask))
    return header + b"".join(rows) + b"".join(mask_rows)


def write_ico(name, images):
    """images: list of (size, pixel dict)."""
    data = [ico_image(px, size) for size, px in images]
    out = struct.pack("<HHH", 0, 1, len(images))
    offset = 6 + 16 * len(images)
    for (size, _), blob in zip(images, data):
        out += struct.pack("<BBBBHHII", size % 256, size % 256, 0, 0, 1, 32, len(blob), offset)
        offset += len(blob)
    out += b"".join(data)
    with open(os.path.join(OUT, name), "wb") as f:
        f.write(out)


def close_glyph(k=1):
    """9 x 9 (times k) in the top-left corner of a 32 x 32 (times k) icon; everything else transparent. The
    larger ones are drawn from the same shapes, not stretched: edges one pixel per 100 %, the cross a band
    around each diagonal."""
    n = int(9 * k + 0.5)
    px = {}
    for oy in range(n):
        for ox in range(n):
            x, y = min(8, int((ox + 0.5) / k)), min(8, int((oy + 0.5) / k))
            cx, cy = (ox + 0.5) / k - 0.5, (oy + 0.5) / k - 0.5
            if y == 8 or (x == 8 and y > 0) or (y == 0 and x == 8):
                px[(ox, oy)] = GREY
            elif x == 0 or y == 0:
                px[(ox, oy)] = WHITE
            elif 1.5 <= cx < 6.5 and 1.5 <= cy < 6.5 and (abs(cx - cy) <= 0.5 or abs(cx + cy - 8) <= 0.5):
                px[(ox, oy)] = BLACK
            else:
                px[(ox, oy)] = LIGHT
    return px


def program_icon(size):
    """A screen with a docked bar and three buttons on it."""
    s = size / 32.0
    px = {}
    for y in range(size):
        for x in range(size):
            edge = x < round(2 * s) or y < round(2 * s) or x >= size - round(2 * s) or y >= size - round(2 * s)
            px[(x, y)] = (24, 48, 96) if edge else (70, 130, 200)
    bar_top = size - round(10 * s)
    for y in range(bar_top, size - round(2 * s)):
        for x in range(round(2 * s), size - round(2 * s)):
            px[(x, y)] = (212, 208, 200)
    for i in range(3):
        left = round((5 + i * 8) * s)
        for y in range(bar_top + round(2 * s), size - round(4 * s)):
            for x in range(left, left + round(6 * s)):
                px[(x, y)] = (248, 227, 185) if i == 0 else (160, 160, 160)
    return px


def main():
    os.makedirs(OUT, exist_ok=True)
    write_ico("close_glyph.ico", [(32, close_glyph()), (48, close_glyph(1.5)), (64, close_glyph(2))])
    write_ico("program.ico", [(32, program_icon(32)), (16, program_icon(16))])


if __name__ == "__main__":
    main()
