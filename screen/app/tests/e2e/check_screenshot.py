#!/usr/bin/python3
"""Checks a screenshot of PioScreen against the structure it must have: the frame's
shape (no key-colour pixel inside the window's rectangle, the desktop showing
through the cut corners) and the four key colours at the keys' places.

Usage: check_screenshot.py SHOT.png LEFT TOP RIGHT BOTTOM
"""
import sys

from PIL import Image


def main():
    path, left, top, right, bottom = sys.argv[1], *map(int, sys.argv[2:6])
    image = Image.open(path).convert("RGB")
    px = image.load()
    failures = []

    magenta = sum(1 for y in range(top, bottom, 2) for x in range(left, right, 2)
                  if px[x, y] == (255, 0, 255))
    if magenta:
        failures.append(f"{magenta} key-colour pixels inside the window")

    outside = px[left - 4, top + 40] if left >= 4 else px[right + 3, top + 40]
    if px[left, top] != outside:
        failures.append(f"the top-left corner shows {px[left, top]}, not the desktop {outside}")
    if px[left + 512, top + 288] == outside:
        failures.append("the window's middle shows the desktop")

    def dominant(colour, name):
        r, g, b = colour
        return {
            "red": r > g + 50 and r > b + 50,
            "green": g > r + 15 and g > b,
            "yellow": r > b + 25 and g > b + 20,
            "blue": b > r + 50 and b > g,
        }[name]

    keys = {"red": 16, "green": 268, "yellow": 516, "blue": 765}
    for name, x in keys.items():
        colour = px[left + x + 40, top + 450 + 50]
        if not dominant(colour, name):
            failures.append(f"the {name} key shows {colour}")

    for failure in failures:
        print("FAIL", failure)
    print("screenshot structure:", "ok" if not failures else "broken")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
