#!/usr/bin/env python3
"""Builds "Omnar Segments", the preset display's seven-segment face.

Usage: segfont.py <out.ttf>. Digits are 700 units high on a 440 advance
(1000 units, ascent 850, descent -150), so three of them fit the display
window; each digit lights a subset of the segments of '8'."""
import os
import sys

from fontTools.fontBuilder import FontBuilder
from fontTools.pens.ttGlyphPen import TTGlyphPen

ADVANCE, LEFT, RIGHT, THICK, GAP, HEIGHT = 440, 50, 390, 70, 8, 700
MID = HEIGHT // 2

SEGMENTS = {
    "a": (LEFT + THICK + GAP, HEIGHT - THICK, RIGHT - THICK - GAP, HEIGHT),
    "b": (RIGHT - THICK, MID + THICK // 2 + GAP, RIGHT, HEIGHT - GAP),
    "c": (RIGHT - THICK, GAP, RIGHT, MID - THICK // 2 - GAP),
    "d": (LEFT + THICK + GAP, 0, RIGHT - THICK - GAP, THICK),
    "e": (LEFT, GAP, LEFT + THICK, MID - THICK // 2 - GAP),
    "f": (LEFT, MID + THICK // 2 + GAP, LEFT + THICK, HEIGHT - GAP),
    "g": (LEFT + THICK + GAP, MID - THICK // 2, RIGHT - THICK - GAP, MID + THICK // 2),
}

LIT = {
    "zero": "abcdef", "one": "bc", "two": "abdeg", "three": "abcdg", "four": "bcfg",
    "five": "acdfg", "six": "acdefg", "seven": "abc", "eight": "abcdefg", "nine": "abcdfg",
    "hyphen": "g", "space": "",
}
CHARS = {ord(" "): "space", ord("-"): "hyphen"}
CHARS.update({ord("0") + i: n for i, n in enumerate(
    ["zero", "one", "two", "three", "four", "five", "six", "seven", "eight", "nine"])})


def glyph(segments):
    pen = TTGlyphPen(None)
    for s in segments:
        x0, y0, x1, y1 = SEGMENTS[s]
        pen.moveTo((x0, y0))
        pen.lineTo((x0, y1))
        pen.lineTo((x1, y1))
        pen.lineTo((x1, y0))
        pen.closePath()
    return pen.glyph()


def main(out):
    names = [".notdef"] + list(LIT)
    fb = FontBuilder(1000, isTTF=True)
    fb.setupGlyphOrder(names)
    fb.setupCharacterMap(CHARS)
    glyphs = {n: glyph(LIT[n]) for n in LIT}
    glyphs[".notdef"] = glyph("adef")
    fb.setupGlyf(glyphs)
    fb.setupHorizontalMetrics({n: (ADVANCE, glyphs[n].xMin if LIT.get(n, "x") else 0)
                               for n in names})
    fb.setupHorizontalHeader(ascent=850, descent=-150)
    fb.setupNameTable({"familyName": "Omnar Segments", "styleName": "Regular"})
    fb.setupOS2(sTypoAscender=850, sTypoDescender=-150, usWinAscent=850, usWinDescent=150)
    fb.setupPost()
    fb.updateHead(created=0, modified=0)
    temp = out + ".tmp"
    fb.save(temp)
    os.replace(temp, out)


if __name__ == "__main__":
    main(sys.argv[1])
