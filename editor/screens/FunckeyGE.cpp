#include "editor/screens/FunckeyGE.h"

#include <algorithm>

#include "editor/screens/RecordWriter.h"

namespace kd820 {

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

namespace {

// Action code and length in words of the action record.
std::pair<uint32_t, uint32_t> ActionCodeAndLength(const CFunckeyGE& a_Key) {
  switch (a_Key.m_ActionClass) {
    case CFunckeyGE::kBitAction:
      return {16u + static_cast<uint32_t>(a_Key.m_BitSet.m_Action & 7), 1};
    case CFunckeyGE::kWordAction: {
      const auto action = static_cast<uint32_t>(std::clamp(a_Key.m_WordSet.m_Action, 0, 8));
      const uint32_t code = 32 + action;
      if (code == 33 || code == 34) return {code, 3};
      if (code == 35 || code == 36 || code == 39 || code == 40) return {code, 5};
      return {code, 2};
    }
    default: {
      const auto action = static_cast<uint32_t>(std::clamp(a_Key.m_JumpFrame.m_Action, 0, 3));
      return {action, action == CJumpFrame::kJump ? 2u : 1u};
    }
  }
}

}  // namespace

std::pair<std::string, std::string> CFunckeyGE::ImageFileNames() const {
  // Released (or, out of the focus order, dimmed) and pressed key caps of the element's size.
  const std::string size = GetHeight() >= 16 ? "2" : "1";
  const std::string key = std::to_string(m_KeyNumber);
  return {"FUNCKEY" + key + "_" + (m_Exclude != 0 ? "2" : "0") + "_" + size + ".dat",
          "FUNCKEY" + key + "_1_" + size + ".dat"};
}

void CFunckeyGE::Compile(CRecordWriter& a_Writer) const {
  CImageBuffer& image = a_Writer.Buffer();
  const bool stepMode = m_KeyNumber == kStepModeKey;
  const bool usesRegister = !stepMode && (m_ActionClass == kBitAction || m_ActionClass == kWordAction);
  const bool hasImage = m_KeyNumber != 0 && !stepMode;
  std::vector<std::pair<int, const CAddr*>> registers;
  if (usesRegister) registers.push_back({1, &m_Reg});  // written by the key, not read ahead
  const auto slots = CompilePrefix(a_Writer, registers, hasImage ? 4u : 0u);

  if (stepMode) {
    image.AppendU32(0xF001);
  } else {
    const auto [code, length] = ActionCodeAndLength(*this);
    uint32_t word = length | (code << 8) | ((static_cast<uint32_t>(m_KeyNumber) & 0x3F) << 16);
    if (IsReverse()) word |= 1u << 22;
    if (m_WordSet.m_RepeatOnPress != 0) word |= 1u << 23;
    if (m_RestoreLevel != 0) word |= 1u << 24;
    const uint32_t p1 = m_ActionClass == kWordAction  ? static_cast<uint32_t>(m_WordSet.m_Value)
                        : m_ActionClass == kBitAction ? 0u
                                                      : m_JumpFrame.m_FrameNumber;
    const uint32_t words[5] = {word, p1, static_cast<uint32_t>(m_WordSet.m_Limit),
                               static_cast<uint32_t>(m_WordSet.m_RepeatDelay),
                               static_cast<uint32_t>(m_WordSet.m_RepeatPeriod)};
    for (uint32_t i = 0; i < length; ++i) image.AppendU32(words[i]);
  }
  image.AppendU32(1 + static_cast<uint32_t>(m_Grade) * 1024);
  if (!hasImage) return;
  // Named references: clang 14 cannot capture structured bindings in a lambda.
  const auto names = ImageFileNames();
  const std::string& first = names.first;
  const std::string& second = names.second;
  const uint32_t list =
      a_Writer.CompileList("FUNC_KEY_IMAGE_FILE_" + first + "_" + second, 2, [&](std::size_t a_I) {
        return a_Writer.CompileBitmapFileAsChar(
            ComponentPath("funckey/" + (a_I == 0 ? first : second)));
      });
  image.PatchU32(slots[0], list);
}

}  // namespace kd820
