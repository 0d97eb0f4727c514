#include "editor/screens/AsciiGE.h"

#include "editor/project/KV410Project.h"

KD_IMPLEMENT_SERIAL(CAsciiGE, &CGraphElement::classCGraphElement, 0)

CAsciiGE::CAsciiGE() : CGraphElement(kTypeAscii), m_Face(DefaultTextFace()) {
  for (char c = 32; c <= 126; ++c) m_GlyphText.push_back(c);
}

std::unique_ptr<CGraphElement> CAsciiGE::Clone() const { return CloneElement(*this); }

void CAsciiGE::CopyFrom(const CGraphElement& a_Other) {
  CGraphElement::CopyFrom(a_Other);
  if (const auto* other = dynamic_cast<const CAsciiGE*>(&a_Other)) {
    m_Reg.CopyFrom(other->m_Reg);
    m_CharCount = other->m_CharCount;
    m_SizeIndex = other->m_SizeIndex;
    m_Face = other->m_Face;
    m_BuiltinOption = other->m_BuiltinOption;
  }
}

void CAsciiGE::Serialize(CArchive& a_Ar) {
  CGraphElement::Serialize(a_Ar);
  uint32_t version = kCurrentVersion;
  a_Ar.Io(version);
  a_Ar.Io(m_CharCount);
  a_Ar.Io(m_SizeIndex);
  m_Reg.Serialize(a_Ar);
  if (a_Ar.IsLoading()) {
    m_Face = a_Ar.GetProject() != nullptr ? DefaultTextFace(a_Ar.GetProject()) : DefaultTextFace();
    m_BuiltinOption = 0;
  }
}
