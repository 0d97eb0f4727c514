#pragma once
// Characters of the operating system's fonts as monochrome glyphs: faces are found by name with
// fontconfig (the application configuration lib/fonts/fonts.conf maps the face names projects
// use to installed fonts) and drawn without antialiasing by FreeType.
//
// Sizes. A face is created at a point size in tenths of a point, the way element texts name
// their fonts; on a 96 dpi display that gives an em of n * 96 / 720 pixels, rounded half up to
// whole pixels (FT_Set_Pixel_Sizes with that em), so that hinting always works on a whole pixel
// grid. A pixel size asked for by an element is reached by fitting a point size to it (below).
//
// Line height. The height of a text is the height of the face's text cell: ascent + descent.
// For faces with an OS/2 table these are usWinAscent and usWinDescent scaled to the em and
// rounded to whole pixels (the cell the faces are designed to be measured with, taller than
// hhea's when accents or CJK ideographs reach above it); otherwise FreeType's scaled ascender
// and descender. The cell does not depend on the sample text and grows with the point size in
// steps of whole pixels, which is what the fitting walk relies on. A glyph is drawn with its
// baseline `ascent` pixels below the top row.
//
// Fitting (FitPointSize). Start at n = 10 x size tenths and step by one towards the size:
// going down, stop at the first n whose line height is at most the size; going up, stop at
// the first n whose height is at least the size, and step back by one when it overshoots.
// The result is -1 when n reaches 0, when the face cannot be created at some n, or when n
// climbs past kMaxFitFactor x 10 x size without reaching the size. Results are kept in a table
// keyed "%s_%d" (face, pixel size) for the rest of the run and never recomputed.
#include <cstdint>
#include <filesystem>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "editor/base/Problem.h"
#include "editor/fonts/Glyph.h"

namespace kd820 {

// The face texts start with when nothing else is chosen.
inline std::string DefaultFontName() { return "Microsoft Sans Serif"; }

// The font file fontconfig chose for a face name.
struct FoundFace {
  std::string m_File;
  int32_t m_Index = 0;         // face index within the file (collections)
  std::string m_Family;        // the matched font's first family name
  bool m_Substituted = false;  // the matched family is not the one asked for
};

// The font a character is drawn from: the face of a font file and the em in pixels it is set
// to. Characters of two face names drawn from the same source at the same pixel size are the
// same glyph. m_File stays valid as long as the rasterizer.
struct GlyphSource {
  std::string_view m_File;
  int32_t m_Index = 0;
  int32_t m_Em = 0;
  int32_t m_LoadFlags = 0;  // the FreeType load flags the glyph is drawn with (without RENDER)
};

class FontRasterizer {
 public:
  // How far above 10 x size the upward fitting walk may go before it gives up.
  static constexpr int kMaxFitFactor = 8;
  // Face names are cut to this many UTF-16 units before the lookup.
  static constexpr std::size_t kMaxFaceNameUnits = 31;

  // Loads the system's fontconfig configuration and a_AppConfig on top of it (an empty path,
  // or a file that does not exist, leaves only the system's; the latter is reported). Problems
  // go to a_Problems, which must outlive the rasterizer.
  explicit FontRasterizer(const std::filesystem::path& a_AppConfig,
                          IProblemSink& a_Problems = StderrProblems());
  ~FontRasterizer();
  FontRasterizer(const FontRasterizer&) = delete;
  FontRasterizer& operator=(const FontRasterizer&) = delete;

  // The font fontconfig matches for the face name at that pixel size, normal weight, upright,
  // not antialiased. A match whose family differs from the one asked for (after the
  // configuration's substitutions) is used anyway and reported once per face name; nullopt
  // only when nothing at all matches.
  std::optional<FoundFace> FindFace(const std::string& a_Face, int a_PixelSize);

  // The point size in tenths fitted to a_PixelSize, or -1; looked up in the table of fitted
  // sizes first.
  int FitPointSize(const std::string& a_Face, int a_PixelSize);

  // The line height in pixels of the face created at a_Tenths tenths of a point, or -1 when it
  // cannot be created.
  int32_t LineHeightAt(const std::string& a_Face, int a_Tenths);

  // The character in the face fitted to a_PixelSize: width = its advance in whole pixels,
  // height = a_PixelSize, drawn from the top-left corner, ink outside the glyph box dropped.
  // A character the face has no glyph for is drawn from an installed font that has one,
  // fitted to the same pixel size.
  // False when the face cannot be fitted or the character cannot be loaded. Faces are set to a
  // size only when it changes, and a_Out's pixel storage is reused.
  bool RenderFontGlyph(char32_t a_Character, const std::string& a_Face, int a_PixelSize, Glyph& a_Out);

  // The font RenderFontGlyph draws the character from; nullopt when the face cannot be fitted.
  std::optional<GlyphSource> GlyphSourceOf(char32_t a_Character, const std::string& a_Face, int a_PixelSize);

  // Width in pixels of a UTF-8 text in the fitted face: the sum of the characters' advances
  // (of the glyphs RenderFontGlyph draws), without kerning. -1 when the face cannot be fitted.
  int32_t TextExtentWidth(const std::string& a_Utf8Text, const std::string& a_Face, int a_PixelSize);

  // The fitting walk over a measure of the line height at n tenths of a point (-1: the face
  // cannot be created at n); returns the fitted tenths or -1.
  static int FitWalk(int a_PixelSize, const std::function<int32_t(int)>& a_LineHeight);

  // The table of fitted sizes, "%s_%d" (face, pixel size) -> tenths of a point or -1.
  std::map<std::string, int> FittedSizes() const;
  // How many fits were computed (table misses) since construction.
  int FitsComputed() const;

 private:
  struct Impl;
  std::unique_ptr<Impl> m_Impl;
};

}  // namespace kd820
