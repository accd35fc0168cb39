#!/usr/bin/env python3
"""Draws the strips of the bar's own picture buttons and writes them as 8-bit .bmp files.

Each strip holds three frames side by side: normal, pressed, hover. Every strip is drawn at 100, 150 and
200 % from the same shapes, so a picture at a higher DPI is drawn at its size rather than stretched up. Run from anywhere:
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


def out_size(size, k):
    return int(size * k + 0.5)


def centre(p, k):
    """An output pixel's centre in 100 % pixel coordinates (pixel n spans n - 0.5 to n + 0.5)."""
    return (p + 0.5) / k - 0.5


def frame_background(size, frame, k=1):
    """The orange square of one frame; the pressed one is sunken (dark top-left, light bottom-right)."""
    px = {}
    last = size - 1
    n = out_size(size, k)
    for oy in range(n):
        for ox in range(n):
            x, y = int((ox + 0.5) / k), int((oy + 0.5) / k)
            edge = x in (0, last) or y in (0, last)
            if frame == 1:
                if x == 0 or y == 0:
                    px[(ox, oy)] = SHADOW
                elif x == 1 or y == 1:
                    px[(ox, oy)] = DARK
                elif x == last or y == last:
                    px[(ox, oy)] = DEEP
                else:
                    px[(ox, oy)] = FACE[1]
            else:
                px[(ox, oy)] = RIM[frame] if edge else FACE[frame]
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


def paint(px, size, k, shift, low, high, colour, inside):
    """Colours every output pixel whose centre, less the shift, lies in [low, high) on both axes and inside
    the shape (a test on continuous 100 % coordinates)."""
    n = out_size(size, k)
    for oy in range(n):
        for ox in range(n):
            x, y = centre(ox, k) - shift, centre(oy, k) - shift
            if low - 0.5 <= x < high - 0.5 and low - 0.5 <= y < high - 0.5 and inside(x, y):
                px[(ox, oy)] = colour


def new_browser_frame(frame, k=1):
    """18 x 18: a pale star, and a small black triangle in the lower right corner for the hold menu."""
    size = 18
    px = frame_background(size, frame, k)
    shift = 1 if frame == 1 else 0
    star = star_points(8.0 + shift, 8.5 + shift, 6.6, 2.7)
    paint(px, size, k, 0, 2, size - 2, PALE, lambda x, y: inside_polygon(x + 0.5, y + 0.5, star))
    # Right angle at the bottom right, 4 pixels a side.
    paint(px, size, k, 0, 12, 16, BLACK, lambda x, y: x + y > 26.5)
    return out_size(size, k), px


def close_frame(frame, k=1):
    """12 x 12: a bold dark cross."""
    size = 12
    px = frame_background(size, frame, k)
    shift = 1 if frame == 1 else 0
    paint(px, size, k, shift, 3, 9, DARK, lambda x, y: abs(x - y) < 1.5 or abs(x + y - 11) < 1.5)
    return out_size(size, k), px


def hide_frame(frame, k=1):
    """12 x 12: a dark right-angled triangle in the lower right part, its right angle at the corner."""
    size = 12
    px = frame_background(size, frame, k)
    shift = 1 if frame == 1 else 0
    paint(px, size, k, shift, 3, 9, DARK, lambda x, y: x + y > 10.5)
    return out_size(size, k), px


def strip(draw, k=1):
    """Three frames side by side: (width, height, pixel dict)."""
    frames = [draw(f, k) for f in range(3)]
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
    for k, suffix in ((1, ""), (1.5, "_150"), (2, "_200")):
        write_bmp8("new_browser_strip%s.bmp" % suffix, *strip(new_browser_frame, k))
        write_bmp8("close_strip%s.bmp" % suffix, *strip(close_frame, k))
        write_bmp8("hide_strip%s.bmp" % suffix, *strip(hide_frame, k))


if __name__ == "__main__":
    main()
