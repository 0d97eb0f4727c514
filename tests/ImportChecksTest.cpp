// Import takes what the editor itself writes and refuses what its dialogs refuse: the default
// address a port reset leaves, the ports the PLC page offers, the key range of a function key,
// the ranges of the settings dialog; addresses as typed in its messages; a byte-order mark.
#include <gtest/gtest.h>

#include <limits>

#include "editor/screens/ElementTypes.h"
#include "editor/screens/HMIFrame.h"
#include "tests/JsonTestSupport.h"

using namespace kd820;

namespace {

// A document for the shipped pv5521 panel (model 1: COM0 with RS232 and RS485, COM1 with all
// three interfaces, no COM2) with Modbus RTU (protocol 1, stations 1~247) on COM0; the cases
// replace one part of it.
const std::string kBase = R"({
  "format": "KD820 project",
  "formatVersion": 1,
  "hardwareModel": 1,
  "ports": {"COM0": {"enabled": 1, "protocol": 1, "serialType": "RS485", "stationUsed": 1, "station": 1}},
  "languages": [{"languageId": 2052, "font": "宋体"}],
  "frames": [{"number": 1, "elements": [ELEMENT]}],
  "settings": {"passwordLevel": 0, "passwords": [1, 2, 3, 4, 5, 6, 7, 8]}
})";

std::string With(const std::string& a_From, const std::string& a_To,
                 const std::string& a_Element = R"({"type": "led"})") {
  std::string doc = kBase;
  doc.replace(doc.find("ELEMENT"), 7, a_Element);
  const std::size_t at = doc.find(a_From);
  EXPECT_NE(at, std::string::npos) << a_From;
  if (at != std::string::npos) doc.replace(at, a_From.size(), a_To);
  return doc;
}

std::string WithElement(const std::string& a_Element) { return With("", "", a_Element); }

class ImportChecks : public ::testing::Test {
 protected:
  test::ShippedLibrary m_Library;
};

}  // namespace

TEST_F(ImportChecks, BaseDocumentIsAccepted) {
  EXPECT_TRUE(test::ImportOk(WithElement(R"({"type": "led"})")));
}

// Fault 1: after a port's PLC is removed, a double-word address on it becomes the default
// internal address of its width (LW, double word, length 2); the export writes that and the
// import must take it.
TEST_F(ImportChecks, TheDefaultAddressAPortResetGivesADoubleWordIsImported) {
  const CAddr reset(CAddr::kDoubleWord);
  ASSERT_EQ(reset.m_TypeName, "LW");
  ASSERT_EQ(reset.m_Length, 2);
  CKV410Project project;
  project.SetHardwareModelId(1);
  auto frame = std::make_unique<CHMIFrame>(1);
  auto element = FindElementTypeByJsonName("register")->m_Create();
  element->VisitAddresses([&](CAddr& a_Addr) { a_Addr = reset; });
  frame->AddElement(std::move(element));
  project.AddFrame(frame);
  const std::string json = test::ExportJson(project);
  auto imported = test::ImportOk(json);
  ASSERT_TRUE(imported);
  EXPECT_EQ(test::StoreProject(*imported), test::StoreProject(project));

  // Only that default: other internal double words are refused as before.
  EXPECT_EQ(test::ImportError(WithElement(
                R"({"type": "register", "register": {"width": "doubleWord", "type": "LW", "number": "5"}})")),
            "frames[0].elements[0].register.number: LW holds single words");
  EXPECT_EQ(test::ImportError(WithElement(
                R"({"type": "register", "register": {"width": "doubleWord", "type": "RW", "number": "0"}})")),
            "frames[0].elements[0].register.number: RW holds single words");
}

// Fault 2: the ports as the PLC page of the wizard and of "comm" allows them.
TEST_F(ImportChecks, ImportRefusesAPortThePanelModelDoesNotHave) {
  EXPECT_EQ(test::ImportError(With(R"("ports": {)", R"("ports": {"COM2": {"enabled": 1, "protocol": 1}, )")),
            "ports.COM2: hardware model 1 (pv5521) has no port COM2");
  // A disabled port the model lacks is what every project has.
  EXPECT_TRUE(test::ImportOk(With(R"("ports": {)", R"("ports": {"COM2": {"enabled": 0}, )")));
}

TEST_F(ImportChecks, ImportRefusesAnInterfaceThePortDoesNotOffer) {
  EXPECT_EQ(test::ImportError(With(R"("serialType": "RS485")", R"("serialType": "RS422")")),
            "ports.COM0.serialType: RS422 is not offered by this port (RS232, RS485)");
  EXPECT_EQ(test::ImportError(With(R"("serialType": "RS485")", R"("serialType": {"code": 7})")),
            "ports.COM0.serialType: serial type 7 is not offered by this port (RS232, RS485)");
  // COM1 of the panel offers RS422.
  const std::string com1 = With(R"("COM0": {"enabled": 1, "protocol": 1, "serialType": "RS485")",
                                R"("COM1": {"enabled": 1, "protocol": 1, "serialType": "RS422")");
  EXPECT_TRUE(test::ImportOk(com1));
}

TEST_F(ImportChecks, ImportRefusesAStationOutsideTheProtocolsRange) {
  EXPECT_EQ(test::ImportError(With(R"("station": 1)", R"("station": 300)")),
            "ports.COM0.station: 300 is outside 1~247");
  EXPECT_EQ(test::ImportError(With(R"("station": 1)", R"("station": 0)")),
            "ports.COM0.station: 0 is outside 1~247");
  EXPECT_TRUE(test::ImportOk(With(R"("station": 1)", R"("station": 247)")));
}

// Fault 4: the key number is bits 16 to 21 of the action word.
TEST_F(ImportChecks, ImportRefusesAFunctionKeyNumberOutside0To63) {
  EXPECT_EQ(test::ImportError(WithElement(R"({"type": "functionKey", "key": 64})")),
            "frames[0].elements[0].key: 64 is outside 0~63");
  EXPECT_EQ(test::ImportError(WithElement(R"({"type": "functionKey", "key": -1})")),
            "frames[0].elements[0].key: -1 is outside 0~63");
  EXPECT_TRUE(test::ImportOk(WithElement(R"({"type": "functionKey", "key": 63})")));
}

TEST_F(ImportChecks, SettingsOutsideTheDialogsRangesAreRefused) {
  EXPECT_EQ(test::ImportError(With(R"("passwordLevel": 0)", R"("passwordLevel": 8)")),
            "settings.passwordLevel: 8 is outside 0~7 (levels 1 to 8)");
  EXPECT_EQ(test::ImportError(With(R"([1, 2, 3, 4, 5, 6, 7, 8])", R"([1, 2, 3, 4, 5, 6, 7, 1000000000])")),
            "settings.passwords[7]: 1000000000 is outside 0~999999999 (密码设定(0~999999999))");
  EXPECT_EQ(test::ImportError(With(R"([1, 2, 3, 4, 5, 6, 7, 8])", R"([-1, 2, 3, 4, 5, 6, 7, 8])")),
            "settings.passwords[0]: -1 is outside 0~999999999 (密码设定(0~999999999))");
  EXPECT_TRUE(test::ImportOk(With(R"("passwordLevel": 0)", R"("passwordLevel": 7)")));
  EXPECT_TRUE(test::ImportOk(With(R"([1, 2, 3, 4, 5, 6, 7, 8])", R"([0, 2, 3, 4, 5, 6, 7, 999999999])")));
}

TEST_F(ImportChecks, AnAddressOutsideItsRangeIsReportedAsTyped) {
  EXPECT_EQ(test::ImportError(WithElement(R"({"type": "register", "register": {"type": "LW", "number": "-1"}})")),
            "frames[0].elements[0].register.number: address -1 is outside 0~255 (DDD(0~255))");
  EXPECT_EQ(test::ImportError(WithElement(
                R"({"type": "led", "register": {"type": "LW.B", "number": "-2.F"}})")),
            "frames[0].elements[0].register.number: address -2 is outside 0~255 (DDD.H(0.0~255.F))");
  // Raw fields have no text: their value is shown.
  EXPECT_EQ(test::ImportError(WithElement(
                R"({"type": "register", "register": {"type": "LW", "address": -1, "hasSubAddress": 0}})")),
            "frames[0].elements[0].register: address -1 is outside 0~255 (DDD(0~255))");
}

TEST_F(ImportChecks, ADocumentStartingWithAByteOrderMarkIsRead) {
  const std::string doc = WithElement(R"({"type": "led"})");
  auto withMark = test::ImportOk("\xEF\xBB\xBF" + doc);
  ASSERT_TRUE(withMark);
  auto without = test::ImportOk(doc);
  ASSERT_TRUE(without);
  EXPECT_EQ(test::StoreProject(*withMark), test::StoreProject(*without));
  // Positions count from after the mark; a mark anywhere else is no white space.
  EXPECT_EQ(test::ImportError("\xEF\xBB\xBF{\"a\": 01}"), "line 1, column 8: a number may not have leading zeros");
  EXPECT_EQ(test::ImportError(" \xEF\xBB\xBF{}"), "line 1, column 2: expected a value");
}

// A project file that holds what the dialogs refuse (a damaged file, or one another program
// wrote) still exports completely; its import names the reason.
TEST_F(ImportChecks, ValuesTheDialogsRefuseExportButDoNotImport) {
  auto project = test::LibrarySample();
  project->GetPort(0)->m_SerialType = 7;
  std::string json = test::ExportJson(*project);
  EXPECT_NE(json.find(R"("serialType": {"code": 7})"), std::string::npos);
  EXPECT_EQ(test::ImportError(json), "ports.COM0.serialType: serial type 7 is not offered by this port (RS232, RS485)");

  project = test::LibrarySample();
  project->GetSettings().m_Passwords[7] = std::numeric_limits<int32_t>::min();
  json = test::ExportJson(*project);
  EXPECT_NE(json.find("-2147483648"), std::string::npos);
  EXPECT_EQ(test::ImportError(json),
            "settings.passwords[7]: -2147483648 is outside 0~999999999 (密码设定(0~999999999))");
}

// The reader looks keys up by hash in an object of many keys (so that a text of very many keys
// reads in linear time, see BM_ImportLargeText): a key given twice is still found.
TEST_F(ImportChecks, AKeyGivenTwiceIsFoundInAnObjectOfManyKeys) {
  std::string states;
  for (int i = 1; i <= 40; ++i) states += (i > 1 ? ", \"" : "\"") + std::to_string(i) + R"(": {"text": "s"})";
  const std::string element = R"({"type": "dynamicText", "states": {)" + states + "}}";
  EXPECT_TRUE(test::ImportOk(WithElement(element)));
  for (const char* twice : {"1", "16", "17", "40"}) {
    SCOPED_TRACE(twice);
    const std::string doc = WithElement(R"({"type": "dynamicText", "states": {)" + states + ", \"" + twice +
                                        R"(": {"text": "again"}}})");
    const std::string error = test::ImportError(doc);
    EXPECT_NE(error.find(std::string("the key \"") + twice + "\" is given twice"), std::string::npos) << error;
  }
}
