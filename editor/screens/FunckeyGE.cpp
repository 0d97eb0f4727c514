#include "editor/screens/FunckeyGE.h"

KD_IMPLEMENT_SERIAL(CJumpFrame, nullptr, 0)
KD_IMPLEMENT_SERIAL(CBitSet, nullptr, 0)
KD_IMPLEMENT_SERIAL(CWordSet, nullptr, 0)
KD_IMPLEMENT_SERIAL(CFunckeyGE, &CGraphElement::classCGraphElement, 0)

void CJumpFrame::Serialize(CArchive& a_Ar) {
  uint32_t version = kCurrentVersion;
  a_Ar.Io(version);
  a_Ar.Io(m_FrameNumber);
  a_Ar.Io(m_Action);
}

void CBitSet::Serialize(CArchive& a_Ar) {
  uint32_t version = kCurrentVersion;
  a_Ar.Io(version);
  a_Ar.Io(m_Action);
}

void CWordSet::Serialize(CArchive& a_Ar) {
  uint32_t version = kCurrentVersion;
  a_Ar.Io(version);
  a_Ar.Io(m_Action);
  a_Ar.Io(m_Value);
  a_Ar.Io(m_Limit);
  a_Ar.Io(m_RepeatDelay);
  a_Ar.Io(m_RepeatPeriod);
  a_Ar.Io(m_RepeatOnPress);
}

CFunckeyGE::CFunckeyGE() : CGraphElement(kTypeFunckey) {}

std::unique_ptr<CGraphElement> CFunckeyGE::Clone() const { return CloneElement(*this); }

void CFunckeyGE::CopyFrom(const CGraphElement& a_Other) {
  CGraphElement::CopyFrom(a_Other);
  if (const auto* other = dynamic_cast<const CFunckeyGE*>(&a_Other)) {
    m_KeyNumber = other->m_KeyNumber;
    m_ActionClass = other->m_ActionClass;
    m_Grade = other->m_Grade;
    m_Exclude = other->m_Exclude;
    m_RestoreLevel = other->m_RestoreLevel;
    m_FurtherWord1 = other->m_FurtherWord1;
    m_FurtherWord2 = other->m_FurtherWord2;
    m_FurtherWord3 = other->m_FurtherWord3;
    m_FurtherWord4 = other->m_FurtherWord4;
    m_Reg.CopyFrom(other->m_Reg);
    m_JumpFrame = other->m_JumpFrame;
    m_BitSet = other->m_BitSet;
    m_WordSet = other->m_WordSet;
  }
}

uint32_t CFunckeyGE::GetInputOrder() const {
  if (m_KeyNumber == 0 || m_Exclude != 0) return kNotInFocusOrder;
  const uint32_t order = CGraphElement::GetInputOrder();
  return order == kNotInFocusOrder ? 1 : order;
}

void CFunckeyGE::Serialize(CArchive& a_Ar) {
  CGraphElement::Serialize(a_Ar);
  uint32_t version = kCurrentVersion;
  a_Ar.Io(version);
  a_Ar.Io(m_FurtherWord1);
  a_Ar.Io(m_FurtherWord2);
  a_Ar.Io(m_KeyNumber);
  a_Ar.Io(m_ActionClass);
  a_Ar.Io(m_FurtherWord3);
  a_Ar.Io(m_Grade);
  a_Ar.Io(m_FurtherWord4);
  a_Ar.Io(m_Exclude);
  if (version >= 2) {
    a_Ar.Io(m_RestoreLevel);
  } else {
    m_RestoreLevel = 0;
  }
  m_Reg.Serialize(a_Ar);
  m_JumpFrame.Serialize(a_Ar);
  m_BitSet.Serialize(a_Ar);
  m_WordSet.Serialize(a_Ar);
}
