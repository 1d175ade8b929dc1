"""Writes a horizontally condensed copy of a TrueType font under a new name.

    CondenseFont.py <input.ttf> <output.ttf> <width factor> <family name>

The preset display sets three seven-segment digits at size 88 in a field
128 units wide; Debian's seven-segment faces are about 0.82 em per digit,
so the display face is narrowed. The licence (OFL) asks a modified font
to carry a name of its own, hence the renaming. Hinting is dropped because
it was tuned for the original widths."""

import sys

from fontTools.ttLib import TTFont
from fontTools.ttLib.tables import ttProgram


def condense(source, target, factor, family):
    font = TTFont(source)
    glyf = font["glyf"]
    hmtx = font["hmtx"]
    for name in font.getGlyphOrder():
        glyph = glyf[name]
        if glyph.isComposite():
            for component in glyph.components:
                component.x = round(component.x * factor)
        elif glyph.numberOfContours > 0:
            coordinates = glyph.coordinates
            for i in range(len(coordinates)):
                x, y = coordinates[i]
                coordinates[i] = (round(x * factor), y)
        if hasattr(glyph, "program"):
            glyph.program = ttProgram.Program()
            glyph.program.fromBytecode(b"")
        glyph.recalcBounds(glyf)
        advance, lsb = hmtx[name]
        hmtx[name] = (round(advance * factor), round(lsb * factor))
    for table in ("fpgm", "prep", "cvt ", "hdmx", "LTSH", "VDMX"):
        if table in font:
            del font[table]
    if "OS/2" in font:
        font["OS/2"].recalcAvgCharWidth(font)
    plain = family.replace(" ", "")
    names = font["name"]
    for record in list(names.names):
        if record.nameID in (1, 16):
            names.setName(family, record.nameID, record.platformID, record.platEncID, record.langID)
        elif record.nameID == 4:
            names.setName(family + " Bold", record.nameID, record.platformID, record.platEncID, record.langID)
        elif record.nameID in (3, 6):
            names.setName(plain + "-Bold", record.nameID, record.platformID, record.platEncID, record.langID)
    font.save(target)


if __name__ == "__main__":
    if len(sys.argv) != 5:
        print(__doc__, file=sys.stderr)
        sys.exit(2)
    condense(sys.argv[1], sys.argv[2], float(sys.argv[3]), sys.argv[4])
