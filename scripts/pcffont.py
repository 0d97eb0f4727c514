"""Reads the PCF bitmap faces of X11 (as Debian's xfonts-base ships them, gunzipped) and turns
their glyphs into the rows of fixed cells; shared by the scripts that make the suite's built-in
fonts and the simulator's skins."""
import struct

PCF_PROPERTIES = 1 << 0
PCF_ACCELERATORS = 1 << 1
PCF_METRICS = 1 << 2
PCF_BITMAPS = 1 << 3
PCF_BDF_ENCODINGS = 1 << 5
PCF_BDF_ACCELERATORS = 1 << 8
PCF_COMPRESSED_METRICS = 0x100


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
