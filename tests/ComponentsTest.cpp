// Project-level components: global settings, alarms, ports, data transfers and languages,
// their defaults, operations and project-file bodies.
#include <gtest/gtest.h>

#include <array>
#include <cstdlib>
#include <optional>
#include <string>
#include <vector>

#include "editor/project/ClassTable.h"
#include "editor/devices/Addr.h"
#include "editor/devices/EditorContext.h"
#include "editor/devices/PlcLibrary.h"
#include "editor/project/AlarmSettings.h"
#include "editor/base/Archive.h"
#include "editor/project/DataTransfer.h"
#include "editor/project/GlobalSettings.h"
#include "editor/project/LangDefine.h"
#include "editor/project/PortCom.h"

using namespace kd820;

namespace {

using Bytes = std::vector<uint8_t>;

template <class T>
Bytes Store(T& a_Object) {
  CArchive ar;
  a_Object.Serialize(ar);
  return ar.Bytes();
}

template <class T>
void Load(T& a_Object, const Bytes& a_Bytes) {
  CArchive ar(a_Bytes, FindArchiveClass);
  a_Object.Serialize(ar);
  EXPECT_EQ(ar.Remaining(), 0u) << "bytes left after loading";
}

// Stores, loads into a fresh object, stores again: both stores must be identical.
template <class T>
void ExpectStableRoundTrip(T& a_Object) {
  const Bytes first = Store(a_Object);
  T loaded;
  Load(loaded, first);
  EXPECT_EQ(Store(loaded), first);
}

int32_t I32At(const Bytes& a_Bytes, std::size_t a_Offset) {
  uint32_t v = 0;
  for (int i = 3; i >= 0; --i) v = (v << 8) | a_Bytes.at(a_Offset + static_cast<std::size_t>(i));
  return static_cast<int32_t>(v);
}

uint16_t U16At(const Bytes& a_Bytes, std::size_t a_Offset) {
  return static_cast<uint16_t>(a_Bytes.at(a_Offset) | (a_Bytes.at(a_Offset + 1) << 8));
}

CAddr PortAddress(int32_t a_Width, int32_t a_Port, int32_t a_Station, int32_t a_Number) {
  CAddr addr(a_Width);
  addr.m_Port = a_Port;
  addr.m_Station = a_Station;
  addr.m_TypeName = a_Width == CAddr::kBit ? "M" : "D";
  addr.m_Address = a_Number;
  addr.m_Note = "note";
  return addr;
}

// Gives every port a PLC model with the bit type "M" and the word type "D", so that port
// addresses compile as themselves (registers compare by their compiled form).
struct PortModelsWithDAndM {
  PortModelsWithDAndM() {
    for (int port = 0; port < 4; ++port) {
      CPLCModel& model = *m_Context.GetPortModel(port);
      CRegisterType m, d;
      m.m_Name = "M";
      d.m_Name = "D";
      d.m_Width = kWidthWord;
      model.m_BitTypes = {m};
      model.m_BitNames["M"] = m;
      model.m_WordTypes = {d};
      model.m_WordNames["D"] = d;
    }
  }
  CEditorContext m_Context;
};

// A context without PLC models: every port address compiles as the default internal one.
const CEditorContext& NoModels() {
  static const CEditorContext context;
  return context;
}

void WriteI32(CArchive& a_Ar, int32_t a_Value) { a_Ar.WriteU32(static_cast<uint32_t>(a_Value)); }

// The body of global settings up to the control flags, in file order.
void WriteSettingsHead(CArchive& a_Ar, int32_t a_Version) {
  WriteI32(a_Ar, a_Version);
  a_Ar.WriteU32(0x85);  // flags
  a_Ar.WriteU16(4);     // start frame
  a_Ar.WriteU16(10);    // minutes
  a_Ar.WriteU16(6);     // screen-saver frame
  a_Ar.WriteU8(2);      // password level
  a_Ar.WriteU16(255);
  for (int i = 0; i < 8; ++i) WriteI32(a_Ar, 100 + i);
  WriteI32(a_Ar, 3);  // control flags
}


}  // namespace

// ---- global settings ----------------------------------------------------------------------

TEST(ComponentGlobalSettings, StoresFieldsInFileOrderAndRoundTrips) {
  CGlobalSettings settings;
  for (int32_t password : settings.m_Passwords) EXPECT_EQ(password, 1111);
  settings.m_Flags = 0xC6;
  settings.m_StartFrame = 7;
  settings.m_ScreenSaverMinutes = 45;
  settings.m_ScreenSaverFrame = 9;
  settings.m_PasswordLevel = 5;
  settings.m_PasswordMask = 255;
  for (std::size_t i = 0; i < 8; ++i) settings.m_Passwords[i] = static_cast<int32_t>(999999990 + i);
  settings.m_ControlFlags = 3;
  settings.m_PasswordFrame = 12;
  settings.m_CommonFrame = 13;
  settings.m_ControlAddress = PortAddress(CAddr::kWord, 1, 2, 300);

  const Bytes bytes = Store(settings);
  EXPECT_EQ(I32At(bytes, 0), 3);
  EXPECT_EQ(U16At(bytes, 8), 7);    // start frame
  EXPECT_EQ(U16At(bytes, 10), 45);  // minutes come before the frame in the file
  EXPECT_EQ(U16At(bytes, 12), 9);
  EXPECT_EQ(bytes.at(14), 5);
  EXPECT_EQ(I32At(bytes, 17), 999999990);
  EXPECT_EQ(I32At(bytes, 49), 3);
  EXPECT_EQ(U16At(bytes, 53), 12);
  EXPECT_EQ(U16At(bytes, 55), 13);

  CGlobalSettings loaded;
  Load(loaded, bytes);
  EXPECT_EQ(loaded.m_ScreenSaverMinutes, 45);
  EXPECT_EQ(loaded.m_ScreenSaverFrame, 9);
  EXPECT_EQ(loaded.m_ControlAddress.m_Port, 1);
  EXPECT_EQ(loaded.m_ControlAddress.m_Note, "note");
  EXPECT_EQ(Store(loaded), bytes);
}

TEST(ComponentGlobalSettings, OlderVersionsLoadMissingFramesAsOneNewerReadKnownFields) {
  const CAddr address = PortAddress(CAddr::kWord, 0, 1, 20);
  for (int32_t version : {1, 2, 4}) {
    CArchive ar;
    WriteSettingsHead(ar, version);
    if (version >= 2) ar.WriteU16(5);  // password frame
    if (version >= 3) ar.WriteU16(6);  // common frame
    CAddr copy = address;
    copy.Serialize(ar);

    CGlobalSettings settings;
    settings.m_PasswordFrame = 40;
    settings.m_CommonFrame = 41;
    Load(settings, ar.Bytes());
    EXPECT_EQ(settings.m_PasswordFrame, version == 1 ? 1 : 5) << "version " << version;
    EXPECT_EQ(settings.m_CommonFrame, version < 3 ? 1 : 6) << "version " << version;
    EXPECT_EQ(settings.m_Flags, 0x85u);
    EXPECT_EQ(settings.m_Passwords[7], 107);
    EXPECT_EQ(settings.m_ControlAddress.m_Address, 20);
    // Storing writes the current version with every field.
    EXPECT_EQ(I32At(Store(settings), 0), CGlobalSettings::kCurrentVersion);
  }
}

TEST(ComponentGlobalSettings, PortOperationsReachTheControlAddress) {
  CGlobalSettings settings;
  settings.m_ControlAddress = PortAddress(CAddr::kWord, 0, 1, 8);
  settings.SwapPorts(0, 2);
  EXPECT_EQ(settings.m_ControlAddress.m_Port, 2);
  settings.ResetChangedPorts({false, false, true, false});
  EXPECT_TRUE(settings.m_ControlAddress.IsInternal());
  EXPECT_EQ(settings.m_ControlAddress.m_Width, CAddr::kWord);
}

// ---- alarm settings -----------------------------------------------------------------------

namespace {

CAlarmItem MakeAlarm(int32_t a_Number, const std::string& a_Text) {
  CAlarmItem item;
  item.m_Flags = CAlarmItem::kValueAlarm | (3u << 1) | CAlarmItem::kBuzzer;
  item.m_Value = -5;
  item.m_RangeUsed = 1;
  item.m_RangeA = 2000000000;
  item.m_RangeB = -2000000000;
  item.m_BuzzerSeconds = 4;
  item.m_Register = PortAddress(CAddr::kWord, 1, 3, a_Number);
  item.m_Text = a_Text;
  return item;
}

// An alarm body of the given version, up to the items.
void WriteAlarmItems(CArchive& a_Ar, int32_t a_Version) {
  WriteI32(a_Ar, a_Version);
  WriteI32(a_Ar, 1);
  CAlarmItem item = MakeAlarm(10, "过温");
  item.Serialize(a_Ar);
}

}  // namespace

TEST(ComponentAlarmSettings, RoundTripsItemsAndFont) {
  CAlarmSettings alarms;
  ASSERT_TRUE(alarms.AddAlarm(MakeAlarm(1, "电机故障"), NoModels()));
  ASSERT_TRUE(alarms.AddAlarm(MakeAlarm(2, std::string(300, 'x')), NoModels()));
  alarms.m_FontSizeIndex = 3;
  alarms.m_TextOption = 2;
  alarms.m_FontName = "宋体";
  alarms.m_AlarmFrame = 17;
  alarms.m_AlarmFrameOption = 0;
  ExpectStableRoundTrip(alarms);
  alarms.m_ReservedSwitch = 0;

  CAlarmSettings loaded;
  loaded.AddAlarm(MakeAlarm(3, "replaced"), NoModels());
  const Bytes bytes = Store(alarms);
  EXPECT_EQ(I32At(bytes, bytes.size() - 4), 0);  // the reserved switch as it was
  Load(loaded, bytes);
  ASSERT_EQ(loaded.m_Alarms.size(), 2u);
  EXPECT_TRUE(loaded.m_Alarms[0].SameAs(alarms.m_Alarms[0], NoModels()));
  EXPECT_EQ(loaded.m_Alarms[1].m_Text.size(), 300u);
  EXPECT_EQ(loaded.m_FontName, "宋体");
  EXPECT_EQ(loaded.m_AlarmFrame, 17);
  EXPECT_EQ(loaded.m_AlarmFrameOption, 0);
  EXPECT_EQ(loaded.m_ReservedSwitch, 1);
}

TEST(ComponentAlarmSettings, VersionOneLoadsFontAndFrameDefaults) {
  CArchive ar;
  WriteAlarmItems(ar, 1);
  CAlarmSettings alarms;
  alarms.m_FontSizeIndex = 4;
  alarms.m_TextOption = 9;
  alarms.m_FontName = "other";
  alarms.m_AlarmFrame = 30;
  alarms.m_AlarmFrameOption = 0;
  alarms.m_ReservedSwitch = 0;
  Load(alarms, ar.Bytes());
  ASSERT_EQ(alarms.m_Alarms.size(), 1u);
  EXPECT_EQ(alarms.m_Alarms[0].m_Text, "过温");
  EXPECT_EQ(alarms.m_FontSizeIndex, 1);
  EXPECT_EQ(alarms.m_TextOption, 0);
  EXPECT_EQ(alarms.m_FontName, DefaultFontName());
  EXPECT_EQ(alarms.m_AlarmFrame, 1);
  EXPECT_EQ(alarms.m_AlarmFrameOption, 1);
  EXPECT_EQ(alarms.m_ReservedSwitch, 1);
}

TEST(ComponentAlarmSettings, VersionTwoLoadsTheFontAndSetsTheReservedSwitch) {
  CArchive ar;
  WriteAlarmItems(ar, 2);
  WriteI32(ar, 2);
  WriteI32(ar, 1);
  ar.WriteString("Liberation Sans");
  WriteI32(ar, 8);
  WriteI32(ar, 0);
  CAlarmSettings alarms;
  alarms.m_ReservedSwitch = 0;
  Load(alarms, ar.Bytes());
  EXPECT_EQ(alarms.m_FontSizeIndex, 2);
  EXPECT_EQ(alarms.m_TextOption, 1);
  EXPECT_EQ(alarms.m_FontName, "Liberation Sans");
  EXPECT_EQ(alarms.m_AlarmFrame, 8);
  EXPECT_EQ(alarms.m_AlarmFrameOption, 0);
  EXPECT_EQ(alarms.m_ReservedSwitch, 1);
}

TEST(ComponentAlarmSettings, AddAlarmRefusesEqualItems) {
  PortModelsWithDAndM models;
  CAlarmSettings alarms;
  EXPECT_TRUE(alarms.AddAlarm(MakeAlarm(1, "a"), models.m_Context));
  EXPECT_FALSE(alarms.AddAlarm(MakeAlarm(1, "a"), models.m_Context));

  CAlarmItem otherNote = MakeAlarm(1, "a");
  otherNote.m_Register.m_Note = "changed";
  EXPECT_FALSE(alarms.AddAlarm(otherNote, models.m_Context));

  CAlarmItem otherStation = MakeAlarm(1, "a");
  otherStation.m_Register.m_Station = 4;
  EXPECT_TRUE(alarms.AddAlarm(otherStation, models.m_Context));

  EXPECT_TRUE(alarms.AddAlarm(MakeAlarm(1, "b"), models.m_Context));
  CAlarmItem otherSeconds = MakeAlarm(1, "a");
  otherSeconds.m_BuzzerSeconds = 5;
  EXPECT_TRUE(alarms.AddAlarm(otherSeconds, models.m_Context));
  EXPECT_EQ(alarms.m_Alarms.size(), 4u);
}

TEST(ComponentAlarmSettings, HostileCountsAreArchiveErrors) {
  for (int32_t count : {-1, 2, 0x7FFFFFFF}) {
    CArchive ar;
    WriteI32(ar, 3);
    WriteI32(ar, count);
    CAlarmItem item = MakeAlarm(1, "a");
    item.Serialize(ar);  // one item only
    CAlarmSettings alarms;
    CArchive in(ar.Bytes(), FindArchiveClass);
    EXPECT_THROW(alarms.Serialize(in), ArchiveError) << "count " << count;
  }
}

TEST(ComponentAlarmSettings, PortOperationsReachEveryRegister) {
  CAlarmSettings alarms;
  alarms.AddAlarm(MakeAlarm(1, "a"), NoModels());
  CAlarmItem onPort0 = MakeAlarm(2, "b");
  onPort0.m_Register.m_Port = 0;
  alarms.AddAlarm(onPort0, NoModels());
  alarms.SwapPorts(0, 1);
  EXPECT_EQ(alarms.m_Alarms[0].m_Register.m_Port, 0);
  EXPECT_EQ(alarms.m_Alarms[1].m_Register.m_Port, 1);
  alarms.ResetChangedPorts({false, true, false, false});
  EXPECT_EQ(alarms.m_Alarms[0].m_Register.m_Port, 0);
  EXPECT_TRUE(alarms.m_Alarms[1].m_Register.IsInternal());
  EXPECT_EQ(alarms.m_Alarms[1].m_Register.m_Width, CAddr::kWord);
}

// ---- communication ports ------------------------------------------------------------------

namespace {

CPortCom MakeEnabledPort(int32_t a_Number, int32_t a_Base) {
  CPortCom port(a_Number);
  port.m_Enabled = 1;
  port.m_ProtocolId = a_Base + 1;
  port.m_SerialType = CPortCom::kRs422;
  port.m_BaudRate = 3;
  port.m_DataBits = 0;
  port.m_Parity = 2;
  port.m_StopBits = 1;
  port.m_StationUsed = 1;
  port.m_Station = a_Base + 2;
  port.m_ResponseTimeout = a_Base + 3;
  port.m_ProtocolTimeout1 = a_Base + 4;
  port.m_ProtocolTimeout2 = a_Base + 5;
  port.m_WordPacketMax = a_Base + 6;
  port.m_BitPacketMax = a_Base + 7;
  port.m_WordPackingInterval = a_Base + 8;
  port.m_BitPackingInterval = a_Base + 9;
  port.m_CommunicationInterval = a_Base + 10;
  port.m_MessageTime = a_Base + 11;
  port.m_RetryCount = a_Base + 12;
  port.m_RetryAfterFailure = 0;
  return port;
}

}  // namespace

TEST(ComponentPortCom, DisabledPortStoresVersionAndEnabledOnly) {
  CPortCom port = MakeEnabledPort(1, 100);
  port.m_Enabled = 0;
  const Bytes bytes = Store(port);
  EXPECT_EQ(bytes, (Bytes{1, 0, 0, 0, 0, 0, 0, 0}));

  // Loading it leaves nothing of the previous settings but the port number.
  CPortCom loaded = MakeEnabledPort(1, 200);
  Load(loaded, bytes);
  EXPECT_FALSE(loaded.IsEnabled());
  EXPECT_EQ(loaded.m_PortNumber, 1);
  EXPECT_EQ(loaded.m_ProtocolId, 0);
  EXPECT_EQ(loaded.m_Station, 1);
  EXPECT_EQ(loaded.m_RetryCount, 10);
  EXPECT_EQ(loaded.m_RetryAfterFailure, 1);
}

TEST(ComponentPortCom, EnabledPortStoresTwentyFieldsInTableOrder) {
  CPortCom port = MakeEnabledPort(2, 100);
  port.m_Enabled = 7;  // any non-zero value is kept as stored
  const Bytes bytes = Store(port);
  ASSERT_EQ(bytes.size(), 4u * 22u);
  EXPECT_EQ(I32At(bytes, 4), 7);
  EXPECT_EQ(I32At(bytes, 8), 2);     // port number first
  EXPECT_EQ(I32At(bytes, 12), 101);  // protocol id
  EXPECT_EQ(I32At(bytes, 16), CPortCom::kRs422);
  EXPECT_EQ(I32At(bytes, 40), 102);  // station after station used
  EXPECT_EQ(I32At(bytes, 80), 112);  // retry count
  EXPECT_EQ(I32At(bytes, 84), 0);    // retry after failure last
  ExpectStableRoundTrip(port);
}

TEST(ComponentPortCom, SwapContentsKeepsThePortNumbers) {
  CPortCom a = MakeEnabledPort(0, 100);
  CPortCom b(1);
  a.SwapContents(b);
  EXPECT_EQ(a.m_PortNumber, 0);
  EXPECT_EQ(b.m_PortNumber, 1);
  EXPECT_FALSE(a.IsEnabled());
  EXPECT_EQ(a.m_ProtocolId, 0);
  EXPECT_EQ(a.m_RetryCount, 10);

  // b now holds every other field of the former COM0.
  CPortCom expected = MakeEnabledPort(1, 100);
  EXPECT_EQ(Store(b), Store(expected));
}

TEST(ComponentPortCan, StoresItsValuesOnlyWhenEnabled) {
  CPortCan can;
  can.m_Value1 = 5;
  EXPECT_EQ(Store(can), (Bytes{1, 0, 0, 0, 0, 0, 0, 0}));

  can.m_Enabled = 1;
  can.m_Value2 = -3;
  const Bytes bytes = Store(can);
  ASSERT_EQ(bytes.size(), 16u);
  EXPECT_EQ(I32At(bytes, 8), 5);
  EXPECT_EQ(I32At(bytes, 12), -3);
  ExpectStableRoundTrip(can);
}

// ---- data transfers -----------------------------------------------------------------------

namespace {

CDataTransferItem MakeTransfer(int16_t a_Count) {
  CDataTransferItem item;
  item.m_Periodic = 0;
  item.m_EdgeMode = CDataTransferItem::kRising;
  item.m_Trigger = PortAddress(CAddr::kBit, 0, 1, 4);
  item.m_Source = PortAddress(CAddr::kDoubleWord, 1, 2, 100);
  item.m_Destination = PortAddress(CAddr::kWord, 2, 3, 200);
  item.m_Period = 25;
  item.m_Frame = 3;
  item.m_ExecutionLimit = -2;
  item.m_Count = a_Count;
  return item;
}

}  // namespace

TEST(ComponentDataTransfer, EmptyListIsVersionAndZeroCount) {
  CDataTransferList list;
  const Bytes bytes = Store(list);
  EXPECT_EQ(bytes, (Bytes{2, 0, 0, 0, 0, 0, 0, 0}));

  CDataTransferList loaded;
  loaded.m_Items.push_back(MakeTransfer(1));
  Load(loaded, bytes);
  EXPECT_TRUE(loaded.m_Items.empty());
}

TEST(ComponentDataTransfer, StoresItemsInFileOrderAndRoundTrips) {
  CDataTransferList list;
  list.m_Items.push_back(MakeTransfer(5));
  CDataTransferItem periodic = MakeTransfer(7);
  periodic.m_Periodic = 1;
  periodic.m_EdgeMode = CDataTransferItem::kNoEdge;
  list.m_Items.push_back(periodic);

  const Bytes bytes = Store(list);
  EXPECT_EQ(I32At(bytes, 8), 1);   // item version
  EXPECT_EQ(I32At(bytes, 12), 0);  // periodic
  EXPECT_EQ(I32At(bytes, 16), 1);  // edge mode
  EXPECT_EQ(I32At(bytes, 20), 25);
  EXPECT_EQ(U16At(bytes, 24), 3);
  EXPECT_EQ(U16At(bytes, 26), 0xFFFE);
  EXPECT_EQ(U16At(bytes, 28), 5);

  CDataTransferList loaded;
  Load(loaded, bytes);
  ASSERT_EQ(loaded.m_Items.size(), 2u);
  EXPECT_EQ(loaded.m_Items[0].m_Trigger.m_Width, CAddr::kBit);
  EXPECT_EQ(loaded.m_Items[0].m_Source.m_Address, 100);
  EXPECT_EQ(loaded.m_Items[0].m_Destination.m_Port, 2);
  EXPECT_TRUE(loaded.m_Items[1].SameAs(periodic, NoModels()));
  EXPECT_EQ(Store(loaded), bytes);
}

TEST(ComponentDataTransfer, HostileCountsAreArchiveErrors) {
  for (int32_t count : {-7, 2, 0x40000000}) {
    CArchive ar;
    WriteI32(ar, 2);
    WriteI32(ar, count);
    CDataTransferItem item = MakeTransfer(1);
    item.Serialize(ar);
    CDataTransferList list;
    CArchive in(ar.Bytes(), FindArchiveClass);
    EXPECT_THROW(list.Serialize(in), ArchiveError) << "count " << count;
  }
}

TEST(ComponentDataTransfer, ItemComparison) {
  PortModelsWithDAndM models;
  const CDataTransferItem item = MakeTransfer(5);
  CDataTransferItem same = item;
  same.m_Source.m_Note = "other remark";
  EXPECT_TRUE(item.SameAs(same, models.m_Context));

  CDataTransferItem otherCount = item;
  otherCount.m_Count = 6;
  EXPECT_FALSE(item.SameAs(otherCount, models.m_Context));
  CDataTransferItem otherTrigger = item;
  otherTrigger.m_Trigger.m_Station = 9;
  EXPECT_FALSE(item.SameAs(otherTrigger, models.m_Context));
  CDataTransferItem otherLimit = item;
  otherLimit.m_ExecutionLimit = 0;
  EXPECT_FALSE(item.SameAs(otherLimit, models.m_Context));
}

TEST(ComponentDataTransfer, PortOperationsReachAllThreeAddresses) {
  CDataTransferList list;
  list.m_Items.push_back(MakeTransfer(1));  // trigger on 0, source on 1, destination on 2
  list.SwapPorts(0, 2);
  EXPECT_EQ(list.m_Items[0].m_Trigger.m_Port, 2);
  EXPECT_EQ(list.m_Items[0].m_Source.m_Port, 1);
  EXPECT_EQ(list.m_Items[0].m_Destination.m_Port, 0);
  list.ResetChangedPorts({true, false, true, false});
  EXPECT_TRUE(list.m_Items[0].m_Trigger.IsInternal());
  EXPECT_EQ(list.m_Items[0].m_Trigger.m_Width, CAddr::kBit);
  EXPECT_EQ(list.m_Items[0].m_Source.m_Port, 1);
  EXPECT_TRUE(list.m_Items[0].m_Destination.IsInternal());
}

// ---- languages ----------------------------------------------------------------------------

namespace {

// Sets locale variables for one test and puts the previous values back afterwards.
class LocaleEnvironment {
 public:
  LocaleEnvironment() {
    for (std::size_t i = 0; i < kNames.size(); ++i) {
      const char* value = std::getenv(kNames[i]);
      if (value != nullptr) m_Saved[i] = value;
      unsetenv(kNames[i]);
    }
  }
  ~LocaleEnvironment() {
    for (std::size_t i = 0; i < kNames.size(); ++i) {
      if (m_Saved[i]) setenv(kNames[i], m_Saved[i]->c_str(), 1); else unsetenv(kNames[i]);
    }
  }
  void Set(const char* a_Name, const char* a_Value) { setenv(a_Name, a_Value, 1); }

 private:
  static constexpr std::array<const char*, 3> kNames{"LC_ALL", "LC_MESSAGES", "LANG"};
  std::array<std::optional<std::string>, 3> m_Saved;
};

}  // namespace

TEST(ComponentLanguage, LocaleNamesMapToLanguageIds) {
  EXPECT_EQ(LanguageIdForLocale("zh_CN.UTF-8"), 0x0804);
  EXPECT_EQ(LanguageIdForLocale("zh_TW.UTF-8"), 0x0404);
  EXPECT_EQ(LanguageIdForLocale("en_GB"), 0x0809);
  EXPECT_EQ(LanguageIdForLocale("de_DE@euro"), 0x0407);
  EXPECT_EQ(LanguageIdForLocale("en"), 0x0409);
  EXPECT_EQ(LanguageIdForLocale("en_NZ.UTF-8"), 0x0409);
  EXPECT_EQ(LanguageIdForLocale("fr-FR"), 0x040C);
  for (const char* fallback : {"", "C", "C.UTF-8", "POSIX", "xx_YY"}) {
    EXPECT_EQ(LanguageIdForLocale(fallback), 0x0804) << '"' << fallback << '"';
  }
}

TEST(ComponentLanguage, SystemDefaultFollowsLocalePrecedence) {
  LocaleEnvironment env;
  EXPECT_EQ(SystemDefaultLanguageId(), 0x0804);
  env.Set("LANG", "ko_KR.UTF-8");
  EXPECT_EQ(SystemDefaultLanguageId(), 0x0412);
  env.Set("LC_MESSAGES", "ja_JP.UTF-8");
  EXPECT_EQ(SystemDefaultLanguageId(), 0x0411);
  env.Set("LC_ALL", "");  // an empty variable does not count
  EXPECT_EQ(SystemDefaultLanguageId(), 0x0411);
  env.Set("LC_ALL", "ru_RU.UTF-8");
  EXPECT_EQ(SystemDefaultLanguageId(), 0x0419);
}

TEST(ComponentLanguage, NewListHoldsTheSystemDefaultLanguage) {
  LocaleEnvironment env;
  env.Set("LANG", "de_DE.UTF-8");
  CLangDefine languages;
  ASSERT_EQ(languages.m_Items.size(), 1u);
  EXPECT_EQ(languages.m_Items[0]->m_LanguageId, 0x0407);
  EXPECT_EQ(languages.m_Items[0]->m_FontName, "Microsoft Sans Serif");
  EXPECT_EQ(languages.GetLanguageId(5), 0x0407);
  EXPECT_EQ(languages.GetFontName(5), "Microsoft Sans Serif");
}

TEST(ComponentLanguage, LoadingReplacesTheListAndRoundTrips) {
  CLangDefine languages;
  languages.m_Items.clear();
  languages.m_Items.push_back(std::make_unique<CLangDefineItem>(0x0409, "Liberation Sans"));
  languages.m_Items.push_back(std::make_unique<CLangDefineItem>(0x0404, "宋体"));
  languages.m_Items.push_back(std::make_unique<CLangDefineItem>(0x0411, "MS Gothic"));
  const Bytes bytes = Store(languages);
  EXPECT_EQ(I32At(bytes, 0), 1);
  EXPECT_EQ(U16At(bytes, 4), 3);  // object-list count

  CLangDefine loaded;  // starts with its one default item
  Load(loaded, bytes);
  ASSERT_EQ(loaded.m_Items.size(), 3u);
  EXPECT_EQ(loaded.GetLanguageId(1), 0x0404);
  EXPECT_EQ(loaded.GetFontName(1), "宋体");
  EXPECT_EQ(loaded.GetFontName(2), "MS Gothic");
  EXPECT_EQ(loaded.GetLanguageId(3), SystemDefaultLanguageId());
  EXPECT_EQ(loaded.GetFontName(3), DefaultFontName());
  EXPECT_EQ(Store(loaded), bytes);
}

TEST(ComponentLanguage, EmptyListGivesDefaultsHostileCountFails) {
  CLangDefine empty;
  empty.m_Items.clear();
  CLangDefine loaded;
  Load(loaded, Store(empty));
  EXPECT_TRUE(loaded.m_Items.empty());
  EXPECT_EQ(loaded.GetLanguageId(0), SystemDefaultLanguageId());
  EXPECT_EQ(loaded.GetFontName(0), DefaultFontName());

  CArchive ar;
  WriteI32(ar, 1);
  ar.WriteCount(60000);
  ar.WriteU16(0);
  CLangDefine languages;
  CArchive in(ar.Bytes(), FindArchiveClass);
  EXPECT_THROW(languages.Serialize(in), ArchiveError);
}
