#include "editor/screens/EventListGE.h"

KD_IMPLEMENT_SERIAL(CEventListGE, &CGraphElement::classCGraphElement, 0)

CEventListGE::CEventListGE() : CGraphElement(kTypeEventList) {}

std::unique_ptr<CGraphElement> CEventListGE::Clone() const { return CloneElement(*this); }

void CEventListGE::CopyFrom(const CGraphElement& a_Other) {
  CGraphElement::CopyFrom(a_Other);
  if (const auto* other = dynamic_cast<const CEventListGE*>(&a_Other)) {
    m_ShowNumber = other->m_ShowNumber;
    m_ShowDate = other->m_ShowDate;
    m_DateStyle = other->m_DateStyle;
    m_DateSeparator = other->m_DateSeparator;
    m_FourDigitYear = other->m_FourDigitYear;
    m_NoLeadingZero = other->m_NoLeadingZero;
    m_ShowTime = other->m_ShowTime;
    m_TimeStyle = other->m_TimeStyle;
    m_FurtherFlag1 = other->m_FurtherFlag1;
    m_FurtherFlag2 = other->m_FurtherFlag2;
    m_ByteValue = other->m_ByteValue;
    m_WordValue = other->m_WordValue;
  }
}

void CEventListGE::Serialize(CArchive& a_Ar) {
  CGraphElement::Serialize(a_Ar);
  uint32_t version = kCurrentVersion;
  a_Ar.Io(version);
  a_Ar.Io(m_ShowNumber);
  a_Ar.Io(m_ShowDate);
  a_Ar.Io(m_DateStyle);
  a_Ar.Io(m_DateSeparator);
  a_Ar.Io(m_FourDigitYear);
  a_Ar.Io(m_NoLeadingZero);
  a_Ar.Io(m_ShowTime);
  a_Ar.Io(m_TimeStyle);
  if (version >= 2) {
    a_Ar.Io(m_FurtherFlag1);
    a_Ar.Io(m_FurtherFlag2);
    a_Ar.Io(m_ByteValue);
    a_Ar.Io(m_WordValue);
  } else {
    m_FurtherFlag1 = 0;
    m_FurtherFlag2 = 0;
    m_ByteValue = 0;
    m_WordValue = 0;
  }
}
