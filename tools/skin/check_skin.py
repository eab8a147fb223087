#!/usr/bin/python3
"""Checks a drawn skin against what PioScreen expects of it.

    check_skin.py SKIN_DIR [LAYOUT_CPP]

SKIN_DIR is the generator's output folder (with skin_resources.rc beside the
files). With LAYOUT_CPP (screen/app/layout.cpp), every image file and bitmap
that the main dialog's tables name is looked for at the table's size, so the
artwork and the tables cannot drift apart unnoticed. Prints every fault found
and exits 1 when there is any.
"""

import os
import re
import struct
import sys

from PIL import Image

KEY = (255, 0, 255)
IMAGES = "res/DPI/Middle/Images"
POPUP = "res/DPI/Middle/popup"
DPI = "res/DPI"

# The message box's fixed layout (its code keeps these in its own table).
BOX_BITMAPS = {277: (400, 270), 282: (359, 47)}
BOX_BUTTON_FILES = {f"POP_button_{s}.png": (169, 43) for s in ("n", "d", "o")}

faults = []


def fault(msg):
    faults.append(msg)
    print("FAULT:", msg)


def parse_layout(path):
    """Skinned-button rows (id, w, h, names) and background pieces (id, w, h)."""
    text = open(path, encoding="utf-8").read()
    macros = {m.group(1): re.findall(r'"([^"]*)"', m.group(2))
              for m in re.finditer(r"#define\s+(\w+)\s+(.*)", text)}
    buttons = []
    for m in re.finditer(r"\{\s*(\d+)\s*,\s*\{\s*(\d+),\s*(\d+),\s*(\d+),\s*(\d+)\s*\}\s*,([^{}]*?)\w+::\w+\s*\}", text):
        rid, w, h = int(m.group(1)), int(m.group(4)), int(m.group(5))
        rest = m.group(6)
        names = re.findall(r'"([^"]*)"', rest)
        for word in re.findall(r"\b([A-Z_]+)\b", rest):
            names += macros.get(word, [])
        buttons.append((rid, w, h, [n for n in names if n]))
    pieces = [(int(m.group(5)), int(m.group(3)), int(m.group(4)))
              for m in re.finditer(r"\{\{\s*(\d+),\s*(\d+),\s*(\d+),\s*(\d+)\s*\}\s*,\s*(\d+)\s*,\s*(?:true|false)\s*\}", text)]
    return buttons, pieces


def parse_rc(path):
    table = {}
    for line in open(path, encoding="utf-8"):
        m = re.match(r'\s*(\d+)\s+(BITMAP|ICON|CURSOR)\s+"([^"]+)"', line)
        if m:
            table[int(m.group(1))] = (m.group(2), m.group(3))
    return table


def check_bmp_header(path):
    """What LoadBitmap and windres take without surprises: 24-bit BI_RGB."""
    with open(path, "rb") as f:
        head = f.read(54)
    if head[:2] != b"BM" or len(head) < 54:
        fault(f"{path}: not a BMP file")
        return
    size, _, _, _, bits, compression = struct.unpack("<IiiHHI", head[14:34])
    if size != 40 or bits != 24 or compression != 0:
        fault(f"{path}: header {size}, {bits} bits, compression {compression}; want 40, 24, 0")


def check_fast_form(path):
    """The ".png" files hold uncompressed BMP data that the program reads without
    a decoder: 24-bit, or 32-bit with bit fields that name the alpha byte."""
    with open(path, "rb") as f:
        head = f.read(14 + 108)
    if head[:2] != b"BM" or len(head) < 54:
        fault(f"{path}: not stored as a bitmap; the program would need the decoder at start")
        return
    size, _, _, _, bits, compression = struct.unpack("<IiiHHI", head[14:34])
    if bits == 24 and compression == 0:
        return
    masks = struct.unpack("<4I", head[54:70]) if len(head) >= 70 else ()
    if not (bits == 32 and compression == 3 and size >= 108 and
            masks == (0x00FF0000, 0x0000FF00, 0x000000FF, 0xFF000000)):
        fault(f"{path}: {bits} bits, compression {compression}, header {size}; "
              "want 24-bit, or 32-bit with an alpha mask")


def pixels(img):
    return img.convert("RGB").getdata()


def check_no_key(path, img):
    if KEY in set(pixels(img)):
        fault(f"{path}: holds the key colour, which would show as magenta")


def check_shaped(path, img, key):
    """The window region drops every key pixel: they must lie only outside one
    outline (a run from each end of a row), and no pixel may be a blend towards
    the key (a pink fringe)."""
    w, h = img.size
    px = img.convert("RGB").load()
    if px[0, 0] != key:
        fault(f"{path}: top-left pixel {px[0, 0]} is not the key colour")
    if px[w // 2, h // 2] == key:
        fault(f"{path}: the middle is cut out")
    for y in range(h):
        row = [px[x, y] == key for x in range(w)]
        left = next((x for x in range(w) if not row[x]), w)
        right = next((x for x in range(w - 1, -1, -1) if not row[x]), -1)
        if any(row[left:right + 1]):
            fault(f"{path}: key-coloured hole inside the outline in row {y}")
            break
    for y in range(h):
        for x in range(w):
            r, g, b = px[x, y]
            if (r, g, b) != key and r > 170 and b > 170 and g < 110:
                fault(f"{path}: pinkish pixel {(r, g, b)} at {(x, y)} would show as a fringe")
                return


def check_icon(path, kind, sizes, hotspot_inside=False):
    data = open(path, "rb").read()
    reserved, typ, count = struct.unpack("<HHH", data[:6])
    if reserved != 0 or typ != kind or count != len(sizes):
        fault(f"{path}: directory {reserved}, type {typ}, {count} images")
        return
    found = []
    for i in range(count):
        w, h, _, _, f1, f2, length, offset = struct.unpack("<BBBBHHII", data[6 + 16 * i:22 + 16 * i])
        w, h = w or 256, h or 256
        found.append(w)
        header = data[offset:offset + 40]
        if header[:4] == b"\x89PNG" or struct.unpack("<I", header[:4])[0] != 40:
            fault(f"{path}: image {w} is not a DIB (Windows XP reads only DIB entries)")
            continue
        _, dw, dh, _, bits = struct.unpack("<IiiHH", header[:16])
        if (dw, dh) != (w, 2 * h) or bits != 32:
            fault(f"{path}: image {w} has DIB {dw} x {dh} at {bits} bits")
        if hotspot_inside:
            if not (0 <= f1 < w and 0 <= f2 < h):
                fault(f"{path}: hot spot {(f1, f2)} outside the {w} x {h} cursor")
            else:
                # alpha of the hot spot's pixel (rows are stored bottom-up)
                row = h - 1 - f2
                a = data[offset + 40 + (row * w + f1) * 4 + 3]
                if a == 0:
                    fault(f"{path}: hot spot {(f1, f2)} lies on a transparent pixel")
    if sorted(found) != sorted(sizes):
        fault(f"{path}: sizes {found}, want {sizes}")


def main(argv):
    if len(argv) < 1:
        print(__doc__)
        return 2
    skin = argv[0]
    layout = argv[1] if len(argv) > 1 else None
    rc = parse_rc(os.path.join(skin, "skin_resources.rc"))

    def image(rel, size=None):
        path = os.path.join(skin, rel)
        if not os.path.isfile(path):
            fault(f"{rel}: missing")
            return None
        img = Image.open(path)
        img.load()
        if size and img.size != tuple(size):
            fault(f"{rel}: {img.size[0]} x {img.size[1]}, want {size[0]} x {size[1]}")
        if rel.endswith(".bmp"):
            check_bmp_header(path)
        elif rel.endswith(".png"):
            check_fast_form(path)
        return img

    def bitmap(rid, size):
        if rid not in rc or rc[rid][0] != "BITMAP":
            fault(f"bitmap {rid} is not declared in skin_resources.rc")
            return None
        return image(os.path.relpath(rc[rid][1], skin), size)

    # The main dialog's tables.
    if layout and os.path.isfile(layout):
        buttons, pieces = parse_layout(layout)
        if len(buttons) != 17 or len(pieces) != 12:
            fault(f"{layout}: read {len(buttons)} button rows and {len(pieces)} piece rows, want 17 and 12")
        seen = set()
        for rid, w, h, names in buttons:
            for name in names:
                if (name, w, h) in seen:  # the six slots and three thumbs share their files
                    continue
                seen.add((name, w, h))
                img = image(f"{IMAGES}/{name}", (w, h))
                if img is None:
                    continue
                if name.endswith(".png") and name != "shadow_Middle.png" and img.mode in ("RGBA", "LA", "P"):
                    alpha = img.convert("RGBA").getchannel("A")
                    if alpha.getextrema()[0] < 255:
                        fault(f"{name}: has transparent pixels; buttons are copied, not blended, so they would turn black")
                check_no_key(name, img)
        for rid, w, h in pieces:
            img = bitmap(rid, (w, h))
            if img is None:
                continue
            if rid == 1049:
                check_shaped("bitmap 1049", img, KEY)
            else:
                check_no_key(f"bitmap {rid}", img)
    elif layout:
        print(f"note: {layout} not found; the tables' files are not checked")

    # Message box.
    frame = bitmap(277, BOX_BITMAPS[277])
    if frame is not None:
        check_shaped("bitmap 277", frame, frame.convert("RGB").getpixel((0, 0)))
    strip = bitmap(282, BOX_BITMAPS[282])
    if strip is not None:
        check_no_key("bitmap 282", strip)
    for name, size in BOX_BUTTON_FILES.items():
        img = image(f"{POPUP}/{name}", size)
        if img is not None and img.mode == "RGBA" and img.getchannel("A").getextrema()[0] < 255:
            fault(f"{name}: has transparent pixels")

    # The preview's shadow is the one picture laid with per-pixel alpha. No
    # channel may exceed the alpha: then the colours are valid premultiplied
    # ones (what the blend expects) and read as straight ones they differ only
    # in how dark a partly covered pixel turns.
    shadow = image(f"{IMAGES}/shadow_Middle.png", (628, 357))
    if shadow is not None:
        if shadow.mode != "RGBA":
            fault("shadow_Middle.png: has no alpha channel")
        else:
            if shadow.getchannel("A").getextrema()[0] != 0:
                fault("shadow_Middle.png: no fully transparent pixel; the preview would be hidden")
            for r, g, b, a in shadow.getdata():
                if max(r, g, b) > a:
                    fault(f"shadow_Middle.png: colour {(r, g, b)} exceeds its alpha {a}")
                    break

    # Preview pictures.
    bg = image(f"{DPI}/UnionBG.jpg")
    if bg is not None and (bg.width < 628 or bg.height < 357):
        fault(f"UnionBG.jpg: {bg.size} is smaller than the preview")
    dialog = image(f"{DPI}/UnionDialog.bmp")
    if dialog is not None:
        if dialog.width > 548 or dialog.height > 312:
            fault(f"UnionDialog.bmp: {dialog.size} is larger than the preview's 548 x 312")
        mask = image(f"{DPI}/UnionDialogMask.bmp", dialog.size)
        if mask is not None:
            colours = set(pixels(mask))
            if not colours <= {(0, 0, 0), (255, 255, 255)}:
                fault("UnionDialogMask.bmp: holds colours other than black and white")
            if mask.convert("RGB").getpixel((dialog.width // 2, dialog.height // 2)) != (0, 0, 0):
                fault("UnionDialogMask.bmp: the middle of the picture is masked out")
            if mask.transpose(Image.FLIP_LEFT_RIGHT).tobytes() != mask.tobytes():
                fault("UnionDialogMask.bmp: not symmetric, so it does not fit the right-to-left picture")
        for rtl in ("UnionDialogRTL.jpg", "UnionDialogRTL.bmp"):
            image(f"{DPI}/{rtl}", dialog.size)

    # Icon and cursor.
    for rid, kind, sizes, hot in ((129, "ICON", [16, 32, 48], False), (263, "CURSOR", [32], True)):
        if rid not in rc or rc[rid][0] != kind:
            fault(f"{kind.lower()} {rid} is not declared in skin_resources.rc")
        elif not os.path.isfile(rc[rid][1]):
            fault(f"{rc[rid][1]}: missing")
        else:
            check_icon(rc[rid][1], 1 if kind == "ICON" else 2, sizes, hotspot_inside=hot)

    if faults:
        print(f"{len(faults)} fault(s)")
        return 1
    print("skin ok")
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
