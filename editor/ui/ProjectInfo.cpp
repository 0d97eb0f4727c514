#include "editor/ui/ProjectInfo.h"

#include <cstdio>
#include <string>

#include "editor/base/CodeTables.h"
#include "editor/project/KV410Project.h"

namespace kd820 {

namespace {

std::string Hex(uint32_t a_Value, int a_Digits) {
  char buf[16];
  std::snprintf(buf, sizeof buf, "0x%0*X", a_Digits, a_Value);
  return buf;
}

std::string Quoted(const std::string& a_Text) { return "\"" + a_Text + "\""; }

const char* OnOff(bool a_On) { return a_On ? "on" : "off"; }

void PrintPort(const CPortCom& a_Port, std::ostream& a_Out) {
  a_Out << "  COM" << a_Port.m_PortNumber << ": ";
  if (!a_Port.IsEnabled()) {
    a_Out << "not used\n";
    return;
  }
  const auto pick = [](std::span<const NamedCode> a_Table, int32_t a_Value) {
    const char* name = NameOf(a_Table, a_Value);
    return name != nullptr ? std::string(name) : "code " + std::to_string(a_Value);
  };
  a_Out << "protocol " << a_Port.m_ProtocolId << ", " << pick(kSerialTypes, a_Port.m_SerialType)
        << ", baud code " << a_Port.m_BaudRate << ", " << (a_Port.m_DataBits == 0 ? 7 : 8)
        << " data bits, parity " << pick(kParities, a_Port.m_Parity) << ", "
        << (a_Port.m_StopBits == 0 ? 1 : 2) << " stop bit(s)";
  if (a_Port.m_StationUsed != 0) a_Out << ", station " << a_Port.m_Station;
  a_Out << "\n    timeouts " << a_Port.m_ResponseTimeout << "/" << a_Port.m_ProtocolTimeout1 << "/"
        << a_Port.m_ProtocolTimeout2 << " ms, packets " << a_Port.m_WordPacketMax << " words / "
        << a_Port.m_BitPacketMax << " bits, intervals " << a_Port.m_WordPackingInterval << "/"
        << a_Port.m_BitPackingInterval << "/" << a_Port.m_CommunicationInterval
        << ", message time " << a_Port.m_MessageTime << " s, " << a_Port.m_RetryCount
        << " retries, then " << (a_Port.m_RetryAfterFailure != 0 ? "retry" : "cut") << "\n";
}

void PrintFrames(const CKV410Project& a_Project, std::ostream& a_Out) {
  a_Out << "Frames: " << a_Project.GetFrames().size() << "\n";
  for (const auto& frame : a_Project.GetFrames()) {
    a_Out << "  " << frame->GetName() << ": number " << frame->GetNumber() << ", up "
          << frame->GetPrevious() << ", down " << frame->GetNext();
    if (!frame->GetDescription().empty()) a_Out << ", " << Quoted(frame->GetDescription());
    a_Out << ", " << frame->GetElements().size() << " element(s)\n";
    for (const auto& e : frame->GetElements()) {
      const CRect r = e->GetRect();
      a_Out << "    " << e->GetName() << "  " << e->GetRuntimeClass()->m_ClassName << "  ("
            << r.m_Left << "," << r.m_Top << ")-(" << r.m_Right << "," << r.m_Bottom << ")";
      std::string regs;
      e->VisitAddresses([&](CAddr& a_Addr) {
        regs += (regs.empty() ? "" : ", ") + DescribeAddress(a_Addr);
      });
      if (!regs.empty()) a_Out << "  " << regs;
      a_Out << "\n";
    }
  }
}

void PrintSettings(const CGlobalSettings& a_Settings, std::ostream& a_Out) {
  a_Out << "Settings:\n"
        << "  flags " << Hex(a_Settings.m_Flags, 8) << ": screen saver "
        << ((a_Settings.m_Flags & CGlobalSettings::kBacklightOnly) != 0 ? "switches the backlight off"
                                                                       : "shows a frame")
        << ", password to wake " << OnOff(a_Settings.m_Flags & CGlobalSettings::kPasswordToWake)
        << ", buzzer " << ((a_Settings.m_Flags & CGlobalSettings::kBuzzerOff) != 0 ? "off" : "on")
        << ", swap words " << OnOff(a_Settings.m_Flags & CGlobalSettings::kSwapWords)
        << ", focus " << (((a_Settings.m_Flags & CGlobalSettings::kFocusMask) >> 4) == 1 ? "blink" : "inverse")
        << "\n  start frame " << a_Settings.m_StartFrame << ", screen saver "
        << a_Settings.m_ScreenSaverMinutes << " min (frame " << a_Settings.m_ScreenSaverFrame
        << "), password level " << a_Settings.m_PasswordLevel + 1 << ", password frame "
        << a_Settings.m_PasswordFrame << ", common frame " << a_Settings.m_CommonFrame << " ("
        << OnOff(a_Settings.m_Flags & CGlobalSettings::kCommonFrameUsed) << ")\n"
        << "  control registers " << Hex(static_cast<uint32_t>(a_Settings.m_ControlFlags), 2)
        << " at " << DescribeAddress(a_Settings.m_ControlAddress) << "\n";
}

void PrintAlarms(const CAlarmSettings& a_Alarms, std::ostream& a_Out) {
  a_Out << "Alarms: " << a_Alarms.m_Alarms.size() << ", font " << Quoted(a_Alarms.m_FontName)
        << " size index " << a_Alarms.m_FontSizeIndex << ", alarm frame " << a_Alarms.m_AlarmFrame
        << " (option " << a_Alarms.m_AlarmFrameOption << ")\n";
  int n = 0;
  for (const auto& item : a_Alarms.m_Alarms) {
    a_Out << "  " << ++n << ". " << DescribeAddress(item.m_Register) << " flags "
          << Hex(item.m_Flags, 2);
    if ((item.m_Flags & CAlarmItem::kValueAlarm) != 0) {
      a_Out << " compare " << ((item.m_Flags & CAlarmItem::kCompareMask) >> 1) << " value "
            << item.m_Value;
      if (item.m_RangeUsed != 0) a_Out << " range " << item.m_RangeB << ".." << item.m_RangeA;
    }
    if (item.m_BuzzerSeconds != 0) a_Out << " buzzer " << item.m_BuzzerSeconds << " s";
    a_Out << "  " << Quoted(item.m_Text) << "\n";
  }
}

void PrintTransfers(const CDataTransferList& a_List, std::ostream& a_Out) {
  a_Out << "Transfers: " << a_List.m_Items.size() << "\n";
  static const char* const kEdges[] = {"", "rising edge", "falling edge", "both edges"};
  int n = 0;
  for (const auto& item : a_List.m_Items) {
    a_Out << "  " << ++n << ". " << item.m_Count << " from " << DescribeAddress(item.m_Source)
          << " to " << DescribeAddress(item.m_Destination);
    if (item.m_Periodic != 0) a_Out << ", every " << item.m_Period << " ticks";
    if (item.m_EdgeMode >= 1 && item.m_EdgeMode <= 3) {
      a_Out << ", on " << kEdges[item.m_EdgeMode] << " of " << DescribeAddress(item.m_Trigger);
    }
    if (item.m_Frame != 0) a_Out << ", on frame " << item.m_Frame;
    if (item.m_ExecutionLimit != 0) a_Out << ", at most " << item.m_ExecutionLimit << " times";
    a_Out << "\n";
  }
}

}  // namespace

std::string DescribeAddress(const CAddr& a_Addr) {
  std::string text;
  if (a_Addr.m_Port >= 0 && a_Addr.m_Port <= 2) {
    text = "COM" + std::to_string(a_Addr.m_Port) + ":";
  } else if (a_Addr.m_Port == 3) {
    text = "CAN:";
  }
  if (!a_Addr.IsInternal() && a_Addr.m_Station != 0) text += std::to_string(a_Addr.m_Station) + "#";
  text += a_Addr.m_TypeName + std::to_string(a_Addr.m_Address);
  if (a_Addr.m_HasSubAddress != 0) {
    char sub[16];
    std::snprintf(sub, sizeof sub, ".%X", static_cast<unsigned>(a_Addr.m_SubAddress));
    text += sub;
  }
  if (a_Addr.m_HasIndex != 0) text += "[" + std::to_string(a_Addr.m_Index) + "]";
  return text;
}

void PrintProjectInfo(const CKV410Project& a_Project, std::ostream& a_Out) {
  a_Out << "Project: " << a_Project.GetName() << "\n"
        << "  file: " << a_Project.GetPath() << "\n"
        << "  file version " << a_Project.GetLoadedFileVersion();
  if (a_Project.GetLoadedFileVersion() > 2) {
    a_Out << ", oldest reader version " << a_Project.GetLoadedOldestReader();
  }
  a_Out << " (this editor writes " << CKV410Project::kFileVersion << ")\n"
        << "  hardware model id " << a_Project.GetHardwareModelId() << "\n"
        << "  element labels " << OnOff(a_Project.GetElementLabels()) << "\n";

  a_Out << "Ports:\n";
  for (int i = 0; i < CKV410Project::kSerialPortCount; ++i) PrintPort(*a_Project.GetPort(i), a_Out);
  a_Out << "  CAN: " << (a_Project.GetCanPort().IsEnabled() ? "used" : "not used") << "\n";

  const auto& langs = a_Project.GetLangDefine().m_Items;
  a_Out << "Languages: " << langs.size() << "\n";
  for (std::size_t i = 0; i < langs.size(); ++i) {
    a_Out << "  " << i + 1 << ". " << Hex(langs[i]->m_LanguageId, 4) << " "
          << Quoted(langs[i]->m_FontName) << "\n";
  }

  PrintFrames(a_Project, a_Out);
  PrintSettings(a_Project.GetSettings(), a_Out);
  PrintAlarms(a_Project.GetAlarms(), a_Out);
  PrintTransfers(a_Project.GetTransfers(), a_Out);

  const auto& items = a_Project.GetBitmapLib().m_Items;
  a_Out << "Bitmaps: " << items.size() << "\n";
  for (const auto& item : items) {
    a_Out << "  id " << item->m_Id << ": " << item->m_Width << " x " << item->m_Height << ", used "
          << item->m_UseCount << " time(s)\n";
  }
}

}  // namespace kd820
