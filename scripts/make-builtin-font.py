#!/usr/bin/env python3
"""Writes editor/compiler/BuiltinFontData.cpp, the three built-in ASCII fonts, from the
public-domain "misc-fixed" bitmap faces of the Debian package xfonts-base:

    size  8: cell 6 x 8  from 5x8.pcf.gz   (5 x 8 glyphs, ascent 7; placed at column 0, row 0)
    size 12: cell 6 x 12 from 6x12.pcf.gz  (6 x 12 glyphs, ascent 10; placed at column 0, row 0)
    size 16: cell 8 x 16 from 8x13.pcf.gz  (8 x 13 glyphs, ascent 11; placed at column 0, one
                                            blank row above, two below)

For each character 32..126 the script reads the glyph's bitmap and metrics from the PCF file,
puts its ink in the cell relative to the font's baseline (left bearing from the glyph metrics),
drops any pixel that would fall outside the cell, and writes one byte per row with 0x80 as the
leftmost pixel. The faces carry the note "Public domain font.  Share and enjoy." (see
editor/compiler/BuiltinFontData.LICENSE).

Usage: scripts/make-builtin-font.py [FONT_DIR] [OUTPUT]
    FONT_DIR defaults to /usr/share/fonts/X11/misc, OUTPUT to editor/compiler/BuiltinFontData.cpp
"""
import gzip
import os
import struct
import sys

PCF_PROPERTIES = 1 << 0
PCF_ACCELERATORS = 1 << 1
PCF_METRICS = 1 << 2
PCF_BITMAPS = 1 << 3
PCF_BDF_ENCODINGS = 1 << 5
PCF_BDF_ACCELERATORS = 1 << 8
PCF_COMPRESSED_METRICS = 0x100

# (size, cell width, cell height, face file, rows above the face's own ascent)
FONTS = [
    (8, 6, 8, "5x8.pcf.gz", 0),
    (12, 6, 12, "6x12.pcf.gz", 0),
    (16, 8, 16, "8x13.pcf.gz", 1),
]


class Pcf:
    def __init__(self, data):
        if data[:4] != b"\x01fcp":
            raise ValueError("not a PCF file")
        count = struct.unpack_from("<I", data, 4)[0]
        self.tables = {}
        for i in range(count):
            kind, fmt, size, offset = struct.unpack_from("<IIII", data, 8 + 16 * i)
            self.tables[kind] = (fmt, offset)
        self.data = data
        self.properties = self._properties()
        self.metrics = self._metrics()
        self.bitmaps = self._bitmaps()
        self.encoding = self._encodings()
        self.ascent = self._ascent()

    def _table(self, kind):
        fmt, offset = self.tables[kind]
        stored = struct.unpack_from("<I", self.data, offset)[0]
        if stored != fmt:
            raise ValueError("table format mismatch")
        endian = ">" if fmt & (1 << 2) else "<"
        return fmt, offset + 4, endian

    def _properties(self):
        fmt, pos, e = self._table(PCF_PROPERTIES)
        n = struct.unpack_from(e + "I", self.data, pos)[0]
        pos += 4
        raw = []
        for _ in range(n):
            name, is_string, value = struct.unpack_from(e + "IBI", self.data, pos)
            raw.append((name, is_string, value))
            pos += 9
        if n & 3:
            pos += 4 - (n & 3)
        strings_size = struct.unpack_from(e + "I", self.data, pos)[0]
        pos += 4
        strings = self.data[pos:pos + strings_size]

        def text(off):
            return strings[off:strings.index(b"\0", off)].decode("latin-1")

        return {text(name): (text(value) if is_string else value) for name, is_string, value in raw}

    def _ascent(self):
        kind = PCF_BDF_ACCELERATORS if PCF_BDF_ACCELERATORS in self.tables else PCF_ACCELERATORS
        _fmt, pos, e = self._table(kind)
        return struct.unpack_from(e + "i", self.data, pos + 8)[0]

    def _metrics(self):
        fmt, pos, e = self._table(PCF_METRICS)
        out = []
        if fmt & PCF_COMPRESSED_METRICS:
            n = struct.unpack_from(e + "H", self.data, pos)[0]
            pos += 2
            for _ in range(n):
                lsb, rsb, width, ascent, descent = (b - 0x80 for b in self.data[pos:pos + 5])
                out.append((lsb, rsb, width, ascent, descent))
                pos += 5
        else:
            n = struct.unpack_from(e + "I", self.data, pos)[0]
            pos += 4
            for _ in range(n):
                lsb, rsb, width, ascent, descent, _attr = struct.unpack_from(e + "hhhhhH", self.data, pos)
                out.append((lsb, rsb, width, ascent, descent))
                pos += 12
        return out

    def _bitmaps(self):
        fmt, pos, e = self._table(PCF_BITMAPS)
        n = struct.unpack_from(e + "I", self.data, pos)[0]
        pos += 4
        offsets = struct.unpack_from(e + "%dI" % n, self.data, pos)
        pos += 4 * n
        sizes = struct.unpack_from(e + "4I", self.data, pos)
        pos += 16
        pad = 1 << (fmt & 3)
        unit = 1 << ((fmt >> 4) & 3)
        msbyte = bool(fmt & (1 << 2))
        msbit = bool(fmt & (1 << 3))
        blob = self.data[pos:pos + sizes[fmt & 3]]
        glyphs = []
        for index in range(n):
            lsb, rsb, _width, ascent, descent = self.metrics[index]
            w = rsb - lsb
            h = ascent + descent
            row_bytes = (w + 7) // 8
            row_bytes = (row_bytes + pad - 1) // pad * pad
            rows = []
            for y in range(h):
                row = bytearray(blob[offsets[index] + y * row_bytes:offsets[index] + (y + 1) * row_bytes])
                if unit > 1 and msbyte != msbit:
                    for u in range(0, len(row), unit):
                        row[u:u + unit] = row[u:u + unit][::-1]
                bits = []
                for x in range(w):
                    byte = row[x // 8]
                    bit = 7 - (x % 8) if msbit else x % 8
                    bits.append((byte >> bit) & 1)
                rows.append(bits)
            glyphs.append(rows)
        return glyphs

    def _encodings(self):
        fmt, pos, e = self._table(PCF_BDF_ENCODINGS)
        min2, max2, min1, max1, _default = struct.unpack_from(e + "5H", self.data, pos)
        pos += 10
        count = (max2 - min2 + 1) * (max1 - min1 + 1)
        indices = struct.unpack_from(e + "%dH" % count, self.data, pos)
        out = {}
        if min1 != 0:
            return out
        # Row byte1 = 0 comes first: the codes 0..255.
        for code in range(min2, max2 + 1):
            if indices[code - min2] != 0xFFFF:
                out[code] = indices[code - min2]
        return out


def build_table(pcf, cell_w, cell_h, top):
    ascent = pcf.ascent
    table = []
    for code in range(32, 127):
        cell = [[0] * cell_w for _ in range(cell_h)]
        index = pcf.encoding.get(code)
        if index is None:
            raise ValueError("character %d missing from the face" % code)
        lsb, _rsb, _width, g_ascent, _descent = pcf.metrics[index]
        for y, bits in enumerate(pcf.bitmaps[index]):
            row = top + ascent - g_ascent + y
            for x, bit in enumerate(bits):
                col = lsb + x
                if bit and 0 <= row < cell_h and 0 <= col < cell_w:
                    cell[row][col] = 1
        rows = []
        for r in cell:
            value = 0
            for x, bit in enumerate(r):
                if bit:
                    value |= 0x80 >> x
            rows.append(value)
        table.append(rows)
    return table


def char_comment(code):
    c = chr(code)
    if c == "\\":
        return "backslash"
    return "'" + c + "'"


def main():
    root = os.path.normpath(os.path.join(os.path.dirname(os.path.abspath(__file__)), ".."))
    font_dir = sys.argv[1] if len(sys.argv) > 1 else "/usr/share/fonts/X11/misc"
    output = sys.argv[2] if len(sys.argv) > 2 else os.path.join(root, "editor/compiler/BuiltinFontData.cpp")
    lines = [
        "// Generated by scripts/make-builtin-font.py from the public-domain misc-fixed faces of the",
        "// Debian package xfonts-base (5x8, 6x12, 8x13); see BuiltinFontData.LICENSE. Do not edit:",
        "// install xfonts-base and run scripts/make-builtin-font.py to regenerate.",
        "//",
        "// One table per size, 95 glyphs for characters 32..126, one byte per row from the top,",
        "// 0x80 = leftmost pixel.",
        '#include "editor/compiler/BuiltinFont.h"',
        "",
    ]
    for size, cell_w, cell_h, face, top in FONTS:
        with gzip.open(os.path.join(font_dir, face), "rb") as f:
            pcf = Pcf(f.read())
        table = build_table(pcf, cell_w, cell_h, top)
        lines.append("// %d x %d cells from %s." % (cell_w, cell_h, face))
        lines.append("extern const uint8_t kBuiltinFont%d[95 * %d] = {" % (size, cell_h))
        for code, rows in zip(range(32, 127), table):
            body = ", ".join("0x%02X" % b for b in rows)
            lines.append("    %s,  // %s" % (body, char_comment(code)))
        lines.append("};")
        lines.append("")
    with open(output, "w", encoding="ascii") as f:
        f.write("\n".join(lines))


if __name__ == "__main__":
    main()
