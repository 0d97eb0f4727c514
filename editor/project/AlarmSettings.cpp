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

void CAlarmItem::Serialize(CArchive& a_Ar) {
  int32_t version = kCurrentVersion;
  a_Ar.Io(version);
  a_Ar.Io(m_Flags);
  a_Ar.Io(m_Value);
  a_Ar.Io(m_RangeUsed);
  a_Ar.Io(m_RangeA);
  a_Ar.Io(m_RangeB);
  a_Ar.Io(m_BuzzerSeconds);
  a_Ar.Io(m_Text);
  m_Register.Serialize(a_Ar);
}

bool CAlarmItem::SameAs(const CAlarmItem& a_Other, const CEditorContext& a_Context) const {
  return m_Register.Descriptor(a_Context) == a_Other.m_Register.Descriptor(a_Context) && m_Flags == a_Other.m_Flags &&
         m_Value == a_Other.m_Value && m_RangeUsed == a_Other.m_RangeUsed &&
         m_RangeA == a_Other.m_RangeA && m_RangeB == a_Other.m_RangeB &&
         m_BuzzerSeconds == a_Other.m_BuzzerSeconds && m_Text == a_Other.m_Text;
}

CAlarmSettings::CAlarmSettings() : m_FontName(DefaultFontName()) {}

void CAlarmSettings::Serialize(CArchive& a_Ar) {
  int32_t version = kCurrentVersion;
  a_Ar.Io(version);
  if (a_Ar.IsStoring()) {
    int32_t count = static_cast<int32_t>(m_Alarms.size());
    a_Ar.Io(count);
    for (CAlarmItem& item : m_Alarms) item.Serialize(a_Ar);
  } else {
    const std::size_t start = a_Ar.Offset();
    int32_t count = 0;
    a_Ar.Io(count);
    if (count < 0 || static_cast<std::size_t>(count) > a_Ar.Remaining() / kMinStoredItemBytes) {
      a_Ar.FailAt("alarm count " + std::to_string(count) + " beyond the end of the archive", start);
    }
    std::vector<CAlarmItem> alarms(static_cast<std::size_t>(count));
    for (CAlarmItem& item : alarms) item.Serialize(a_Ar);
    m_Alarms = std::move(alarms);
  }

  if (version >= 2) {
    a_Ar.Io(m_FontSizeIndex);
    a_Ar.Io(m_TextOption);
    a_Ar.Io(m_FontName);
    a_Ar.Io(m_AlarmFrame);
    a_Ar.Io(m_AlarmFrameOption);
  } else {
    m_FontSizeIndex = 1;
    m_TextOption = 0;
    m_FontName = DefaultFontName();
    m_AlarmFrame = 1;
    m_AlarmFrameOption = 1;
  }
  if (version >= 3) a_Ar.Io(m_ReservedSwitch);
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
