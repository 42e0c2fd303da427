#!/usr/bin/python3
"""Zips the help pages of assets/help/ into the help book assets/help/verselane.htb.

    tools/make-help.py

The book holds the project file verselane.hhp (with Charset=UTF-8), its contents verselane.hhc,
its index verselane.hhk, every page (*.html) and picture (*.png) of assets/help/, at the top of the
archive. Entries are written in name order with a fixed date, so the same pages always give the
same book. Needs nothing but Python's standard library.
"""

import os
import sys
import zipfile

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
HELP = os.path.join(ROOT, "assets", "help")
BOOK = os.path.join(HELP, "verselane.htb")
FIXED_DATE = (2026, 1, 1, 0, 0, 0)


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
            entry = zipfile.ZipInfo(name, FIXED_DATE)
            entry.compress_type = zipfile.ZIP_STORED if name.endswith(".png") else zipfile.ZIP_DEFLATED
            entry.external_attr = 0o644 << 16
            book.writestr(entry, data)
    os.replace(temporary, BOOK)
    print("%s  (%d files)" % (BOOK, len(names)))
    return 0


if __name__ == "__main__":
    sys.exit(main())
