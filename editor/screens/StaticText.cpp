#include "editor/screens/StaticText.h"

#include "editor/screens/RecordWriter.h"
#include "editor/devices/EditorContext.h"
#include "editor/screens/TextMetrics.h"

#include "editor/fonts/FontRasterizer.h"

namespace kd820 {

KD_IMPLEMENT_SERIAL(CStaticText, &CGraphElement::classCGraphElement, 0)

bool UsesBuiltinFont(int32_t a_SizeIndex, int32_t a_BuiltinOption) {
  if (a_SizeIndex == 0) return true;
  if (a_SizeIndex == 1 || a_SizeIndex == 2) return a_BuiltinOption != 0;
  return false;
}

int32_t TextFontMode(int32_t a_SizeIndex, int32_t a_BuiltinOption) {
  return UsesBuiltinFont(a_SizeIndex, a_BuiltinOption) ? 2 : 1;
}

std::string DefaultTextFace() { return DefaultFontName(); }

CStaticText::CStaticText() : CGraphElement(kTypeStaticText), m_Face(DefaultTextFace()) {}

std::unique_ptr<CGraphElement> CStaticText::Clone() const { return CloneElement(*this); }

const CFieldTable& CStaticText::Fields() {
  using E = CStaticText;
  static const CField kFields[] = {
      Field<&E::m_Text>("text"),
      Field<&E::m_SizeIndex>("sizeIndex"),
      Field<&E::m_FurtherWord>("furtherWord").JsonAt(5),
      Field<&E::m_Face>("font"),
      Flag<&E::m_BuiltinOption>("builtinFont").Since(2),
  };
  static const CFieldTable kTable{kCurrentVersion, kFields};
  return kTable;
}

void CStaticText::CopyFrom(const CGraphElement& a_Other) {
  CGraphElement::CopyFrom(a_Other);
  CopyOwnFields(*this, a_Other);
}

void CStaticText::Serialize(CArchive& a_Ar) {
  CGraphElement::Serialize(a_Ar);
  SerializeFields(a_Ar, Fields(), this);
}

void CStaticText::Compile(CRecordWriter& a_Writer) const {
  CImageBuffer& image = a_Writer.Buffer();
  const auto slots = CompilePrefix(a_Writer, {}, 4);
  image.AppendU16(static_cast<uint16_t>(IsReverse() ? 0x1001 : 0x0001));
  image.AppendU16(0);
  const bool builtin = kd820::UsesBuiltinFont(m_SizeIndex, m_BuiltinOption);
  const std::string face = builtin ? std::string() : m_Face;
  const int mode = TextFontMode(m_SizeIndex, m_BuiltinOption);
  const std::string key = "STATIC_TEXT_" + m_Text + "_" + std::to_string(m_SizeIndex) + "_" + face;
  image.PatchU32(slots[0], a_Writer.CompileList(key, 1, [&](std::size_t) {
    return a_Writer.CompileText(m_Text, m_Face, FontPixelSize(m_SizeIndex), mode);
  }));
}

void CStaticText::UpdateSize(CEditorContext& a_Context) {
  SetHeight(FontPixelSize(m_SizeIndex));
  SetWidth(TextWidth(a_Context, m_Text, m_SizeIndex, UsesBuiltinFont(), m_Face));
}

void CStaticText::EnterText(const std::string& a_Text, CEditorContext& a_Context) {
  m_Text = FitTextToWidth(a_Context, a_Text, m_SizeIndex, UsesBuiltinFont(), m_Face,
                          a_Context.DisplayWidth());
  UpdateSize(a_Context);
}

}  // namespace kd820
