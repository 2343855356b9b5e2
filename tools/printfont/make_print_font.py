#!/usr/bin/env python3
"""Makes the face the program prints with: a copy of a CJK face whose text, as a PDF reader
extracts it, is the text that was drawn.

PDF writers map each drawn glyph back to a character through the face's character map. Two
things in the CJK faces break that:
- one glyph serves several characters (a radical and its ideograph, an ideographic space and an
  em space), and the writer names the lowest code point: 比 comes out as the radical ⽐;
- substitutions replace glyphs by forms outside the character map (the Latin digits after a
  letter), which then map to no character at all.
The copy keeps one character per glyph (the one Chinese text uses; the radical blocks go
entirely) and has no substitutions. Characters left out are drawn by the next face in the
program's list, whose own map then names them.

usage: make_print_font.py <font file (.ttc/.otf)> <family to copy> <new family> <output>
"""

import sys

from fontTools.ttLib import TTCollection, TTFont

RADICALS = range(0x2E80, 0x2FE0)
COMPATIBILITY = (range(0xF900, 0xFB00), range(0x2F800, 0x2FA20))


def rank(code, group):
    """Lower ranks are kept: the character text is written with wins over its variants."""
    if code in RADICALS or any(code in r for r in COMPATIBILITY):
        return 2
    # Punctuation and symbols that share a glyph with a CJK or full-width form (an em space and
    # the ideographic space, a division slash and the full-width solidus): the CJK form wins.
    if 0x2000 <= code < 0x2E80 and any(c >= 0x3000 for c in group):
        return 1
    return 0


def open_face(path, family):
    if path.lower().endswith((".ttc", ".otc")):
        for face in TTCollection(path, lazy=True).fonts:
            if face["name"].getDebugName(1) == family:
                return face
        sys.exit(f"{path}: no face named {family!r}")
    return TTFont(path, lazy=True)


def dropped_codes(face):
    best = face.getBestCmap()
    by_glyph = {}
    for code, glyph in best.items():
        by_glyph.setdefault(glyph, []).append(code)
    drop = {code for code in best if code in RADICALS}
    for codes in by_glyph.values():
        if len(codes) > 1:
            keep = min(codes, key=lambda c: (rank(c, codes), c))
            drop.update(c for c in codes if c != keep)
    return drop


def rename(face, family):
    postscript = family.replace(" ", "") + "-Regular"
    names = face["name"]
    # Names in other languages, and the typographic family, would still carry the old family.
    names.names = [r for r in names.names if r.nameID not in (1, 2, 3, 4, 6, 16, 17)]
    for name_id, text in ((1, family), (2, "Regular"), (3, postscript), (4, family), (6, postscript)):
        names.setName(text, name_id, 3, 1, 0x409)
        names.setName(text, name_id, 1, 0, 0)


def main():
    if len(sys.argv) != 5:
        sys.exit(__doc__)
    source, family, new_family, output = sys.argv[1:]
    face = open_face(source, family)
    drop = dropped_codes(face)
    for table in face["cmap"].tables:
        if table.format != 14:
            table.cmap = {c: g for c, g in table.cmap.items() if c not in drop}
    for tag in ("GSUB", "morx", "mort"):
        if tag in face:
            del face[tag]
    rename(face, new_family)
    face.save(output)


if __name__ == "__main__":
    main()
