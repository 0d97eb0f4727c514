#include "editor/screens/DynamicText.h"

KD_IMPLEMENT_SERIAL(CTextItem, nullptr, 0)
KD_IMPLEMENT_SERIAL(CDynamicText, &CGraphElement::classCGraphElement, 0)

void CTextItem::Serialize(CArchive& a_Ar) {
  uint32_t version = kCurrentVersion;
  a_Ar.Io(version);
  a_Ar.Io(m_SecondText);
  a_Ar.Io(m_Flag);
  a_Ar.Io(m_Text);
}

CDynamicText::CDynamicText() : CGraphElement(kTypeDynamicText), m_Face(DefaultTextFace()) {}

const CDynamicText::KeyOrder& CDynamicText::ArchiveKeyOrder() {
  static const KeyOrder kOrder = [] {
    KeyOrder order{};
    std::size_t n = 0;
    for (int group = 0; group < kStateCount / 16; ++group) {
      for (int key = group * 16 + 15; key >= group * 16 && key >= 1; --key) {
        order[n++] = static_cast<uint16_t>(key);
      }
    }
    order[n] = static_cast<uint16_t>(kStateCount);
    return order;
  }();
  return kOrder;
}

CTextItem* CDynamicText::GetState(int32_t a_Value) {
  if (a_Value < 1 || a_Value > kStateCount) return nullptr;
  return &m_States[static_cast<std::size_t>(a_Value - 1)];
}

const CTextItem* CDynamicText::GetState(int32_t a_Value) const {
  return const_cast<CDynamicText*>(this)->GetState(a_Value);
}

bool CDynamicText::UsesBuiltinFont() const { return ::UsesBuiltinFont(m_SizeIndex, m_BuiltinOption); }

std::unique_ptr<CGraphElement> CDynamicText::Clone() const { return CloneElement(*this); }

void CDynamicText::CopyFrom(const CGraphElement& a_Other) {
  CGraphElement::CopyFrom(a_Other);
  if (const auto* other = dynamic_cast<const CDynamicText*>(&a_Other)) {
    m_Reg.CopyFrom(other->m_Reg);
    m_Alignment = other->m_Alignment;
    m_FurtherWord = other->m_FurtherWord;
    m_States = other->m_States;
    m_SizeIndex = other->m_SizeIndex;
    m_Face = other->m_Face;
    m_BuiltinOption = other->m_BuiltinOption;
  }
}

void CDynamicText::Serialize(CArchive& a_Ar) {
  CGraphElement::Serialize(a_Ar);
  uint32_t version = kCurrentVersion;
  a_Ar.Io(version);
  a_Ar.Io(m_SizeIndex);
  a_Ar.Io(m_FurtherWord);
  a_Ar.Io(m_Face);
  if (version >= 2) {
    a_Ar.Io(m_Alignment);
  } else {
    m_Alignment = 0;
  }
  if (version >= 3) {
    a_Ar.Io(m_BuiltinOption);
  } else {
    m_BuiltinOption = 0;
  }
  for (uint16_t key : ArchiveKeyOrder()) GetState(key)->Serialize(a_Ar);
  m_Reg.Serialize(a_Ar);
}
