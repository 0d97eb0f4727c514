#!/usr/bin/env python3
"""Writes simulator/BuiltinFontData.cpp, the simulator's own font for its status texts:

    ASCII part: 96 glyphs for the codes 32..127, 5 column bytes each (bit j = row j from the
                top), from the public-domain misc-fixed 5x8 face of the Debian package
                xfonts-base (read with the PCF reader of scripts/make-builtin-font.py).
                Code 127 has no glyph in the face and stays blank.
    Chinese part: the ten characters of the status texts as 12 x 12 glyphs (12 rows of 2 bytes,
                bit 0 = leftmost pixel, bits 0..3 of the second byte = pixels 8..11), drawn
                for this project as the pixel art in CHINESE_ART below.

See simulator/BuiltinFontData.LICENSE for the sources and their licences.

Usage: scripts/make-sim-builtin-font.py [OUTPUT]
    OUTPUT defaults to simulator/BuiltinFontData.cpp
Environment: MISC_FONT_DIR (default /usr/share/fonts/X11/misc)
"""
import gzip
import os
import sys

import pcffont

ROOT = os.path.normpath(os.path.join(os.path.dirname(os.path.abspath(__file__)), ".."))

# The status texts' characters, in the order of the table, each drawn on a 12 x 12 grid
# ('#' = dark, '.' = light, top row first). Column 11 stays light so that characters side by
# side do not touch.
CHINESE_ART = [
    ("超", """
    ..#..######.
    .###....#.#.
    ..#....#..#.
    #####.#..##.
    ..#.........
    #.###.#####.
    #.#...#...#.
    #.#...#...#.
    #.#...#####.
    ###.........
    .#.##.......
    #....######.
"""),
    ("时", """
    .........#..
    .........#..
    ####.....#..
    #..#.######.
    #..#.....#..
    #..#..#..#..
    ####...#.#..
    #..#.....#..
    #..#.....#..
    #..#.....#..
    ####.....#..
    .......###..
"""),
    ("数", """
    #.#.#..#....
    .###...#....
    #####.#####.
    .###.....#..
    #.#.#....#..
    ..#......#..
    ######..#...
    .#..#...#...
    ..##...#.#..
    ..##...#.#..
    ##..#.#...#.
    ............
"""),
    ("值", """
    ..#....#....
    ..#.#######.
    .#.....#....
    .##.#.#####.
    #.#.#.#...#.
    ..#.#.#####.
    ..#.#.#...#.
    ..#.#.#####.
    ..#.#.#...#.
    ..#.#.#####.
    ..#.#.......
    ..#.#######.
"""),
    ("无", """
    ............
    .#########..
    .....#......
    .....#......
    ###########.
    ....#.#.....
    ....#.#.....
    ...#..#.....
    ...#..#...#.
    ..#...#...#.
    .#....#...#.
    #......###..
"""),
    ("效", """
    ..#....#....
    ..#....#....
    ######.####.
    .#..#....#..
    #....#...#..
    .........#..
    .#..#...#...
    ..##....#...
    ..##...#.#..
    .#..#..#.#..
    #.....#...#.
    ............
"""),
    ("组", """
    .#...#####..
    .#...#...#..
    #..#.#...#..
    ###..#...#..
    ..#..#####..
    .#...#...#..
    #..#.#...#..
    ####.#...#..
    .....#####..
    ..##.#...#..
    ##...#...#..
    ....#######.
"""),
    ("态", """
    .....#......
    ###########.
    ....#.#.....
    ...#...#....
    ..#.#...#...
    ##...#...##.
    ............
    .....#......
    ..#...#..#..
    #.#.......#.
    #..#....#.#.
    ....####....
"""),
    ("错", """
    .#....#..#..
    .###.######.
    #.....#..#..
    ####.######.
    .#..........
    ####..####..
    .#....#..#..
    .#....#..#..
    .#....####..
    .#.#..#..#..
    .##...#..#..
    .#....####..
"""),
    ("误", """
    #....#####..
    .#...#...#..
    .....#...#..
    ##...#####..
    .#..........
    .#...#####..
    .#.....#....
    .#..#######.
    .#.#...##...
    .##...#..#..
    .#...#....#.
    ....#.......
"""),
]
CHINESE = "".join(char for char, _ in CHINESE_ART)


def ascii_columns(font_dir):
    with gzip.open(os.path.join(font_dir, "5x8.pcf.gz"), "rb") as f:
        pcf = pcffont.Pcf(f.read())
    # Rows of a 5 x 8 cell for 32..126, 0x80 = leftmost pixel; turn them into columns.
    table = []
    for rows in pcffont.build_table(pcf, 5, 8, 0):
        columns = []
        for x in range(5):
            value = 0
            for y, row in enumerate(rows):
                if row & (0x80 >> x):
                    value |= 1 << y
            columns.append(value)
        table.append(columns)
    table.append([0] * 5)  # 127
    return table


def chinese_glyphs():
    # Each row becomes two bytes: pixels 0..7 in bits 0..7 of the first, 8..11 in bits 0..3 of
    # the second.
    glyphs = []
    for char, art in CHINESE_ART:
        rows = art.split()
        if len(rows) != 12 or any(len(row) != 12 or set(row) - set("#.") for row in rows):
            raise ValueError("the drawing of %s is not 12 rows of 12 '#' or '.'" % char)
        if any(row[11] == "#" for row in rows):
            raise ValueError("the drawing of %s uses column 11" % char)
        data = []
        for row in rows:
            bits = sum(1 << x for x, pixel in enumerate(row) if pixel == "#")
            data += [bits & 0xFF, bits >> 8]
        glyphs.append(data)
    return glyphs


def char_comment(code):
    c = chr(code)
    return "backslash" if c == "\\" else ("DEL" if code == 127 else "'" + c + "'")


def main():
    output = sys.argv[1] if len(sys.argv) > 1 else os.path.join(ROOT, "simulator/BuiltinFontData.cpp")
    font_dir = os.environ.get("MISC_FONT_DIR", "/usr/share/fonts/X11/misc")
    ascii_table = ascii_columns(font_dir)
    chinese = chinese_glyphs()
    lines = [
        "// Generated by scripts/make-sim-builtin-font.py; see BuiltinFontData.LICENSE. Do not edit:",
        "// change the script and run it again (it reads the 5x8 face of xfonts-base).",
        "//",
        "// ASCII 32..127 from the misc-fixed 5x8 face: five column bytes per glyph, bit j = row j.",
        "// Chinese drawn for this project (the script's CHINESE_ART): 12 rows of 2 bytes, bit 0 = left.",
        '#include "simulator/BuiltinFont.h"',
        "",
        "namespace sim {",
        "",
        "const uint8_t BuiltinFont::kAscii[96][5] = {",
    ]
    for code, columns in zip(range(32, 128), ascii_table):
        body = ", ".join("0x%02X" % b for b in columns)
        lines.append("    {%s},  // %s" % (body, char_comment(code)))
    lines.append("};")
    lines.append("")
    lines.append("const BuiltinFont::ChineseGlyph BuiltinFont::kChinese[10] = {")
    for char, rows in zip(CHINESE, chinese):
        gbk = char.encode("gbk")
        body = ", ".join("0x%02X" % b for b in rows)
        lines.append("    {0x%02X%02X, {%s}},  // U+%04X" % (gbk[0], gbk[1], body, ord(char)))
    lines.append("};")
    lines.append("")
    lines.append("}  // namespace sim")
    lines.append("")
    with open(output, "w", encoding="ascii") as f:
        f.write("\n".join(lines))


if __name__ == "__main__":
    main()
