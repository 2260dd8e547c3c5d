#!/usr/bin/python3
"""Prints the outline of a line of text as SVG path data, so that the logo artwork does not
depend on any font being installed where it is shown.

usage: wordmark.py FONT.ttf TEXT SIZE X BASELINE [TRACKING]
  SIZE      font size in user units (the em square is scaled to it)
  X         left edge of the first glyph's advance box
  BASELINE  y of the baseline (SVG coordinates, y grows downwards)
  TRACKING  extra space after each glyph, in user units (default 0)

Needs python3-fonttools. Kerning is not applied; the logo texts do not need it.
"""
import sys

from fontTools.pens.svgPathPen import SVGPathPen
from fontTools.pens.transformPen import TransformPen
from fontTools.ttLib import TTFont


def outline(font_path, text, size, x, baseline, tracking=0.0):
    font = TTFont(font_path)
    glyphs = font.getGlyphSet()
    cmap = font.getBestCmap()
    scale = size / font["head"].unitsPerEm
    pen = SVGPathPen(glyphs, ntos=lambda v: f"{v:.2f}".rstrip("0").rstrip("."))
    for ch in text:
        name = cmap[ord(ch)]
        glyphs[name].draw(TransformPen(pen, (scale, 0, 0, -scale, x, baseline)))
        x += glyphs[name].width * scale + tracking
    return pen.getCommands(), x


if __name__ == "__main__":
    if len(sys.argv) not in (6, 7):
        sys.exit(__doc__)
    d, end = outline(sys.argv[1], sys.argv[2], float(sys.argv[3]), float(sys.argv[4]), float(sys.argv[5]),
                     float(sys.argv[6]) if len(sys.argv) == 7 else 0.0)
    print(d)
    print(f"<!-- advance ends at x = {end:.2f} -->", file=sys.stderr)
