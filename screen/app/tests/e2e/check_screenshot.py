#!/usr/bin/python3
"""Checks a screenshot of PioScreen against the structure it must have: the frame's
shape (no key-colour pixel inside the window's rectangle, the desktop showing
through the cut corners) and the four key colours at the keys' places.

Usage: check_screenshot.py SHOT.png LEFT TOP RIGHT BOTTOM [UNAVAILABLE_KEY...]
       check_screenshot.py --compare A.png B.png LEFT TOP
Keys named after the rectangle are expected in their unavailable look: still of
their hue, but dulled.
The second form prints whether the preview is the same in both shots and whether
the right panel differs: "same differs" after a page switch.
"""
import sys

from PIL import Image


# Places in the window: the preview and the right panel.
PREVIEW = (43, 80, 43 + 628, 80 + 357)
PANEL = (697, 82, 987, 437)


def compare(a_path, b_path, left, top):
    a = Image.open(a_path).convert("RGB")
    b = Image.open(b_path).convert("RGB")

    def part(img, box):
        x0, y0, x1, y1 = box
        return img.crop((left + x0, top + y0, left + x1, top + y1)).tobytes()

    preview = "same" if part(a, PREVIEW) == part(b, PREVIEW) else "differs"
    panel = "same" if part(a, PANEL) == part(b, PANEL) else "differs"
    print(preview, panel)
    return 0


def main():
    if sys.argv[1] == "--compare":
        return compare(sys.argv[2], sys.argv[3], int(sys.argv[4]), int(sys.argv[5]))
    path, left, top, right, bottom = sys.argv[1], *map(int, sys.argv[2:6])
    unavailable = set(sys.argv[6:])
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

    def dulled(colour, name):
        r, g, b = colour
        hue = {
            "red": r > g + 15 and r > b + 15,
            "green": g > r + 15 and g > b,
            "yellow": r > b + 20 and g > b + 20,
            "blue": b > r + 30 and b > g + 15,
        }[name]
        return hue and max(colour) - min(colour) < 70

    keys = {"red": 16, "green": 268, "yellow": 516, "blue": 765}
    for name, x in keys.items():
        colour = px[left + x + 40, top + 450 + 50]
        if name in unavailable:
            if not dulled(colour, name):
                failures.append(f"the unavailable {name} key shows {colour}")
        elif not dominant(colour, name):
            failures.append(f"the {name} key shows {colour}")

    for failure in failures:
        print("FAIL", failure)
    print("screenshot structure:", "ok" if not failures else "broken")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
