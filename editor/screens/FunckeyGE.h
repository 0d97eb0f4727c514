#pragma once
// The function-key element: binds a panel key, while its frame is shown, to a frame, bit or
// word action.
#include <cstdint>
#include <string>
#include <utility>
#include <functional>
#include <memory>

#include "editor/devices/Addr.h"
#include "editor/screens/GraphElement.h"

namespace kd820 {

// Frame action: 0 jump to the target frame, 1 back to the previous frame, 2 password frame,
// 3 alarm frame.
class CJumpFrame : public CObject {
  KD_DECLARE_SERIAL(CJumpFrame)

 public:
  static constexpr uint32_t kCurrentVersion = 1;
  enum Action : int32_t { kJump = 0, kBack = 1, kPassword = 2, kAlarm = 3 };

  void Serialize(CArchive& a_Ar) override;
  static const CFieldTable& Fields();
  bool operator==(const CJumpFrame& a_Other) const {
    return m_FrameNumber == a_Other.m_FrameNumber && m_Action == a_Other.m_Action;
  }

  uint16_t m_FrameNumber = 1;
  int32_t m_Action = kJump;
};

// Bit action 0 to 7: set, reset, toggle, momentary, set on entering the frame, set on
// leaving, reset on entering, reset on leaving.
class CBitSet : public CObject {
  KD_DECLARE_SERIAL(CBitSet)

 public:
  static constexpr uint32_t kCurrentVersion = 1;

  void Serialize(CArchive& a_Ar) override;
  static const CFieldTable& Fields();
  bool operator==(const CBitSet& a_Other) const { return m_Action == a_Other.m_Action; }

  int32_t m_Action = 0;
};

// Word action 0 to 8: write the constant, add up to the limit, subtract down to the limit,
// repeated add, repeated subtract, write on entering the frame, write on leaving, add
// wrapping to 0 above the limit, repeated wrapping add.
class CWordSet : public CObject {
  KD_DECLARE_SERIAL(CWordSet)

 public:
  static constexpr uint32_t kCurrentVersion = 1;

  void Serialize(CArchive& a_Ar) override;
  static const CFieldTable& Fields();
  bool operator==(const CWordSet& a_Other) const {
    return m_Action == a_Other.m_Action && m_Value == a_Other.m_Value &&
           m_Limit == a_Other.m_Limit && m_RepeatDelay == a_Other.m_RepeatDelay &&
           m_RepeatPeriod == a_Other.m_RepeatPeriod && m_RepeatOnPress == a_Other.m_RepeatOnPress;
  }

  int32_t m_Action = 0;
  int32_t m_Value = 0;
  int32_t m_Limit = 0;
  // A held key first repeats after half a second, then every 0.2 s (ticks of 100 ms).
  int32_t m_RepeatDelay = 5;
  int32_t m_RepeatPeriod = 2;
  int32_t m_RepeatOnPress = 0;  // boolean, kept as stored
};

class CFunckeyGE : public CGraphElement {
  KD_DECLARE_SERIAL(CFunckeyGE)

 public:
  static constexpr uint32_t kCurrentVersion = 2;
  static constexpr int32_t kStepModeKey = 30;
  // Key numbers are 0 to 63: bits 16 to 21 of the action word.
  static constexpr int32_t kMaxKeyNumber = 63;
  enum ActionClass : int32_t { kFrameAction = 0, kBitAction = 1, kWordAction = 2 };

  CFunckeyGE();

  std::unique_ptr<CGraphElement> Clone() const override;
  void CopyFrom(const CGraphElement& a_Other) override;
  void Compile(CRecordWriter& a_Writer) const override;
  // The component images of the key: released (dimmed when out of the focus order) and
  // pressed, of the size that fits the element's height.
  std::pair<std::string, std::string> ImageFileNames() const;
  void Serialize(CArchive& a_Ar) override;
  static const CFieldTable& Fields();
  void VisitAddresses(const std::function<void(CAddr&)>& a_Visit) override { a_Visit(m_Reg); }

  // Not in the focus order without a key (number 0) or while excluded; otherwise the stored
  // order, where no order of its own counts as 1.
  uint32_t GetInputOrder() const override;

  int32_t m_KeyNumber = 0;  // 0 to 63; a new key is bound to none until one is chosen
  int32_t m_ActionClass = kFrameAction;
  int32_t m_Grade = 0;          // user level required
  int32_t m_Exclude = 0;        // boolean: out of the focus order, image drawn in state 2
  int32_t m_RestoreLevel = 0;   // boolean
  // Stored and copied unchanged.
  int32_t m_FurtherWord1 = 0;
  int32_t m_FurtherWord2 = 5;
  int32_t m_FurtherWord3 = 2;
  int32_t m_FurtherWord4 = 0;

  CAddr m_Reg;  // the bit or word of a bit or word action
  CJumpFrame m_JumpFrame;
  CBitSet m_BitSet;
  CWordSet m_WordSet;
};

}  // namespace kd820
