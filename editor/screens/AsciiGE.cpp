#include "editor/screens/AsciiGE.h"

#include <algorithm>

#include "editor/screens/RecordWriter.h"
#include "editor/screens/TextMetrics.h"

namespace kd820 {

KD_IMPLEMENT_SERIAL(CAsciiGE, &CGraphElement::classCGraphElement, 0)

CAsciiGE::CAsciiGE() : CGraphElement(kTypeAscii), m_Face(DefaultTextFace()) {
  for (char c = 32; c <= 126; ++c) m_GlyphText.push_back(c);
}

std::unique_ptr<CGraphElement> CAsciiGE::Clone() const { return CloneElement(*this); }

const CFieldTable& CAsciiGE::Fields() {
  using E = CAsciiGE;
  static const CField kFields[] = {
      Field<&E::m_CharCount>("charCount"),
      Field<&E::m_SizeIndex>("sizeIndex"),
      Field<&E::m_Reg>("register").JsonAt(-1),
      Field<&E::m_Face>(nullptr).CopyOnly(),
      Field<&E::m_BuiltinOption>(nullptr).CopyOnly(),
  };
  static const CFieldTable kTable{kCurrentVersion, kFields};
  return kTable;
}

void CAsciiGE::CopyFrom(const CGraphElement& a_Other) {
  CGraphElement::CopyFrom(a_Other);
  CopyOwnFields(*this, a_Other);
}

void CAsciiGE::Serialize(CArchive& a_Ar) {
  CGraphElement::Serialize(a_Ar);
  SerializeFields(a_Ar, Fields(), this);
  if (a_Ar.IsLoading()) {
    m_Face = DefaultTextFace();
    m_BuiltinOption = 0;
  }
}

void CAsciiGE::Compile(CRecordWriter& a_Writer) const {
  CImageBuffer& image = a_Writer.Buffer();
  const auto slots = CompilePrefix(a_Writer, {{0, &m_Reg}}, 4);
  image.AppendU16(static_cast<uint16_t>(IsReverse() ? 0x1001 : 0x0001));
  image.AppendU8(static_cast<uint8_t>(m_CharCount));
  image.AppendU8(0);
  // Every printable character, so that the panel can show whatever the registers hold.
  const bool builtin = UsesBuiltinFont();
  const std::string key = "ASCII_TEXT_" + m_GlyphText + "_" + std::to_string(m_SizeIndex) + "_" +
                          (builtin ? std::string() : std::string("宋体"));
  image.PatchU32(slots[0], a_Writer.CompileList(key, 1, [&](std::size_t) {
    return a_Writer.CompileText(m_GlyphText, "宋体", FontPixelSize(m_SizeIndex),
                                  TextFontMode(m_SizeIndex, m_BuiltinOption));
  }));
}

void CAsciiGE::UpdateSize(CEditorContext& a_Context) {
  const std::string sample(static_cast<std::size_t>(std::max(m_CharCount, 0)), '0');
  SetWidth(TextWidth(a_Context, sample, m_SizeIndex, UsesBuiltinFont(), m_Face));
  SetHeight(FontPixelSize(m_SizeIndex));
}

}  // namespace kd820
