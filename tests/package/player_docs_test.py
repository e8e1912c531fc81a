#!/usr/bin/env python3
"""What the player reads about the game says the same everywhere: README.md, the manual page,
the AppStream metainfo and the README.txt of the Windows zip each hold the statements of the
table below that concern them, read as plain text (markup, roff escapes and line breaks
aside). The Windows copy is read as Windows reads it: UTF-8 with a byte-order mark, CRLF line
ends."""

import html
import os
import re
import sys

SOURCE = os.path.abspath(sys.argv[1] if len(sys.argv) > 1 else ".")
README = "README.md"
MANUAL = "packaging/linux/velko.6.in"
METAINFO = "packaging/linux/invalid.velko.Velko.metainfo.xml"
WINDOWS = "docs/windows/README.txt"
ALL = (README, MANUAL, METAINFO, WINDOWS)
PLAYED = (README, MANUAL, WINDOWS)  # the texts that explain how to play

# (statement, the texts that must hold it).
STATEMENTS = [
    ("Walls, buildings and diagonal half tiles are obstacles", ALL),
    ("hit one fast and the car is thrown back with a crash sound", ALL),
    ("touch one slowly and it is held still for half a second", ALL),
    ("the third bounce sets it skidding", ALL),
    ("Kerbs are not obstacles: the car drives over them onto the grass", ALL),
    ("All the game's text is French", ALL),
    ("800 × 600", (README, MANUAL, WINDOWS)),
    ("Mode fenestré", PLAYED),
    ("Couleurs alterrées", PLAYED),
    ("the whole picture, circuit and car, in the alternative colours (red and green halved)",
     PLAYED),
    ("Forcer Ecran à 75 Hz", PLAYED),
    ("the screen does not open where the display has no 75 Hz mode", PLAYED),
    ("Enter does not press OK", PLAYED),
    ("up to 500 pixels per second", PLAYED),
    ("let go and the car settles on the nearest 10 degrees", PLAYED),
    ("1 is a solid tile, 2 to 5 the diagonal half tiles, anything else free ground", PLAYED),
    ("--level", PLAYED),
    ("--record", PLAYED),
    ("--play", PLAYED),
    ("Escape stops watching", PLAYED),
]
# Said once but no longer true: none of the texts may hold them.
RETIRED = ["Walls, kerbs", "repaints the car", "Mode fenestre\"", "Couleurs alterrees"]

ROFF_ESCAPES = {"\\['e]": "é", "\\[`a]": "à", "\\(mu": "×", "\\~": " ", "\\-": "-",
                "\\(lq": "\"", "\\(rq": "\"", "\\&": ""}


def plain(path, raw):
    text = raw
    if path == MANUAL:
        for escape, letter in ROFF_ESCAPES.items():
            text = text.replace(escape, letter)
        lines = []
        for line in text.splitlines():
            if line.startswith(".\\\""):
                continue
            # A macro line keeps its words: .B "Mode fenestré" -> Mode fenestré.
            if line.startswith("."):
                line = re.sub(r"^\.[A-Za-z]+\s*", "", line).replace('"', "")
            lines.append(line)
        text = "\n".join(lines)
    elif path == METAINFO:
        text = html.unescape(re.sub(r"<[^>]+>", " ", text))
    elif path == README:
        text = re.sub(r"[*`]", "", text)
    # Words wrap across lines; Markdown tables and quotes are not part of a statement.
    return " ".join(text.replace("“", "\"").replace("”", "\"").split())


def main():
    failures = []
    texts = {}
    for path in ALL:
        with open(os.path.join(SOURCE, path), "rb") as source:
            raw = source.read()
        if path == WINDOWS:
            if not raw.startswith(b"\xef\xbb\xbf"):
                failures.append(f"{path}: no UTF-8 byte-order mark")
            if re.search(rb"(?<!\r)\n", raw):
                failures.append(f"{path}: a line ends without CR LF")
        texts[path] = plain(path, raw.decode("utf-8-sig"))
    for statement, paths in STATEMENTS:
        wanted = " ".join(statement.split()).lower()
        for path in paths:
            if wanted not in texts[path].lower():
                failures.append(f"{path}: does not say \"{statement}\"")
    for retired in RETIRED:
        for path, text in texts.items():
            if retired.lower() in text.lower():
                failures.append(f"{path}: still says \"{retired}\"")
    for failure in failures:
        print(failure)
    print(f"{len(STATEMENTS)} statements, {len(failures)} missing or out of date")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
