#include "editor/screens/LedGE.h"

KD_IMPLEMENT_SERIAL(CLedGE, &CGraphElement::classCGraphElement, 0)

CLedGE::CLedGE() : CGraphElement(kTypeLed) {}

std::unique_ptr<CGraphElement> CLedGE::Clone() const { return CloneElement(*this); }

void CLedGE::CopyFrom(const CGraphElement& a_Other) {
  CGraphElement::CopyFrom(a_Other);
  if (const auto* other = dynamic_cast<const CLedGE*>(&a_Other)) {
    m_Reg.CopyFrom(other->m_Reg);
    m_Shape = other->m_Shape;
    m_Size = other->m_Size;
    m_Invert = other->m_Invert;
    m_Blink = other->m_Blink;
    m_BlinkWhileOn = other->m_BlinkWhileOn;
    m_BlinkPeriod = other->m_BlinkPeriod;
  }
}

void CLedGE::Serialize(CArchive& a_Ar) {
  CGraphElement::Serialize(a_Ar);
  uint32_t version = kCurrentVersion;
  a_Ar.Io(version);
  a_Ar.Io(m_Shape);
  a_Ar.Io(m_Size);
  a_Ar.Io(m_Invert);
  a_Ar.Io(m_Blink);
  a_Ar.Io(m_BlinkWhileOn);
  a_Ar.Io(m_BlinkPeriod);
  m_Reg.Serialize(a_Ar);
}
