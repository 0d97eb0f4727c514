#include "editor/screens/RegisterGE.h"

#include "editor/screens/RecordWriter.h"
#include "editor/screens/StaticText.h"
#include "editor/screens/TextMetrics.h"

namespace kd820 {

KD_IMPLEMENT_SERIAL(CRegisterGE, &CGraphElement::classCGraphElement, 0)

CRegisterGE::CRegisterGE() : CGraphElement(kTypeRegister) {}

std::unique_ptr<CGraphElement> CRegisterGE::Clone() const { return CloneElement(*this); }

void CRegisterGE::CopyFrom(const CGraphElement& a_Other) {
  CGraphElement::CopyFrom(a_Other);
  if (const auto* other = dynamic_cast<const CRegisterGE*>(&a_Other)) {
    m_Reg.CopyFrom(other->m_Reg);
    m_Type = other->m_Type;
    m_ShowBits = other->m_ShowBits;
    m_FloatBits = other->m_FloatBits;
    m_RegWidth = other->m_RegWidth;
    m_FillZero = other->m_FillZero;
    m_SizeIndex = other->m_SizeIndex;
    m_Setting = other->m_Setting;
    m_Grade = other->m_Grade;
    m_Limit = other->m_Limit;
    m_InputUpper = other->m_InputUpper;
    m_InputLower = other->m_InputLower;
    m_Projection = other->m_Projection;
    m_PrjUpper = other->m_PrjUpper;
    m_PrjLower = other->m_PrjLower;
    m_Alignment = other->m_Alignment;
    m_RestoreLevel = other->m_RestoreLevel;
  }
}

uint32_t CRegisterGE::GetInputOrder() const {
  if (m_Setting == 0) return kNotInFocusOrder;
  const uint32_t order = CGraphElement::GetInputOrder();
  return order == kNotInFocusOrder ? 1 : order;
}

void CRegisterGE::Serialize(CArchive& a_Ar) {
  CGraphElement::Serialize(a_Ar);
  int32_t version = kCurrentVersion;
  a_Ar.Io(version);
  a_Ar.Io(m_Type);
  a_Ar.Io(m_ShowBits);
  a_Ar.Io(m_FloatBits);
  a_Ar.Io(m_RegWidth);
  a_Ar.Io(m_FillZero);
  a_Ar.Io(m_SizeIndex);
  a_Ar.Io(m_Setting);
  a_Ar.Io(m_Grade);
  a_Ar.Io(m_Limit);
  a_Ar.Io(m_InputUpper);
  a_Ar.Io(m_InputLower);
  a_Ar.Io(m_Projection);
  a_Ar.Io(m_PrjUpper);
  a_Ar.Io(m_PrjLower);
  if (version >= 2) {
    a_Ar.Io(m_Alignment);
  } else {
    m_Alignment = 1;
  }
  if (version >= 3) {
    a_Ar.Io(m_RestoreLevel);
  } else {
    m_RestoreLevel = 0;
  }
  m_Reg.Serialize(a_Ar);
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
