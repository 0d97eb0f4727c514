#!/usr/bin/env python3
"""Writes the component library images under lib/component/ as single-colour BMP files
(1 bit per pixel, palette 0 = black, 1 = white, rows bottom-up padded to 4 bytes) with the
".dat" names the editor looks for. Ink (dark) pixels use palette entry 0.

    led/LED<shape>_<state>_<size>.dat
        shape 0 round, 1 square; state 0 off (outline), 1 on (filled);
        size 1..4 = 8, 12, 16, 24 pixels square.
    funckey/FUNCKEY<key>_<state>_<size>.dat
        key = panel key number 1..19 (1 SET, 2 UP, 3 DOWN, 4 LEFT, 5 RIGHT, 6 ESC, 7 ENT, 8 ALM,
        9 CLR, 10..18 the digits 1..9, 19 the digit 0); state 0 released (outline, dark label),
        1 pressed (filled, light label), 2 not in the focus order (dotted outline);
        size 1 = 12 pixels high, 2 = 16 pixels high; the width follows the label.
    funckey/HAND_<state>_<size>.dat
        a pointing hand shown beside the focused key; state 0 outline, 1 filled;
        size 1 = 12 x 12, 2 = 16 x 16.

The key labels use the built-in 8-pixel font, read from editor/fonts/BuiltinFontData.cpp.
Usage: scripts/make-component-images.py [LIB_DIR]   (default: lib/ of this repository)
"""
import os
import re
import struct
import sys

ROOT = os.path.normpath(os.path.join(os.path.dirname(os.path.abspath(__file__)), ".."))

LED_SIZES = {1: 8, 2: 12, 3: 16, 4: 24}
KEY_HEIGHTS = {1: 12, 2: 16}
HAND_SIZES = {1: 12, 2: 16}
KEY_LABELS = {1: "SET", 2: "^", 3: "v", 4: "<", 5: ">", 6: "ESC", 7: "ENT", 8: "ALM", 9: "CLR"}
for digit in range(1, 10):
    KEY_LABELS[9 + digit] = str(digit)
KEY_LABELS[19] = "0"
ARROWS = {2: "up", 3: "down", 4: "left", 5: "right"}


def blank(w, h):
    return [[0] * w for _ in range(h)]


def bmp_bytes(pixels):
    """pixels: rows top down, 1 = ink."""
    h = len(pixels)
    w = len(pixels[0])
    stride = (w + 31) // 32 * 4
    data = bytearray()
    for row in reversed(pixels):
        line = bytearray(stride)
        for x, ink in enumerate(row):
            if not ink:  # white = palette entry 1
                line[x // 8] |= 0x80 >> (x % 8)
        data += line
    offset = 14 + 40 + 8
    header = struct.pack("<2sIHHI", b"BM", offset + len(data), 0, 0, offset)
    info = struct.pack("<IiiHHIIiiII", 40, w, h, 1, 1, 0, len(data), 2835, 2835, 2, 2)
    palette = bytes([0, 0, 0, 0, 0xFF, 0xFF, 0xFF, 0])
    return header + info + palette + bytes(data)


def led(shape, state, size):
    p = blank(size, size)
    c = (size - 1) / 2.0
    r_out = size / 2.0
    for y in range(size):
        for x in range(size):
            if shape == 0:
                d = ((x - c) ** 2 + (y - c) ** 2) ** 0.5
                inside = d <= r_out - 0.3
                edge = inside and d > r_out - 1.5
            else:
                inside = True
                edge = x in (0, size - 1) or y in (0, size - 1)
            if state == 1:
                p[y][x] = 1 if inside else 0
            else:
                p[y][x] = 1 if edge else 0
    if state == 1 and size >= 12:
        # a small highlight so that a lit LED reads as a lamp, not a blot
        hx = hy = size // 4
        p[hy][hx] = 0
        p[hy][hx + 1] = 0
        p[hy + 1][hx] = 0
    return p


def load_font8():
    path = os.path.join(ROOT, "editor/fonts/BuiltinFontData.cpp")
    text = open(path, encoding="ascii").read()
    body = re.search(r"kBuiltinFont8\[[^\]]*\] = \{(.*?)\};", text, re.S).group(1)
    values = [int(v, 16) for v in re.findall(r"0x([0-9A-F]{2})", body)]
    return [values[i * 8:(i + 1) * 8] for i in range(95)]


def arrow(p, direction, x0, y0, n):
    """A filled triangle of n rows pointing in direction; its bounding box starts at (x0, y0)."""
    for i in range(n):
        for j in range(-i, i + 1):
            if direction == "up":
                x, y = x0 + n - 1 + j, y0 + i
            elif direction == "down":
                x, y = x0 + n - 1 + j, y0 + n - 1 - i
            elif direction == "left":
                x, y = x0 + i, y0 + n - 1 + j
            else:
                x, y = x0 + n - 1 - i, y0 + n - 1 + j
            p[y][x] = 1


def funckey(font, key, state, size):
    h = KEY_HEIGHTS[size]
    label = KEY_LABELS[key]
    pad = 3 if size == 1 else 5
    if key in ARROWS:
        n = 4 if size == 1 else 5
        inner_w = 2 * n - 1 if ARROWS[key] in ("up", "down") else n
    else:
        inner_w = 6 * len(label) - 1
    w = inner_w + 2 * pad
    p = blank(w, h)
    # rounded rectangle: outline, corners cut
    for y in range(h):
        for x in range(w):
            corner = (x in (0, w - 1)) and (y in (0, h - 1))
            if corner:
                continue
            edge = x in (0, w - 1) or y in (0, h - 1)
            if state == 1:
                p[y][x] = 1
            elif edge:
                p[y][x] = 1 if state == 0 or (x + y) % 2 == 0 else 0
    ink = 0 if state == 1 else 1
    if key in ARROWS:
        n = 4 if size == 1 else 5
        tri = blank(w, h)
        d = ARROWS[key]
        tw, th = (2 * n - 1, n) if d in ("up", "down") else (n, 2 * n - 1)
        arrow(tri, d, (w - tw) // 2, (h - th) // 2, n)
        for y in range(h):
            for x in range(w):
                if tri[y][x]:
                    p[y][x] = ink
    else:
        top = (h - 8) // 2
        for i, ch in enumerate(label):
            rows = font[ord(ch) - 32]
            for y, bits in enumerate(rows):
                for x in range(5):
                    if bits & (0x80 >> x):
                        p[top + y][pad + 6 * i + x] = ink
    return p


HAND_12 = [
    "....##......",
    "...#..#.....",
    "...#..#.....",
    "...#..####..",
    "...#..#..##.",
    ".###..#..#.#",
    "#..#.......#",
    "#..........#",
    "#..........#",
    ".#........#.",
    "..#......#..",
    "...######...",
]


def hand(state, size):
    n = HAND_SIZES[size]
    src = HAND_12
    p = blank(n, n)
    scale = n / 12.0
    for y in range(n):
        for x in range(n):
            p[y][x] = 1 if src[min(11, int(y / scale))][min(11, int(x / scale))] == "#" else 0
    if state == 1:
        # fill the outline row by row between its first and last ink pixel
        for y in range(n):
            xs = [x for x in range(n) if p[y][x]]
            if len(xs) >= 2:
                for x in range(xs[0], xs[-1] + 1):
                    p[y][x] = 1
    return p


def write(path, pixels):
    os.makedirs(os.path.dirname(path), exist_ok=True)
    with open(path, "wb") as f:
        f.write(bmp_bytes(pixels))


def main():
    lib = sys.argv[1] if len(sys.argv) > 1 else os.path.join(ROOT, "lib")
    for shape in (0, 1):
        for state in (0, 1):
            for size, px in LED_SIZES.items():
                write(os.path.join(lib, "component/led/LED%d_%d_%d.dat" % (shape, state, size)),
                      led(shape, state, px))
    font = load_font8()
    for key in KEY_LABELS:
        for state in (0, 1, 2):
            for size in KEY_HEIGHTS:
                write(os.path.join(lib, "component/funckey/FUNCKEY%d_%d_%d.dat" % (key, state, size)),
                      funckey(font, key, state, size))
    for state in (0, 1):
        for size in HAND_SIZES:
            write(os.path.join(lib, "component/funckey/HAND_%d_%d.dat" % (state, size)), hand(state, size))


if __name__ == "__main__":
    main()
