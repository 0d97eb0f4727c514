#include "editor/project/AlarmSettings.h"

#include <string>

#include "editor/devices/EditorContext.h"
#include "editor/screens/RecordWriter.h"
#include "editor/project/KV410Project.h"
#include "editor/project/LangDefine.h"
#include "editor/screens/StaticText.h"

namespace kd820 {

namespace {

// Smallest stored alarm item: version, six integers and an empty text; the register follows.
constexpr std::size_t kMinStoredItemBytes = 7 * 4 + 4;

}  // namespace

const CFieldTable& CAlarmItem::Fields() {
  static const CField kFields[] = {
      Field<&CAlarmItem::m_Flags>("flags"),
      Field<&CAlarmItem::m_Value>("value"),
      Flag<&CAlarmItem::m_RangeUsed>("rangeUsed"),
      Field<&CAlarmItem::m_RangeA>("rangeUpper"),
      Field<&CAlarmItem::m_RangeB>("rangeLower"),
      Field<&CAlarmItem::m_BuzzerSeconds>("buzzerSeconds"),
      Field<&CAlarmItem::m_Text>("text").JsonAt(7),
      Field<&CAlarmItem::m_Register>("register").JsonAt(6),
  };
  static const CFieldTable kTable{kCurrentVersion, kFields, true};
  return kTable;
}

void CAlarmItem::Serialize(CArchive& a_Ar) { SerializeFields(a_Ar, Fields(), this); }

bool CAlarmItem::SameAs(const CAlarmItem& a_Other, const CEditorContext& a_Context) const {
  return m_Register.Descriptor(a_Context) == a_Other.m_Register.Descriptor(a_Context) && m_Flags == a_Other.m_Flags &&
         m_Value == a_Other.m_Value && m_RangeUsed == a_Other.m_RangeUsed &&
         m_RangeA == a_Other.m_RangeA && m_RangeB == a_Other.m_RangeB &&
         m_BuzzerSeconds == a_Other.m_BuzzerSeconds && m_Text == a_Other.m_Text;
}

CAlarmSettings::CAlarmSettings() : m_FontName(DefaultFontName()) {}

const CFieldTable& CAlarmSettings::Fields() {
  using A = CAlarmSettings;
  static const CField kFields[] = {
      Custom("items",
             [](CArchive& a_Ar, void* a_Alarms) {
               a_Ar.IoCountedItems(static_cast<A*>(a_Alarms)->m_Alarms, kMinStoredItemBytes, "alarm");
             },
             [](void* a_Alarms, const void* a_From) {
               static_cast<A*>(a_Alarms)->m_Alarms = static_cast<const A*>(a_From)->m_Alarms;
             })
          .JsonAt(7),
      Field<&A::m_FontSizeIndex>("fontSizeIndex").Since(2, 1),
      Field<&A::m_TextOption>("textOption").Since(2),
      Field<&A::m_FontName>("font").Since(2).JsonAt(0),
      Field<&A::m_AlarmFrame>("frame").Since(2, 1),
      Flag<&A::m_AlarmFrameOption>("frameOption").Since(2, 1),
      Field<&A::m_ReservedSwitch>("reservedSwitch").Since(3, 1),
  };
  static const CFieldTable kTable{kCurrentVersion, kFields, true};
  return kTable;
}

void CAlarmSettings::Serialize(CArchive& a_Ar) {
  const uint32_t version = SerializeFields(a_Ar, Fields(), this);
  if (a_Ar.IsLoading() && static_cast<int32_t>(version) < 2) m_FontName = DefaultFontName();
  if (a_Ar.IsLoading()) m_ReservedSwitch = 1;
}

bool CAlarmSettings::AddAlarm(const CAlarmItem& a_Item, const CEditorContext& a_Context) {
  for (const CAlarmItem& item : m_Alarms) {
    if (item.SameAs(a_Item, a_Context)) return false;
  }
  m_Alarms.push_back(a_Item);
  return true;
}

void CAlarmSettings::SwapPorts(int32_t a_A, int32_t a_B) {
  for (CAlarmItem& item : m_Alarms) item.m_Register.SwapPort(a_A, a_B);
}

void CAlarmSettings::ResetChangedPorts(const std::array<bool, 4>& a_Changed) {
  for (CAlarmItem& item : m_Alarms) item.m_Register.ResetIfPortChanged(a_Changed);
}

void CAlarmSettings::Compile(CRecordWriter& a_Writer, const CKV410Project& a_Project) const {
  CImageBuffer& image = a_Writer.Buffer();
  int32_t alarmFrame = m_AlarmFrame;
  if (a_Project.FindFrame(static_cast<uint16_t>(alarmFrame)) == nullptr || alarmFrame < 0 ||
      alarmFrame > 0xFFFF) {
    alarmFrame = a_Project.GetFrames().empty() ? 0 : a_Project.GetFrames().front()->GetNumber();
  }
  const int size = FontPixelSize(m_FontSizeIndex);
  image.AppendU32(static_cast<uint32_t>(m_Alarms.size()));
  image.AppendU16(static_cast<uint16_t>(0x8000 + (m_AlarmFrameOption != 0 ? 1 : 0)));
  image.AppendU16(static_cast<uint16_t>(alarmFrame));
  const std::size_t digits = image.ReserveSlots(1);
  const std::size_t slots = image.ReserveSlots(m_Alarms.size());
  image.PatchU32(digits, a_Writer.CompileText("0123456789:.-/ ", m_FontName, size, 1));
  for (std::size_t i = 0; i < m_Alarms.size(); ++i) {
    const CAlarmItem& alarm = m_Alarms[i];
    image.Align();
    image.PatchU32(slots + 4 * i, static_cast<uint32_t>(image.Length()));
    int32_t a = 0, b = 0;
    switch ((alarm.m_Flags & CAlarmItem::kCompareMask) >> 1) {
      case 0:
      case 5:
        a = alarm.m_Value;
        break;
      case 1:
      case 4:
        b = alarm.m_Value;
        break;
      case 2:
      case 3:
        a = alarm.m_RangeUsed != 0 ? alarm.m_RangeA : alarm.m_Value;
        b = alarm.m_RangeUsed != 0 ? alarm.m_RangeB : alarm.m_Value;
        break;
      default:
        break;
    }
    image.AppendU32(alarm.m_Flags);
    image.AppendU32(static_cast<uint32_t>(a));
    image.AppendU32(static_cast<uint32_t>(b));
    image.AppendU16(static_cast<uint16_t>(alarm.m_BuzzerSeconds));
    image.AppendU16(0);
    a_Writer.AppendAddress(alarm.m_Register);
    const std::size_t text = image.ReserveSlots(1);
    image.PatchU32(text, a_Writer.CompileText(alarm.m_Text, m_FontName, size, 1));
  }
}

}  // namespace kd820
