#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
# Copyright (C) 2026 The Quillet developers

"""Writes the browser panel's glyph bitmaps (4 bits per pixel BMP files, 16-colour palette).

Each glyph is drawn below as rows of palette letters. The bottom-left pixel is the colour that
drawing leaves out, so every glyph keeps fuchsia ('.') there and uses it nowhere else.

    python3 make_glyphs.py            # writes NAME.bmp beside this script
    python3 make_glyphs.py --preview  # also writes NAME.png at 8x for looking at
"""
import os
import struct
import sys
import zlib

# The classic 16-colour palette, as (red, green, blue).
PALETTE = [
    ("k", (0x00, 0x00, 0x00)),  # black
    ("m", (0x80, 0x00, 0x00)),  # maroon
    ("g", (0x00, 0x80, 0x00)),  # green
    ("o", (0x80, 0x80, 0x00)),  # olive
    ("n", (0x00, 0x00, 0x80)),  # navy
    ("p", (0x80, 0x00, 0x80)),  # purple
    ("t", (0x00, 0x80, 0x80)),  # teal
    ("s", (0xC0, 0xC0, 0xC0)),  # silver
    ("d", (0x80, 0x80, 0x80)),  # gray
    ("r", (0xFF, 0x00, 0x00)),  # red
    ("l", (0x00, 0xFF, 0x00)),  # lime
    ("y", (0xFF, 0xFF, 0x00)),  # yellow
    ("b", (0x00, 0x00, 0xFF)),  # blue
    (".", (0xFF, 0x00, 0xFF)),  # fuchsia: the transparent key
    ("a", (0x00, 0xFF, 0xFF)),  # aqua
    ("w", (0xFF, 0xFF, 0xFF)),  # white
]
INDEX = {letter: i for i, (letter, _) in enumerate(PALETTE)}

# Drives: 16 x 11.
FLOPPY = """
................
................
.kkkkkkkkkkkkkk.
.kwwwwwwwwwwwsk.
.kwsssssssssssk.
.kwskkkkkkkksdk.
.kwsssssssssssk.
.kwsssssssssgsk.
.ksddddddddddsk.
.kkkkkkkkkkkkkk.
................
"""

HARD = """
................
................
.kkkkkkkkkkkkkk.
.kwwwwwwwwwwwsk.
.kwsssssssssssk.
.kwsssssssssssk.
.kwssddddddssdk.
.kwsssssssssldk.
.ksddddddddddsk.
.kkkkkkkkkkkkkk.
................
"""

NETWORK = """
.kkkkkkkkkkkkkk.
.kwwwwwwwwwwwsk.
.kwsssssssssssk.
.kwsssssssssldk.
.ksddddddddddsk.
.kkkkkkkkkkkkkk.
.......kk.......
.......kk.......
.kkkkkkkkkkkkkk.
.kkkkkkkkkkkkkk.
................
"""

CDROM = """
................
.kkkkkkkkkkkkkk.
.kwwwwwwwwwwwsk.
.kwsssssssssssk.
.kwkkkkkkkkkksk.
.kwsssssssssssk.
.kwsssssssssgsk.
.ksddddddddddsk.
.kkkkkkkkkkkkkk.
...kaawwwwaak...
....kkkkkkkk....
"""

RAM = """
................
..s.s.s.s.s.s...
..s.s.s.s.s.s...
.kkkkkkkkkkkkk..
.kddddddddddgk..
.kdkkkkkkkkkdk..
.kddddddddddgk..
.kkkkkkkkkkkkk..
..s.s.s.s.s.s...
..s.s.s.s.s.s...
................
"""

# Folders and files: 16 x 15.
CLOSEDFOLDER = """
................
................
..kkkkk.........
.kwyyyyk........
kwyyyyyykkkkkk..
kwwwwwwwwwwwwok.
kwyyyyyyyyyyyok.
kwyyyyyyyyyyyok.
kwyyyyyyyyyyyok.
kwyyyyyyyyyyyok.
kwyyyyyyyyyyyok.
kwyyyyyyyyyyyok.
koooooooooooook.
.kkkkkkkkkkkkkk.
................
"""

OPENFOLDER = """
................
................
..kkkkk.........
.kwyyyyk........
kwyyyyyykkkkkk..
kwyyyyyyyyyyyok.
kwyykkkkkkkkkkkk
kwykwwwwwwwwwwok
kwykyyyyyyyyyyok
kykwyyyyyyyyyok.
kykwyyyyyyyyyok.
kkwyyyyyyyyyok..
kkoooooooooook..
.kkkkkkkkkkkk...
................
"""

CURRENTFOLDER = """
................
................
..kkkkk.........
.kwyyyyk........
kwyyyyyykkkkkk..
kwyyyyyyyyyyyok.
kwyykkkkkkkkkkkk
kwykwwwwwwwwwwwk
kwykwwwwwwwwwwok
kykwwwwwwwwwwwk.
kykwwwwwwwwwwok.
kkwwwwwwwwwwok..
kkoooooooooook..
.kkkkkkkkkkkk...
................
"""

EXECUTABLE = """
................
.kkkkkkkkkkkkkk.
.knnnnnnnnnwsrk.
.kkkkkkkkkkkkkk.
.kwwwwwwwwwwwwk.
.kwsswsswsswwwk.
.kwwwwwwwwwwwwk.
.kwbbbbwwwwwwwk.
.kwbbbbwtttttwk.
.kwbbbbwwwwwwwk.
.kwwwwwwtttttwk.
.kwwwwwwwwwwwwk.
.kkkkkkkkkkkkkk.
................
................
"""

UNKNOWNFILE = """
..kkkkkkkkk.....
..kwwwwwwwkk....
..kwwwwwwwkwk...
..kwwwwwwwkwwk..
..kwwwwwwwkkkkk.
..kwwwwwwwwwwsk.
..kwwwwwwwwwwsk.
..kwwwwwwwwwwsk.
..kwwwwwwwwwwsk.
..kwwwwwwwwwwsk.
..kwwwwwwwwwwsk.
..kwwwwwwwwwwsk.
..kssssssssssk..
..kkkkkkkkkkkk..
................
"""

KNOWNFILE = """
..kkkkkkkkk.....
..kwwwwwwwkk....
..kwddddwwkwk...
..kwwwwwwwkwwk..
..kwdddddwkkkkk.
..kwwwwwwwwwwsk.
..kwddddddddwsk.
..kwwwwwwwwwwsk.
..kwdddddddwwsk.
..kwwwwwwwwwwsk.
..kwddddddddwsk.
..kwwwwwwwwwwsk.
..kssssssssssk..
..kkkkkkkkkkkk..
................
"""

GLYPHS = {
    "FLOPPY": (FLOPPY, 16, 11),
    "HARD": (HARD, 16, 11),
    "NETWORK": (NETWORK, 16, 11),
    "CDROM": (CDROM, 16, 11),
    "RAM": (RAM, 16, 11),
    "CLOSEDFOLDER": (CLOSEDFOLDER, 16, 15),
    "OPENFOLDER": (OPENFOLDER, 16, 15),
    "CURRENTFOLDER": (CURRENTFOLDER, 16, 15),
    "EXECUTABLE": (EXECUTABLE, 16, 15),
    "UNKNOWNFILE": (UNKNOWNFILE, 16, 15),
    "KNOWNFILE": (KNOWNFILE, 16, 15),
}


def parse(name, art, width, height):
    rows = [line for line in art.strip("\n").split("\n")]
    if len(rows) != height or any(len(r) != width for r in rows):
        raise SystemExit(f"{name}: expected {width} x {height} pixels")
    if rows[-1][0] != ".":
        raise SystemExit(f"{name}: the bottom-left pixel must be the key colour")
    return [[INDEX[c] for c in row] for row in rows]


def bmp_bytes(pixels, width, height):
    row_bytes = ((width * 4 + 31) // 32) * 4
    data = bytearray()
    for row in reversed(pixels):  # BMP rows run bottom-up
        packed = bytearray()
        for x in range(0, width, 2):
            hi = row[x]
            lo = row[x + 1] if x + 1 < width else 0
            packed.append((hi << 4) | lo)
        packed.extend(b"\0" * (row_bytes - len(packed)))
        data.extend(packed)
    palette = b"".join(struct.pack("<BBBB", b, g, r, 0) for _, (r, g, b) in PALETTE)
    offset = 14 + 40 + len(palette)
    info = struct.pack("<IiiHHIIiiII", 40, width, height, 1, 4, 0, len(data), 2835, 2835, 16, 0)
    header = struct.pack("<2sIHHI", b"BM", offset + len(data), 0, 0, offset)
    return header + info + palette + bytes(data)


def png_bytes(pixels, width, height, scale=8):
    raw = bytearray()
    for row in pixels:
        line = bytearray([0])
        for i in row:
            line.extend(PALETTE[i][1] * scale)
        raw.extend(bytes(line) * scale)

    def chunk(kind, body):
        return struct.pack(">I", len(body)) + kind + body + struct.pack(
            ">I", zlib.crc32(kind + body) & 0xFFFFFFFF)

    ihdr = struct.pack(">IIBBBBB", width * scale, height * scale, 8, 2, 0, 0, 0)
    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", ihdr) +
            chunk(b"IDAT", zlib.compress(bytes(raw))) + chunk(b"IEND", b""))


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    preview = "--preview" in sys.argv[1:]
    for name, (art, width, height) in GLYPHS.items():
        pixels = parse(name, art, width, height)
        with open(os.path.join(here, name + ".bmp"), "wb") as out:
            out.write(bmp_bytes(pixels, width, height))
        if preview:
            with open(os.path.join(here, name + ".png"), "wb") as out:
                out.write(png_bytes(pixels, width, height))


if __name__ == "__main__":
    main()
