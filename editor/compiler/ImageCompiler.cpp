#include "editor/compiler/ImageCompiler.h"

#include <algorithm>
#include <cstring>

#include "common/ImageFormat.h"
#include "editor/fonts/BuiltinFont.h"
#include "editor/fonts/FontRasterizer.h"
#include "editor/screens/SingleColorBmp.h"
#include "editor/base/Utf16.h"
#include "platform/Diagnostics.h"
#include "platform/ProgramDirectory.h"
#include "editor/project/KV410Project.h"
#include "editor/screens/TrendGE.h"
#include "editor/base/TextCase.h"

namespace kd820 {

CImageCompiler::SamplingEntry CImageCompiler::SamplingEntryOf(const CTrendGE& a_Trend) {
  SamplingEntry entry{};
  const auto descriptor = a_Trend.m_Reg.Descriptor();
  std::copy(descriptor.begin(), descriptor.end(), entry.begin() + 4);
  const auto put = [&](std::size_t a_At, int32_t a_Value) {
    for (int i = 0; i < 4; ++i) entry[a_At + static_cast<std::size_t>(i)] = static_cast<uint8_t>(a_Value >> (8 * i));
  };
  put(16, a_Trend.m_Period);
  put(20, a_Trend.m_Points);
  return entry;
}

std::optional<uint16_t> CImageCompiler::SamplingIndex(const CTrendGE& a_Trend) const {
  const SamplingEntry entry = SamplingEntryOf(a_Trend);
  const auto it = std::find(m_Sampling.begin(), m_Sampling.end(), entry);
  if (it == m_Sampling.end()) return std::nullopt;
  return static_cast<uint16_t>(it - m_Sampling.begin());
}

void CImageCompiler::CollectSamplingEntries(const CKV410Project& a_Project) {
  m_Sampling.clear();
  for (const auto& frame : a_Project.GetFrames()) {
    for (const auto& element : frame->GetElements()) {
      if (element->GetTypeCode() != kTypeTrend) continue;
      const SamplingEntry entry = SamplingEntryOf(static_cast<const CTrendGE&>(*element));
      // Distinct entries, each new one in front: the table lists them newest first.
      if (std::find(m_Sampling.begin(), m_Sampling.end(), entry) == m_Sampling.end()) {
        m_Sampling.insert(m_Sampling.begin(), entry);
      }
    }
  }
}

std::vector<std::string> CImageCompiler::Compile(CKV410Project& a_Project) {
  std::vector<std::string> problems;
  m_Project = &a_Project;
  m_Image.Clear();
  m_ObjectCache.Clear();
  m_TextCache.Clear();
  CollectSamplingEntries(a_Project);

  m_Image.Append(image::kTag, sizeof image::kTag);
  m_Image.AppendU32(image::kFormatNumber);
  m_Image.AppendU32(0);  // length
  m_Image.AppendU32(0);  // checksum
  m_Image.AppendU32(image::kDirectoryOffset);
  m_Image.ReserveSlots(image::kSectionCount);

  for (std::size_t section = 0; section < image::kSectionCount; ++section) {
    m_Image.Align();
    const std::size_t start = m_Image.Length();
    switch (section) {
      case image::kSettings:
        if (auto problem = a_Project.GetSettings().Compile(m_Image)) problems.push_back(*problem);
        break;
      case image::kPorts:
        WritePorts(a_Project);
        break;
      case image::kFrames:
        WriteFrames(a_Project);
        break;
      case image::kSamplingBuffers:
        WriteSampling();
        break;
      case image::kTransfers:
        WriteTransfers(a_Project);
        break;
      case image::kAlarms:
        a_Project.GetAlarms().Compile(*this, a_Project);
        break;
      default:  // the reserved section stays empty
        break;
    }
    if (m_Image.Length() != start) {
      m_Image.PatchU32(image::kDirectoryOffset + 4 * section, static_cast<uint32_t>(start));
    }
  }
  const auto length = static_cast<uint32_t>(m_Image.Length());
  m_Image.PatchU32(image::kLengthOffset, length);
  m_Image.PatchU32(image::kChecksumOffset, image::Checksum(m_Image.Bytes().data(), length));
  return problems;
}

void CImageCompiler::WritePorts(const CKV410Project& a_Project) {
  int count = a_Project.GetCanPort().IsEnabled() ? 1 : 0;
  for (int i = 0; i < CKV410Project::kSerialPortCount; ++i) count += a_Project.GetPort(i)->IsEnabled();
  m_Image.AppendU32(static_cast<uint32_t>(count));
  std::size_t slot = m_Image.ReserveSlots(static_cast<std::size_t>(count));
  const auto write = [&](const auto& a_Port) {
    std::vector<uint8_t> record;
    a_Port.Compile(record);
    if (record.empty()) return;
    m_Image.PatchU32(slot, static_cast<uint32_t>(m_Image.Length()));
    slot += 4;
    m_Image.AppendBytes(record);
  };
  for (int i = 0; i < CKV410Project::kSerialPortCount; ++i) write(*a_Project.GetPort(i));
  write(a_Project.GetCanPort());
}

void CImageCompiler::WriteFrames(CKV410Project& a_Project) {
  const auto& frames = a_Project.GetFrames();
  m_Image.AppendU32(static_cast<uint32_t>(frames.size()));
  const std::size_t slots = m_Image.ReserveSlots(frames.size());
  for (std::size_t i = 0; i < frames.size(); ++i) {
    m_Image.PatchU32(slots + 4 * i, static_cast<uint32_t>(m_Image.Length()));
    WriteFrame(*frames[i]);
  }
}

void CImageCompiler::WriteFrame(CHMIFrame& a_Frame) {
  const auto& elements = a_Frame.GetElements();
  m_Image.AppendU8(4);
  m_Image.AppendU8(0);
  m_Image.AppendU16(0);
  m_Image.AppendU8(0);
  m_Image.AppendU8(0);
  m_Image.AppendU8(static_cast<uint8_t>(m_DisplayWidth - 1));
  m_Image.AppendU8(static_cast<uint8_t>(m_DisplayHeight - 1));
  m_Image.AppendU16(a_Frame.GetNumber());
  m_Image.AppendU16(0);
  m_Image.AppendU16(a_Frame.GetPrevious());
  m_Image.AppendU16(a_Frame.GetNext());
  m_Image.AppendU16(0);
  m_Image.AppendU16(static_cast<uint16_t>(elements.size()));
  const std::size_t slots = m_Image.ReserveSlots(elements.size());
  for (const auto& e : elements) m_Image.AppendU16(static_cast<uint16_t>(e->GetTypeCode()));
  // Focus order: the indices of the elements that take part, by ascending order value;
  // equal values keep their list order.
  std::vector<std::size_t> focus;
  for (std::size_t i = 0; i < elements.size(); ++i) {
    if (elements[i]->GetInputOrder() != CGraphElement::kNotInFocusOrder) focus.push_back(i);
  }
  std::stable_sort(focus.begin(), focus.end(), [&](std::size_t a_A, std::size_t a_B) {
    return elements[a_A]->GetInputOrder() < elements[a_B]->GetInputOrder();
  });
  for (std::size_t index : focus) m_Image.AppendU16(static_cast<uint16_t>(index));
  m_Image.AppendU16(0xFFFF);
  for (std::size_t i = 0; i < elements.size(); ++i) {
    m_Image.Align();
    m_Image.PatchU32(slots + 4 * i, static_cast<uint32_t>(m_Image.Length()));
    m_Where = a_Frame.GetName() + " " + elements[i]->GetName();
    elements[i]->Compile(*this);
  }
  m_Where.clear();
}

void CImageCompiler::WriteSampling() {
  m_Image.AppendU32(static_cast<uint32_t>(m_Sampling.size()));
  m_Image.Align();
  const std::size_t first = m_Image.Length() + 4 * m_Sampling.size();
  for (std::size_t i = 0; i < m_Sampling.size(); ++i) {
    m_Image.AppendU32(static_cast<uint32_t>(first + image::kSamplingEntrySize * i));
  }
  for (const auto& entry : m_Sampling) m_Image.Append(entry.data(), entry.size());
}

void CImageCompiler::WriteTransfers(CKV410Project& a_Project) {
  auto& items = a_Project.GetTransfers().m_Items;
  m_Image.AppendU32(static_cast<uint32_t>(items.size()));
  const std::size_t slots = m_Image.ReserveSlots(items.size());
  for (std::size_t i = 0; i < items.size(); ++i) {
    m_Image.Align();
    m_Image.PatchU32(slots + 4 * i, static_cast<uint32_t>(m_Image.Length()));
    items[i].Compile(m_Image);
  }
}

namespace {

// Reads a BMP file for an element, telling the user what is wrong with it.
bool LoadElementBitmap(const std::string& a_Path, SingleColorBitmap& a_Bitmap) {
  switch (ReadSingleColorBmpFile(a_Path, a_Bitmap)) {
    case BmpStatus::kOk:
      return true;
    case BmpStatus::kCannotOpen:
      ReportDiagnostic("[CGraphElement::LoadSingleColorBitmap]Can not open file: " + a_Path);
      return false;
    case BmpStatus::kNotBmp:
      ReportDiagnostic("[CGraphElement::LoadSingleColorBitmap]Not bmp file: " + a_Path);
      return false;
    case BmpStatus::kNotSingleColor:
      ReportDiagnostic("[CGraphElement::LoadSingleColorBitmap]Not single color bmp file: " + a_Path);
      return false;
  }
  return false;
}

}  // namespace

uint32_t CImageCompiler::WritePixelObject(const std::string& a_Key, uint8_t a_Kind, int32_t a_Width,
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

std::string CImageCompiler::ComponentPath(const std::string& a_Name) {
  return (ProgramDirectory() / "lib" / "component" / a_Name).string();
}

uint32_t CImageCompiler::CompileBitmapFile(const std::string& a_Path) {
  const std::string key = "BITMAP_FILE_" + AsciiUpper(a_Path);
  if (const uint32_t found = m_ObjectCache.Find(key)) return found;
  SingleColorBitmap bitmap;
  if (!LoadElementBitmap(a_Path, bitmap)) return 0;
  return WritePixelObject(key, image::kBitmap, bitmap.m_Width, bitmap.m_Height, bitmap.m_Pixels);
}

uint32_t CImageCompiler::CompileBitmapFileAsChar(const std::string& a_Path) {
  const std::string key = "BITMAP_FILE_AS_CHAR" + AsciiUpper(a_Path);
  if (const uint32_t found = m_ObjectCache.Find(key)) return found;
  SingleColorBitmap bitmap;
  if (!LoadElementBitmap(a_Path, bitmap)) return 0;
  if (bitmap.m_Width > 255 || bitmap.m_Height > 255) {
    ReportDiagnostic("[CGraphElement::LoadSingleColorBitmap]Too large for a character: " + a_Path);
    return 0;
  }
  return WritePixelObject(key, image::kGlyph, bitmap.m_Width, bitmap.m_Height, bitmap.m_Pixels);
}

uint32_t CImageCompiler::CompileBitmapLibItem(int32_t a_Id) {
  const std::string key = "BITMAP_LIB_ITEM_" + std::to_string(a_Id);
  if (const uint32_t found = m_ObjectCache.Find(key)) return found;
  const CSingleColorBitmapLibItem* item =
      m_Project == nullptr ? nullptr : m_Project->GetBitmapLib().FindItem(a_Id);
  if (item == nullptr) return 0;
  return WritePixelObject(key, image::kBitmap, item->m_Width, item->m_Height, item->m_Pixels);
}

bool CImageCompiler::UsesBuiltinFont(int a_Size, int a_Mode) {
  return (a_Mode == 1 && a_Size == 8) || (a_Mode == 2 && (a_Size == 8 || a_Size == 12 || a_Size == 16));
}

namespace {

// The cache key of a text or character: the built-in font's keys carry no face.
std::string TextKey(const char* a_Builtin, const char* a_Font, const std::string& a_Text,
                    const std::string& a_Face, int a_Size, bool a_UsesBuiltin) {
  return a_UsesBuiltin ? std::string(a_Builtin) + a_Text + "_" + std::to_string(a_Size)
                       : std::string(a_Font) + a_Text + "_" + a_Face + "_" + std::to_string(a_Size);
}

std::vector<char32_t> CodePoints(const std::string& a_Text) {
  std::vector<char32_t> out;
  std::size_t pos = 0;
  while (pos < a_Text.size()) out.push_back(NextCodePoint(a_Text, pos));
  return out;
}

}  // namespace

uint32_t CImageCompiler::CompileChar(char32_t a_Character, const std::string& a_Face, int a_Size,
                                     int a_Mode) {
  const bool builtin = UsesBuiltinFont(a_Size, a_Mode);
  std::string character;
  AppendUtf8(character, a_Character);
  const std::string key =
      TextKey("VISIBLE_ASCII_CHAR_", "FONT_CHAR_", character, a_Face, a_Size, builtin);
  if (const uint32_t found = m_ObjectCache.Find(key)) return found;
  Glyph glyph;
  const bool rendered = builtin ? RenderBuiltinGlyph(a_Character, a_Size, glyph)
                                : FontRasterizer::Instance().RenderFontGlyph(a_Character, a_Face,
                                                                             a_Size, glyph);
  if (!rendered || glyph.m_Width > 255 || glyph.m_Height > 255) return 0;
  return WritePixelObject(key, image::kGlyph, glyph.m_Width, glyph.m_Height, glyph.m_Pixels);
}

uint32_t CImageCompiler::CompileCharSequence(const std::string& a_Text, const std::string& a_Face,
                                             int a_Size, int a_Mode) {
  if (a_Text.empty()) return 0;
  const bool builtin = UsesBuiltinFont(a_Size, a_Mode);
  const std::string key =
      TextKey("VISIBLE_ASCII_TEXT_", "FONT_TEXT_", a_Text, a_Face, a_Size, builtin);
  if (const uint32_t found = m_TextCache.Find(key)) return found;
  std::vector<char32_t> characters = CodePoints(a_Text);
  if (characters.size() > image::kMaxTextCharacters) {
    ReportDiagnostic("warning: " + (m_Where.empty() ? std::string("alarms") : m_Where) +
                     ": text cut to " + std::to_string(image::kMaxTextCharacters) +
                     " characters: " + a_Text);
    characters.resize(image::kMaxTextCharacters);
  }
  const auto at = static_cast<uint32_t>(m_Image.Length());
  m_Image.AppendU8(static_cast<uint8_t>(characters.size()));
  const std::size_t slots = m_Image.ReserveSlots(characters.size());
  for (std::size_t i = 0; i < characters.size(); ++i) {
    m_Image.PatchU32(slots + 4 * i, CompileChar(characters[i], a_Face, a_Size, a_Mode));
  }
  m_TextCache.Store(key, at, m_Image.Length() - at);
  return at;
}

uint32_t CImageCompiler::CompileText(const std::string& a_Text, const std::string& a_Face,
                                     int a_Size, int a_Mode) {
  if (a_Text.empty()) return 0;
  const bool builtin = UsesBuiltinFont(a_Size, a_Mode);
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
