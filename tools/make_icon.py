#!/usr/bin/env python3
"""Draws the application icon of the Windows window, varnel.ico, in the
colours of the window's title band: a rounded square shading from dark to
light blue, the band's orange line along its foot, and a white "V". Writes
16, 24, 32, 48 and 256 pixel images as 32-bit bitmaps with their alpha, in
one .ico file. Drawn here at build time, so the project holds no binary
image: make_icon.py OUT.ico
"""
import math
import struct
import sys

DARK = (0x0D, 0x3B, 0x66)
LIGHT = (0x2A, 0x8F, 0xD6)
ORANGE = (0xF4, 0xA6, 0x2A)
WHITE = (0xFF, 0xFF, 0xFF)


def mix(a, b, t):
    return tuple(round(x + (y - x) * t) for x, y in zip(a, b))


def inside_rounded(x, y, size, radius):
    """Coverage (0..1) of the pixel centred at (x, y) by the rounded square."""
    cx = min(max(x, radius), size - radius)
    cy = min(max(y, radius), size - radius)
    distance = math.hypot(x - cx, y - cy)
    return min(max(radius - distance + 0.5, 0.0), 1.0)


def distance_to_segment(px, py, ax, ay, bx, by):
    dx, dy = bx - ax, by - ay
    t = max(0.0, min(1.0, ((px - ax) * dx + (py - ay) * dy) / (dx * dx + dy * dy)))
    return math.hypot(px - (ax + t * dx), py - (ay + t * dy))


def pixel(x, y, size):
    """(r, g, b, a) of one pixel, sampled at its centre."""
    fx, fy = x + 0.5, y + 0.5
    cover = inside_rounded(fx, fy, size, size * 0.18)
    if cover <= 0:
        return (0, 0, 0, 0)
    colour = mix(DARK, LIGHT, fy / size)
    if fy > size * 0.80 and fy < size * 0.88:
        colour = ORANGE
    # The "V": two strokes meeting at the foot of the letter.
    stroke = max(size * 0.085, 1.2)
    top, foot = size * 0.20, size * 0.70
    left, right, middle = size * 0.25, size * 0.75, size * 0.5
    near = min(distance_to_segment(fx, fy, left, top, middle, foot),
               distance_to_segment(fx, fy, right, top, middle, foot))
    ink = min(max(stroke - near + 0.5, 0.0), 1.0)
    colour = mix(colour, WHITE, ink)
    return colour + (round(255 * cover),)


def bitmap(size):
    """The icon image as BITMAPINFOHEADER, BGRA rows bottom-up, AND mask."""
    header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 32, 0, 0, 0, 0, 0, 0)
    rows = []
    for y in reversed(range(size)):
        row = bytearray()
        for x in range(size):
            r, g, b, a = pixel(x, y, size)
            row += bytes((b, g, r, a))
        rows.append(bytes(row))
    mask_row = ((size + 31) // 32) * 4
    mask = bytes(mask_row * size)  # all zero: the alpha decides
    return header + b"".join(rows) + mask


def main():
    if len(sys.argv) != 2:
        sys.stderr.write("usage: make_icon.py OUT.ico\n")
        return 2
    sizes = [16, 24, 32, 48, 256]
    images = [bitmap(size) for size in sizes]
    out = struct.pack("<HHH", 0, 1, len(sizes))
    offset = 6 + 16 * len(sizes)
    for size, image in zip(sizes, images):
        out += struct.pack("<BBBBHHII", size % 256, size % 256, 0, 0, 1, 32, len(image), offset)
        offset += len(image)
    with open(sys.argv[1], "wb") as f:
        f.write(out + b"".join(images))
    return 0


if __name__ == "__main__":
    sys.exit(main())
