#!/usr/bin/env python3
"""Draws the strips of the bar's own picture buttons and writes them as 8-bit .bmp files.

Each strip holds three frames side by side: normal, pressed, hover. Run from anywhere:
python3 resources/make_button_strips.py. The output is committed; running the script again gives
byte-identical files.

The pressed frame's outer shadow uses the grey that LR_LOADMAP3DCOLORS replaces (128), so the sunken edge
follows the user's 3-D shadow colour when the program loads the strip.
"""
import os
import struct

HERE = os.path.dirname(os.path.abspath(__file__))
OUT = os.path.join(HERE, "images")

BLACK = (0, 0, 0)
DARK = (48, 32, 16)
SHADOW = (128, 128, 128)  # becomes COLOR_3DSHADOW when loaded
PALE = (255, 248, 200)
DEEP = (160, 72, 0)

# The orange face per frame: normal, pressed (darker), hover (lighter), and its rim.
FACE = [(240, 128, 24), (200, 96, 8), (255, 176, 88)]
RIM = [(192, 88, 8), None, (232, 136, 40)]


def frame_background(size, frame):
    """The orange square of one frame; the pressed one is sunken (dark top-left, light bottom-right)."""
    px = {}
    last = size - 1
    for y in range(size):
        for x in range(size):
            edge = x in (0, last) or y in (0, last)
            if frame == 1:
                if x == 0 or y == 0:
                    px[(x, y)] = SHADOW
                elif x == 1 or y == 1:
                    px[(x, y)] = DARK
                elif x == last or y == last:
                    px[(x, y)] = DEEP
                else:
                    px[(x, y)] = FACE[1]
            else:
                px[(x, y)] = RIM[frame] if edge else FACE[frame]
    return px


def inside_polygon(x, y, points):
    """Even-odd rule at the point (x, y)."""
    inside = False
    n = len(points)
    for i in range(n):
        x1, y1 = points[i]
        x2, y2 = points[(i + 1) % n]
        if (y1 > y) != (y2 > y):
            cross = x1 + (y - y1) * (x2 - x1) / (y2 - y1)
            if x < cross:
                inside = not inside
    return inside


def star_points(cx, cy, outer, inner):
    # Fixed decimal coordinates of a five-pointed star, tip up; no trigonometry so the pixels never depend
    # on the platform's floating-point library.
    unit_outer = [(0.0, -1.0), (0.9511, -0.309), (0.5878, 0.809), (-0.5878, 0.809), (-0.9511, -0.309)]
    unit_inner = [(0.5878, -0.809), (0.9511, 0.309), (0.0, 1.0), (-0.9511, 0.309), (-0.5878, -0.809)]
    pts = []
    for (ox, oy), (ix, iy) in zip(unit_outer, unit_inner):
        pts.append((cx + ox * outer, cy + oy * outer))
        pts.append((cx + ix * inner, cy + iy * inner))
    return pts


def new_browser_frame(frame):
    """18 x 18: a pale star, and a small black triangle in the lower right corner for the hold menu."""
    size = 18
    px = frame_background(size, frame)
    shift = 1 if frame == 1 else 0
    star = star_points(8.0 + shift, 8.5 + shift, 6.6, 2.7)
    for y in range(2, size - 2):
        for x in range(2, size - 2):
            if inside_polygon(x + 0.5, y + 0.5, star):
                px[(x, y)] = PALE
    # Right angle at the bottom right, 4 pixels a side.
    for y in range(12, 16):
        for x in range(12, 16):
            if x + y >= 27:
                px[(x, y)] = BLACK
    return size, px


def close_frame(frame):
    """12 x 12: a bold dark cross."""
    size = 12
    px = frame_background(size, frame)
    shift = 1 if frame == 1 else 0
    for y in range(3, 9):
        for x in range(3, 9):
            if abs(x - y) <= 1 or abs(x + y - 11) <= 1:
                px[(x + shift, y + shift)] = DARK
    return size, px


def hide_frame(frame):
    """12 x 12: a dark right-angled triangle in the lower right part, its right angle at the corner."""
    size = 12
    px = frame_background(size, frame)
    shift = 1 if frame == 1 else 0
    for y in range(3, 9):
        for x in range(3, 9):
            if x + y >= 11:
                px[(x + shift, y + shift)] = DARK
    return size, px


def strip(draw):
    """Three frames side by side: (width, height, pixel dict)."""
    frames = [draw(f) for f in range(3)]
    size = frames[0][0]
    px = {}
    for f, (_, fpx) in enumerate(frames):
        for (x, y), c in fpx.items():
            px[(x + f * size, y)] = c
    return 3 * size, size, px


def write_bmp8(name, width, height, px):
    """An uncompressed 8-bit .bmp with a palette of exactly the colours used, in first-use order."""
    palette = []
    index = {}
    for y in range(height):
        for x in range(width):
            c = px[(x, y)]
            if c not in index:
                index[c] = len(palette)
                palette.append(c)
    stride = (width + 3) // 4 * 4
    rows = []
    for y in reversed(range(height)):
        row = bytearray(index[px[(x, y)]] for x in range(width))
        row += bytes(stride - width)
        rows.append(bytes(row))
    bits = b"".join(rows)
    colours = b"".join(bytes((b, g, r, 0)) for r, g, b in palette)
    info = struct.pack("<IiiHHIIiiII", 40, width, height, 1, 8, 0, len(bits), 2835, 2835, len(palette),
                       len(palette))
    offset = 14 + len(info) + len(colours)
    head = struct.pack("<2sIHHI", b"BM", offset + len(bits), 0, 0, offset)
    with open(os.path.join(OUT, name), "wb") as f:
        f.write(head + info + colours + bits)


def main():
    os.makedirs(OUT, exist_ok=True)
    write_bmp8("new_browser_strip.bmp", *strip(new_browser_frame))
    write_bmp8("close_strip.bmp", *strip(close_frame))
    write_bmp8("hide_strip.bmp", *strip(hide_frame))


if __name__ == "__main__":
    main()
