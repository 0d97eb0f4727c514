#include "editor/screens/RegisterGE.h"

#include "editor/screens/RecordWriter.h"
#include "editor/screens/StaticText.h"
#include "editor/screens/TextMetrics.h"

namespace kd820 {

KD_IMPLEMENT_SERIAL(CRegisterGE, &CGraphElement::classCGraphElement, 0)

CRegisterGE::CRegisterGE() : CGraphElement(kTypeRegister) {}

std::unique_ptr<CGraphElement> CRegisterGE::Clone() const { return CloneElement(*this); }

const CFieldTable& CRegisterGE::Fields() {
  using E = CRegisterGE;
  static const CField kFields[] = {
      Enum<&E::m_Type>("dataType", kDataTypes),
      Field<&E::m_ShowBits>("digits"),
      Field<&E::m_FloatBits>("decimals"),
      Field<&E::m_RegWidth>("regWidth"),
      Flag<&E::m_FillZero>("fillZero"),
      Field<&E::m_SizeIndex>("sizeIndex"),
      Flag<&E::m_Setting>("input"),
      Field<&E::m_Grade>("grade"),
      Flag<&E::m_Limit>("limit"),
      Field<&E::m_InputUpper>("inputUpper"),
      Field<&E::m_InputLower>("inputLower"),
      Flag<&E::m_Projection>("projection"),
      Field<&E::m_PrjUpper>("projectionUpper"),
      Field<&E::m_PrjLower>("projectionLower"),
      Field<&E::m_Alignment>("alignment").Since(2, 1),
      Flag<&E::m_RestoreLevel>("restoreLevel").Since(3),
      Field<&E::m_Reg>("register").JsonAt(-1),
  };
  // This class writes its version word as a signed number.
  static const CFieldTable kTable{kCurrentVersion, kFields, true};
  return kTable;
}

void CRegisterGE::CopyFrom(const CGraphElement& a_Other) {
  CGraphElement::CopyFrom(a_Other);
  CopyOwnFields(*this, a_Other);
}

uint32_t CRegisterGE::GetInputOrder() const {
  if (m_Setting == 0) return kNotInFocusOrder;
  const uint32_t order = CGraphElement::GetInputOrder();
  return order == kNotInFocusOrder ? 1 : order;
}

void CRegisterGE::Serialize(CArchive& a_Ar) {
  CGraphElement::Serialize(a_Ar);
  SerializeFields(a_Ar, Fields(), this);
}

uint32_t CRegisterGE::OptionWord() const {
  const bool limits = m_Limit != 0, projection = m_Projection != 0;
  uint32_t word = 1 + (projection ? 2u : 0u) + (limits ? 2u : 0u);
  word |= static_cast<uint32_t>((m_Type == 5 ? 1 : m_Type) & 0xF) << 8;
  if (projection) word |= 1u << 12;
  if (m_Type == 5) word |= 1u << 13;
  if (m_Setting != 0) word |= 1u << 14;
  if (IsReverse()) word |= 1u << 15;
  if (m_FillZero != 0) word |= 1u << 16;
  if (limits) word |= 1u << 17;
  if (m_RegWidth == 1) word |= 1u << 18;
  if (m_Alignment == 2) word |= 1u << 19;
  if (m_Alignment == 1) word |= 1u << 20;
  if (m_RestoreLevel != 0) word |= 1u << 21;
  word |= (CharacterCells() % 16) << 24;
  word |= static_cast<uint32_t>(m_FloatBits & 0xF) << 28;
  return word;
}

const char* CRegisterGE::GlyphSetText() const {
  if (m_Type == 1 || m_Type == 5) return "*.0123456789";
  if (m_Type == 2) return "*0123456789ABCDEF";
  return "*-.0123456789";
}

void CRegisterGE::Compile(CRecordWriter& a_Writer) const {
  CImageBuffer& image = a_Writer.Buffer();
  const auto slots = CompilePrefix(a_Writer, {{0, &m_Reg}}, 4);
  image.AppendU32(OptionWord());
  if (m_Limit != 0) {
    CompileLimit(image, m_InputUpper, m_Type);
    CompileLimit(image, m_InputLower, m_Type);
  }
  if (m_Projection != 0) {
    CompileLimit(image, m_PrjUpper, m_Type);
    CompileLimit(image, m_PrjLower, m_Type);
  }
  image.AppendU32(1 + static_cast<uint32_t>(m_Grade) * 1024);
  // Sizes up to 16 pixels use the built-in font, larger ones the face "宋体".
  const std::string face = m_SizeIndex <= 2 ? std::string() : std::string("宋体");
  const std::string glyphs = GlyphSetText();
  const std::string key = "REGISTER_TEXT_" + glyphs + "_" + std::to_string(m_SizeIndex) + "_" + face;
  if (!a_Writer.TextCache().Contains(key)) image.Align();
  image.PatchU32(slots[0], a_Writer.CompileList(key, 1, [&](std::size_t) {
    return a_Writer.CompileText(glyphs, "宋体", FontPixelSize(m_SizeIndex), 2);
  }));
}

uint32_t CRegisterGE::CharacterCells() const {
  const bool signedType = m_Type == 0 || m_Type == 3 || m_Type == 4;
  return m_ShowBits + m_FloatBits + (m_FloatBits > 0 ? 1u : 0u) + (signedType ? 1u : 0u) +
         (m_ShowBits == 0 ? 1u : 0u);
}

void CRegisterGE::UpdateSize(CEditorContext& a_Context) {
  // Sizes up to 16 pixels use the built-in font, larger ones the face "宋体".
  const std::string sample(CharacterCells(), '0');
  SetWidth(TextWidth(a_Context, sample, m_SizeIndex, m_SizeIndex <= 2, "宋体"));
  SetHeight(FontPixelSize(m_SizeIndex));
}

}  // namespace kd820
