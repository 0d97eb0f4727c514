#!/usr/bin/env python3
"""Writes the simulator's panel pictures lib/skins/pv5521.bmp and lib/skins/pv5521e.bmp:
24-bit uncompressed BMPs without palette, rows bottom-up padded to 4 bytes.

Both show a rounded panel front of our own design, 704 x 360 pixels: a dark outer border on a
white background (the simulator shapes its window by scanning each row from the left for the
first dark pixel, so everything outside the border is light), the LCD window, and the keys at
the hit areas of the simulator's key layouts (simulator/PanelModel.cpp):

    pv5521   layout 0: keys 1..7 along the bottom (SET, up, down, left, right, ESC, ENT) and a
             keypad of 40 x 40 squares (ALM, CLR, the digits 1..9 and 0).
    pv5521e  layout 1: the same seven bottom keys, ALM and CLR beside the round encoder knob,
             whose push is ENT.

The LCD picture (192 x 64 LCD pixels, doubled to 384 x 128) is placed by the simulator at
x = 93, its bottom edge 138 pixels above the picture's bottom; the script leaves a dark bezel
around that place. Labels use the public-domain misc-fixed faces of the Debian package
xfonts-base, read with the PCF reader of scripts/make-builtin-font.py.

Usage: scripts/make-skins.py [FONT_DIR] [OUTPUT_DIR]
    FONT_DIR defaults to /usr/share/fonts/X11/misc, OUTPUT_DIR to lib/skins of this repository
"""
import gzip
import math
import os
import struct
import sys

import pcffont

ROOT = os.path.normpath(os.path.join(os.path.dirname(os.path.abspath(__file__)), ".."))

WIDTH, HEIGHT = 704, 360
LCD_X, LCD_BOTTOM, LCD_W, LCD_H = 93, 138, 384, 128
LCD_TOP = HEIGHT - LCD_BOTTOM - LCD_H

BACKGROUND = (255, 255, 255)
BORDER = (28, 31, 36)
BODY = (74, 82, 96)
FACE = (96, 105, 120)
BEZEL = (18, 20, 24)
LCD_OFF = (64, 64, 64)
KEY_FACE = (222, 225, 230)
KEY_EDGE = (20, 22, 26)
KEY_INK = (24, 26, 30)
ENTER_FACE = (196, 226, 190)
ESCAPE_FACE = (236, 204, 190)
ALARM_FACE = (238, 224, 170)
CAPTION = (232, 236, 242)

BOTTOM_ROW = [(64, 300, 92, 44), (168, 300, 68, 44), (236, 300, 78, 44), (314, 300, 78, 44),
              (392, 300, 68, 44), (486, 300, 86, 44), (580, 300, 82, 44)]
KEYPAD = [(603, 226), (652, 226), (554, 79), (603, 79), (652, 79), (554, 128), (603, 128),
          (652, 128), (554, 177), (603, 177), (652, 177), (554, 226)]
ENCODER_KEYS = {8: (642, 240, 50, 30), 9: (642, 78, 50, 30)}
KNOB = (572, 128, 100, 100)

LABELS = {1: "SET", 6: "ESC", 7: "ENT", 8: "ALM", 9: "CLR", 19: "0"}
for digit in range(1, 10):
    LABELS[9 + digit] = str(digit)
ARROWS = {2: "up", 3: "down", 4: "left", 5: "right"}
FACES = {6: ESCAPE_FACE, 7: ENTER_FACE, 8: ALARM_FACE}


class Font:
    def __init__(self, pcf_module, path):
        with gzip.open(path, "rb") as f:
            self.pcf = pcf_module.Pcf(f.read())

    def glyph(self, ch):
        index = self.pcf.encoding.get(ord(ch))
        if index is None:
            raise ValueError("character %r missing from the face" % ch)
        lsb, _rsb, width, ascent, _descent = self.pcf.metrics[index]
        return lsb, width, ascent, self.pcf.bitmaps[index]

    def measure(self, text):
        return sum(self.glyph(c)[1] for c in text)

    def height(self):
        return self.pcf.ascent


class Picture:
    def __init__(self, w, h, colour):
        self.w, self.h = w, h
        self.rows = [[colour] * w for _ in range(h)]

    def put(self, x, y, colour):
        if 0 <= x < self.w and 0 <= y < self.h:
            self.rows[y][x] = colour

    def span(self, x0, x1, y, colour):
        """Pixels x0..x1-1 of row y."""
        if 0 <= y < self.h:
            row = self.rows[y]
            for x in range(max(x0, 0), min(x1, self.w)):
                row[x] = colour

    def round_rect(self, x, y, w, h, r, colour):
        """Fills the w x h rectangle at (x, y) with corners of radius r."""
        r = min(r, w // 2, h // 2)
        for j in range(h):
            inset = 0
            dy = None
            if j < r:
                dy = r - j - 0.5
            elif j >= h - r:
                dy = j - (h - r) + 0.5
            if dy is not None:
                dx = (r * r - dy * dy) ** 0.5 if dy < r else 0
                inset = int(round(r - dx))
            self.span(x + inset, x + w - inset, y + j, colour)

    def framed_round_rect(self, x, y, w, h, r, edge, fill, thickness=1):
        self.round_rect(x, y, w, h, r, edge)
        t = thickness
        self.round_rect(x + t, y + t, w - 2 * t, h - 2 * t, max(r - t, 0), fill)

    def disc(self, cx, cy, r, colour):
        for j in range(int(cy - r) - 1, int(cy + r) + 2):
            dy = j + 0.5 - cy
            if abs(dy) > r:
                continue
            dx = (r * r - dy * dy) ** 0.5
            self.span(int(round(cx - dx)), int(round(cx + dx)), j, colour)

    def text(self, font, text, x, y, colour):
        """Draws text with its baseline at y, starting at x."""
        for ch in text:
            lsb, width, ascent, bitmap = font.glyph(ch)
            for j, bits in enumerate(bitmap):
                for i, bit in enumerate(bits):
                    if bit:
                        self.put(x + lsb + i, y - ascent + j, colour)
            x += width

    def centred_text(self, font, text, x, y, w, h, colour):
        tw = font.measure(text)
        ascent = font.height()
        self.text(font, text, x + (w - tw) // 2, y + (h + ascent) // 2 - 1, colour)

    def triangle(self, cx, cy, size, direction, colour):
        """A filled arrow head pointing in direction, centred at (cx, cy)."""
        for k in range(size):
            half = k
            if direction == "up":
                self.span(cx - half, cx + half + 1, cy - size // 2 + k, colour)
            elif direction == "down":
                self.span(cx - half, cx + half + 1, cy + size // 2 - k, colour)
            elif direction == "left":
                for j in range(cy - half, cy + half + 1):
                    self.put(cx - size // 2 + k, j, colour)
            else:
                for j in range(cy - half, cy + half + 1):
                    self.put(cx + size // 2 - k, j, colour)

    def bmp(self):
        stride = (self.w * 3 + 3) & ~3
        data = bytearray()
        for row in reversed(self.rows):
            line = bytearray(stride)
            for x, (r, g, b) in enumerate(row):
                line[3 * x:3 * x + 3] = bytes((b, g, r))
            data += line
        offset = 14 + 40
        header = struct.pack("<2sIHHI", b"BM", offset + len(data), 0, 0, offset)
        info = struct.pack("<IiiHHIIiiII", 40, self.w, self.h, 1, 24, 0, len(data), 3000, 3000, 0, 0)
        return header + info + bytes(data)


def draw_key(pic, fonts, key, rect):
    x, y, w, h = rect
    pic.framed_round_rect(x, y, w, h, 7, KEY_EDGE, FACES.get(key, KEY_FACE), 2)
    # A light line along the top edge gives the cap some depth.
    pic.span(x + 7, x + w - 7, y + 3, (250, 251, 252))
    if key in ARROWS:
        pic.triangle(x + w // 2, y + h // 2, 13, ARROWS[key], KEY_INK)
    else:
        font = fonts["label"] if len(LABELS[key]) > 1 else fonts["digit"]
        pic.centred_text(font, LABELS[key], x, y, w, h, KEY_INK)


def draw_panel(fonts, model, keys, encoder):
    pic = Picture(WIDTH, HEIGHT, BACKGROUND)
    pic.framed_round_rect(4, 4, WIDTH - 8, HEIGHT - 8, 26, BORDER, BODY, 3)
    pic.framed_round_rect(10, 12, WIDTH - 20, 272, 16, BORDER, FACE, 1)
    pic.text(fonts["caption"], model, 30, 40, CAPTION)
    # The LCD window: a dark bezel around the place of the LCD picture.
    pic.framed_round_rect(LCD_X - 12, LCD_TOP - 12, LCD_W + 24, LCD_H + 24, 6, BORDER, BEZEL, 1)
    pic.round_rect(LCD_X, LCD_TOP, LCD_W, LCD_H, 0, LCD_OFF)
    for key, rect in keys.items():
        draw_key(pic, fonts, key, rect)
    if encoder:
        x, y, w, h = KNOB
        cx, cy, r = x + w / 2, y + h / 2, w / 2
        pic.disc(cx, cy, r, BORDER)
        pic.disc(cx, cy, r - 3, (150, 156, 166))
        pic.disc(cx, cy, r - 12, (190, 195, 203))
        # Grip marks around the rim.
        for i in range(24):
            a = 2 * math.pi * i / 24
            for d in range(int(r - 11), int(r - 4)):
                pic.put(int(round(cx + d * math.cos(a))), int(round(cy + d * math.sin(a))), BORDER)
        pic.centred_text(fonts["label"], "ENT", x, y, w, h, KEY_INK)
    return pic


def main():
    font_dir = sys.argv[1] if len(sys.argv) > 1 else "/usr/share/fonts/X11/misc"
    out_dir = sys.argv[2] if len(sys.argv) > 2 else os.path.join(ROOT, "lib", "skins")
    pcf = pcffont
    fonts = {
        "label": Font(pcf, os.path.join(font_dir, "7x13B.pcf.gz")),
        "digit": Font(pcf, os.path.join(font_dir, "9x15B.pcf.gz")),
        "caption": Font(pcf, os.path.join(font_dir, "7x14B.pcf.gz")),
    }
    bottom = {i + 1: r for i, r in enumerate(BOTTOM_ROW)}
    layout0 = dict(bottom)
    for i, (x, y) in enumerate(KEYPAD):
        layout0[8 + i] = (x, y, 40, 40)
    layout1 = dict(bottom)
    layout1.update(ENCODER_KEYS)
    os.makedirs(out_dir, exist_ok=True)
    for name, model, keys, encoder in (("pv5521.bmp", "PV5521", layout0, False),
                                       ("pv5521e.bmp", "PV5521E", layout1, True)):
        with open(os.path.join(out_dir, name), "wb") as f:
            f.write(draw_panel(fonts, model, keys, encoder).bmp())


if __name__ == "__main__":
    main()
