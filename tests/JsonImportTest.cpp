// Import refuses what the editor refuses and names the place of the fault as a JSON path.
#include <gtest/gtest.h>

#include "editor/devices/PlcLibrary.h"
#include "tests/JsonTestSupport.h"

using namespace kd820;

namespace {

// A small accepted document; the cases change one part of it.
const std::string kBase = R"({
  "format": "KD820 project",
  "formatVersion": 1,
  "hardwareModel": 1,
  "ports": {"COM0": {"enabled": 1, "protocol": 10, "serialType": "RS485"}},
  "languages": [{"languageId": 2052, "font": "宋体"}, {"languageId": 1033, "font": "Arial"}],
  "frames": [
    {"number": 1, "previous": 0, "next": 2, "elements": [
      {"type": "register", "left": 150, "top": 0, "width": 40, "height": 16,
       "register": {"port": "COM0", "station": 1, "type": "D", "number": "200"}},
      {"type": "staticText", "number": 0, "text": "Hi", "width": 12, "height": 8},
      {"type": "picture", "bitmap": 1, "width": 8, "height": 1}
    ]},
    {"number": 2, "elements": []}
  ],
  "alarms": {"items": [
    {"flags": 16, "register": {"port": "COM0", "type": "M", "number": "5"}, "text": "hot"},
    {"flags": 5, "rangeUsed": 1, "rangeUpper": 900, "rangeLower": 100,
     "register": {"width": "word", "type": "LW", "number": "3"}, "text": "level"}
  ]},
  "transfers": [{"edge": "rising", "trigger": {"type": "LW.B", "number": "1.F"}}],
  "bitmaps": [{"id": 1, "width": 8, "height": 1, "rows": ["A5"]}]
})";

// The base document with one piece of text replaced (which must occur in it).
std::string With(const std::string& a_From, const std::string& a_To) {
  const std::size_t at = kBase.find(a_From);
  EXPECT_NE(at, std::string::npos) << a_From;
  std::string doc = kBase;
  if (at != std::string::npos) doc.replace(at, a_From.size(), a_To);
  return doc;
}

struct Case {
  const char* m_From;
  const char* m_To;
  const char* m_Error;
};

void ExpectRefusals(std::initializer_list<Case> a_Cases) {
  for (const Case& c : a_Cases) {
    SCOPED_TRACE(c.m_To);
    EXPECT_EQ(test::ImportError(With(c.m_From, c.m_To)), c.m_Error);
  }
}

class JsonImport : public ::testing::Test {
 protected:
  test::ShippedLibrary m_Library;
};

}  // namespace

TEST_F(JsonImport, BaseDocumentIsAccepted) {
  ProjectJsonImport result = test::Import(kBase);
  ASSERT_TRUE(result) << result.m_Error;
  EXPECT_TRUE(result.m_Notes.empty());
  EXPECT_EQ(result.m_Project->GetFrames().size(), 2u);
  EXPECT_EQ(result.m_Project->GetPort(0)->m_SerialType, CPortCom::kRs485);
}

TEST_F(JsonImport, StructureAndValueErrors) {
  ExpectRefusals({
      {R"("format": "KD820 project")", R"("format": "other")",
       R"(format: expected "KD820 project", found "other")"},
      {R"("formatVersion": 1)", R"("formatVersion": 2)",
       "formatVersion: version 2 is newer than the version this editor reads (1)"},
      {R"("formatVersion": 1,)", "", R"(the key "formatVersion" is missing)"},
      {R"("serialType": "RS485")", R"("serialType": "RS999")",
       R"(ports.COM0.serialType: unknown name "RS999"; accepted: "RS232", "RS485", "RS422")"},
      {R"("serialType": "RS485")", R"("baudRate": 9601)",
       "ports.COM0.baudRate: 9601 is not one of 1200, 2400, 4800, 9600, 19200, 38400, 57600, "
       "115200, 187500"},
      {R"("previous": 0)", R"("previous": 70000)", "frames[0].previous: 70000 is outside 0~65535"},
      {R"("previous": 0)", R"("previous": 1.5)", "frames[0].previous: 1.5 is not an integer"},
      {R"("previous": 0)", R"("previous": "0")", "frames[0].previous: expected an integer, found a string"},
      {R"("text": "Hi")", R"("text": "Hi", "colour": 1)",
       "frames[0].elements[1].colour: unknown key (accepted keys: type, number, name, left, top, "
       "width, height, doubleSize, reverse, storedWord1, storedWord2, inputOrder, text, "
       "sizeIndex, font, builtinFont, furtherWord)"},
      {R"("type": "staticText")", R"("type": "label")",
       R"(frames[0].elements[1].type: unknown element type "label"; accepted: "led", "functionKey", )"
       R"("staticText", "dynamicText", "register", "bar", "trend", "picture", "ascii", "alarmList")"},
      {R"({"number": 2, "elements": []})", R"({"number": 1, "elements": []})",
       "frames[1].number: 1 is already the number of frames[0]"},
      {R"({"type": "picture")", R"({"type": "staticText", "number": 0}, {"type": "picture")",
       "frames[0].elements[2].number: 0 is already the number of the staticText frames[0].elements[1]"},
      {R"("number": 0, "text")", R"("number": 65535, "text")",
       "frames[0].elements[1].number: 65535 is outside 0~65534"},
      {R"("left": 150)", R"("left": 160)",
       "frames[0].elements[0]: the element at (160,0) of 40x16 pixels does not lie inside the "
       "192x64 display of hardware model 1 (pv5521)"},
      {R"("width": 12)", R"("width": -1)",
       "frames[0].elements[1]: the element at (0,0) of -1x8 pixels does not lie inside the "
       "192x64 display of hardware model 1 (pv5521)"},
      {R"("bitmap": 1)", R"("bitmap": 2)", "frames[0].elements[2].bitmap: no bitmap has the id 2"},
      {R"("rows": ["A5"])", R"("rows": ["A"])",
       "bitmaps[0].rows[0]: expected 2 hexadecimal digits for a width of 8, found 1 characters"},
      {R"("rows": ["A5"])", R"("rows": ["G5"])", R"(bitmaps[0].rows[0]: "G5" is not a hexadecimal byte)"},
      {R"("rows": ["A5"])", R"("rows": [])", "bitmaps[0].rows: expected 1 rows (the height), found 0"},
      {R"({"id": 1,)", R"({"id": 0,)", "bitmaps[0].id: 0: bitmap ids start at 1"},
      {R"("edge": "rising")", R"("edge": "up")",
       R"(transfers[0].edge: unknown name "up"; accepted: "none", "rising", "falling", "both")"},
      {R"("edge": "rising")", R"("edge": {"code": 7, "name": 1})",
       "transfers[0].edge.name: unknown key (accepted keys: code)"},
      {R"("elements": []})", R"("elements": [], "elements": []})",
       R"(line 14, column 35: the key "elements" is given twice)"},
  });
}

TEST_F(JsonImport, TextThatIsNotJsonGivesLineAndColumn) {
  EXPECT_EQ(test::ImportError("{\n  \"format\": \"KD820 project\"\n  \"formatVersion\": 1}"),
            "line 3, column 3: expected ',' or '}', found '\"'");
  EXPECT_EQ(test::ImportError(""), "line 1, column 1: expected a value, found the end of the text");
  EXPECT_EQ(test::ImportError("{\"a\": 01}"), "line 1, column 8: a number may not have leading zeros");
  EXPECT_EQ(test::ImportError("{\"a\": \"\xC3\"}"), "line 1, column 8: the text is not valid UTF-8");
  EXPECT_EQ(test::ImportError("{\"a\": \"\xED\xA0\x80\"}"), "line 1, column 8: the text is not valid UTF-8");
  EXPECT_EQ(test::ImportError("[1] x"), "line 1, column 5: unexpected text after the document");
  EXPECT_EQ(test::ImportError(std::string(100, '[')), "line 1, column 65: nested deeper than 64 levels");
}

TEST_F(JsonImport, AddressChecks) {
  ExpectRefusals({
      {R"("number": "200")", R"("number": "70000")",
       "frames[0].elements[0].register.number: address 70000 is outside 0~9999 (DDDD(0~9999))"},
      {R"("number": "200")", R"("number": "12x")",
       R"(frames[0].elements[0].register.number: "12x" is not a number of D DDDD(0~9999))"},
      {R"("type": "D")", R"("type": "Q")",
       R"(frames[0].elements[0].register.type: "Q" is not a word register type of the PLC on COM0 )"
       R"((accepted: "D", "V", "R", "N", "DD", "L"))"},
      {R"("type": "D")", R"("type": "DD")",
       "frames[0].elements[0].register.number: DD is a double-word type"},
      {R"("port": "COM0", "station": 1)", R"("port": "COM1", "station": 1)",
       "frames[0].elements[0].register.port: COM1 is not enabled"},
      {R"("port": "COM0", "station": 1)", R"("port": "COM9", "station": 1)",
       R"(frames[0].elements[0].register.port: unknown name "COM9"; accepted: "internal", "COM0", )"
       R"("COM1", "COM2", "CAN")"},
      {R"("port": "COM0", "station": 1)", R"("port": {"code": 7}, "station": 1)",
       "frames[0].elements[0].register.port: port 7 does not exist"},
      {R"("type": "LW", "number": "3")", R"("type": "LW", "number": "300")",
       "alarms.items[1].register.number: address 300 is outside 0~255 (DDD(0~255))"},
      {R"("type": "LW", "number": "3")", R"("type": "LW.B", "number": "3.0")",
       R"(alarms.items[1].register.type: "LW.B" is not an internal word register type (accepted: "LW", "RW"))"},
      {R"("number": "1.F")", R"("number": "1.G")",
       R"(transfers[0].trigger.number: "1.G" is not a number of LW.B DDD.H(0.0~255.F))"},
      {R"("number": "1.F")", R"("number": "1.10")",
       "transfers[0].trigger.number: bit number 10 is outside 0~F (DDD.H(0.0~255.F))"},
      {R"("number": "200")", R"("number": "200", "address": 1)",
       "frames[0].elements[0].register: give the number either as \"number\" or as \"address\", "
       "\"hasSubAddress\" and \"subAddress\", not both"},
      {R"("number": "200")", R"("address": 10000, "hasSubAddress": 0, "subAddress": 0)",
       "frames[0].elements[0].register: address 10000 is outside 0~9999 (DDDD(0~9999))"},
  });
  // The raw form is accepted like the text form.
  auto project = test::ImportOk(With(R"("number": "200")", R"("address": 200, "hasSubAddress": 0, "subAddress": 0)"));
  ASSERT_TRUE(project);
  auto same = test::ImportOk(kBase);
  ASSERT_TRUE(same);
  EXPECT_EQ(test::StoreProject(*project), test::StoreProject(*same));
}

TEST_F(JsonImport, AlarmChecksUseTheEditorsMessages) {
  ExpectRefusals({
      {R"("text": "hot")", R"("text": "")", "alarms.items[0].text: 信息输入不能为空"},
      {R"("flags": 16,)", R"("flags": 16, "value": 2147483648,)",
       "alarms.items[0].value: 字状态取值范围越界，必须在-2147483648和2147483647"},
      {R"("rangeLower": 100)", R"("rangeLower": -99999999999999999999999)",
       "alarms.items[1].rangeLower: 字状态取值范围越界，必须在-2147483648和2147483647"},
      {R"("rangeUpper": 900)", R"("rangeUpper": 99)", "alarms.items[1].rangeUpper: 上限必须大于下限"},
      {R"("text": "level")", R"("text": "level"}, {"register": {"port": "COM0", "type": "M", "number": "5"}, "flags": 16, "text": "hot")",
       "alarms.items[2]: 报警设置条目已存在"},
  });
  // Equal limits are accepted, and so is an upper limit below the lower one while no range is used.
  EXPECT_TRUE(test::ImportOk(With(R"("rangeUpper": 900)", R"("rangeUpper": 100)")));
  EXPECT_TRUE(test::ImportOk(With(R"("rangeUsed": 1, "rangeUpper": 900)", R"("rangeUsed": 0, "rangeUpper": 9)")));
}

TEST_F(JsonImport, LanguageChecksUseTheEditorsMessages) {
  const std::string languages = R"([{"languageId": 2052, "font": "宋体"}, {"languageId": 1033, "font": "Arial"}])";
  ExpectRefusals({
      {languages.c_str(), "[]", "languages: 请至少配置一种语言！"},
      {languages.c_str(), R"([{"languageId": 2052, "font": "宋体"}, {"font": "Arial"}])",
       "languages[1].languageId: 请选择语言！"},
      {languages.c_str(), R"([{"languageId": 2052, "font": ""}])", "languages[0].font: 请选择字体！"},
      {languages.c_str(), R"([{"languageId": 2052}])", "languages[0].font: 请选择字体！"},
  });
  std::string nine = "[";
  for (int i = 0; i < 9; ++i) nine += std::string(i ? ", " : "") + R"({"languageId": 1033, "font": "Arial"})";
  EXPECT_EQ(test::ImportError(With(languages, nine + "]")), "languages: 9 languages; a project has at most 8");
  EXPECT_EQ(test::ImportError(With(R"("languages": )" + languages + ",", "")), R"(the key "languages" is missing)");
}

TEST_F(JsonImport, UnknownModelAndProtocolAreNotedNotRefused) {
  // Model 77 is not in the library: its display is unknown, so a far-away element passes.
  ProjectJsonImport result = test::Import(With(R"("left": 150)", R"("left": 500)").replace(
      kBase.find(R"("hardwareModel": 1)"), 18, R"("hardwareModel": 77)"));
  ASSERT_TRUE(result) << result.m_Error;
  EXPECT_EQ(result.m_Notes, std::vector<std::string>{"hardwareModel: the hardware library has no model 77; "
                                                     "elements were not checked against its display"});
  // An enabled port with a protocol the library lacks is noted; only its addresses are refused.
  const std::string unknownProtocol =
      With(R"({"COM0": {"enabled": 1, "protocol": 10, "serialType": "RS485"}})",
           R"({"COM0": {"enabled": 1, "protocol": 10, "serialType": "RS485"}, "COM1": {"enabled": 1, "protocol": 99}})");
  result = test::Import(unknownProtocol);
  ASSERT_TRUE(result) << result.m_Error;
  EXPECT_EQ(result.m_Notes, std::vector<std::string>{
                                "ports.COM1: COM1 uses the PLC protocol 99, which the PLC library does "
                                "not have; its register addresses were not checked"});
}

TEST_F(JsonImport, LeavesTheContextsPortModelsAlone) {
  CEditorContext context;
  CPLCModel marker;
  marker.m_Name = "shown project's model";
  *context.GetPortModel(0) = marker;
  *context.GetPortModel(1) = marker;
  EXPECT_TRUE(ImportProjectJson(kBase, context));
  EXPECT_FALSE(ImportProjectJson(With(R"("text": "hot")", R"("text": "")"), context));
  EXPECT_EQ(context.GetPortModel(0)->m_Name, marker.m_Name);
  EXPECT_EQ(context.GetPortModel(1)->m_Name, marker.m_Name);
  EXPECT_FALSE(context.GetPortModel(0)->HasRegisterTypes());
}

TEST_F(JsonImport, DocumentsBeyondWhatAPanelHoldsAreRefused) {
  const std::string head =
      R"({"format": "KD820 project", "formatVersion": 1, "languages": [{"languageId": 1033, "font": "Arial"}], "frames": [)";
  // As many frames as a project file holds (16-bit numbers) import; one more does not.
  std::string frames;
  for (int n = 0; n <= 65535; ++n) frames += (n ? "," : "") + std::string(R"({"number": )") + std::to_string(n) + "}";
  EXPECT_EQ(test::ImportError(head + frames + "]}"), "frames: 65536 frames; an import takes at most 65535");
  frames.resize(frames.rfind(','));
  const auto many = test::ImportOk(head + frames + "]}");
  ASSERT_TRUE(many);
  EXPECT_EQ(many->GetFrames().size(), 65535u);

  std::string elements;
  for (int f = 0; f < 33; ++f) {
    elements += (f ? "," : "") + std::string(R"({"number": )") + std::to_string(f) + R"(, "elements": [)";
    for (int e = 0; e < 1000; ++e) elements += e ? R"(,{"type": "led"})" : R"({"type": "led"})";
    elements += "]}";
  }
  EXPECT_EQ(test::ImportError(head + elements + "]}"),
            "frames[32].elements[768]: an import takes at most 32768 elements");
}
