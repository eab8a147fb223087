#!/usr/bin/env python3
"""make_ansi_text.py SOURCE TARGET

Writes a UTF-8 text file of ours in the Windows ANSI code page its own line
"; code page NNNN" names (plain ASCII when it names none), with CR LF line ends
as Notepad wants them. A character the code page cannot hold stops the build."""
import re
import sys


def main(source, target):
    with open(source, encoding="utf-8") as f:
        text = f.read()
    match = re.search(r"^; code page (\d+)\s*$", text, re.MULTILINE)
    encoding = "cp" + match.group(1) if match else "ascii"
    lines = text.splitlines()
    try:
        data = "".join(line + "\r\n" for line in lines).encode(encoding)
    except UnicodeEncodeError as e:
        line = text.count("\n", 0, e.start) + 1
        sys.exit(f"{source}:{line}: {text[e.start:e.end]!r} is not in {encoding}")
    with open(target, "wb") as f:
        f.write(data)


if __name__ == "__main__":
    main(sys.argv[1], sys.argv[2])
