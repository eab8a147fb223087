#!/usr/bin/python3
"""Draws the skin of PioScreen: every image file beside the program and every
bitmap, icon and cursor compiled into it.

    generate_skin.py --out DIR            write all files under DIR
    generate_skin.py --list               print "KIND ID PATH" for every file
    generate_skin.py --out DIR --mock M   also write composed mock-ups into M

KIND is "file" (installed beside the program at PATH, relative to its folder),
or BITMAP, ICON or CURSOR (compiled into the program with resource ID).

The look: a dark window with rounded corners on a magenta key (the window
region cuts out exactly the magenta pixels, so that edge is hard), a light
title card and light label pills for the texts the program paints in black,
dark panels for the texts it paints in white, and the four coloured keys.
Everything is drawn here from shapes; text is DejaVu through Pillow.

Places and sizes come from the main dialog's layout tables and the message
box's layout; the two must be kept in step with screen/app/layout.cpp.
"""

import argparse
import math
import os
import struct
import sys

from PIL import Image, ImageChops, ImageDraw, ImageFilter, ImageFont

SS = 4  # supersampling factor of anti-aliased shapes
KEY = (255, 0, 255)  # outside of a shaped window
FONT_DIR = os.environ.get("PIO_SKIN_FONT_DIR", "/usr/share/fonts/truetype/dejavu")

# Window and message box.
WIN_W, WIN_H, WIN_R = 1024, 576, 22
BOX_W, BOX_H, BOX_R = 400, 270, 18

# Palette.
FRAME_TOP, FRAME_BOTTOM = (38, 45, 56), (19, 23, 30)
FRAME_EDGE = (9, 11, 14)
FRAME_RIM_TOP, FRAME_RIM_BOTTOM = (78, 89, 106), (40, 46, 56)
PANEL = (36, 43, 54)
PANEL_EDGE = (62, 72, 88)
LIGHT_TOP, LIGHT_BOTTOM = (240, 243, 247), (214, 220, 229)
ACCENT = (32, 168, 255)          # the blue the program paints the resolution in
ACCENT_TOP, ACCENT_BOTTOM = (58, 150, 245), (30, 114, 218)
PRESSED_TOP, PRESSED_BOTTOM = (30, 104, 196), (22, 84, 166)
GROOVE = (18, 22, 29)
FILL_TOP, FILL_BOTTOM = (74, 184, 255), (30, 138, 236)
KEY_COLOURS = {
    "red": (229, 72, 77),
    "green": (46, 170, 108),
    "yellow": (244, 193, 36),
    "blue": (47, 128, 237),
}

# Main dialog pieces: (resource id, x, y, w, h).
PIECES = [
    (1049, 0, 0, 1024, 576), (273, 10, 10, 345, 72), (278, 43, 80, 628, 357),
    (279, 697, 82, 290, 355), (290, 697, 82, 290, 176), (291, 697, 262, 290, 176),
    (274, 711, 259, 262, 3), (276, 724, 154, 236, 32), (275, 724, 332, 236, 32),
    (294, 724, 354, 236, 32), (295, 707, 190, 280, 138), (280, 709, 154, 1, 30),
]
PIECE = {p[0]: p[1:] for p in PIECES}
KEY_PLACES = {"red": (16, 450), "green": (268, 450), "yellow": (516, 450), "blue": (765, 450)}
KEY_SIZE = 101
PRESET_PLACES = {"small_a": (697, 139), "medium_a": (792, 139), "big_a": (887, 139)}
PRESET_W, PRESET_H = 99, 95
SLOT_X, SLOT_YS, SLOT_W, SLOT_H = 697, (82, 141, 199, 257, 316, 374), 290, 60
THUMB_W, THUMB_H = 64, 49
PREVIEW = (43, 80, 628, 357)
DIALOG_PREVIEW = (123, 125, 548, 312)
CARD = (689, 22, 995, 443)       # light header above y = 82, dark body below
BEZEL = (35, 72, 679, 445)
SCREEN_R = 10
# Track pieces: the bar lies in rows [11, 19) of the 32-row piece; the fill
# column (piece 280) repeats those rows. The thumb is placed 6 rows above the
# track, so its knob is centred on row 21.5 of the thumb image.
BAR_Y0, BAR_Y1 = 11, 19
BAR_X0 = 2  # the fill starts at x = 725 (page 4) or 724 (page 1)
THUMB_CY = 21.5
# Label pills start under the middle of each key, so a key moved sideways by a
# language nudge still covers the pill's rounded start.
PILL_Y0, PILL_Y1, PILL_W = 476, 524, 196

# Message box.
BOX_FOOTER_Y = 186
BOX_STRIP = (22, 195, 359, 47)            # resource 282
BOX_BUTTONS = ((25, 197), (210, 197))     # POP_button_*.png, 169 x 43
POP_W, POP_H = 169, 43

# Preview pictures.
BG_W, BG_H = 1280, 720
DLG_W, DLG_H, DLG_TITLE = 380, 230, 30
DLG_CORNER = 6


# ---------------------------------------------------------------- helpers

def font(name, size):
    return ImageFont.truetype(os.path.join(FONT_DIR, name), size)


def mix(a, b, t):
    return tuple(int(round(a[i] + (b[i] - a[i]) * t)) for i in range(3))


def lighten(c, t):
    return mix(c, (255, 255, 255), t)


def darken(c, t):
    return mix(c, (0, 0, 0), t)


def gradient(w, h, stops, horizontal=False):
    """Linear gradient; stops are (position in pixels, colour), clamped outside."""
    n = w if horizontal else h
    stops = sorted(stops)
    data = []
    for i in range(n):
        p = i + 0.5
        if p <= stops[0][0]:
            data.append(stops[0][1])
            continue
        if p >= stops[-1][0]:
            data.append(stops[-1][1])
            continue
        for (p0, c0), (p1, c1) in zip(stops, stops[1:]):
            if p0 <= p <= p1:
                data.append(mix(c0, c1, (p - p0) / (p1 - p0) if p1 > p0 else 0))
                break
    strip = Image.new("RGB", (n, 1) if horizontal else (1, n))
    strip.putdata(data)
    return strip.resize((w, h), Image.NEAREST)


class Mask:
    """An anti-aliased coverage mask: shapes in pixel-edge coordinates, drawn
    supersampled and reduced."""

    def __init__(self, w, h):
        self.w, self.h = w, h
        self.im = Image.new("L", (w * SS, h * SS), 0)
        self.d = ImageDraw.Draw(self.im)

    @staticmethod
    def _box(x0, y0, x1, y1):
        return [round(x0 * SS), round(y0 * SS), round(x1 * SS) - 1, round(y1 * SS) - 1]

    def rrect(self, x0, y0, x1, y1, r, fill=255):
        r = min(r, (x1 - x0) / 2, (y1 - y0) / 2)
        self.d.rounded_rectangle(self._box(x0, y0, x1, y1), radius=round(r * SS), fill=fill)
        return self

    def rect(self, x0, y0, x1, y1, fill=255):
        self.d.rectangle(self._box(x0, y0, x1, y1), fill=fill)
        return self

    def ellipse(self, cx, cy, rx, ry, fill=255):
        self.d.ellipse(self._box(cx - rx, cy - ry, cx + rx, cy + ry), fill=fill)
        return self

    def polygon(self, pts, fill=255):
        self.d.polygon([(x * SS, y * SS) for x, y in pts], fill=fill)
        return self

    def line(self, pts, width, fill=255):
        self.d.line([(x * SS, y * SS) for x, y in pts], fill=fill, width=max(1, round(width * SS)),
                    joint="curve")
        for x, y in (pts[0], pts[-1]):  # round caps
            self.ellipse(x, y, width / 2, width / 2, fill)
        return self

    def get(self):
        return self.im.resize((self.w, self.h), Image.BOX)


def scaled(mask, opacity):
    return mask.point(lambda v: int(round(v * opacity)))


def paint(img, mask, src, at=(0, 0)):
    """Lays a colour or an image of the mask's size over img through the mask."""
    x, y = at
    if isinstance(src, tuple):
        img.paste(src, (x, y, x + mask.width, y + mask.height), mask)
    else:
        img.paste(src, (x, y), mask)


def shadow(img, mask, dx, dy, blur, opacity):
    m = mask.filter(ImageFilter.GaussianBlur(blur)) if blur else mask
    m = ImageChops.offset(m, dx, dy)
    paint(img, scaled(m, opacity), (0, 0, 0))


def hard_rounded_mask(w, h, r):
    """Window shape without anti-aliasing: the region keeps or cuts whole pixels
    by the exact magenta test, so its edge must not blend towards magenta."""
    m = Image.new("L", (w, h), 255)
    # Pixel (x, y) belongs to the shape when its centre lies within the rounded
    # rectangle; only the four corner squares need the test.
    px = m.load()
    for y in list(range(min(r, h))) + list(range(max(h - r, r), h)):
        for x in list(range(min(r, w))) + list(range(max(w - r, r), w)):
            cx = min(max(x + 0.5, r), w - r)
            cy = min(max(y + 0.5, r), h - r)
            if (x + 0.5 - cx) ** 2 + (y + 0.5 - cy) ** 2 > r * r:
                px[x, y] = 0
    return m


def key_outside(img, shape):
    out = img.copy()
    out.paste(KEY, (0, 0) + img.size, ImageChops.invert(shape))
    return out


def text_centered(d, box, text, fnt, fill):
    x0, y0, x1, y1 = box
    l, t, r, b = d.textbbox((0, 0), text, font=fnt)
    d.text(((x0 + x1 - (r - l)) / 2 - l, (y0 + y1 - (b - t)) / 2 - t), text, font=fnt, fill=fill)


def crop(img, x, y, w, h):
    return img.crop((x, y, x + w, y + h))


# ---------------------------------------------------------------- main window

def draw_logo(img):
    # Icon tile, then the product name; all inside piece 273 (10..355 x 10..82).
    x0, y0, s = 24, 23, 42
    m = Mask(WIN_W, WIN_H).rrect(x0, y0, x0 + s, y0 + s, 11).get()
    shadow(img, m, 0, 2, 3, 0.5)
    paint(img, m, gradient(WIN_W, WIN_H, [(y0, (66, 146, 245)), (y0 + s, (30, 96, 206))]))
    draw_tv_glyph(img, x0, y0, s, (255, 255, 255))
    d = ImageDraw.Draw(img)
    size = 27
    while True:
        bold, regular = font("DejaVuSans-Bold.ttf", size), font("DejaVuSans.ttf", size)
        w1 = d.textlength("Pio Screen ", font=bold)
        w2 = d.textlength("Setting", font=regular)
        if x0 + s + 14 + w1 + w2 <= 345 or size <= 16:
            break
        size -= 1
    tx = x0 + s + 14
    base = y0 + s / 2 + size * 0.36
    d.text((tx, base), "Pio Screen ", font=bold, fill=(244, 246, 250), anchor="ls")
    d.text((tx + w1, base), "Setting", font=regular, fill=(150, 163, 182), anchor="ls")


def draw_tv_glyph(img, x0, y0, s, colour, dots=True):
    """A screen outline with the four key colours below it, scaled to a tile of side s."""
    k = s / 42.0
    ring = Mask(img.width, img.height)
    ring.rrect(x0 + 8 * k, y0 + 8 * k, x0 + 34 * k, y0 + 27 * k, 4 * k)
    ring.rrect(x0 + 10.6 * k, y0 + 10.6 * k, x0 + 31.4 * k, y0 + 24.4 * k, 2 * k, fill=0)
    paint(img, ring.get(), colour)
    if dots:
        for i, name in enumerate(("red", "green", "yellow", "blue")):
            dm = Mask(img.width, img.height).ellipse(x0 + (12.5 + i * 5.67) * k, y0 + 32.5 * k,
                                                     2.4 * k, 2.4 * k).get()
            paint(img, dm, lighten(KEY_COLOURS[name], 0.1))


def draw_main_base():
    """The whole static face of the window, before the key colour is applied.
    Pieces 1049, 273, 278 and 279 are cut from it, so they join seamlessly."""
    img = gradient(WIN_W, WIN_H, [(0, FRAME_TOP), (WIN_H, FRAME_BOTTOM)])

    # A light rim just inside the edge, fading downwards.
    rim = Mask(WIN_W, WIN_H).rrect(1, 1, WIN_W - 1, WIN_H - 1, WIN_R - 1)
    rim.rrect(2.2, 2.2, WIN_W - 2.2, WIN_H - 2.2, WIN_R - 2.2, fill=0)
    paint(img, rim.get(), gradient(WIN_W, WIN_H, [(0, FRAME_RIM_TOP), (WIN_H * 0.6, FRAME_RIM_BOTTOM)]))

    # Bezel of the preview and the screen inside it.
    bx0, by0, bx1, by1 = BEZEL
    bez = Mask(WIN_W, WIN_H).rrect(bx0, by0, bx1, by1, 16).get()
    shadow(img, bez, 0, 3, 5, 0.45)
    paint(img, bez, gradient(WIN_W, WIN_H, [(by0, (52, 60, 74)), (by1, (30, 35, 43))]))
    inner = Mask(WIN_W, WIN_H).rrect(bx0 + 1.2, by0 + 1.2, bx1 - 1.2, by1 - 1.2, 15).get()
    paint(img, inner, gradient(WIN_W, WIN_H, [(by0, (16, 19, 25)), (by1, (10, 12, 16))]))
    px, py, pw, ph = PREVIEW
    scr = Mask(WIN_W, WIN_H).rrect(px, py, px + pw, py + ph, SCREEN_R).get()
    paint(img, scr, gradient(WIN_W, WIN_H, [(py, (26, 34, 48)), (py + ph, (13, 17, 25))]))
    # A faint mark where the preview is missing.
    glyph = Image.new("RGB", img.size, (0, 0, 0))
    draw_tv_glyph(glyph, px + pw / 2 - 45, py + ph / 2 - 45, 90, (255, 255, 255), dots=False)
    gm = glyph.convert("L")
    paint(img, scaled(gm, 0.10), (200, 215, 235))

    # Right card: light header for the black page title, dark body for the page.
    cx0, cy0, cx1, cy1 = CARD
    card = Mask(WIN_W, WIN_H).rrect(cx0, cy0, cx1, cy1, 16).get()
    shadow(img, card, 0, 3, 5, 0.45)
    paint(img, card, PANEL_EDGE)
    body = Mask(WIN_W, WIN_H).rrect(cx0 + 1, cy0 + 1, cx1 - 1, cy1 - 1, 15).get()
    paint(img, body, PANEL)
    header = Mask(WIN_W, WIN_H).rrect(cx0 + 1, cy0 + 1, cx1 - 1, 82 + 16, 15).rect(cx0, 82, cx1, 100, 0).get()
    paint(img, header, gradient(WIN_W, WIN_H, [(cy0, LIGHT_TOP), (82, LIGHT_BOTTOM)]))

    # Label pills, one to the right of each key (the program paints the key labels in black).
    for name, (kx, ky) in KEY_PLACES.items():
        x0 = kx + KEY_SIZE / 2
        pill = Mask(WIN_W, WIN_H).rrect(x0, PILL_Y0, x0 + PILL_W, PILL_Y1, (PILL_Y1 - PILL_Y0) / 2).get()
        shadow(img, pill, 0, 2, 3, 0.4)
        paint(img, pill, gradient(WIN_W, WIN_H, [(PILL_Y0, LIGHT_TOP), (PILL_Y1, LIGHT_BOTTOM)]))

    draw_logo(img)
    return img


def main_frame(base):
    shape = hard_rounded_mask(WIN_W, WIN_H, WIN_R)
    img = base.copy()
    # One dark line along the cut edge gives the shape a crisp outline on any desktop.
    edge = ImageChops.subtract(shape, shape.filter(ImageFilter.MinFilter(3)))
    paint(img, edge, FRAME_EDGE)
    return key_outside(img, shape)


def panel_outline(base, piece_id):
    x, y, w, h = PIECE[piece_id]
    img = crop(base, x, y, w, h)
    # Only an outline: the interior stays the panel colour, so the thumbs and
    # keys drawn over it (their images carry the panel colour) match either way.
    m = Mask(w, h).rrect(4, 4, w - 4, h - 4 - (1 if h > 170 else 0), 12)
    m.rrect(6, 6, w - 6, h - 6 - (1 if h > 170 else 0), 10, fill=0)
    paint(img, m.get(), ACCENT)
    return img


def separator(base):
    x, y, w, h = PIECE[274]
    img = crop(base, x, y, w, h)
    line = gradient(w, h, [(0, PANEL), (40, (84, 96, 114)), (w - 40, (84, 96, 114)), (w, PANEL)],
                    horizontal=True)
    m = Image.new("L", (w, h), 0)
    ImageDraw.Draw(m).line([(0, 1), (w, 1)], fill=255)
    paint(img, m, line)
    return img


def track(base, piece_id):
    x, y, w, h = PIECE[piece_id]
    img = crop(base, x, y, w, h)
    m = Mask(w, h).rrect(BAR_X0 - 8, BAR_Y0, w - 2, BAR_Y1, (BAR_Y1 - BAR_Y0) / 2)
    m.rect(0, 0, BAR_X0, h, fill=0)  # square start: the fill always begins there
    paint(img, m.get(), GROOVE)
    return img


def track_fill(base):
    x, y, w, h = PIECE[280]
    img = crop(base, 724, y, 1, h)  # any column of the flat panel
    img.paste(gradient(1, BAR_Y1 - BAR_Y0, [(0, FILL_TOP), (BAR_Y1 - BAR_Y0, FILL_BOTTOM)]), (0, BAR_Y0))
    return img


def picture_size_art(base):
    """Piece 295: a television whose picture grows and shrinks, for page 1."""
    x, y, w, h = PIECE[295]
    img = crop(base, x, y, w, h)
    sx0, sy0, sx1, sy1 = 62, 18, 218, 108  # screen outside
    tv = Mask(w, h).rrect(sx0, sy0, sx1, sy1, 10).get()
    shadow(img, tv, 0, 3, 4, 0.5)
    paint(img, tv, gradient(w, h, [(sy0, (112, 124, 142)), (sy1, (78, 88, 104))]))
    # stand
    stand = Mask(w, h).polygon([(128, sy1 - 1), (152, sy1 - 1), (158, sy1 + 12), (122, sy1 + 12)])
    stand.rrect(104, sy1 + 11, 176, sy1 + 16, 2.5)
    paint(img, stand.get(), (92, 103, 120))
    glass = Mask(w, h).rrect(sx0 + 5, sy0 + 5, sx1 - 5, sy1 - 5, 6).get()
    paint(img, glass, gradient(w, h, [(sy0, (20, 26, 36)), (sy1, (12, 15, 21))]))
    # the picture, inset, with a small landscape
    px0, py0, px1, py1 = sx0 + 26, sy0 + 22, sx1 - 26, sy1 - 22
    pic = Mask(w, h).rect(px0, py0, px1, py1).get()
    paint(img, pic, gradient(w, h, [(py0, (62, 142, 220)), (py1, (150, 196, 236))]))
    hill = Mask(w, h).polygon([(px0, py1), (px0, py1 - 12), (px0 + 30, py1 - 22), (px0 + 62, py1 - 10),
                               (px1 - 20, py1 - 18), (px1, py1 - 12), (px1, py1)])
    paint(img, hill.get(), (46, 120, 96))
    sun = Mask(w, h).ellipse(px1 - 20, py0 + 11, 5, 5).get()
    paint(img, sun, (250, 226, 140))
    # double arrows from the picture's corners towards the screen's corners
    arrows = Mask(w, h)
    for (ax, ay, bx, by) in ((px0 - 3, py0 - 3, sx0 + 10, sy0 + 10), (px1 + 3, py0 - 3, sx1 - 10, sy0 + 10),
                             (px0 - 3, py1 + 3, sx0 + 10, sy1 - 10), (px1 + 3, py1 + 3, sx1 - 10, sy1 - 10)):
        arrows.line([(ax, ay), (bx, by)], 2.2)
        for (tx, ty, fx, fy) in ((ax, ay, bx, by), (bx, by, ax, ay)):
            ang = math.atan2(ty - fy, tx - fx)
            for da in (2.5, -2.5):
                arrows.line([(tx, ty), (tx - 6 * math.cos(ang + da / 4 * math.pi / 2),
                                        ty - 6 * math.sin(ang + da / 4 * math.pi / 2))], 2.2)
    paint(img, arrows.get(), (226, 232, 240))
    return img


def preview_placeholder(base):
    return crop(base, *PREVIEW)


def preview_shadow(base):
    """shadow_Middle.png: laid with per-pixel alpha over the preview. Rounded
    corners in the bezel's own pixels, and a soft inner shadow in pure black, so
    that it looks the same whether or not the blend takes the colours as
    premultiplied."""
    x, y, w, h = PREVIEW
    inside = Mask(w, h).rrect(0, 0, w, h, SCREEN_R).get()
    outside = ImageChops.invert(inside)
    pad = 24
    grown = Image.new("L", (w + 2 * pad, h + 2 * pad), 255)
    grown.paste(outside, (pad, pad))
    blurred = grown.filter(ImageFilter.GaussianBlur(7))
    inner = ImageChops.offset(blurred, 0, 3).crop((pad, pad, pad + w, pad + h))
    inner = scaled(inner, 0.62)
    # The top edge gets a little more, as if lit from above.
    top = gradient(w, h, [(0, (70, 70, 70)), (26, (0, 0, 0))]).convert("L")
    inner = ImageChops.lighter(inner, ImageChops.multiply(top, inside))
    alpha = ImageChops.lighter(ImageChops.multiply(inner, inside), outside)
    rgb = Image.new("RGB", (w, h), (0, 0, 0))
    rgb.paste(crop(base, x, y, w, h), (0, 0), outside)
    out = rgb.convert("RGBA")
    out.putalpha(alpha)
    # Where the corner is only partly outside, keep the colour of the bezel under
    # a partial alpha (it still reads as the frame's edge).
    return out


# ---------------------------------------------------------------- buttons

def key_image(base, name, state):
    kx, ky = KEY_PLACES[name]
    img = crop(base, kx, ky, KEY_SIZE, KEY_SIZE)
    c = KEY_COLOURS[name]
    cx = cy = KEY_SIZE / 2
    r = 42
    dy = 2 if state == "d" else 0
    if state == "un":
        c = mix(c, (92, 99, 110), 0.72)
    elif state == "o":
        c = lighten(c, 0.10)
    elif state == "d":
        c = darken(c, 0.14)
    disc = Mask(KEY_SIZE, KEY_SIZE).ellipse(cx, cy + dy, r, r).get()
    if state == "d":
        shadow(img, disc, 0, 1, 2, 0.45)
    else:
        shadow(img, disc, 0, 3, 4, 0.55)
    if state == "o":
        ring = Mask(KEY_SIZE, KEY_SIZE).ellipse(cx, cy, r + 6, r + 6).ellipse(cx, cy, r + 3, r + 3, 0).get()
        paint(img, ring, (246, 248, 252))
    top, bottom = lighten(c, 0.20), darken(c, 0.12)
    if state == "d":
        top, bottom = darken(c, 0.04), lighten(c, 0.04)
    paint(img, disc, gradient(KEY_SIZE, KEY_SIZE, [(cy + dy - r, top), (cy + dy + r, bottom)]))
    edge = Mask(KEY_SIZE, KEY_SIZE).ellipse(cx, cy + dy, r, r).ellipse(cx, cy + dy, r - 1.6, r - 1.6, 0).get()
    paint(img, scaled(edge, 0.7), darken(c, 0.28))
    if state in ("n", "o"):
        gloss = Mask(KEY_SIZE, KEY_SIZE).ellipse(cx, cy - r * 0.42, r * 0.72, r * 0.46).get()
        gloss = ImageChops.multiply(gloss, gradient(KEY_SIZE, KEY_SIZE, [(cy - r, (80, 80, 80)),
                                                                          (cy, (0, 0, 0))]).convert("L"))
        paint(img, gloss, (255, 255, 255))
    # A quiet inner ring makes the key read as a button, not a dot.
    inner = Mask(KEY_SIZE, KEY_SIZE).ellipse(cx, cy + dy, r - 9, r - 9).ellipse(cx, cy + dy, r - 10.5, r - 10.5, 0).get()
    paint(img, scaled(inner, 0.35 if state != "un" else 0.2), lighten(c, 0.45))
    return img


def preset_image(base, name, state):
    x, y = PRESET_PLACES[name]
    img = crop(base, x, y, PRESET_W, PRESET_H)
    x0, y0, x1, y1 = 7, 6, PRESET_W - 7, PRESET_H - 6
    tile = Mask(PRESET_W, PRESET_H).rrect(x0, y0, x1, y1, 14).get()
    shadow(img, tile, 0, 2, 3, 0.5)
    if state == "d":     # selected
        fill = gradient(PRESET_W, PRESET_H, [(y0, ACCENT_TOP), (y1, ACCENT_BOTTOM)])
        border, border_w, letter = (134, 196, 255), 1.5, (255, 255, 255)
    elif state == "o":   # hovered or focused
        fill = gradient(PRESET_W, PRESET_H, [(y0, (70, 82, 100)), (y1, (58, 68, 84))])
        border, border_w, letter = ACCENT, 3.0, (255, 255, 255)
    else:
        fill = gradient(PRESET_W, PRESET_H, [(y0, (54, 64, 79)), (y1, (45, 53, 66))])
        border, border_w, letter = (76, 88, 106), 1.2, (222, 228, 236)
    paint(img, tile, border)
    inner = Mask(PRESET_W, PRESET_H).rrect(x0 + border_w, y0 + border_w, x1 - border_w, y1 - border_w,
                                           14 - border_w).get()
    paint(img, inner, fill)
    size = {"small_a": 30, "medium_a": 44, "big_a": 60}[name]
    d = ImageDraw.Draw(img)
    # All three letters stand on one baseline, like a font size picker.
    d.text((PRESET_W / 2, 70), "A", font=font("DejaVuSans-Bold.ttf", size), fill=letter, anchor="ms")
    return img


def slot_image(base, state):
    img = crop(base, SLOT_X, SLOT_YS[1], SLOT_W, SLOT_H)
    x0, y0, x1, y1 = 4, 5, SLOT_W - 4, SLOT_H - 5
    bar = Mask(SLOT_W, SLOT_H).rrect(x0, y0, x1, y1, 12).get()
    if state != "un":
        shadow(img, bar, 0, 2, 2.5, 0.45)
    look = {
        "n": ((58, 69, 86), (48, 57, 71), (80, 93, 112)),
        "o": (ACCENT_TOP, ACCENT_BOTTOM, (136, 198, 255)),
        "d": (PRESSED_TOP, PRESSED_BOTTOM, (70, 130, 210)),
        "un": ((42, 49, 61), (39, 46, 57), (52, 60, 73)),
    }[state]
    paint(img, bar, look[2])
    inner = Mask(SLOT_W, SLOT_H).rrect(x0 + 1.2, y0 + 1.2, x1 - 1.2, y1 - 1.2, 11).get()
    paint(img, inner, gradient(SLOT_W, SLOT_H, [(y0, look[0]), (y1, look[1])]))
    if state == "o":
        # A brighter left edge marks the chosen row even from across the room.
        mark = Mask(SLOT_W, SLOT_H).rrect(x0 + 8, y0 + 12, x0 + 13, y1 - 12, 2.5).get()
        paint(img, mark, (255, 255, 255))
    return img


def thumb_image(base, state):
    # Drawn on the flat panel only: the bar stops short of the knob on both sides.
    img = crop(base, 760, 300, THUMB_W, THUMB_H)
    x0, x1 = 4, THUMB_W - 4
    y0, y1 = THUMB_CY - 16, THUMB_CY + 16
    dy = 1 if state == "d" else 0
    knob = Mask(THUMB_W, THUMB_H).rrect(x0, y0 + dy, x1, y1 + dy, 16).get()
    shadow(img, knob, 0, 3 - 2 * dy, 3, 0.6)
    if state == "n":
        edge, top, bottom, grip = (126, 138, 156), (242, 245, 249), (206, 213, 223), (128, 140, 158)
        edge_w = 1.2
    elif state == "o":
        edge, top, bottom, grip = (250, 252, 255), ACCENT_TOP, ACCENT_BOTTOM, (255, 255, 255)
        edge_w = 2.5
    else:
        edge, top, bottom, grip = (180, 210, 245), PRESSED_TOP, PRESSED_BOTTOM, (225, 236, 250)
        edge_w = 2.0
    paint(img, knob, edge)
    inner = Mask(THUMB_W, THUMB_H).rrect(x0 + edge_w, y0 + dy + edge_w, x1 - edge_w, y1 + dy - edge_w,
                                         16 - edge_w).get()
    paint(img, inner, gradient(THUMB_W, THUMB_H, [(y0 + dy, top), (y1 + dy, bottom)]))
    g = Mask(THUMB_W, THUMB_H)
    for gx in (-7, 0, 7):
        g.rrect(THUMB_W / 2 + gx - 1.3, THUMB_CY + dy - 7, THUMB_W / 2 + gx + 1.3, THUMB_CY + dy + 7, 1.3)
    paint(img, g.get(), grip)
    return img


# ---------------------------------------------------------------- message box

def box_base():
    img = gradient(BOX_W, BOX_H, [(0, (250, 251, 253)), (BOX_FOOTER_Y, (238, 241, 245))])
    footer = Image.new("L", (BOX_W, BOX_H), 0)
    footer.paste(255, (0, BOX_FOOTER_Y, BOX_W, BOX_H))
    paint(img, footer, (224, 229, 236))
    d = ImageDraw.Draw(img)
    d.line([(0, BOX_FOOTER_Y), (BOX_W, BOX_FOOTER_Y)], fill=(204, 211, 221))
    # An accent band along the top edge.
    band = Image.new("L", (BOX_W, BOX_H), 0)
    band.paste(255, (0, 0, BOX_W, 5))
    paint(img, band, ACCENT_BOTTOM)
    rim = Mask(BOX_W, BOX_H).rrect(0, 0, BOX_W, BOX_H, BOX_R).rrect(1.2, 1.2, BOX_W - 1.2, BOX_H - 1.2,
                                                                     BOX_R - 1.2, 0).get()
    paint(img, scaled(rim, 0.5), (150, 160, 176))
    return img


def box_frame(base):
    shape = hard_rounded_mask(BOX_W, BOX_H, BOX_R)
    img = base.copy()
    edge = ImageChops.subtract(shape, shape.filter(ImageFilter.MinFilter(3)))
    paint(img, edge, (96, 106, 122))
    out = key_outside(img, shape)
    assert out.getpixel((0, 0)) == KEY  # the box takes its key from its top-left pixel
    return out


def box_strip(base):
    return crop(base, *BOX_STRIP)


def pop_button(base, state):
    bx, by = BOX_BUTTONS[0]
    img = crop(base, bx, by, POP_W, POP_H)
    b = Mask(POP_W, POP_H).rrect(1, 1, POP_W - 1, POP_H - 2, 11).get()
    shadow(img, b, 0, 1, 1.5, 0.25)
    look = {
        "n": ((104, 116, 134), (84, 95, 112), (72, 82, 98)),
        "o": (ACCENT_TOP, ACCENT_BOTTOM, (24, 96, 190)),
        "d": (PRESSED_TOP, PRESSED_BOTTOM, (16, 70, 140)),
    }[state]
    paint(img, b, look[2])
    inner = Mask(POP_W, POP_H).rrect(2.2, 2.2, POP_W - 2.2, POP_H - 3.2, 10).get()
    paint(img, inner, gradient(POP_W, POP_H, [(1, look[0]), (POP_H - 2, look[1])]))
    return img


# ---------------------------------------------------------------- preview pictures

def radial_glow(w, h, cx, cy, radius, strength):
    """Soft round light: coverage falling off smoothly from the centre to radius."""
    n = 64
    small = Image.new("L", (n, n), 0)
    small.putdata([int(255 * strength * max(0.0, 1 - math.hypot(x + 0.5 - n / 2, y + 0.5 - n / 2) / (n / 2)) ** 2)
                   for y in range(n) for x in range(n)])
    size = int(2 * radius)
    layer = Image.new("L", (w, h), 0)
    layer.paste(small.resize((size, size), Image.BICUBIC), (int(cx - radius), int(cy - radius)))
    return layer


def desktop_wallpaper():
    """UnionBG.jpg: a desktop at 1280 x 720 with a calm landscape and a column of
    icons at the top left, the part the preview shows."""
    w, h = BG_W, BG_H
    img = gradient(w, h, [(0, (22, 40, 82)), (h * 0.45, (58, 112, 168)), (h * 0.72, (236, 176, 132)),
                          (h, (240, 196, 150))])
    # Sun glow low on the right.
    paint(img, radial_glow(w, h, 860, h * 0.70, 420, 0.6), (255, 226, 170))
    sun = Mask(w, h).ellipse(860, h * 0.70, 34, 34).get()
    paint(img, sun, (255, 238, 200))

    def ridge(base_y, amp, waves, phase):
        pts = [(0, h)]
        for i in range(0, w + 17, 16):
            t = i / w
            yy = base_y + sum(a * math.sin(2 * math.pi * (f * t) + phase + k)
                              for k, (a, f) in enumerate(zip(amp, waves)))
            pts.append((i, yy))
        pts.append((w, h))
        return pts

    layers = [
        (h * 0.66, (30, 14, 8), (0.9, 2.1, 4.3), 0.4, (92, 122, 160)),
        (h * 0.74, (26, 18, 6), (1.2, 2.9, 6.1), 1.7, (60, 94, 132)),
        (h * 0.83, (22, 12, 5), (0.7, 1.8, 5.2), 2.9, (38, 68, 100)),
        (h * 0.93, (18, 9, 4), (1.5, 3.3, 7.0), 4.1, (24, 44, 68)),
    ]
    for base_y, amp, waves, phase, colour in layers:
        m = Mask(w, h).polygon(ridge(base_y, amp, waves, phase)).get()
        paint(img, m, colour)

    # Task bar along the bottom.
    bar = Image.new("L", (w, h), 0)
    bar.paste(215, (0, h - 36, w, h))
    paint(img, bar, (16, 20, 27))
    start = Mask(w, h).rrect(6, h - 31, 90, h - 5, 6).get()
    paint(img, start, (47, 128, 237))
    d = ImageDraw.Draw(img)
    small = font("DejaVuSans-Bold.ttf", 13)
    d.text((48, h - 18), "Start", font=small, fill=(255, 255, 255), anchor="mm")
    d.text((w - 14, h - 18), "12:00", font=font("DejaVuSans.ttf", 13), fill=(230, 234, 240), anchor="rm")

    icons = ("Computer", "Documents", "Pictures", "Network", "Recycle Bin")
    label_font = font("DejaVuSans.ttf", 12)
    for i, label in enumerate(icons):
        ix, iy = 22, 14 + i * 84
        draw_desktop_icon(img, i, ix, iy)
        cx = ix + 20
        for dx, dy, colour in ((1, 1, (0, 0, 0)), (0, 0, (255, 255, 255))):
            d.text((cx + dx, iy + 48 + dy), label, font=label_font, fill=colour, anchor="mt")
    return img


def draw_desktop_icon(img, kind, x, y):
    s = 40
    m = Mask(img.width, img.height)
    if kind == 0:      # computer: a monitor
        m.rrect(x, y + 2, x + s, y + 30, 3)
        paint(img, m.get(), (220, 226, 234))
        scr = Mask(img.width, img.height).rect(x + 3, y + 5, x + s - 3, y + 27).get()
        paint(img, scr, gradient(img.width, img.height, [(y + 5, (60, 150, 240)), (y + 27, (30, 96, 200))]))
        st = Mask(img.width, img.height).rect(x + 16, y + 30, x + 24, y + 35).rrect(x + 9, y + 35, x + 31, y + 38, 1.5)
        paint(img, st.get(), (190, 198, 210))
    elif kind in (1, 2):  # folders
        m.rrect(x, y + 5, x + 18, y + 12, 2).rrect(x, y + 9, x + s, y + 36, 3)
        paint(img, m.get(), (232, 180, 60))
        front = Mask(img.width, img.height).rrect(x, y + 13, x + s, y + 36, 3).get()
        paint(img, front, (250, 206, 96))
        if kind == 2:
            ph = Mask(img.width, img.height).rect(x + 10, y + 17, x + 30, y + 32).get()
            paint(img, ph, (250, 250, 250))
            sky = Mask(img.width, img.height).rect(x + 12, y + 19, x + 28, y + 30).get()
            paint(img, sky, (90, 160, 230))
            hill = Mask(img.width, img.height).polygon([(x + 12, y + 30), (x + 18, y + 23), (x + 23, y + 27),
                                                        (x + 28, y + 22), (x + 28, y + 30)]).get()
            paint(img, hill, (60, 140, 90))
    elif kind == 3:    # network: a globe
        m.ellipse(x + s / 2, y + 20, 17, 17)
        paint(img, m.get(), gradient(img.width, img.height, [(y + 3, (90, 180, 250)), (y + 37, (30, 100, 200))]))
        lines = Mask(img.width, img.height)
        lines.ellipse(x + s / 2, y + 20, 17, 17).ellipse(x + s / 2, y + 20, 15.8, 15.8, 0)
        lines.ellipse(x + s / 2, y + 20, 7, 17).ellipse(x + s / 2, y + 20, 5.8, 15.8, 0)
        lines.rect(x + 3, y + 19.4, x + s - 3, y + 20.6).rect(x + s / 2 - 0.6, y + 3, x + s / 2 + 0.6, y + 37)
        paint(img, lines.get(), (225, 240, 255))
    else:              # recycle bin
        m.polygon([(x + 7, y + 10), (x + 33, y + 10), (x + 30, y + 38), (x + 10, y + 38)])
        paint(img, m.get(), (205, 214, 226))
        lid = Mask(img.width, img.height).rrect(x + 5, y + 6, x + 35, y + 10, 1.5).rrect(x + 16, y + 3, x + 24, y + 7, 1.5)
        paint(img, lid.get(), (170, 180, 195))
        ribs = Mask(img.width, img.height)
        for rx in (14, 20, 26):
            ribs.line([(x + rx, y + 14), (x + rx - (rx - 20) * 0.15, y + 34)], 1.4)
        paint(img, ribs.get(), (150, 160, 176))


def dialog_picture(rtl):
    """UnionDialog.bmp (and its right-to-left twin): a small window the preview
    scales with the chosen text size. The program writes a caption into the
    title bar (dark purple) and a line of black text at the body's top, so both
    places are left empty and light."""
    w, h = DLG_W, DLG_H

    def X(x0, x1):  # mirror a horizontal span for right-to-left
        return (w - x1, w - x0) if rtl else (x0, x1)

    img = Image.new("RGB", (w, h), (252, 253, 254))
    img.paste(gradient(w, DLG_TITLE, [(0, (236, 241, 250)), (DLG_TITLE, (212, 222, 240))]), (0, 0))
    d = ImageDraw.Draw(img)
    d.line([(0, DLG_TITLE), (w, DLG_TITLE)], fill=(186, 198, 218))
    # close box
    cx0, cx1 = X(w - 34, w - 8)
    close = Mask(w, h).rrect(cx0, 6, cx1, 24, 4).get()
    paint(img, close, KEY_COLOURS["red"])
    cross = Mask(w, h)
    mx = (cx0 + cx1) / 2
    cross.line([(mx - 4, 11), (mx + 4, 19)], 1.8).line([(mx + 4, 11), (mx - 4, 19)], 1.8)
    paint(img, cross.get(), (255, 255, 255))
    # content: a rounded group box with placeholder text lines and a check box
    gx0, gx1 = X(18, w - 18)
    group = Mask(w, h).rrect(gx0, 64, gx1, 166, 8).get()
    paint(img, group, (214, 220, 229))
    group_in = Mask(w, h).rrect(gx0 + 1, 65, gx1 - 1, 165, 7).get()
    paint(img, group_in, (242, 245, 249))
    bars = Mask(w, h)
    for i, length in enumerate((250, 196, 226)):
        bx0, bx1 = X(34, 34 + length)
        bars.rrect(bx0, 80 + i * 20, bx1, 88 + i * 20, 4)
    paint(img, bars.get(), (198, 205, 216))
    box = Mask(w, h)
    bx0, bx1 = X(34, 48)
    box.rrect(bx0, 142, bx1, 156, 3)
    paint(img, box.get(), ACCENT_BOTTOM)
    tick = Mask(w, h)
    tx = bx0 + 3
    tick.line([(tx, 149), (tx + 3, 152.5), (tx + 8.5, 145.5)], 1.8)
    paint(img, tick.get(), (255, 255, 255))
    tb0, tb1 = X(56, 56 + 150)
    tbar = Mask(w, h).rrect(tb0, 145, tb1, 153, 4).get()
    paint(img, tbar, (198, 205, 216))
    # buttons, the default one filled
    f = font("DejaVuSans.ttf", 13)
    for label, (x0, x1), primary in (("OK", X(w - 188, w - 106), True), ("Cancel", X(w - 98, w - 16), False)):
        b = Mask(w, h).rrect(x0, 184, x1, 212, 6).get()
        if primary:
            paint(img, b, gradient(w, h, [(184, ACCENT_TOP), (212, ACCENT_BOTTOM)]))
            colour = (255, 255, 255)
        else:
            paint(img, b, (176, 186, 200))
            inner = Mask(w, h).rrect(x0 + 1.2, 185.2, x1 - 1.2, 210.8, 5).get()
            paint(img, inner, (246, 248, 251))
            colour = (40, 48, 60)
        d.text(((x0 + x1) / 2, 198), label, font=f, fill=colour, anchor="mm")
    # window border
    border = Mask(w, h).rrect(0, 0, w, h, DLG_CORNER).rrect(1, 1, w - 1, h - 1, DLG_CORNER - 1, 0).get()
    paint(img, border, (120, 132, 150))
    return img


def dialog_mask():
    """Black keeps the picture, white lets the screen through: only the rounded
    top corners of the small window. Symmetric, so it serves both variants."""
    m = Image.new("L", (DLG_W, DLG_H), 255)
    keep = hard_rounded_mask(DLG_W, DLG_H + DLG_CORNER * 2, DLG_CORNER).crop((0, 0, DLG_W, DLG_H))
    m.paste(0, (0, 0, DLG_W, DLG_H), keep)
    return m.convert("RGB")


# ---------------------------------------------------------------- icon and cursor

def app_icon(size):
    """The program's icon at one size: a blue tile with a screen and the four key colours."""
    big = size * 8
    img = Image.new("RGBA", (big, big), (0, 0, 0, 0))
    inset = 0.5 if size <= 16 else 1.0
    k = size / 48.0
    tile_r = max(3.0, 10 * k)
    m = Image.new("L", (big, big), 0)
    ImageDraw.Draw(m).rounded_rectangle([inset * 8, inset * 8, big - inset * 8 - 1, big - inset * 8 - 1],
                                        radius=tile_r * 8, fill=255)
    tile = gradient(big, big, [(0, (70, 150, 248)), (big, (26, 88, 196))]).convert("RGBA")
    img.paste(tile, (0, 0), m)
    d = ImageDraw.Draw(img)
    stroke = max(1.4, 3.2 * k) * 8
    sx0, sy0, sx1, sy1 = 9 * k * 8, 9 * k * 8, 39 * k * 8, 31 * k * 8
    if size <= 16:
        sx0, sy0, sx1, sy1 = 2.5 * 8, 2.5 * 8, 13.5 * 8, 10 * 8
    d.rounded_rectangle([sx0, sy0, sx1, sy1], radius=max(1.0, 4 * k) * 8, outline=(255, 255, 255, 255),
                        width=round(stroke))
    dot_y = (37.5 * k if size > 16 else 12.8) * 8
    dot_r = (3.1 * k if size > 16 else 1.15) * 8
    span0, span1 = (sx0 + dot_r, sx1 - dot_r)
    for i, name in enumerate(("red", "green", "yellow", "blue")):
        dx = span0 + (span1 - span0) * i / 3
        d.ellipse([dx - dot_r, dot_y - dot_r, dx + dot_r, dot_y + dot_r], fill=lighten(KEY_COLOURS[name], 0.1) + (255,))
    return img.resize((size, size), Image.LANCZOS)


def hand_cursor():
    """32 x 32 pointing hand, white with a dark outline; hot spot at the tip of
    the index finger."""
    n, s = 32, 8
    sil = Image.new("L", (n * s, n * s), 0)
    d = ImageDraw.Draw(sil)

    def rr(x0, y0, x1, y1, r):
        d.rounded_rectangle([x0 * s, y0 * s, x1 * s - 1, y1 * s - 1], radius=r * s, fill=255)

    def capsule(x0, y0, x1, y1, width):
        d.line([(x0 * s, y0 * s), (x1 * s, y1 * s)], fill=255, width=round(width * s))
        for x, y in ((x0, y0), (x1, y1)):
            d.ellipse([(x - width / 2) * s, (y - width / 2) * s, (x + width / 2) * s, (y + width / 2) * s], fill=255)

    rr(9, 1, 14, 18, 2.5)         # index finger, pointing up
    rr(13.5, 8.5, 18, 18, 2.25)   # middle, folded
    rr(17.5, 9.5, 22, 19, 2.25)   # ring
    rr(21.5, 11, 25.5, 19, 2.0)   # little
    rr(9, 14, 25.5, 27, 5)        # palm
    capsule(5.2, 16.6, 10, 22, 4.6)  # thumb, resting against the palm
    rr(11, 24, 24, 31, 1)         # wrist
    outline = sil.filter(ImageFilter.MaxFilter(2 * s + 1))
    inner = sil.copy()
    di = ImageDraw.Draw(inner)
    for x, y0, y1 in ((13.75, 10.5, 15.5), (17.75, 11.5, 16.0), (21.75, 13.0, 16.5)):  # finger creases
        di.line([(x * s, y0 * s), (x * s, y1 * s)], fill=0, width=round(0.8 * s))
    alpha = outline.resize((n, n), Image.BOX)
    white = inner.resize((n, n), Image.BOX)
    rgb = Image.new("RGB", (n, n), (0, 0, 0))
    rgb.paste((255, 255, 255), (0, 0, n, n), white)
    img = rgb.convert("RGBA")
    img.putalpha(alpha)
    return img, (11, 0)


def _dib_entry(im):
    """BITMAPINFOHEADER + 32-bit BGRA rows + AND mask, bottom-up, as icons and cursors hold them."""
    w, h = im.size
    px = im.load()
    rows = bytearray()
    for y in range(h - 1, -1, -1):
        for x in range(w):
            r, g, b, a = px[x, y]
            rows += bytes((b, g, r, a))
    stride = ((w + 31) // 32) * 4
    mask = bytearray()
    for y in range(h - 1, -1, -1):
        row = bytearray(stride)
        for x in range(w):
            if px[x, y][3] < 128:
                row[x // 8] |= 0x80 >> (x % 8)
        mask += row
    header = struct.pack("<IiiHHIIiiII", 40, w, h * 2, 1, 32, 0, len(rows) + len(mask), 0, 0, 0, 0)
    return header + bytes(rows) + bytes(mask)


def write_icon_file(path, images, cursor_hotspot=None):
    """.ico (or .cur with a hot spot) with plain DIB entries, which every Windows
    version down to XP reads (PNG entries would not load there)."""
    kind = 2 if cursor_hotspot else 1
    entries = [_dib_entry(im) for im in images]
    out = bytearray(struct.pack("<HHH", 0, kind, len(images)))
    offset = 6 + 16 * len(images)
    for im, data in zip(images, entries):
        w, h = im.size
        if cursor_hotspot:
            f1, f2 = cursor_hotspot
        else:
            f1, f2 = 1, 32
        out += struct.pack("<BBBBHHII", w % 256, h % 256, 0, 0, f1, f2, len(data), offset)
        offset += len(data)
    for data in entries:
        out += data
    with open(path, "wb") as f:
        f.write(out)


# ---------------------------------------------------------------- the file list

IMAGES = "res/DPI/Middle/Images"
POPUP = "res/DPI/Middle/popup"
DPI = "res/DPI"
RESOURCES = "resources"  # compiled into the program, not installed


def catalogue():
    """(kind, id, relative path, maker) for every file; maker(ctx) returns an
    image (or writes the file itself when it returns None)."""
    items = []

    def add(kind, rid, path, maker):
        items.append((kind, rid, path, maker))

    add("BITMAP", 1049, f"{RESOURCES}/frame_1049.bmp", lambda c: main_frame(c["base"]))
    add("BITMAP", 273, f"{RESOURCES}/title_273.bmp", lambda c: crop(c["base"], *PIECE[273]))
    add("BITMAP", 274, f"{RESOURCES}/separator_274.bmp", lambda c: separator(c["base"]))
    add("BITMAP", 275, f"{RESOURCES}/track_resolution_275.bmp", lambda c: track(c["base"], 275))
    add("BITMAP", 276, f"{RESOURCES}/track_dpi_276.bmp", lambda c: track(c["base"], 276))
    add("BITMAP", 277, f"{RESOURCES}/msgbox_frame_277.bmp", lambda c: box_frame(c["box"]))
    add("BITMAP", 278, f"{RESOURCES}/preview_278.bmp", lambda c: preview_placeholder(c["base"]))
    add("BITMAP", 279, f"{RESOURCES}/panel_279.bmp", lambda c: crop(c["base"], *PIECE[279]))
    add("BITMAP", 280, f"{RESOURCES}/track_fill_280.bmp", lambda c: track_fill(c["base"]))
    add("BITMAP", 282, f"{RESOURCES}/msgbox_strip_282.bmp", lambda c: box_strip(c["box"]))
    add("BITMAP", 290, f"{RESOURCES}/highlight_dpi_290.bmp", lambda c: panel_outline(c["base"], 290))
    add("BITMAP", 291, f"{RESOURCES}/highlight_resolution_291.bmp", lambda c: panel_outline(c["base"], 291))
    add("BITMAP", 294, f"{RESOURCES}/track_picture_294.bmp", lambda c: track(c["base"], 294))
    add("BITMAP", 295, f"{RESOURCES}/picture_size_295.bmp", lambda c: picture_size_art(c["base"]))
    add("ICON", 129, f"{RESOURCES}/PioScreen_129.ico", None)
    add("CURSOR", 263, f"{RESOURCES}/hand_263.cur", None)

    for colour in KEY_COLOURS:
        for st in ("n", "d", "o", "un"):
            add("file", 0, f"{IMAGES}/{colour}_{st}.bmp",
                lambda c, colour=colour, st=st: key_image(c["base"], colour, st))
    for st in ("n", "d", "o", "un"):
        add("file", 0, f"{IMAGES}/no_name_{st}.png", lambda c, st=st: slot_image(c["base"], st))
    for st in ("n", "d", "o"):
        add("file", 0, f"{IMAGES}/button_{st}.png", lambda c, st=st: thumb_image(c["base"], st))
    for name in PRESET_PLACES:
        for st in ("n", "d", "o"):
            add("file", 0, f"{IMAGES}/{name}_{st}.bmp",
                lambda c, name=name, st=st: preset_image(c["base"], name, st))
    add("file", 0, f"{IMAGES}/shadow_Middle.png", lambda c: preview_shadow(c["base"]))
    for st in ("n", "d", "o"):
        add("file", 0, f"{POPUP}/POP_button_{st}.png", lambda c, st=st: pop_button(c["box"], st))
    add("file", 0, f"{DPI}/UnionBG.jpg", lambda c: c["wallpaper"])
    add("file", 0, f"{DPI}/UnionDialog.bmp", lambda c: dialog_picture(False))
    add("file", 0, f"{DPI}/UnionDialogMask.bmp", lambda c: dialog_mask())
    # The right-to-left picture is looked up as .jpg beside the program and as
    # .bmp one folder up; both are made so either lookup finds it.
    add("file", 0, f"{DPI}/UnionDialogRTL.jpg", lambda c: dialog_picture(True))
    add("file", 0, f"{DPI}/UnionDialogRTL.bmp", lambda c: dialog_picture(True))
    return items


def write_bmp32_alpha(img, path):
    """A 32-bit top-down BMP with straight (not premultiplied) alpha: a V4
    header whose bit fields name the alpha byte, so that every reader, GDI+
    among them, takes the alpha as alpha."""
    img = img.convert("RGBA")
    w, h = img.size
    pixels = img.tobytes("raw", "BGRA")
    header = struct.pack("<IiiHHIIiiII", 108, w, -h, 1, 32, 3, len(pixels), 2835, 2835, 0, 0)
    header += struct.pack("<IIII", 0x00FF0000, 0x0000FF00, 0x000000FF, 0xFF000000)
    header += b"sRGB"[::-1] + bytes(36) + bytes(12)  # colour space, end points, gamma
    offset = 14 + len(header)
    with open(path, "wb") as f:
        f.write(struct.pack("<2sIHHI", b"BM", offset + len(pixels), 0, 0, offset))
        f.write(header)
        f.write(pixels)


def save(img, path):
    os.makedirs(os.path.dirname(path), exist_ok=True)
    ext = os.path.splitext(path)[1].lower()
    tmp = path + ".tmp"
    if ext == ".png":
        # The program reads uncompressed bitmaps straight into memory, without a
        # decoder: the ".png" files it opens by name hold BMP data, 24-bit where
        # the picture is opaque and 32-bit with alpha where it is not.
        if img.mode in ("RGBA", "LA", "P") and img.convert("RGBA").getchannel("A").getextrema()[0] < 255:
            write_bmp32_alpha(img, tmp)
        else:
            img.convert("RGB").save(tmp, "BMP")
    elif ext == ".jpg":
        img.convert("RGB").save(tmp, "JPEG", quality=92, subsampling=0)
    elif ext == ".bmp":
        # 24-bit, uncompressed: what LoadBitmap, windres and GDI+ all accept.
        img.convert("RGB").save(tmp, "BMP")
    else:
        raise ValueError(path)
    os.replace(tmp, path)


def generate(out_dir):
    ctx = {"base": draw_main_base(), "box": box_base(), "wallpaper": desktop_wallpaper()}
    made = {}
    for kind, rid, rel, maker in catalogue():
        path = os.path.join(out_dir, rel)
        if kind == "ICON":
            os.makedirs(os.path.dirname(path), exist_ok=True)
            write_icon_file(path, [app_icon(s) for s in (16, 32, 48)])
            continue
        if kind == "CURSOR":
            os.makedirs(os.path.dirname(path), exist_ok=True)
            im, hot = hand_cursor()
            write_icon_file(path, [im], cursor_hotspot=hot)
            continue
        img = maker(ctx)
        save(img, path)
        made[rel] = img
    return ctx, made


# ---------------------------------------------------------------- mock-ups

def _mock_text(d, box, text, size, colour, centre=False, wrap=False):
    fnt = font("DejaVuSans-Bold.ttf", size)
    x0, y0, x1, y1 = box
    if centre and not wrap:
        text_centered(d, box, text, fnt, colour)
    elif wrap:
        d.multiline_text(((x0 + x1) / 2, y0), text, font=fnt, fill=colour, anchor="ma", align="center")
    else:
        d.text((x0, y0), text, font=fnt, fill=colour)


def mock_window(ctx, made, page):
    """The window as the program composes it (texts in DejaVu Bold standing in
    for the program's fonts), over the desktop so that the cut-out shows."""
    res = lambda rid: made[[r for k, i, r, _ in catalogue() if i == rid and k == "BITMAP"][0]]
    img_of = lambda name: made[f"{IMAGES}/{name}"]
    win = res(1049).copy()
    for rid in (273, 278, 279):
        x, y, w, h = PIECE[rid]
        win.paste(res(rid), (x, y))

    # preview: the desktop at 1280 x 720, the dialog picture at 96 DPI
    bg = ctx["wallpaper"].crop((0, 0, 628, 357))
    win.paste(bg, (43, 80))
    dlg = made[f"{DPI}/UnionDialog.bmp"]
    hs, vs = 0.99168, 0.96174
    dlg = dlg.resize((int(dlg.width * hs), int(dlg.height * vs)), Image.BILINEAR)
    mask = made[f"{DPI}/UnionDialogMask.bmp"].convert("L").resize(dlg.size, Image.NEAREST)
    win.paste(dlg, (123, 125), ImageChops.invert(mask))
    d = ImageDraw.Draw(win)
    f1 = font("DejaVuSans-Bold.ttf", 17)
    d.text((123 + 20, 125 + 4), "Morlund", font=f1, fill=(0x55, 0x33, 0x8A))
    f2 = font("DejaVuSans-Bold.ttf", 15)
    d.text((123 + 18, 125 + 31), "Pio Screen Setting", font=f2, fill=(0, 0, 0))
    sh = made[f"{IMAGES}/shadow_Middle.png"]
    win.paste(sh, (43, 80), sh)

    keys = {1: ("un", "n", "n", "n"), 2: ("n", "un", "n", "n"), 3: ("n", "n", "n", "n"), 4: ("n", "n", "n", "o")}[page]
    for (name, (x, y)), st in zip(KEY_PLACES.items(), keys):
        win.paste(img_of(f"{name}_{st}.bmp"), (x, y))
    labels = {1: ("", "Load", "Advanced", "Exit"), 2: ("Cancel", "", "Advanced", "Exit"),
              3: ("Cancel", "Apply", "Easy", "Exit"), 4: ("Save", "Apply", "Easy", "Exit")}[page]
    title = {1: "Easy Setting", 2: "Load", 3: "Save", 4: "Advanced"}[page]
    _mock_text(d, (688, 15, 992, 91), title, 26, (0, 0, 0), centre=True)
    for (lx, ly), text in zip(((116, 479), (368, 479), (616, 479), (865, 479)), labels):
        _mock_text(d, (lx, ly, lx + 150, ly + 80), text, 26, (0, 0, 0))

    if page == 1:
        for rid in (294, 295):
            win.paste(res(rid), PIECE[rid][:2])
        _mock_text(d, (707, 97, 982, 217), "Zoom in\\out your\nscreen.", 24, (255, 255, 255), wrap=True)
        tx = round(9 / 16 * 194 + 736 - 23 + 10)
        for x in range(724, min(917, tx + 32)):
            win.paste(res(280), (x, 354))
        win.paste(img_of("button_o.png"), (tx, 347))
    elif page == 4:
        for rid in (291, 274, 276, 275):
            win.paste(res(rid), PIECE[rid][:2])
        _mock_text(d, (712, 94, 922, 144), "Font : ", 24, (255, 255, 255))
        _mock_text(d, (712, 272, 922, 322), "Resolution :", 24, (255, 255, 255))
        for name, st in (("small_a", "n"), ("medium_a", "d"), ("big_a", "n")):
            win.paste(img_of(f"{name}_{st}.bmp"), PRESET_PLACES[name])
        tx = round(14 / 20 * (184 + 0) + 725)
        for x in range(725, 911):
            if x >= tx:
                break
            win.paste(res(280), (x, 332))
        win.paste(img_of("button_n.png"), (tx, 326))
        _mock_text(d, (697, 357, 987, 437), "1280 * 720", 24, ACCENT, centre=True)
    else:
        slots = ["Font : M\\1280*720", "Font : S\\1920*1080", "", "", "", ""]
        for i, y in enumerate(SLOT_YS):
            text = slots[i] if page == 2 or slots[i] else ("No data" if page == 3 else "")
            st = "o" if i == 0 else ("un" if page == 2 and not slots[i] else "n")
            win.paste(img_of(f"no_name_{st}.png"), (SLOT_X, y))
            colour = (255, 255, 255) if st != "un" else (130, 138, 150)
            _mock_text(d, (SLOT_X + 2, y, SLOT_X + SLOT_W - 2, y + SLOT_H), text, 21, colour, centre=True)
    return win


def on_desktop(win, ctx, size=(1120, 672)):
    desk = ctx["wallpaper"].resize(size, Image.BILINEAR)
    x, y = (size[0] - win.width) // 2, (size[1] - win.height) // 2
    keep = Image.new("L", win.size, 255)
    keyed = Image.new("RGB", win.size, KEY)
    cut = ImageChops.difference(win.convert("RGB"), keyed).convert("L").point(lambda v: 255 if v else 0)
    keep.paste(cut)
    desk.paste(win, (x, y), keep)
    return desk


def mock_box(ctx, made, behind):
    """The question box over the faded window."""
    faded = behind.convert("L").point(lambda v: int(v * 112 / 255 * 0.9 + v * 0.1)).convert("RGB")
    box = made[f"{RESOURCES}/msgbox_frame_277.bmp"].copy()
    box.paste(made[f"{RESOURCES}/msgbox_strip_282.bmp"], BOX_STRIP[:2])
    d = ImageDraw.Draw(box)
    text_centered(d, (30, 40, 370, 180), "Are you sure to exit ?", font("DejaVuSans-Bold.ttf", 21), (0x37, 0x37, 0x37))
    for (bx, by), st, label in zip(BOX_BUTTONS, ("n", "o"), ("Yes", "No")):
        box.paste(made[f"{POPUP}/POP_button_{st}.png"], (bx, by))
        text_centered(d, (bx + 2, by, bx + POP_W - 2, by + POP_H), label, font("DejaVuSans-Bold.ttf", 21),
                      (255, 255, 255))
    x, y = (faded.width - BOX_W) // 2, (faded.height - BOX_H) // 2
    keyed = Image.new("RGB", box.size, KEY)
    keep = ImageChops.difference(box, keyed).convert("L").point(lambda v: 255 if v else 0)
    faded.paste(box, (x, y), keep)
    return faded


def write_mocks(ctx, made, mock_dir):
    os.makedirs(mock_dir, exist_ok=True)
    pages = {}
    for page in (1, 2, 3, 4):
        win = mock_window(ctx, made, page)
        pages[page] = on_desktop(win, ctx)
        pages[page].save(os.path.join(mock_dir, f"mock_page{page}.png"))
    mock_box(ctx, made, pages[4]).save(os.path.join(mock_dir, "mock_question.png"))
    # Every button state side by side, for a close look.
    sheet = Image.new("RGB", (1000, 600), PANEL)
    for row, colour in enumerate(KEY_COLOURS):
        for col, st in enumerate(("n", "o", "d", "un")):
            sheet.paste(made[f"{IMAGES}/{colour}_{st}.bmp"], (10 + col * 106, 10 + row * 106))
    for col, (name, st) in enumerate((n, st) for n in PRESET_PLACES for st in ("n", "o", "d")):
        sheet.paste(made[f"{IMAGES}/{name}_{st}.bmp"], (10 + col * 108, 440))
    for i, st in enumerate(("n", "o", "d", "un")):
        sheet.paste(made[f"{IMAGES}/no_name_{st}.png"], (450, 10 + i * 64))
    for i, st in enumerate(("n", "o", "d")):
        sheet.paste(made[f"{IMAGES}/button_{st}.png"], (760 + i * 70, 10))
    for i, st in enumerate(("n", "o", "d")):
        sheet.paste(made[f"{POPUP}/POP_button_{st}.png"], (450 + i * 175, 280))
    ix = 760
    for im in [app_icon(sz) for sz in (16, 32, 48)]:
        sheet.paste(im, (ix, 80), im)
        ix += im.width + 10
    cur, _ = hand_cursor()
    for k, scale in enumerate((1, 4)):
        big = cur.resize((32 * scale, 32 * scale), Image.NEAREST)
        sheet.paste(big, (760 + k * 50, 150), big)
    light = Image.new("RGB", (140, 140), (235, 238, 242))
    light.paste(cur.resize((128, 128), Image.NEAREST), (6, 6), cur.resize((128, 128), Image.NEAREST))
    sheet.paste(light, (850, 330))
    sheet.save(os.path.join(mock_dir, "mock_parts.png"))


def main(argv):
    ap = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    ap.add_argument("--out", help="folder to write the skin into")
    ap.add_argument("--list", action="store_true", help="print KIND ID PATH for every file")
    ap.add_argument("--mock", help="also write composed mock-ups into this folder")
    args = ap.parse_args(argv)
    if args.list:
        for kind, rid, rel, _ in catalogue():
            print(kind, rid, rel)
        return 0
    if not args.out:
        ap.error("--out or --list is needed")
    ctx, made = generate(args.out)
    if args.mock:
        write_mocks(ctx, made, args.mock)
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
