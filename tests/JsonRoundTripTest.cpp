// The JSON form reproduces the project file: sample projects, odd stored values, files of old
// versions, addresses without their PLC protocol, element numbering, unpaired surrogates.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <fstream>
#include <limits>
#include <sstream>

#include "editor/project/KV410Doc.h"
#include "editor/base/Utf16.h"
#include "editor/screens/BarGE.h"
#include "editor/screens/DynamicText.h"
#include "editor/screens/EventListGE.h"
#include "editor/screens/FunckeyGE.h"
#include "editor/screens/LedGE.h"
#include "editor/screens/PictureGE.h"
#include "editor/screens/RegisterGE.h"
#include "editor/screens/StaticText.h"
#include "editor/screens/TrendGE.h"
#include "tests/JsonTestSupport.h"

using namespace kd820;

namespace {

using Bytes = std::vector<uint8_t>;

// Export, import, store: the bytes the JSON form gives for a project.
Bytes ThroughJson(const CKV410Project& a_Project, std::string* a_Json = nullptr) {
  const std::string json = test::ExportJson(a_Project);
  if (a_Json != nullptr) *a_Json = test::OneLine(json);
  ProjectJsonImport result = test::Import(json);
  EXPECT_TRUE(result) << result.m_Error;
  EXPECT_TRUE(result.m_Notes.empty()) << ::testing::PrintToString(result.m_Notes);
  return result ? test::StoreProject(*result.m_Project) : Bytes();
}

// The project as the editor has it after loading its file.
std::unique_ptr<CKV410Project> Reloaded(CKV410Project& a_Project) {
  return CKV410Doc::LoadFromBytes(test::StoreProject(a_Project));
}

// Replaces the element-labels word of a project file (after the class header, the file
// version, the oldest reader and the hardware model).
Bytes WithLabelsWord(Bytes a_File, int32_t a_Labels) {
  for (int i = 0; i < 4; ++i) a_File[31 + static_cast<std::size_t>(i)] = static_cast<uint8_t>(static_cast<uint32_t>(a_Labels) >> (8 * i));
  return a_File;
}

double Bits(uint64_t a_Bits) {
  double d = 0;
  std::memcpy(&d, &a_Bits, sizeof d);
  return d;
}

}  // namespace

TEST(JsonRoundTrip, SampleProjectGivesTheSameFile) {
  test::ShippedLibrary library;
  auto sample = test::Sample();
  std::string json;
  EXPECT_EQ(ThroughJson(*sample, &json), test::StoreProject(*sample));
  // The readable forms are used where the library knows the protocol.
  for (const char* expected :
       {R"("serialType": "RS485")", R"("parity": "even")", R"("baudRate": 9600)",
        R"("type": "4x", "number": "200")", R"("dataType": "float")", R"("drawDirection": "up")",
        R"("edge": "rising")", R"("7": {"text": "故障", "secondText": "fault"})",
        R"("inputLower": -5.0)", R"("rows": [)"}) {
    EXPECT_NE(json.find(expected), std::string::npos) << expected;
  }
}

TEST(JsonRoundTrip, LoadedProjectGivesTheSameFileAndTheSameJson) {
  test::ShippedLibrary library;
  auto sample = test::Sample();
  auto loaded = Reloaded(*sample);
  const std::string json = test::ExportJson(*loaded);
  EXPECT_EQ(ThroughJson(*loaded), test::StoreProject(*loaded));
  auto again = test::ImportOk(json);
  ASSERT_TRUE(again);
  EXPECT_EQ(test::ExportJson(*again), json);
}

TEST(JsonRoundTrip, OddStoredValuesSurvive) {
  test::ShippedLibrary library;
  auto project = test::LibrarySample();
  CHMIFrame& main = *project->FindFrame(1);
  const auto& elements = main.GetElements();
  auto& title = dynamic_cast<CStaticText&>(*elements[0]);
  title.SetBuiltinOption(9);
  title.SetText("tab\there \"quoted\" \x01 emoji 😀");
  title.SetWidth(48);  // the element keeps its place on the display whatever the text measures
  auto& state = dynamic_cast<CDynamicText&>(*elements[2]);
  state.GetState(256)->m_Flag = 0;
  state.GetState(256)->m_SecondText = "last";
  state.GetState(9)->m_Text = Utf16ToUtf8(u"lone \xD800 high and \xDC00 low");
  state.m_FurtherWord = -7;
  auto& value = dynamic_cast<CRegisterGE&>(*elements[3]);
  value.m_InputUpper = Bits(0x7FF8000000000123ull);  // a NaN with a payload
  value.m_InputLower = -std::numeric_limits<double>::infinity();
  value.m_PrjUpper = -0.0;
  value.m_PrjLower = std::numeric_limits<double>::denorm_min();
  value.m_Type = 11;  // no name
  value.m_FillZero = 3;
  auto& flow = dynamic_cast<CRegisterGE&>(*elements[4]);
  flow.m_InputUpper = 0.1;
  flow.m_InputLower = 1e300;
  auto& lamp = dynamic_cast<CLedGE&>(*elements[5]);
  lamp.m_Shape = 9;
  lamp.m_Invert = 7;
  lamp.m_BlinkWhileOn = -1;
  // Internal addresses in forms the number text cannot carry, and every optional field.
  lamp.m_Reg = CAddr(CAddr::kBit);
  lamp.m_Reg.m_TypeName = "RW.B";
  lamp.m_Reg.m_HasSubAddress = 2;
  lamp.m_Reg.m_SubAddress = 15;
  lamp.m_Reg.m_Note = "odd flag";
  auto& bar = dynamic_cast<CBarGE&>(*elements[6]);
  bar.m_DrawDir = 8;
  bar.m_Reg = CAddr(CAddr::kWord);
  bar.m_Reg.m_TypeName = "RW";
  bar.m_Reg.m_Address = 511;
  bar.m_Reg.m_Bcd = 1;
  bar.m_Reg.m_Length = 3;
  bar.m_Reg.m_Station = 4;
  auto& next = dynamic_cast<CFunckeyGE&>(*elements[11]);
  next.m_JumpFrame.m_Action = 9;
  next.m_BitSet.m_Action = 17;
  next.m_WordSet.m_Action = 42;
  next.m_WordSet.m_RepeatOnPress = 5;
  next.m_Exclude = 3;
  next.m_ActionClass = 6;
  // A port address with an index (Host Link A "N": words of data file 7 to 255).
  auto& trend = dynamic_cast<CTrendGE&>(*elements[7]);
  trend.m_Reg.m_TypeName = "N";
  trend.m_Reg.m_Address = 20;
  trend.m_Reg.m_HasIndex = 1;
  trend.m_Reg.m_Index = 7;
  auto& list = dynamic_cast<CEventListGE&>(*project->FindFrame(2)->GetElements()[1]);
  list.m_DateSeparator = 4;
  list.m_ByteValue = 255;
  list.m_WordValue = 65535;
  list.m_FurtherFlag2 = std::numeric_limits<int32_t>::min();
  main.SetName("Main frame ✓");

  // (A serial type the port does not offer and passwords outside the dialog's range are
  // refused on import: ImportChecksTest.)
  CPortCom& com0 = *project->GetPort(0);
  com0.m_BaudRate = 12;
  com0.m_Parity = -1;
  com0.m_RetryAfterFailure = 4;
  CPortCom& com2 = *project->GetPort(2);  // disabled: its values are not stored
  com2.m_BaudRate = 5;
  project->GetCanPort().m_Enabled = 1;
  project->GetCanPort().m_Value1 = -5;
  project->GetCanPort().m_Value2 = 99;
  project->GetSettings().m_Flags = 0xFFFFFFFFu;
  project->GetAlarms().m_Alarms[0].m_Flags = 0x80000001u;
  project->GetTransfers().m_Items[0].m_EdgeMode = 5;
  project->GetTransfers().m_Items[0].m_Frame = -1;
  // Spare bits after the last pixel of a row, and a stale use count.
  project->GetBitmapLib().AddItem(3, 2, {0x05, 0x02});
  project->GetBitmapLib().m_Items.back()->m_Pixels = {0xFD, 0x82};
  project->GetBitmapLib().m_Items.back()->m_UseCount = 40;
  auto picture = std::make_unique<CPictureGE>();
  picture->m_ItemId = project->GetBitmapLib().m_Items.back()->m_Id;
  project->FindFrame(2)->AddElement(std::move(picture));

  // As the editor has it after loading the file, with a raw labels word and switch.
  auto loaded = CKV410Doc::LoadFromBytes(WithLabelsWord(test::StoreProject(*project), 5));
  loaded->GetAlarms().m_ReservedSwitch = 0;
  std::string json;
  EXPECT_EQ(ThroughJson(*loaded, &json), test::StoreProject(*loaded));
  for (const char* expected :
       {R"("elementLabels": 5)", R"("reservedSwitch": 0)", R"("shape": {"code": 9})",
        R"("inputUpper": "0x7FF8000000000123")", R"("inputLower": "0xFFF0000000000000")",
        R"("projectionUpper": -0.0)", R"("projectionLower": 5e-324)", R"("inputUpper": 0.1)",
        R"("type": "RW.B", "address": 0, "hasSubAddress": 2, "subAddress": 15, "note": "odd flag")",
        R"("station": 4, "type": "RW", "number": "511", "bcd": 1, "length": 3)", R"(\ud800)",
        R"(\udc00)", R"("tab\there \"quoted\" \u0001 emoji 😀")",
        R"("name": "Main frame ✓")", R"("type": "N", "number": "20", "index": 7)",
        R"("256": {"text": "", "secondText": "last", "flag": 0})", R"("baudRate": {"code": 12})",
        R"("CAN": {"enabled": 1, "value1": -5, "value2": 99})", R"("rows": ["FD", "82"])"}) {
    EXPECT_NE(json.find(expected), std::string::npos) << expected;
  }
}

TEST(JsonRoundTrip, ElementBaseFieldsAreKeptAsStored) {
  test::ShippedLibrary library;
  const std::string json = R"({
    "format": "KD820 project", "formatVersion": 1, "hardwareModel": 1,
    "languages": [{"languageId": 1033, "font": "Microsoft Sans Serif"}],
    "frames": [{"number": 4, "name": "Custom", "elements": [
      {"type": "functionKey", "number": 9, "name": "Start key", "doubleSize": 3, "reverse": -2,
       "storedWord1": 11, "storedWord2": -12, "inputOrder": 4000000000, "key": 0},
      {"type": "register", "number": 40000, "inputOrder": 7, "input": 0}
    ]}]
  })";
  auto imported = test::ImportOk(json);
  ASSERT_TRUE(imported);
  auto loaded = Reloaded(*imported);
  const std::string exported = test::OneLine(test::ExportJson(*loaded));
  for (const char* expected :
       {R"("number": 9,)", R"("name": "Start key")", R"("doubleSize": 3)", R"("reverse": -2)",
        R"("storedWord1": 11)", R"("storedWord2": -12)", R"("inputOrder": 4000000000)",
        R"("number": 40000,)", R"("name": "REG40000")", R"("inputOrder": 7)", R"("name": "Custom")"}) {
    EXPECT_NE(exported.find(expected), std::string::npos) << expected << "\n" << exported;
  }
  EXPECT_EQ(ThroughJson(*loaded), test::StoreProject(*loaded));
}

TEST(JsonRoundTrip, FilesOfOldVersionsComeBackAsCurrentFiles) {
  test::ShippedLibrary library;
  // A version-1 project file: no labels word, bitmaps or transfers; version-1 settings (no
  // password and common frames), alarms (no font), static text (no built-in option) and
  // address (no index).
  CKV410Project defaults;
  defaults.SetHardwareModelId(1);
  CArchive ar;
  ar.WriteObjectHeader(&defaults);
  int32_t fileVersion = 1, model = 1;
  ar.Io(fileVersion);
  ar.Io(model);
  for (int i = 0; i < 3; ++i) defaults.GetPort(i)->Serialize(ar);
  defaults.GetCanPort().Serialize(ar);
  defaults.GetLangDefine().Serialize(ar);
  ar.WriteCount(1);
  CHMIFrame frame(3);
  ar.WriteObjectHeader(&frame);
  uint32_t frameVersion = 1;
  std::string name = "HMI3", description = "old";
  uint16_t number = 3, link = 0;
  ar.Io(frameVersion);
  ar.Io(name);
  ar.Io(description);
  ar.Io(number);
  ar.Io(link);
  ar.Io(link);
  ar.WriteCount(2);
  CStaticText text;
  text.SetNumber(0);
  text.SetWidth(30);
  text.SetHeight(12);
  ar.WriteObjectHeader(&text);
  text.CGraphElement::Serialize(ar);
  uint32_t textVersion = 1;
  std::string words = "old text", face = "宋体";
  int32_t sizeIndex = 1, further = 6;
  ar.Io(textVersion);
  ar.Io(words);
  ar.Io(sizeIndex);
  ar.Io(further);
  ar.Io(face);
  CLedGE led;
  led.SetNumber(0);
  ar.WriteObjectHeader(&led);
  led.CGraphElement::Serialize(ar);
  uint32_t ledVersion = 1;
  int32_t ledFields[] = {1, 2, 0, 1, 0, 3};
  ar.Io(ledVersion);
  for (int32_t& field : ledFields) ar.Io(field);
  int32_t addrFields[] = {1, CAddr::kBit, -1, 0};
  for (int32_t& field : addrFields) ar.Io(field);
  std::string type = "RW.B", note = "v1";
  ar.Io(type);
  ar.Io(note);
  int32_t addrTail[] = {12, 1, 3, 0, 1};  // address, sub-address flag, bit, BCD, length
  for (int32_t& field : addrTail) ar.Io(field);
  CGlobalSettings& settings = defaults.GetSettings();
  int32_t settingsVersion = 1;
  ar.Io(settingsVersion);
  ar.Io(settings.m_Flags);
  ar.Io(settings.m_StartFrame);
  ar.Io(settings.m_ScreenSaverMinutes);
  ar.Io(settings.m_ScreenSaverFrame);
  ar.Io(settings.m_PasswordLevel);
  ar.Io(settings.m_PasswordMask);
  for (int32_t& password : settings.m_Passwords) ar.Io(password);
  ar.Io(settings.m_ControlFlags);
  settings.m_ControlAddress.Serialize(ar);
  int32_t alarmsVersion = 1, alarmCount = 1;
  ar.Io(alarmsVersion);
  ar.Io(alarmCount);
  CAlarmItem alarm;
  alarm.m_Text = "old alarm";
  alarm.Serialize(ar);

  auto loaded = CKV410Doc::LoadFromBytes(ar.Bytes());
  ASSERT_EQ(loaded->GetLoadedFileVersion(), 1);
  const Bytes current = test::StoreProject(*loaded);
  EXPECT_EQ(current[19], 5);
  std::string json;
  EXPECT_EQ(ThroughJson(*loaded, &json), current);
  EXPECT_NE(json.find(R"("type": "RW.B", "number": "12.3", "note": "v1")"), std::string::npos) << json;
  EXPECT_NE(json.find(R"("passwordFrame": 1)"), std::string::npos);
}

TEST(JsonRoundTrip, PortNumbersWithoutTheirProtocolAreWrittenAsRawFields) {
  auto sample = test::LibrarySample();
  auto& lamp = dynamic_cast<CLedGE&>(*sample->FindFrame(1)->GetElements()[5]);
  lamp.m_Reg.m_TypeName = "X";  // octal inputs
  lamp.m_Reg.m_Address = 15;
  const Bytes expected = test::StoreProject(*sample);
  std::string json;
  {
    test::TempDir empty;
    test::ScopedProgramDirectory noLibrary(empty.Path());
    test::DiagnosticCapture diagnostics;  // the library files are missing
    json = test::OneLine(test::ExportJson(*sample));
    // Without the protocol nothing on COM0 can be checked: the import notes it and keeps the
    // addresses as they stand, so the project comes back whole.
    const ProjectJsonImport unchecked = test::Import(json);
    ASSERT_TRUE(unchecked) << unchecked.m_Error;
    EXPECT_EQ(test::StoreProject(*unchecked.m_Project), expected);
    ASSERT_FALSE(unchecked.m_Notes.empty());
    EXPECT_NE(unchecked.m_Notes[0].find("COM0 uses the PLC protocol 10, which the PLC library does not have"),
              std::string::npos) << unchecked.m_Notes[0];
  }
  EXPECT_NE(json.find(R"("type": "X", "address": 15, "hasSubAddress": 0, "subAddress": 0)"),
            std::string::npos);
  EXPECT_NE(json.find(R"("type": "LW.B", "number": "0.0")"), std::string::npos);  // internal
  EXPECT_EQ(json.find(R"("type": "D", "number")"), std::string::npos);

  test::ShippedLibrary library;
  auto imported = test::ImportOk(json);
  ASSERT_TRUE(imported);
  EXPECT_EQ(test::StoreProject(*imported), expected);
  // With the protocol at hand the number is written in the type's base.
  EXPECT_NE(test::OneLine(test::ExportJson(*imported)).find(R"("type": "X", "number": "17")"),
            std::string::npos);
}

TEST(JsonRoundTrip, ElementsWithoutNumbersAreNumberedAroundTheGivenOnes) {
  test::ShippedLibrary library;
  auto project = test::ImportOk(R"({"format": "KD820 project", "formatVersion": 1,
    "languages": [{"languageId": 2052, "font": "宋体"}],
    "frames": [{"number": 1, "elements": [
      {"type": "staticText"}, {"type": "staticText", "number": 0}, {"type": "staticText", "name": "Label"},
      {"type": "led"}, {"type": "staticText", "number": 5}]}]})");
  ASSERT_TRUE(project);
  const auto& elements = project->FindFrame(1)->GetElements();
  ASSERT_EQ(elements.size(), 5u);
  const std::pair<uint16_t, const char*> expected[] = {
      {1, "ST1"}, {0, "ST0"}, {2, "Label"}, {0, "LED0"}, {5, "ST5"}};
  for (std::size_t i = 0; i < elements.size(); ++i) {
    EXPECT_EQ(elements[i]->GetNumber(), expected[i].first) << i;
    EXPECT_EQ(elements[i]->GetName(), expected[i].second) << i;
  }
  // Texts without a font take the first language's; new elements' defaults otherwise.
  EXPECT_EQ(dynamic_cast<const CStaticText&>(*elements[0]).GetFace(), "宋体");
  EXPECT_EQ(dynamic_cast<const CLedGE&>(*elements[3]).m_Reg, CLedGE().m_Reg);
}

TEST(JsonRoundTrip, UnpairedSurrogatesReachTheFile) {
  test::ShippedLibrary library;
  auto project = test::ImportOk(R"({"format": "KD820 project", "formatVersion": 1,
    "languages": [{"languageId": 2052, "font": "宋体"}],
    "frames": [{"number": 1, "description": "x\ud800y\ude00\ud83d\ude00", "elements": []}]})");
  ASSERT_TRUE(project);
  EXPECT_EQ(Utf8ToUtf16(project->FindFrame(1)->GetDescription()),
            std::u16string(u"x\xD800y\xDE00\xD83D\xDE00"));
  auto loaded = Reloaded(*project);
  EXPECT_NE(test::ExportJson(*loaded).find(R"("description": "x\ud800y\ude00😀")"), std::string::npos);
}

TEST(JsonDoc, ExampleImportsAndRoundTrips) {
  test::ShippedLibrary library;
  std::ifstream in(std::string(KD820_TEST_SOURCE_DIR) + "/docs/project-json.md");
  std::stringstream text;
  text << in.rdbuf();
  const std::string doc = text.str();
  const std::size_t start = doc.find("```json\n");
  ASSERT_NE(start, std::string::npos);
  const std::size_t end = doc.find("```", start + 8);
  ASSERT_NE(end, std::string::npos);
  ProjectJsonImport result = test::Import(doc.substr(start + 8, end - start - 8));
  ASSERT_TRUE(result) << result.m_Error;
  EXPECT_TRUE(result.m_Notes.empty()) << ::testing::PrintToString(result.m_Notes);
  CKV410Project& project = *result.m_Project;
  EXPECT_EQ(project.GetFrames().size(), 2u);
  EXPECT_EQ(project.GetAlarms().m_Alarms.size(), 2u);
  EXPECT_EQ(project.GetPort(0)->m_BaudRate, 4);
  EXPECT_EQ(ThroughJson(project), test::StoreProject(project));
}
