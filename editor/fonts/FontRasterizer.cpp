#include "editor/fonts/FontRasterizer.h"

#include <fontconfig/fontconfig.h>
#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_BITMAP_H
#include FT_SIZES_H
#include FT_TRUETYPE_TABLES_H
#include FT_TRUETYPE_TAGS_H

#include <functional>
#include <mutex>
#include <set>
#include <string_view>
#include <unordered_map>
#include <system_error>
#include <utility>

#include "editor/base/Utf16.h"

namespace kd820 {

namespace {

// Whole pixels from a non-negative 26.6 value, rounded half up.
int32_t RoundPixels(FT_Pos a_Value) { return static_cast<int32_t>((a_Value + 32) >> 6); }

// Em height in pixels of a face created at a_Tenths tenths of a point on a 96 dpi display.
int EmPixels(int a_Tenths) { return (a_Tenths * 96 + 360) / 720; }

std::string CutFaceName(const std::string& a_Face) {
  std::size_t pos = 0;
  std::size_t units = 0;
  while (pos < a_Face.size()) {
    std::size_t next = pos;
    const char32_t cp = NextCodePoint(a_Face, next);
    units += cp >= 0x10000 ? 2 : 1;
    if (units > FontRasterizer::kMaxFaceNameUnits) break;
    pos = next;
  }
  return a_Face.substr(0, pos);
}

// Family names compare the way fontconfig matches them: ignoring case and blanks.
bool SameFamily(const FcChar8* a_Left, const std::string& a_Right) {
  std::string left(reinterpret_cast<const char*>(a_Left));
  std::string right(a_Right);
  std::erase(left, ' ');
  std::erase(right, ' ');
  return FcStrCmpIgnoreCase(reinterpret_cast<const FcChar8*>(left.c_str()),
                            reinterpret_cast<const FcChar8*>(right.c_str())) == 0;
}

std::string FitKey(const std::string& a_Face, int a_PixelSize) {
  return a_Face + "_" + std::to_string(a_PixelSize);
}

}  // namespace

struct FontRasterizer::Impl {
  // Line metrics of a created face, in pixels.
  struct Cell {
    int32_t m_Ascent = 0;
    int32_t m_Descent = 0;
  };

  // An open font file face. Setting a size runs the font's hinting program (and rescales the
  // auto-hinter's metrics), so each em gets a size object of its own, set up once; changing
  // the em activates that object again.
  struct OpenFace {
    FT_Face m_Face = nullptr;
    FT_Int32 m_LoadFlags = FT_LOAD_TARGET_MONO;
    int m_Em = 0;  // the em of the active size; 0: no size set
    std::unordered_map<int, FT_Size> m_Sizes;  // by em; nullptr: the em cannot be set
    const std::string* m_File = nullptr;
    int32_t m_Index = 0;
  };

  struct Fitted;

  // The installed fonts in fontconfig's order of preference for a face and pixel size, and
  // what each character the face lacks was drawn from.
  struct Fallbacks {
    FcPattern* m_Pattern = nullptr;  // the face's substituted pattern
    FcFontSet* m_Sorted = nullptr;
    std::unordered_map<char32_t, Fitted*> m_ByCharacter;  // nullptr: the face's own glyph
    // The face each font of the sorted list resolves to at the pixel size, by position in the
    // list (nullptr: it cannot be fitted), found once per font rather than once per character.
    std::unordered_map<int, Fitted*> m_BySortedFont;
    ~Fallbacks() {
      if (m_Sorted) FcFontSetDestroy(m_Sorted);
      if (m_Pattern) FcPatternDestroy(m_Pattern);
    }
  };

  // A face name fitted to a pixel size: the open face it resolved to, set to the fitted size.
  struct Fitted {
    int m_Tenths = -1;
    OpenFace* m_Open = nullptr;  // nullptr: the face cannot be fitted or created
    Cell m_Cell;
    std::unique_ptr<Fallbacks> m_Fallbacks;
  };

  // (face name, pixel size) keys, looked up without building a string.
  struct FaceSize {
    std::string_view m_Face;
    int m_PixelSize;
  };
  struct FaceSizeKey {
    std::string m_Face;
    int m_PixelSize;
  };
  struct FaceSizeLess {
    using is_transparent = void;
    template <class L, class R>
    bool operator()(const L& a_Left, const R& a_Right) const {
      const std::string_view left(a_Left.m_Face);
      const std::string_view right(a_Right.m_Face);
      if (a_Left.m_PixelSize != a_Right.m_PixelSize) return a_Left.m_PixelSize < a_Right.m_PixelSize;
      return left < right;
    }
  };

  FcConfig* m_Config = nullptr;
  FT_Library m_Library = nullptr;
  std::map<std::pair<std::string, int32_t>, OpenFace> m_Faces;  // by (file, index); opened once
  std::map<std::string, std::optional<FoundFace>> m_Found;      // FindFace results by "%s_%d"
  IProblemSink& m_Problems;
  std::set<std::string> m_Reported;                             // face names already reported
  std::map<std::string, int> m_Fitted;                          // the table of fitted sizes
  std::map<FaceSizeKey, Fitted, FaceSizeLess> m_FittedFaces;
  int m_FitsComputed = 0;
  mutable std::mutex m_Mutex;

  explicit Impl(IProblemSink& a_Problems) : m_Problems(a_Problems) {}
  ~Impl() {
    m_FittedFaces.clear();
    for (auto& [key, open] : m_Faces)
      if (open.m_Face) FT_Done_Face(open.m_Face);
    if (m_Library) FT_Done_FreeType(m_Library);
    if (m_Config) FcConfigDestroy(m_Config);
  }

  void ReportOnce(const std::string& a_Face, const std::string& a_Text) {
    if (m_Reported.insert(a_Face).second) m_Problems.Warn(a_Text);
  }

  std::optional<FoundFace> Find(const std::string& a_Face, int a_PixelSize) {
    const std::string key = FitKey(a_Face, a_PixelSize);
    if (auto it = m_Found.find(key); it != m_Found.end()) return it->second;
    std::optional<FoundFace> found = Match(a_Face, a_PixelSize);
    m_Found.emplace(key, found);
    return found;
  }

  std::optional<FoundFace> Match(const std::string& a_Face, int a_PixelSize) {
    if (!m_Config) {
      ReportOnce(a_Face, "[FontRasterizer]No font configuration, can not find font: " + a_Face);
      return std::nullopt;
    }
    const std::string name = CutFaceName(a_Face);
    FcPattern* pattern = FacePattern(name, a_PixelSize);
    if (!pattern) return std::nullopt;

    // The family wanted after the configuration's own substitutions: a mapped name asks for
    // its replacement, an unmapped one for itself.
    std::string wanted = name;
    FcChar8* value = nullptr;
    if (FcPatternGetString(pattern, FC_FAMILY, 0, &value) == FcResultMatch && value)
      wanted = reinterpret_cast<const char*>(value);

    FcResult result = FcResultNoMatch;
    FcPattern* match = FcFontMatch(m_Config, pattern, &result);
    FcPatternDestroy(pattern);
    if (!match) {
      ReportOnce(a_Face, "[FontRasterizer]Can not find font: " + a_Face);
      return std::nullopt;
    }

    FoundFace found;
    FcChar8* file = nullptr;
    if (FcPatternGetString(match, FC_FILE, 0, &file) != FcResultMatch || !file) {
      FcPatternDestroy(match);
      ReportOnce(a_Face, "[FontRasterizer]Can not find font: " + a_Face);
      return std::nullopt;
    }
    found.m_File = reinterpret_cast<const char*>(file);
    int index = 0;
    if (FcPatternGetInteger(match, FC_INDEX, 0, &index) == FcResultMatch) found.m_Index = index;

    bool same = false;
    for (int i = 0; FcPatternGetString(match, FC_FAMILY, i, &value) == FcResultMatch; ++i) {
      if (!value) continue;
      if (i == 0) found.m_Family = reinterpret_cast<const char*>(value);
      if (SameFamily(value, wanted) || SameFamily(value, name)) same = true;
    }
    FcPatternDestroy(match);
    found.m_Substituted = !same;
    if (found.m_Substituted)
      ReportOnce(a_Face, "[FontRasterizer]Font not installed: " + a_Face + ", using " + found.m_Family);
    return found;
  }

  // The pattern fontconfig matches a face name with, after the configuration's and the
  // default substitutions; nullptr when it cannot be made.
  FcPattern* FacePattern(const std::string& a_Name, int a_PixelSize) {
    FcPattern* pattern = FcPatternCreate();
    if (!pattern) return nullptr;
    FcPatternAddString(pattern, FC_FAMILY, reinterpret_cast<const FcChar8*>(a_Name.c_str()));
    FcPatternAddDouble(pattern, FC_PIXEL_SIZE, static_cast<double>(a_PixelSize > 0 ? a_PixelSize : 1));
    FcPatternAddBool(pattern, FC_ANTIALIAS, FcFalse);
    FcPatternAddInteger(pattern, FC_WEIGHT, FC_WEIGHT_REGULAR);
    FcPatternAddInteger(pattern, FC_SLANT, FC_SLANT_ROMAN);
    FcConfigSubstitute(m_Config, pattern, FcMatchPattern);
    FcDefaultSubstitute(pattern);
    return pattern;
  }

  // The open face of a file; nullptr when it cannot be opened (it stays unopened for the rest
  // of the run).
  OpenFace* Open(const FoundFace& a_Found) {
    const auto key = std::make_pair(a_Found.m_File, a_Found.m_Index);
    auto it = m_Faces.find(key);
    if (it == m_Faces.end()) {
      OpenFace open;
      if (m_Library && FT_New_Face(m_Library, a_Found.m_File.c_str(), a_Found.m_Index, &open.m_Face) == 0) {
        open.m_LoadFlags = LoadFlagsFor(open.m_Face);
      } else {
        open.m_Face = nullptr;
      }
      it = m_Faces.emplace(key, open).first;
      it->second.m_File = &it->first.first;
      it->second.m_Index = a_Found.m_Index;
    }
    return it->second.m_Face ? &it->second : nullptr;
  }

  static bool HasTable(FT_Face a_Face, FT_ULong a_Tag) {
    FT_ULong length = 0;
    return FT_Load_Sfnt_Table(a_Face, a_Tag, 0, nullptr, &length) == 0 && length > 0;
  }

  // Monochrome rendering, hinted by the face's own instructions. TrueType faces that carry no
  // instructions at all (many CJK faces) lose thin strokes at small sizes when drawn with
  // one bit per pixel unhinted; they go through FreeType's auto-hinter instead.
  static FT_Int32 LoadFlagsFor(FT_Face a_Face) {
    FT_Int32 flags = FT_LOAD_TARGET_MONO;
    if (FT_IS_SFNT(a_Face) && FT_IS_SCALABLE(a_Face) && HasTable(a_Face, TTAG_glyf) &&
        !HasTable(a_Face, TTAG_fpgm) && !HasTable(a_Face, TTAG_prep))
      flags |= FT_LOAD_FORCE_AUTOHINT;
    return flags;
  }

  // The face for a name, created at a_Tenths tenths of a point; nullptr when it cannot be.
  OpenFace* Create(const std::string& a_Face, int a_PixelSize, int a_Tenths) {
    const std::optional<FoundFace> found = Find(a_Face, a_PixelSize);
    if (!found) return nullptr;
    OpenFace* open = Open(*found);
    if (!open || !SetSize(*open, a_Tenths)) return nullptr;
    return open;
  }

  static bool SetSize(OpenFace& a_Open, int a_Tenths) {
    const int em = EmPixels(a_Tenths);
    if (em <= 0) return false;
    if (a_Open.m_Em == em) return true;
    a_Open.m_Em = 0;
    auto it = a_Open.m_Sizes.find(em);
    if (it == a_Open.m_Sizes.end()) {
      FT_Size size = nullptr;
      if (FT_New_Size(a_Open.m_Face, &size) != 0) size = nullptr;
      if (size && (FT_Activate_Size(size) != 0 || !SetEm(a_Open.m_Face, em))) {
        FT_Done_Size(size);
        size = nullptr;
      }
      it = a_Open.m_Sizes.emplace(em, size).first;
    } else if (it->second && FT_Activate_Size(it->second) != 0) {
      return false;
    }
    if (!it->second) return false;
    a_Open.m_Em = em;
    return true;
  }

  static bool SetEm(FT_Face a_Face, int em) {
    if (FT_IS_SCALABLE(a_Face)) return FT_Set_Pixel_Sizes(a_Face, 0, static_cast<FT_UInt>(em)) == 0;
    // Bitmap-only faces: the largest strike not above the em, else the smallest strike.
    if (a_Face->num_fixed_sizes <= 0) return false;
    int best = -1;
    int smallest = 0;
    for (int i = 0; i < a_Face->num_fixed_sizes; ++i) {
      const FT_Pos ppem = a_Face->available_sizes[i].y_ppem;
      if (ppem < a_Face->available_sizes[smallest].y_ppem) smallest = i;
      if (ppem <= static_cast<FT_Pos>(em) * 64 && (best < 0 || ppem > a_Face->available_sizes[best].y_ppem))
        best = i;
    }
    return FT_Select_Size(a_Face, best >= 0 ? best : smallest) == 0;
  }

  static Cell CellOf(FT_Face a_Face) {
    Cell cell;
    const FT_Size_Metrics& metrics = a_Face->size->metrics;
    if (FT_IS_SCALABLE(a_Face)) {
      const auto* os2 = static_cast<const TT_OS2*>(FT_Get_Sfnt_Table(a_Face, FT_SFNT_OS2));
      if (os2 && os2->version != 0xFFFF && os2->usWinAscent + os2->usWinDescent > 0) {
        cell.m_Ascent = RoundPixels(FT_MulFix(os2->usWinAscent, metrics.y_scale));
        cell.m_Descent = RoundPixels(FT_MulFix(os2->usWinDescent, metrics.y_scale));
        return cell;
      }
    }
    cell.m_Ascent = RoundPixels(metrics.ascender > 0 ? metrics.ascender : 0);
    cell.m_Descent = RoundPixels(metrics.descender < 0 ? -metrics.descender : 0);
    if (cell.m_Ascent + cell.m_Descent == 0) cell.m_Ascent = RoundPixels(metrics.height > 0 ? metrics.height : 0);
    return cell;
  }

  int32_t LineHeight(const std::string& a_Face, int a_PixelSize, int a_Tenths) {
    OpenFace* open = Create(a_Face, a_PixelSize, a_Tenths);
    if (!open) return -1;
    const Cell cell = CellOf(open->m_Face);
    return cell.m_Ascent + cell.m_Descent;
  }

  int Fit(const std::string& a_Face, int a_PixelSize) {
    ++m_FitsComputed;
    if (a_PixelSize <= 0) return -1;
    // Tenths that round to the same em give the same height: measure each em once.
    std::map<int, int32_t> heights;
    auto heightAt = [&](int a_Tenths) {
      const int em = EmPixels(a_Tenths);
      if (auto it = heights.find(em); it != heights.end()) return it->second;
      const int32_t height = LineHeight(a_Face, a_PixelSize, a_Tenths);
      heights.emplace(em, height);
      return height;
    };
    return FontRasterizer::FitWalk(a_PixelSize, heightAt);
  }

  int FitCached(const std::string& a_Face, int a_PixelSize) {
    const std::string key = FitKey(a_Face, a_PixelSize);
    if (auto it = m_Fitted.find(key); it != m_Fitted.end()) return it->second;
    const int tenths = Fit(a_Face, a_PixelSize);
    m_Fitted.emplace(key, tenths);
    return tenths;
  }

  // The face name fitted to a pixel size, fitted and created once per run.
  Fitted& FittedFace(const std::string& a_Face, int a_PixelSize) {
    if (auto it = m_FittedFaces.find(FaceSize{a_Face, a_PixelSize}); it != m_FittedFaces.end()) return it->second;
    Fitted fitted;
    fitted.m_Tenths = FitCached(a_Face, a_PixelSize);
    if (fitted.m_Tenths >= 0) {
      fitted.m_Open = Create(a_Face, a_PixelSize, fitted.m_Tenths);
      if (fitted.m_Open) fitted.m_Cell = CellOf(fitted.m_Open->m_Face);
    }
    return m_FittedFaces.emplace(FaceSizeKey{a_Face, a_PixelSize}, std::move(fitted)).first->second;
  }

  // The fitted face set to its size (on a face object other names may share); nullptr when
  // it cannot be fitted.
  static OpenFace* Sized(Fitted& a_Fitted) {
    if (!a_Fitted.m_Open || !SetSize(*a_Fitted.m_Open, a_Fitted.m_Tenths)) return nullptr;
    return a_Fitted.m_Open;
  }

  // The fitted face of an installed font that has the character, for a face that lacks it;
  // nullptr when no font has it or that font cannot be fitted. It is the font fontconfig
  // matches for the face's pattern with the character's coverage required: the first font
  // of the face's sorted font list that has the character, since coverage outranks every
  // other property in fontconfig's scoring and the rest of the score does not depend on it.
  Fitted* Covering(Fitted& a_Fitted, const std::string& a_Face, int a_PixelSize, char32_t a_Character) {
    if (!a_Fitted.m_Fallbacks) a_Fitted.m_Fallbacks = SortFallbacks(a_Face, a_PixelSize);
    Fallbacks& fallbacks = *a_Fitted.m_Fallbacks;
    if (auto it = fallbacks.m_ByCharacter.find(a_Character); it != fallbacks.m_ByCharacter.end()) return it->second;
    Fitted* other = nullptr;
    if (const int font = CoveringFont(fallbacks, a_Character); font >= 0) {
      auto it = fallbacks.m_BySortedFont.find(font);
      if (it == fallbacks.m_BySortedFont.end()) {
        Fitted* candidate = nullptr;
        if (const std::optional<std::string> family = FamilyOf(fallbacks, font)) {
          candidate = &FittedFace(*family, a_PixelSize);
          if (!candidate->m_Open) candidate = nullptr;
        }
        it = fallbacks.m_BySortedFont.emplace(font, candidate).first;
      }
      Fitted* candidate = it->second;
      if (candidate && FT_Get_Char_Index(candidate->m_Open->m_Face, a_Character) != 0) other = candidate;
    }
    fallbacks.m_ByCharacter.emplace(a_Character, other);
    return other;
  }

  std::unique_ptr<Fallbacks> SortFallbacks(const std::string& a_Face, int a_PixelSize) {
    auto fallbacks = std::make_unique<Fallbacks>();
    if (!m_Config) return fallbacks;
    fallbacks->m_Pattern = FacePattern(CutFaceName(a_Face), a_PixelSize);
    if (!fallbacks->m_Pattern) return fallbacks;
    FcResult result = FcResultNoMatch;
    fallbacks->m_Sorted = FcFontSort(m_Config, fallbacks->m_Pattern, FcFalse, nullptr, &result);
    return fallbacks;
  }

  // The position in the face's sorted font list of the best font that has the character; -1
  // when no font has it.
  static int CoveringFont(const Fallbacks& a_Fallbacks, char32_t a_Character) {
    if (!a_Fallbacks.m_Sorted) return -1;
    for (int i = 0; i < a_Fallbacks.m_Sorted->nfont; ++i) {
      FcCharSet* has = nullptr;
      if (FcPatternGetCharSet(a_Fallbacks.m_Sorted->fonts[i], FC_CHARSET, 0, &has) == FcResultMatch && has &&
          FcCharSetHasChar(has, static_cast<FcChar32>(a_Character)))
        return i;
    }
    return -1;
  }

  // The family of a font of the sorted list, named as a match for the face's pattern names it.
  std::optional<std::string> FamilyOf(const Fallbacks& a_Fallbacks, int a_Font) {
    FcPattern* match = FcFontRenderPrepare(m_Config, a_Fallbacks.m_Pattern, a_Fallbacks.m_Sorted->fonts[a_Font]);
    if (!match) return std::nullopt;
    std::optional<std::string> family;
    FcChar8* value = nullptr;
    if (FcPatternGetString(match, FC_FAMILY, 0, &value) == FcResultMatch && value)
      family = reinterpret_cast<const char*>(value);
    FcPatternDestroy(match);
    return family;
  }

  // What draws the character: the face asked for, or, when it has no glyph for the character,
  // an installed font that has one fitted to the same pixel size (the way the platform's font
  // linking fills such gaps). A character that no font has is drawn with the face's own
  // missing-glyph shape. The face comes set to its size; nullptr when the face cannot be fitted.
  Fitted* FittedFor(char32_t a_Character, const std::string& a_Face, int a_PixelSize) {
    Fitted& fitted = FittedFace(a_Face, a_PixelSize);
    if (!fitted.m_Open) return nullptr;
    Fitted* chosen = &fitted;
    if (FT_Get_Char_Index(fitted.m_Open->m_Face, a_Character) == 0) {
      if (Fitted* other = Covering(fitted, a_Face, a_PixelSize, a_Character)) chosen = other;
    }
    return Sized(*chosen) ? chosen : nullptr;
  }

  std::optional<GlyphSource> Source(char32_t a_Character, const std::string& a_Face, int a_PixelSize) {
    const Fitted* fitted = FittedFor(a_Character, a_Face, a_PixelSize);
    if (!fitted) return std::nullopt;
    return GlyphSource{*fitted->m_Open->m_File, fitted->m_Open->m_Index, fitted->m_Open->m_Em,
                       fitted->m_Open->m_LoadFlags};
  }

  // Draws into a_Out, reusing its pixel storage.
  bool Render(char32_t a_Character, const std::string& a_Face, int a_PixelSize, Glyph& a_Out) {
    const Fitted* fitted = FittedFor(a_Character, a_Face, a_PixelSize);
    if (!fitted) return false;
    const Cell cell = fitted->m_Cell;
    const FT_Face face = fitted->m_Open->m_Face;
    if (FT_Load_Char(face, a_Character, fitted->m_Open->m_LoadFlags | FT_LOAD_RENDER) != 0) return false;
    const FT_GlyphSlot slot = face->glyph;
    const int32_t width = slot->advance.x > 0 ? static_cast<int32_t>(slot->advance.x >> 6) : 0;
    const int32_t height = a_PixelSize;
    const int32_t stride = (width + 7) / 8;

    // Ink test per bitmap pixel: 1-bit bitmaps directly (most significant bit leftmost),
    // anything else (embedded grey strikes) converted to one byte per pixel and thresholded
    // at half coverage, as drawing without antialiasing would.
    const FT_Bitmap& source = slot->bitmap;
    FT_Bitmap converted;
    FT_Bitmap_Init(&converted);
    const FT_Bitmap* bitmap = &source;
    unsigned threshold = 1;
    if (source.pixel_mode != FT_PIXEL_MODE_MONO && source.rows > 0 && source.width > 0) {
      if (FT_Bitmap_Convert(m_Library, &source, &converted, 1) != 0) {
        FT_Bitmap_Done(m_Library, &converted);
        return false;
      }
      bitmap = &converted;
      threshold = converted.num_grays > 1 ? static_cast<unsigned>(converted.num_grays) / 2 : 1;
    }
    Glyph& glyph = a_Out;
    glyph.m_Width = width;
    glyph.m_Height = height;
    glyph.m_Pixels.assign(static_cast<std::size_t>(stride) * static_cast<std::size_t>(height), 0);
    const int32_t left = slot->bitmap_left;
    const int32_t top = cell.m_Ascent - slot->bitmap_top;
    for (unsigned row = 0; row < bitmap->rows; ++row) {
      const int32_t y = top + static_cast<int32_t>(row);
      if (y < 0 || y >= height) continue;
      const unsigned char* line = bitmap->buffer + static_cast<std::ptrdiff_t>(row) * bitmap->pitch;
      for (unsigned col = 0; col < bitmap->width; ++col) {
        const int32_t x = left + static_cast<int32_t>(col);
        if (x < 0 || x >= width) continue;
        const bool ink = bitmap == &source ? (line[col >> 3] & (0x80u >> (col & 7))) != 0 : line[col] >= threshold;
        if (ink) glyph.m_Pixels[static_cast<std::size_t>(y * stride + (x >> 3))] |= static_cast<uint8_t>(1u << (x & 7));
      }
    }
    FT_Bitmap_Done(m_Library, &converted);
    return true;
  }

  int32_t Extent(const std::string& a_Text, const std::string& a_Face, int a_PixelSize) {
    if (!FittedFace(a_Face, a_PixelSize).m_Open) return -1;
    int32_t width = 0;
    std::size_t pos = 0;
    while (pos < a_Text.size()) {
      const char32_t cp = NextCodePoint(a_Text, pos);
      const Fitted* fitted = FittedFor(cp, a_Face, a_PixelSize);
      if (!fitted) continue;
      const FT_Face face = fitted->m_Open->m_Face;
      if (FT_Load_Char(face, cp, fitted->m_Open->m_LoadFlags) != 0) continue;
      if (face->glyph->advance.x > 0) width += static_cast<int32_t>(face->glyph->advance.x >> 6);
    }
    return width;
  }
};

int FontRasterizer::FitWalk(int a_PixelSize, const std::function<int32_t(int)>& a_LineHeight) {
  enum class Direction { None, Up, Down };
  Direction direction = Direction::None;
  const int limit = kMaxFitFactor * 10 * a_PixelSize;
  int n = 10 * a_PixelSize;
  for (;;) {
    if (n <= 0 || n > limit) return -1;
    const int32_t height = a_LineHeight(n);
    if (height < 0) return -1;
    switch (direction) {
      case Direction::None:
        if (height == a_PixelSize) return n;
        if (height < a_PixelSize) {
          direction = Direction::Up;
          ++n;
        } else {
          direction = Direction::Down;
          --n;
        }
        break;
      case Direction::Down:
        if (height <= a_PixelSize) return n;
        --n;
        break;
      case Direction::Up:
        if (height == a_PixelSize) return n;
        if (height > a_PixelSize) {
          // Overshot: the size below, which is known to be creatable.
          --n;
          return a_LineHeight(n) < 0 ? -1 : n;
        }
        ++n;
        break;
    }
  }
}

FontRasterizer::FontRasterizer(const std::filesystem::path& a_AppConfig, IProblemSink& a_Problems)
    : m_Impl(std::make_unique<Impl>(a_Problems)) {
  if (FT_Init_FreeType(&m_Impl->m_Library) != 0) {
    m_Impl->m_Library = nullptr;
    m_Impl->m_Problems.Warn("[FontRasterizer]Can not initialise FreeType");
  }
  m_Impl->m_Config = FcInitLoadConfig();
  if (!m_Impl->m_Config) {
    m_Impl->m_Problems.Warn("[FontRasterizer]Can not load the font configuration");
    return;
  }
  if (!a_AppConfig.empty()) {
    std::error_code error;
    const bool present = std::filesystem::is_regular_file(a_AppConfig, error);
    const auto* path = reinterpret_cast<const FcChar8*>(a_AppConfig.c_str());
    if (!present || !FcConfigParseAndLoad(m_Impl->m_Config, path, FcTrue))
      m_Impl->m_Problems.Warn("[FontRasterizer]Can not load font configuration: " + a_AppConfig.string());
  }
  if (!FcConfigBuildFonts(m_Impl->m_Config)) {
    m_Impl->m_Problems.Warn("[FontRasterizer]Can not list the installed fonts");
    FcConfigDestroy(m_Impl->m_Config);
    m_Impl->m_Config = nullptr;
  }
}

FontRasterizer::~FontRasterizer() = default;

std::optional<FoundFace> FontRasterizer::FindFace(const std::string& a_Face, int a_PixelSize) {
  std::lock_guard lock(m_Impl->m_Mutex);
  return m_Impl->Find(a_Face, a_PixelSize);
}

int FontRasterizer::FitPointSize(const std::string& a_Face, int a_PixelSize) {
  std::lock_guard lock(m_Impl->m_Mutex);
  return m_Impl->FitCached(a_Face, a_PixelSize);
}

int32_t FontRasterizer::LineHeightAt(const std::string& a_Face, int a_Tenths) {
  std::lock_guard lock(m_Impl->m_Mutex);
  // The pixel size only steers fontconfig between bitmap strikes; use the em's.
  return m_Impl->LineHeight(a_Face, EmPixels(a_Tenths), a_Tenths);
}

bool FontRasterizer::RenderFontGlyph(char32_t a_Character, const std::string& a_Face, int a_PixelSize,
                                     Glyph& a_Out) {
  std::lock_guard lock(m_Impl->m_Mutex);
  return m_Impl->Render(a_Character, a_Face, a_PixelSize, a_Out);
}

int32_t FontRasterizer::TextExtentWidth(const std::string& a_Utf8Text, const std::string& a_Face,
                                        int a_PixelSize) {
  std::lock_guard lock(m_Impl->m_Mutex);
  return m_Impl->Extent(a_Utf8Text, a_Face, a_PixelSize);
}

std::optional<GlyphSource> FontRasterizer::GlyphSourceOf(char32_t a_Character, const std::string& a_Face,
                                                         int a_PixelSize) {
  std::lock_guard lock(m_Impl->m_Mutex);
  return m_Impl->Source(a_Character, a_Face, a_PixelSize);
}

std::map<std::string, int> FontRasterizer::FittedSizes() const {
  std::lock_guard lock(m_Impl->m_Mutex);
  return m_Impl->m_Fitted;
}

int FontRasterizer::FitsComputed() const {
  std::lock_guard lock(m_Impl->m_Mutex);
  return m_Impl->m_FitsComputed;
}

}  // namespace kd820
