#!/usr/bin/python3
"""What PioScreen drew in one language, against the language file's own text.

    check_languages.py texts SOURCES LANGUAGE
        the language's translations, one a line (for glyph_probe)
    check_languages.py check SOURCES WORK LANGUAGE
        reads WORK/LANGUAGE.trace (Wine's trace of every DrawTextExW call: the text
        after the system turned the program's ANSI bytes into characters, its
        rectangle and flags) and WORK/LANGUAGE-page1.png; prints "ok ..." and
        "FAIL ..." lines

SOURCES is the folder of the UTF-8 language sources; English has none.
"""
import re
import sys

TITLE = (688, 15, 992, 91)
KEYS = {"red": (116, 479, 266, 559), "green": (368, 479, 518, 559),
        "yellow": (616, 479, 786, 559), "blue": (865, 479, 1015, 559)}
# The bottom row moved for languages whose words run long.
FINNISH_NUDGES = {"red": (-3, 3), "green": (0, 3), "yellow": (0, 3), "blue": (20, 3)}
NUDGES = {"dutch": {"blue": (2, 0)}, "finnish": FINNISH_NUDGES, "poland": FINNISH_NUDGES}
PAGE1_TEXT = (707, 97, 982, 217)
FONT_LABEL = (712, 94, 922, 144)
RESOLUTION_LABEL = (712, 272, 922, 322)
SLOT_CAPTION = (2, 0, 288, 60)
BOX_BUTTON_CAPTION = (2, 0, 167, 43)
# The size one step up from 1280 x 720 in the test prefix's virtual desktop.
NEXT_SIZE = (1280, 800)
# The favourites the test writes: slot 1 at 96 DPI, slot 2 at a DPI of no preset.
SLOTS = [("S", 1024, 600), (None, 800, 480)]
# Characters that stand where the system could not read a byte: never in a text.
REPLACEMENTS = "\ufffd\u30fb" + "".join(chr(c) for c in range(0x80, 0xA0))
ENGLISH_QUESTIONS = ["Are you sure to exit ?", "Accept the setting ?",
                     "Would you want to reboot now?"]


def read_source(sources, language):
    """The translations of a UTF-8 language source (escapes as the library reads them)."""
    if language == "English":
        return {}
    texts = {}
    quoted = r'"((?:[^"\\]|\\.)*)"'
    with open(f"{sources}/{language}.txt", encoding="utf-8") as f:
        for line in f:
            m = re.match(r"^\s*" + quoted + r"\s*=\s*" + quoted + r"\s*$", line)
            if m:
                texts[unescape(m.group(1))] = unescape(m.group(2))
    return texts


def unescape(text):
    escapes = {'"': '"', "\\": "\\", "n": "\n", "t": "\t"}
    return re.sub(r'\\(["\\nt])', lambda m: escapes[m.group(1)], text)


def read_trace(path):
    """(text, rectangle, flags, cut) of every DrawTextExW call in Wine's trace; the
    trace cuts long texts (cut: only their start is there)."""
    drawn = []
    pattern = re.compile(r'DrawTextExW L"((?:[^"\\]|\\.)*)"(\.\.\.)?, -?\d+, '
                         r'\[\((-?\d+),(-?\d+)\)-\((-?\d+),(-?\d+)\)\] ([0-9a-f]{8})')
    escapes = {"n": "\n", "r": "\r", "t": "\t", '"': '"', "\\": "\\"}

    def decode(m):
        e = m.group(1)
        return escapes[e] if e in escapes else chr(int(e, 16))

    with open(path, encoding="latin-1") as f:
        for line in f:
            m = pattern.search(line)
            if m:
                text = re.sub(r'\\([0-9a-f]{4}|[nrt"\\])', decode, m.group(1))
                rect = tuple(int(m.group(i)) for i in range(3, 7))
                drawn.append((text, rect, int(m.group(7), 16), bool(m.group(2))))
    return drawn


def moved(rect, offset):
    dx, dy = offset
    return (rect[0] + dx, rect[1] + dy, rect[2] + dx, rect[3] + dy)


def expectations(language, t):
    """(what, texts, rectangle, flags) that the walk through pages 1, 2 and 4 and the
    three questions must have drawn: one of the texts, at the rectangle (None: any)
    with the flags."""
    arabic = language.lower() == "arabic"
    nudges = NUDGES.get(language.lower(), {})
    keys = {name: moved(rect, nudges.get(name, (0, 0))) for name, rect in KEYS.items()}
    want = []
    for page, title, labels in [
            (1, "Easy Setting", {"green": "Load", "yellow": "Advanced", "blue": "Exit"}),
            (2, "Load", {"red": "Cancel", "yellow": "Advanced", "blue": "Exit"}),
            (4, "Advanced", {"red": "Save", "green": "Apply", "yellow": "Easy", "blue": "Exit"})]:
        want.append((f"page {page} title", [t(title)], TITLE, 0x25))
        for key, english in labels.items():
            want.append((f"page {page} {key} key", [t(english)], keys[key], 0x20))
    want.append(("page 1 text", [t("Zoom in\\out your screen.")], PAGE1_TEXT,
                 0x12 if arabic else 0x11))
    for what, english, rect in [("Font label", "Font : ", FONT_LABEL),
                                ("Resolution label", "Resolution :", RESOLUTION_LABEL)]:
        want.append((f"page 4 {what}", [t(english)], rect, 0x22 if arabic else 0x20))
    blank = "" if language.lower() == "turkish" else " "
    for i, (letter, width, height) in enumerate(SLOTS, 1):
        caption = f"{t('Font :')}{blank}{letter or t('No')}\\{width}*{height}"
        want.append((f"slot {i} caption", [caption], SLOT_CAPTION, 0x25))
    box = 0x16 if arabic else 0x15
    want.append(("exit question", [t("Are you sure to exit ?")], None, box))
    # The resolution question: the lead, the size as the language writes it, and the
    # countdown (whatever second it showed).
    name = language.lower()
    size_format = ("%s %d * %d. \n" if name in ("french", "german", "english", "dutch", "hungarian")
                   else "%s\n %d * %d. " if name == "spanish" else "%s\n %d * %d. \n")
    lead = size_format % (t("You have choosed resolution :"), *NEXT_SIZE)
    countdown = t("Press button within %lu sec.")
    want.append(("resolution question",
                 [lead + countdown.replace("%lu", str(n)) for n in range(16, 0, -1)], None, box))
    joined = "%s %s" if name in ("german", "french", "italian") else "%s\n%s"
    want.append(("restart question", [joined % (t("You must reboot the computer to update Font."),
                                                t("Would you want to reboot now?"))], None, box))
    for answer in ("Yes", "No"):
        want.append((f"question button {answer}", [t(answer)], BOX_BUTTON_CAPTION, 0x25))
    return want


def preview_mirrored(png):
    """Whether the dialog picture of the preview is the right-to-left one: its red
    close box sits in the left part of its title bar. The rows looked at reach
    40 below it: in the Arabic locale Wine now and then shows a strip of system
    menu items above the window, which then shows about 20 pixels lower than the
    rectangle the screenshot is cut to."""
    from PIL import Image
    px = Image.open(png).convert("RGB").load()

    def reds(x0, x1):
        return sum(1 for y in range(110, 190) for x in range(x0, x1)
                   if px[x, y][0] > 200 and px[x, y][1] < 110 and px[x, y][2] < 110)
    return reds(123, 300) > reds(400, 671)


def check(sources, work, language):
    t_table = read_source(sources, language)
    if language != "English" and not t_table:
        print(f"FAIL {language}: no language source")
        return

    def t(english):
        return t_table.get(english, english)

    drawn = read_trace(f"{work}/{language}.trace")
    results = []

    def shows(d, text):
        # A cut text in the trace shows the start of what was drawn, at least 40
        # characters of it.
        return d[0] == text or (d[3] and len(d[0]) >= 40 and text.startswith(d[0]))

    for what, texts, rect, flags in expectations(language, t):
        found = any(shows(d, text) and (rect is None or d[1] == rect) and d[2] == flags
                    for d in drawn for text in texts)
        near = [d for d in drawn if rect is not None and d[1] == rect and d[0].strip()]
        results.append((found, f"{what} {texts[0]!r}",
                        "" if found else f" (drawn there: {sorted({d[0] for d in near})!r})"))
        if language != "English" and what.split()[-1] in ("title", "key"):
            english = [k for k, v in t_table.items() if v == texts[0]]
            results.append((texts[0] not in english, f"{what} differs from English", ""))
    # A question mark is drawn only where a text of the language has one.
    questions = [v for v in t_table.values() if "?" in v] or ENGLISH_QUESTIONS
    for text, _, _, _ in drawn:
        bad = [c for c in text if c in REPLACEMENTS]
        if "?" in text and not any(q in text for q in questions):
            bad.append("?")
        if bad:
            results.append((False, f"no replacement characters in {text!r}", f" ({bad!r})"))
    if language.lower() == "arabic":
        results.append((preview_mirrored(f"{work}/{language}-page1.png"),
                        "the preview's dialog picture is mirrored", ""))
    for ok, what, detail in results:
        print(f"{'ok  ' if ok else 'FAIL'} {language}: {what}{detail}")


def main():
    if sys.argv[1] == "texts":
        for text in read_source(sys.argv[2], sys.argv[3]).values():
            print(text.replace("\n", " "))
        return 0
    check(sys.argv[2], sys.argv[3], sys.argv[4])
    return 0


if __name__ == "__main__":
    sys.exit(main())
