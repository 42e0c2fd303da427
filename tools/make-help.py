#!/usr/bin/python3
"""Zips the help pages of assets/help/ into the help book assets/help/verselane.htb.

    tools/make-help.py

The book holds the project file verselane.hhp (with Charset=UTF-8), its contents verselane.hhc,
its index verselane.hhk, every page (*.html) and picture (*.png) of assets/help/, at the top of the
archive. Entries are written in name order with a fixed date, so the same pages always give the
same book. Needs nothing but Python's standard library.

The pages are written with a line break wherever a sentence is long. A browser, and the help
window, show a line break as a space, which Japanese text does not have: in the book a line break
next to a Japanese character, with the indentation after it, becomes <wbr> (outside <pre>), a
place where a line may break without a space, which the program's help window knows. The help
window breaks lines only at spaces and <wbr>, so <wbr> also goes between two Japanese characters
of a page's text, and between a Japanese character and a Latin one, wherever Japanese may break a
line (not before 、。）」 or a small kana, not after （「), and the text wraps in a narrow window as
Japanese text does.
"""

import os
import re
import sys
import zipfile

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
HELP = os.path.join(ROOT, "assets", "help")
BOOK = os.path.join(HELP, "verselane.htb")
FIXED_DATE = (2026, 1, 1, 0, 0, 0)


# Kana, kanji, and the full-width forms and punctuation that stand beside them.
JAPANESE = "\u3000-\u30ff\u3400-\u4dbf\u4e00-\u9fff\uf900-\ufaff\uff00-\uffef"
BREAK_BESIDE_JAPANESE = re.compile(
    "(?<=[%s])\n[ \t]*|\n[ \t]*(?=[%s])" % (JAPANESE, JAPANESE))
PREFORMATTED = re.compile(r"(<pre>.*?</pre>)", re.DOTALL | re.IGNORECASE)
# The head (with the title the window shows) and the tags themselves stay as they are.
HEAD_OR_TAG = re.compile(r"(<head>.*?</head>|<[^>]*>)", re.DOTALL | re.IGNORECASE)
NOT_BEFORE_BREAK = set("（「『【〔〈《([{")
NOT_AFTER_BREAK = set("、。，．・：；？！ー）」』】〕〉》…〜々"
                      "ぁぃぅぇぉっゃゅょゎァィゥェォッャュョヮヵヶ)]},.:;!?%")
IS_JAPANESE = re.compile("[%s]" % JAPANESE)


def breaks_between(before, after):
    """Whether a line may break between two characters of which one is Japanese."""
    if before.isspace() or after.isspace() or before in "&;" or after == "&":
        return False  # spaces break already; entities stay whole
    return ((IS_JAPANESE.match(before) or IS_JAPANESE.match(after))
            and before not in NOT_BEFORE_BREAK and after not in NOT_AFTER_BREAK)


def join_japanese_lines(html):
    """`html` with the line breaks beside Japanese characters made <wbr>, except inside <pre>."""
    parts = PREFORMATTED.split(html)
    return "".join(part if index % 2 else BREAK_BESIDE_JAPANESE.sub("<wbr>", part)
                   for index, part in enumerate(parts))


def break_between_japanese(text):
    """`text` (no tags) with <wbr> wherever a line of Japanese may break."""
    out = []
    for index, char in enumerate(text):
        if index > 0:
            if breaks_between(text[index - 1], char):
                out.append("<wbr>")
        out.append(char)
    return "".join(out)


def breakable_page(html):
    """The page as the book holds it: its Japanese text breakable, <pre> left as it is."""
    parts = PREFORMATTED.split(join_japanese_lines(html))
    for index in range(0, len(parts), 2):
        pieces = HEAD_OR_TAG.split(parts[index])
        parts[index] = "".join(piece if n % 2 else break_between_japanese(piece)
                               for n, piece in enumerate(pieces))
    return "".join(parts)


def book_files():
    names = sorted(name for name in os.listdir(HELP)
                   if name.endswith((".html", ".png", ".hhp", ".hhc", ".hhk")))
    for required in ("verselane.hhp", "verselane.hhc", "verselane.hhk", "01_hajimeni.html"):
        if required not in names:
            raise SystemExit("make-help: assets/help/%s is missing" % required)
    return names


def main():
    names = book_files()
    temporary = BOOK + ".tmp"
    with zipfile.ZipFile(temporary, "w") as book:
        for name in names:
            with open(os.path.join(HELP, name), "rb") as source:
                data = source.read()
            if name.endswith(".html"):
                data = breakable_page(data.decode("utf-8")).encode("utf-8")
            entry = zipfile.ZipInfo(name, FIXED_DATE)
            entry.compress_type = zipfile.ZIP_STORED if name.endswith(".png") else zipfile.ZIP_DEFLATED
            entry.external_attr = 0o644 << 16
            book.writestr(entry, data)
    os.replace(temporary, BOOK)
    print("%s  (%d files)" % (BOOK, len(names)))
    return 0


if __name__ == "__main__":
    sys.exit(main())
