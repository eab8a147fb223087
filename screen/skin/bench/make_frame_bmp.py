#!/usr/bin/env python3
"""Draws the benchmark's frame: 1024 x 576, 24-bit BMP, magenta outside a
rectangle with rounded corners and in a few holes, painted shades inside (some
one step away from magenta, which must stay part of the frame)."""
import struct
import sys

W, H = 1024, 576
KEY = (255, 0, 255)
RADIUS = 40
HOLES_ROUND = [(300, 200, 30), (700, 380, 55), (512, 500, 12)]  # centre x, y, radius
HOLES_BOX = [(100, 420, 260, 470), (820, 90, 900, 300)]  # left, top, right, bottom


def outside_corner(x, y):
    for cx, cy in ((RADIUS, RADIUS), (W - 1 - RADIUS, RADIUS),
                   (RADIUS, H - 1 - RADIUS), (W - 1 - RADIUS, H - 1 - RADIUS)):
        if (x < RADIUS or x > W - 1 - RADIUS) and (y < RADIUS or y > H - 1 - RADIUS):
            if abs(x - cx) <= RADIUS and abs(y - cy) <= RADIUS:
                return (x - cx) ** 2 + (y - cy) ** 2 > RADIUS * RADIUS
    return False


def colour(x, y):
    if outside_corner(x, y):
        return KEY
    for cx, cy, r in HOLES_ROUND:
        if (x - cx) ** 2 + (y - cy) ** 2 <= r * r:
            return KEY
    for left, top, right, bottom in HOLES_BOX:
        if left <= x < right and top <= y < bottom:
            return KEY
    if y < 60:  # title band
        return (30 + x * 60 // W, 40, 90)
    if x % 97 == 5:  # near-magenta lines: not the key
        return (254, 0, 255)
    return ((x * 255) // W, (y * 255) // H, 128)


def main(path):
    row_bytes = (W * 3 + 3) & ~3
    rows = []
    for y in range(H - 1, -1, -1):  # bottom-up
        row = bytearray()
        for x in range(W):
            r, g, b = colour(x, y)
            row += bytes((b, g, r))
        row += b"\0" * (row_bytes - len(row))
        rows.append(bytes(row))
    pixels = b"".join(rows)
    info = struct.pack("<IiiHHIIiiII", 40, W, H, 1, 24, 0, len(pixels), 2835, 2835, 0, 0)
    header = struct.pack("<2sIHHI", b"BM", 14 + len(info) + len(pixels), 0, 0, 14 + len(info))
    with open(path, "wb") as f:
        f.write(header + info + pixels)


if __name__ == "__main__":
    main(sys.argv[1])
