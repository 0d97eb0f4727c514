#include "editor/screens/RegisterGE.h"

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
