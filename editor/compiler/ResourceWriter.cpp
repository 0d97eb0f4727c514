#include "editor/compiler/ResourceWriter.h"

#include <algorithm>

#include "common/ImageFormat.h"
#include "editor/base/TextCase.h"
#include "editor/base/Utf16.h"
#include "editor/devices/Addr.h"
#include "editor/devices/EditorContext.h"
#include "editor/fonts/BuiltinFont.h"
#include "editor/fonts/FontRasterizer.h"
#include "editor/screens/SingleColorBitmapLib.h"
#include "editor/screens/SingleColorBmp.h"
#include "editor/screens/TrendGE.h"

namespace kd820 {

CResourceWriter::CResourceWriter(CEditorContext& a_Context, const CSingleColorBitmapLib* a_BitmapLib)
    : m_Context(a_Context), m_BitmapLib(a_BitmapLib) {}

void CResourceWriter::Clear() {
  m_Image.Clear();
  m_ObjectCache.Clear();
  m_TextCache.Clear();
  m_FontGlyphs.clear();
  m_GlyphsByFace.clear();
  m_Sampling.clear();
  m_Frame.clear();
  m_Element.clear();
}

void CResourceWriter::SetWhere(std::string a_Frame, std::string a_Element) {
  m_Frame = std::move(a_Frame);
  m_Element = std::move(a_Element);
}

std::string CResourceWriter::WhereText() const {
  if (m_Frame.empty()) return m_Element.empty() ? std::string("alarms") : m_Element;
  return m_Frame + " " + m_Element;
}

void CResourceWriter::Warn(const std::string& a_Text) {
  m_Context.Problems().Report({Severity::Warning, a_Text, {m_Frame, m_Element, ""}});
}

namespace {

std::string PortText(int32_t a_Port) {
  return a_Port == 3 ? std::string("CAN") : "COM" + std::to_string(a_Port);
}

}  // namespace

void CResourceWriter::AppendAddress(const CAddr& a_Addr) {
  if (a_Addr.HasUnknownPortType(m_Context)) {
    const std::string port = PortText(a_Addr.m_Port);
    const bool bit = a_Addr.m_Width == CAddr::kBit;
    const CAddr internal(a_Addr.m_Width);
    m_Context.Problems().Report(
        {Severity::Warning,
         "warning: " + WhereText() + ": address " + port + " " + a_Addr.m_TypeName + " " +
             a_Addr.FormatNumber(m_Context) + ": the PLC on " + port + " has no " +
             (bit ? "bit" : "word") + " register type \"" + a_Addr.m_TypeName +
             "\"; compiled as the internal address " + internal.m_TypeName + " " +
             internal.FormatNumber(m_Context),
         {m_Frame, m_Element, "register"}});
  }
  const auto descriptor = a_Addr.Descriptor(m_Context);
  m_Image.Append(descriptor.data(), descriptor.size());
}

CResourceWriter::SamplingEntry CResourceWriter::SamplingEntryOf(const CTrendGE& a_Trend) const {
  SamplingEntry entry{};
  const auto descriptor = a_Trend.m_Reg.Descriptor(m_Context);
  std::copy(descriptor.begin(), descriptor.end(), entry.begin() + 4);
  const auto put = [&](std::size_t a_At, int32_t a_Value) {
    for (int i = 0; i < 4; ++i) entry[a_At + static_cast<std::size_t>(i)] = static_cast<uint8_t>(a_Value >> (8 * i));
  };
  put(16, a_Trend.m_Period);
  put(20, a_Trend.m_Points);
  return entry;
}

std::optional<uint16_t> CResourceWriter::SamplingIndex(const CTrendGE& a_Trend) const {
  const SamplingEntry entry = SamplingEntryOf(a_Trend);
  const auto it = std::find(m_Sampling.begin(), m_Sampling.end(), entry);
  if (it == m_Sampling.end()) return std::nullopt;
  return static_cast<uint16_t>(it - m_Sampling.begin());
}

namespace {

// Reads a BMP file for an element, telling the user what is wrong with it.
bool LoadElementBitmap(const std::string& a_Path, SingleColorBitmap& a_Bitmap, IProblemSink& a_Problems) {
  switch (ReadSingleColorBmpFile(a_Path, a_Bitmap)) {
    case BmpStatus::kOk:
      return true;
    case BmpStatus::kCannotOpen:
      a_Problems.Warn("[CGraphElement::LoadSingleColorBitmap]Can not open file: " + a_Path);
      return false;
    case BmpStatus::kNotBmp:
      a_Problems.Warn("[CGraphElement::LoadSingleColorBitmap]Not bmp file: " + a_Path);
      return false;
    case BmpStatus::kNotSingleColor:
      a_Problems.Warn("[CGraphElement::LoadSingleColorBitmap]Not single color bmp file: " + a_Path);
      return false;
  }
  return false;
}

}  // namespace

uint32_t CResourceWriter::WritePixelObject(const std::string& a_Key, uint8_t a_Kind, int32_t a_Width,
                                          int32_t a_Height, const std::vector<uint8_t>& a_Pixels) {
  const auto at = static_cast<uint32_t>(m_Image.Length());
  m_Image.AppendU8(a_Kind);
  if (a_Kind == image::kGlyph) {  // glyphs store their size in one byte each
    m_Image.AppendU8(static_cast<uint8_t>(a_Width));
    m_Image.AppendU8(static_cast<uint8_t>(a_Height));
  } else {
    m_Image.AppendU16(static_cast<uint16_t>(a_Width));
    m_Image.AppendU16(static_cast<uint16_t>(a_Height));
  }
  m_Image.AppendBytes(a_Pixels);
  m_ObjectCache.Store(a_Key, at, m_Image.Length() - at);
  return at;
}

uint32_t CResourceWriter::CompileBitmapFile(const std::string& a_Path) {
  const std::string key = "BITMAP_FILE_" + AsciiUpper(a_Path);
  if (const uint32_t found = m_ObjectCache.Find(key)) return found;
  SingleColorBitmap bitmap;
  if (!LoadElementBitmap(a_Path, bitmap, m_Context.Problems())) return 0;
  return WritePixelObject(key, image::kBitmap, bitmap.m_Width, bitmap.m_Height, bitmap.m_Pixels);
}

uint32_t CResourceWriter::CompileBitmapFileAsChar(const std::string& a_Path) {
  const std::string key = "BITMAP_FILE_AS_CHAR" + AsciiUpper(a_Path);
  if (const uint32_t found = m_ObjectCache.Find(key)) return found;
  SingleColorBitmap bitmap;
  if (!LoadElementBitmap(a_Path, bitmap, m_Context.Problems())) return 0;
  if (bitmap.m_Width > 255 || bitmap.m_Height > 255) {
    m_Context.Problems().Warn("[CGraphElement::LoadSingleColorBitmap]Too large for a character: " + a_Path);
    return 0;
  }
  return WritePixelObject(key, image::kGlyph, bitmap.m_Width, bitmap.m_Height, bitmap.m_Pixels);
}

uint32_t CResourceWriter::CompileBitmapLibItem(int32_t a_Id) {
  const std::string key = "BITMAP_LIB_ITEM_" + std::to_string(a_Id);
  if (const uint32_t found = m_ObjectCache.Find(key)) return found;
  const CSingleColorBitmapLibItem* item = m_BitmapLib == nullptr ? nullptr : m_BitmapLib->FindItem(a_Id);
  if (item == nullptr) return 0;
  return WritePixelObject(key, image::kBitmap, item->m_Width, item->m_Height, item->m_Pixels);
}

bool CResourceWriter::UsesBuiltinFont(int a_Size, int a_Mode) {
  return (a_Mode == 1 && a_Size == 8) || (a_Mode == 2 && (a_Size == 8 || a_Size == 12 || a_Size == 16));
}

namespace {

// The cache key of a text or character: the built-in font's keys carry no face.
std::string TextKey(const char* a_Builtin, const char* a_Font, const std::string& a_Text,
                    const std::string& a_Face, int a_Size, bool a_UsesBuiltin) {
  return a_UsesBuiltin ? std::string(a_Builtin) + a_Text + "_" + std::to_string(a_Size)
                       : std::string(a_Font) + a_Text + "_" + a_Face + "_" + std::to_string(a_Size);
}

void CodePoints(const std::string& a_Text, std::vector<char32_t>& a_Out) {
  a_Out.clear();
  std::size_t pos = 0;
  while (pos < a_Text.size()) a_Out.push_back(NextCodePoint(a_Text, pos));
}

}  // namespace

uint32_t CResourceWriter::CompileChar(char32_t a_Character, const std::string& a_Face, int a_Size,
                                     int a_Mode) {
  const bool builtin = UsesBuiltinFont(a_Size, a_Mode);
  std::string& key = m_CharKey;
  if (builtin) {
    key.assign("VISIBLE_ASCII_CHAR_");
    AppendUtf8(key, a_Character);
    key.append("_").append(std::to_string(a_Size));
  } else {
    // Font glyphs are keyed by the font that draws them, so that face names mapped to the
    // same font, and characters a face borrows from the same fallback font, share a glyph.
    const std::optional<GlyphSource> source = m_Context.Rasterizer().GlyphSourceOf(a_Character, a_Face, a_Size);
    if (!source) return 0;
    key.assign("FONT_CHAR_");
    AppendUtf8(key, a_Character);
    key.append("_").append(source->m_File);
    key.append("#").append(std::to_string(source->m_Index));
    key.append("_").append(std::to_string(source->m_Em));
    key.append("_").append(std::to_string(a_Size));
  }
  if (const uint32_t found = m_ObjectCache.Find(key)) return found;
  Glyph& glyph = m_Glyph;
  const bool rendered = builtin ? RenderBuiltinGlyph(a_Character, a_Size, glyph)
                                : m_Context.Rasterizer().RenderFontGlyph(a_Character, a_Face,
                                                                         a_Size, glyph);
  if (!rendered || glyph.m_Width > 255 || glyph.m_Height > 255) return 0;
  if (builtin) return WritePixelObject(key, image::kGlyph, glyph.m_Width, glyph.m_Height, glyph.m_Pixels);
  // Different fonts can draw the same pixels (blanks, digits): one object for those too.
  std::string bytes{static_cast<char>(glyph.m_Width), static_cast<char>(glyph.m_Height)};
  bytes.append(glyph.m_Pixels.begin(), glyph.m_Pixels.end());
  if (const auto it = m_FontGlyphs.find(bytes); it != m_FontGlyphs.end()) {
    m_ObjectCache.Store(key, it->second);
    return it->second;
  }
  const uint32_t at = WritePixelObject(key, image::kGlyph, glyph.m_Width, glyph.m_Height, glyph.m_Pixels);
  m_FontGlyphs.emplace(std::move(bytes), at);
  return at;
}

uint32_t CResourceWriter::CompileCharSequence(const std::string& a_Text, const std::string& a_Face,
                                             int a_Size, int a_Mode) {
  if (a_Text.empty()) return 0;
  const bool builtin = UsesBuiltinFont(a_Size, a_Mode);
  const std::string key =
      TextKey("VISIBLE_ASCII_TEXT_", "FONT_TEXT_", a_Text, a_Face, a_Size, builtin);
  if (const uint32_t found = m_TextCache.Find(key)) return found;
  std::vector<char32_t>& characters = m_Characters;
  CodePoints(a_Text, characters);
  if (characters.size() > image::kMaxTextCharacters) {
    Warn("warning: " + WhereText() + ": text cut to " + std::to_string(image::kMaxTextCharacters) +
         " characters: " + a_Text);
    characters.resize(image::kMaxTextCharacters);
  }
  const auto at = static_cast<uint32_t>(m_Image.Length());
  m_Image.AppendU8(static_cast<uint8_t>(characters.size()));
  const std::size_t slots = m_Image.ReserveSlots(characters.size());
  auto& glyphs = m_GlyphsByFace[{builtin ? std::string() : a_Face, a_Size, builtin}];
  for (std::size_t i = 0; i < characters.size(); ++i) {
    uint32_t& glyph = glyphs[characters[i]];
    if (glyph == 0) glyph = CompileChar(characters[i], a_Face, a_Size, a_Mode);
    m_Image.PatchU32(slots + 4 * i, glyph);
  }
  m_TextCache.Store(key, at, m_Image.Length() - at);
  return at;
}

uint32_t CResourceWriter::CompileText(const std::string& a_Text, const std::string& a_Face,
                                     int a_Size, int a_Mode) {
  if (a_Text.empty()) return 0;
  const bool builtin = UsesBuiltinFont(a_Size, a_Mode);
  if (builtin) {
    // The built-in font draws printable ASCII only; the panel leaves other characters out.
    std::string missing;
    std::size_t pos = 0;
    while (pos < a_Text.size()) {
      const std::size_t start = pos;
      const char32_t c = NextCodePoint(a_Text, pos);
      if (c < 32 || c > 126) missing += a_Text.substr(start, pos - start);
    }
    if (!missing.empty()) {
      Warn("warning: " + WhereText() + ": the built-in font has no glyph for \"" + missing +
           "\"; the panel shows the text without it");
    }
  }
  const std::string key =
      TextKey("VISIBLE_ASCII_TEXT_", "FONT_TEXT_", a_Text, a_Face, a_Size, builtin);
  if (const uint32_t found = m_ObjectCache.Find(key)) return found;
  const auto at = static_cast<uint32_t>(m_Image.Length());
  m_Image.AppendU8(image::kText);
  const std::size_t slot = m_Image.ReserveSlots(1);
  m_Image.PatchU32(slot, CompileCharSequence(a_Text, a_Face, a_Size, a_Mode));
  m_ObjectCache.Store(key, at, m_Image.Length() - at);
  return at;
}

}  // namespace kd820
