#pragma once
// The project's alarm definitions with the font and frame used to show them.
#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "editor/devices/Addr.h"
#include "editor/base/Archive.h"
#include "editor/base/FieldTable.h"

namespace kd820 {

class CEditorContext;
class CKV410Project;
class CRecordWriter;

struct CAlarmItem {
  static constexpr int32_t kCurrentVersion = 1;
  // flags bits
  static constexpr uint32_t kValueAlarm = 1u << 0;
  static constexpr uint32_t kCompareMask = 7u << 1;
  static constexpr uint32_t kFiresOnOne = 1u << 4;
  static constexpr uint32_t kBuzzer = 1u << 5;

  void Serialize(CArchive& a_Ar);
  static const CFieldTable& Fields();
  // Equal compiled registers and equal settings and text.
  bool SameAs(const CAlarmItem& a_Other, const CEditorContext& a_Context) const;

  uint32_t m_Flags = 0;
  int32_t m_Value = 0;
  int32_t m_RangeUsed = 0;  // boolean
  int32_t m_RangeA = 0;     // upper limit
  int32_t m_RangeB = 0;     // lower limit
  int32_t m_BuzzerSeconds = 0;
  CAddr m_Register{CAddr::kBit};
  std::string m_Text;
};

class CAlarmSettings {
 public:
  static constexpr int32_t kCurrentVersion = 3;

  CAlarmSettings();

  void Serialize(CArchive& a_Ar);
  // The alarm list is a custom part (a counted list of items, checked against the archive
  // length); the reserved switch always loads as 1.
  static const CFieldTable& Fields();
  // Appends the alarm table. An alarm frame that no longer exists is compiled as the first
  // frame of the project (0 without frames).
  void Compile(CRecordWriter& a_Writer, const CKV410Project& a_Project) const;
  // Appends the item unless an equal one is already in the list.
  bool AddAlarm(const CAlarmItem& a_Item, const CEditorContext& a_Context);
  void SwapPorts(int32_t a_A, int32_t a_B);
  void ResetChangedPorts(const std::array<bool, 4>& a_Changed);

  std::vector<CAlarmItem> m_Alarms;
  int32_t m_FontSizeIndex = 1;
  int32_t m_TextOption = 0;
  std::string m_FontName;
  int32_t m_AlarmFrame = 1;
  int32_t m_AlarmFrameOption = 1;
  int32_t m_ReservedSwitch = 1;
};

}  // namespace kd820
