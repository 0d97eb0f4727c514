// Renders characters as 12 x 12 monochrome glyphs for the simulator's built-in font and prints
// one line per character: the code point in hex, then 24 hex bytes (12 rows of 2 bytes, top row
// first, bit 0 = leftmost pixel, 1 = dark).
//
// The face's embedded 12-pixel bitmap strike is used when it has one (WenQuanYi Zen Hei Sharp,
// face index 2 of wqy-zenhei.ttc, carries hand-tuned strikes); otherwise the outline is rendered
// monochrome at 12 pixels. The ink is placed on the face's baseline and, if it would not fit,
// moved into the cell.
//
// Build and run (scripts/make-sim-builtin-font.py does this):
//   g++ -std=c++20 -O1 scripts/render-status-glyphs.cpp -o /tmp/render-status-glyphs
//       $(pkg-config --cflags --libs freetype2)
//   /tmp/render-status-glyphs /usr/share/fonts/truetype/wqy/wqy-zenhei.ttc 2 8d85 65f6 ...
#include <ft2build.h>
#include FT_FREETYPE_H

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

namespace {

constexpr int kCell = 12;

int Fail(const char* a_What, unsigned long a_Code) {
  std::fprintf(stderr, "render-status-glyphs: %s (U+%04lX)\n", a_What, a_Code);
  return 1;
}

}  // namespace

int main(int a_Argc, char** a_Argv) {
  if (a_Argc < 4) {
    std::fprintf(stderr, "usage: %s FONT_FILE FACE_INDEX CODEPOINT_HEX...\n", a_Argv[0]);
    return 2;
  }
  FT_Library library;
  FT_Face face;
  if (FT_Init_FreeType(&library) != 0) return Fail("cannot start FreeType", 0);
  if (FT_New_Face(library, a_Argv[1], std::strtol(a_Argv[2], nullptr, 10), &face) != 0) {
    return Fail("cannot open the face", 0);
  }
  bool strike = false;
  for (int i = 0; i < face->num_fixed_sizes; ++i) {
    if (face->available_sizes[i].height == kCell || face->available_sizes[i].y_ppem >> 6 == kCell) {
      strike = FT_Select_Size(face, i) == 0;
      break;
    }
  }
  if (!strike && FT_Set_Pixel_Sizes(face, 0, kCell) != 0) return Fail("cannot set the size", 0);
  std::fprintf(stderr, "render-status-glyphs: %s %s, %s\n", face->family_name, face->style_name,
               strike ? "12-pixel bitmap strike" : "outline rendered at 12 pixels");
  // Baseline row inside the cell: the strike's ascender, kept inside the cell.
  const int ascent = std::clamp(static_cast<int>(face->size->metrics.ascender >> 6), 1, kCell);

  for (int arg = 3; arg < a_Argc; ++arg) {
    const unsigned long code = std::strtoul(a_Argv[arg], nullptr, 16);
    const FT_UInt index = FT_Get_Char_Index(face, code);
    if (index == 0) return Fail("character missing from the face", code);
    if (FT_Load_Glyph(face, index, FT_LOAD_RENDER | FT_LOAD_TARGET_MONO) != 0) {
      return Fail("cannot render", code);
    }
    const FT_GlyphSlot slot = face->glyph;
    const FT_Bitmap& bitmap = slot->bitmap;
    if (bitmap.pixel_mode != FT_PIXEL_MODE_MONO) return Fail("not a monochrome bitmap", code);
    const int width = static_cast<int>(bitmap.width);
    const int height = static_cast<int>(bitmap.rows);
    // Keep the ink inside the cell: shift it rather than cut it.
    const int left = std::clamp(static_cast<int>(slot->bitmap_left), 0, std::max(0, kCell - width));
    const int top = std::clamp(ascent - slot->bitmap_top, 0, std::max(0, kCell - height));
    uint8_t rows[kCell][2] = {};
    for (int y = 0; y < height; ++y) {
      const unsigned char* src = bitmap.buffer + static_cast<long>(y) * bitmap.pitch;
      for (int x = 0; x < width; ++x) {
        if (!(src[x / 8] & (0x80 >> (x % 8)))) continue;  // FreeType: MSB = leftmost
        const int cx = left + x;
        const int cy = top + y;
        if (cx < kCell && cy < kCell) rows[cy][cx / 8] |= static_cast<uint8_t>(1 << (cx % 8));
      }
    }
    std::printf("%04lX", code);
    for (const auto& row : rows) std::printf(" %02X %02X", row[0], row[1]);
    std::printf("\n");
  }
  FT_Done_Face(face);
  FT_Done_FreeType(library);
  return 0;
}
