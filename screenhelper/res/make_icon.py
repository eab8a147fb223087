#!/usr/bin/env python3
"""Draws KvSrcHelper's icon (a monitor with a small and a large letter bar, for
text size) at 16 and 32 pixels and writes it as a .ico file.

Usage: make_icon.py OUTPUT.ico   (standard library only, same bytes every run)
"""
import struct
import sys

BEZEL = (0x40, 0x44, 0x4C)
SCREEN_TOP = (0x3A, 0x7B, 0xD5)
SCREEN_BOTTOM = (0x1D, 0x4E, 0x9E)
TEXT = (0xFF, 0xFF, 0xFF)
STAND = (0x70, 0x74, 0x7C)


def draw(size):
    """Returns size*size RGBA pixels, top row first; drawn on a 32-unit grid."""
    px = [[(0, 0, 0, 0)] * size for _ in range(size)]
    u = size / 32.0

    def fill(x0, y0, x1, y1, colour):
        for y in range(int(y0 * u), max(int(y0 * u) + 1, int(y1 * u))):
            for x in range(int(x0 * u), max(int(x0 * u) + 1, int(x1 * u))):
                if 0 <= x < size and 0 <= y < size:
                    c = colour(y) if callable(colour) else colour
                    px[y][x] = c + (255,)

    def screen(y):
        t = (y - 4 * u) / max(1.0, 16 * u)
        t = min(1.0, max(0.0, t))
        return tuple(int(a + (b - a) * t) for a, b in zip(SCREEN_TOP, SCREEN_BOTTOM))

    fill(1, 3, 31, 24, BEZEL)        # frame
    fill(3, 5, 29, 22, screen)       # picture
    fill(6, 15, 12, 18, TEXT)        # small letter
    fill(15, 9, 26, 18, TEXT)        # large letter
    fill(18, 12, 23, 15, screen)     # its counter
    fill(13, 24, 19, 27, STAND)      # neck
    fill(8, 27, 24, 29, STAND)       # foot
    return px


def icon_image(size):
    """A BITMAPINFOHEADER, the 32-bit colours bottom row first, and the AND mask."""
    px = draw(size)
    header = struct.pack('<IiiHHIIiiII', 40, size, size * 2, 1, 32, 0, 0, 0, 0, 0, 0)
    colours = bytearray()
    for row in reversed(px):
        for r, g, b, a in row:
            colours += bytes((b, g, r, a))
    stride = ((size + 31) // 32) * 4
    mask = bytearray()
    for row in reversed(px):
        bits = bytearray(stride)
        for x, (_, _, _, a) in enumerate(row):
            if a == 0:
                bits[x // 8] |= 0x80 >> (x % 8)
        mask += bits
    return header + bytes(colours) + bytes(mask)


def main():
    sizes = (32, 16)
    images = [icon_image(s) for s in sizes]
    out = bytearray(struct.pack('<HHH', 0, 1, len(sizes)))
    offset = 6 + 16 * len(sizes)
    for s, data in zip(sizes, images):
        out += struct.pack('<BBBBHHII', s, s, 0, 0, 1, 32, len(data), offset)
        offset += len(data)
    for data in images:
        out += data
    with open(sys.argv[1], 'wb') as f:
        f.write(out)


if __name__ == '__main__':
    main()
