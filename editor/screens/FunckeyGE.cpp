#include "editor/screens/FunckeyGE.h"

#include <algorithm>

#include "editor/screens/RecordWriter.h"

namespace kd820 {

KD_IMPLEMENT_SERIAL(CJumpFrame, nullptr, 0)
KD_IMPLEMENT_SERIAL(CBitSet, nullptr, 0)
KD_IMPLEMENT_SERIAL(CWordSet, nullptr, 0)
KD_IMPLEMENT_SERIAL(CFunckeyGE, &CGraphElement::classCGraphElement, 0)

const CFieldTable& CJumpFrame::Fields() {
  static const CField kFields[] = {
      Field<&CJumpFrame::m_FrameNumber>("frame"),
      Enum<&CJumpFrame::m_Action>("action", kFrameActions),
  };
  static const CFieldTable kTable{kCurrentVersion, kFields};
  return kTable;
}

void CJumpFrame::Serialize(CArchive& a_Ar) { SerializeFields(a_Ar, Fields(), this); }

const CFieldTable& CBitSet::Fields() {
  static const CField kFields[] = {Enum<&CBitSet::m_Action>("action", kBitActions)};
  static const CFieldTable kTable{kCurrentVersion, kFields};
  return kTable;
}

void CBitSet::Serialize(CArchive& a_Ar) { SerializeFields(a_Ar, Fields(), this); }

const CFieldTable& CWordSet::Fields() {
  static const CField kFields[] = {
      Enum<&CWordSet::m_Action>("action", kWordActions),
      Field<&CWordSet::m_Value>("value"),
      Field<&CWordSet::m_Limit>("limit"),
      Field<&CWordSet::m_RepeatDelay>("repeatDelay"),
      Field<&CWordSet::m_RepeatPeriod>("repeatPeriod"),
      Flag<&CWordSet::m_RepeatOnPress>("repeatOnPress"),
  };
  static const CFieldTable kTable{kCurrentVersion, kFields};
  return kTable;
}

void CWordSet::Serialize(CArchive& a_Ar) { SerializeFields(a_Ar, Fields(), this); }

CFunckeyGE::CFunckeyGE() : CGraphElement(kTypeFunckey) {}

std::unique_ptr<CGraphElement> CFunckeyGE::Clone() const { return CloneElement(*this); }

const CFieldTable& CFunckeyGE::Fields() {
  using E = CFunckeyGE;
  // All three actions are stored whichever class the key uses.
  static const CField kFields[] = {
      Field<&E::m_FurtherWord1>("furtherWord1").JsonAt(5),
      Field<&E::m_FurtherWord2>("furtherWord2").JsonAt(6),
      Field<&E::m_KeyNumber>("key").JsonAt(0),
      Enum<&E::m_ActionClass>("actionClass", kActionClasses).JsonAt(1),
      Field<&E::m_FurtherWord3>("furtherWord3").JsonAt(7),
      Field<&E::m_Grade>("grade").JsonAt(2),
      Field<&E::m_FurtherWord4>("furtherWord4").JsonAt(8),
      Flag<&E::m_Exclude>("exclude").JsonAt(3),
      Flag<&E::m_RestoreLevel>("restoreLevel").Since(2).JsonAt(4),
      Field<&E::m_Reg>("register").JsonAt(9),
      Group<&E::m_JumpFrame>("frameAction", CJumpFrame::Fields()).JsonAt(10),
      Group<&E::m_BitSet>("bitAction", CBitSet::Fields()).JsonAt(11),
      Group<&E::m_WordSet>("wordAction", CWordSet::Fields()).JsonAt(12),
  };
  static const CFieldTable kTable{kCurrentVersion, kFields};
  return kTable;
}

void CFunckeyGE::CopyFrom(const CGraphElement& a_Other) {
  CGraphElement::CopyFrom(a_Other);
  CopyOwnFields(*this, a_Other);
}

uint32_t CFunckeyGE::GetInputOrder() const {
  if (m_KeyNumber == 0 || m_Exclude != 0) return kNotInFocusOrder;
  const uint32_t order = CGraphElement::GetInputOrder();
  return order == kNotInFocusOrder ? 1 : order;
}

void CFunckeyGE::Serialize(CArchive& a_Ar) {
  CGraphElement::Serialize(a_Ar);
  SerializeFields(a_Ar, Fields(), this);
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
