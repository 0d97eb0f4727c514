// The enumerations: every code converts to its name (or number) and back in the look-ups, the
// PLC library reader, the compiled port record and the JSON form, and no table names a code
// twice.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <set>
#include <string>

#include "editor/base/CodeTables.h"
#include "editor/base/TextCase.h"
#include "editor/devices/PlcLibrary.h"
#include "editor/project/CommuUtils.h"
#include "editor/project/ProjectJsonCommon.h"
#include "tests/LibraryTestSupport.h"

using namespace kd820;
using ::testing::ElementsAre;
using ::testing::IsEmpty;

namespace {

struct NamedTable {
  const char* m_What;
  std::span<const NamedCode> m_Table;
};

const NamedTable kNamedTables[] = {
    {"serial types", kSerialTypes},   {"parities", kParities},         {"widths", kWidths},
    {"ports", kPorts},                {"library widths", kLibraryWidths}, {"library bases", kLibraryBases},
    {"library units", kLibraryUnits}, {"LED shapes", kLedShapes},      {"action classes", kActionClasses},
    {"frame actions", kFrameActions}, {"bit actions", kBitActions},    {"word actions", kWordActions},
    {"data types", kDataTypes},       {"directions", kDirections},     {"edges", kEdges},
    {"date separators", kDateSeparators}};

struct NumberedTable {
  const char* m_What;
  std::span<const NumberedCode> m_Table;
};

const NumberedTable kNumberedTables[] = {
    {"baud rates", kBaudRates}, {"data bits", kDataBits}, {"stop bits", kStopBits}};

}  // namespace

TEST(CodeTables, EveryNamedCodeConvertsBothWays) {
  for (const NamedTable& table : kNamedTables) {
    SCOPED_TRACE(table.m_What);
    std::set<int32_t> codes;
    std::set<std::string> names;
    for (const NamedCode& entry : table.m_Table) {
      EXPECT_TRUE(codes.insert(entry.m_Code).second) << entry.m_Code;
      EXPECT_TRUE(names.insert(entry.m_Name).second) << entry.m_Name;
      EXPECT_STREQ(NameOf(table.m_Table, entry.m_Code), entry.m_Name);
      EXPECT_EQ(CodeOfName(table.m_Table, entry.m_Name), entry.m_Code);
      EXPECT_EQ(CodeOfName(table.m_Table, AsciiLower(entry.m_Name), true), entry.m_Code);
      // The JSON form: the name, read back to the code.
      const pjson::Value value = projectjson::EnumValue(table.m_Table, entry.m_Code);
      EXPECT_EQ(projectjson::EnumOf(value, "x", table.m_Table), entry.m_Code);
    }
    EXPECT_EQ(NameOf(table.m_Table, 99), nullptr);
    EXPECT_EQ(CodeOfName(table.m_Table, "no such name"), std::nullopt);
    // A code without a name goes through JSON as {"code": n}.
    const pjson::Value unnamed = projectjson::EnumValue(table.m_Table, 99);
    EXPECT_EQ(unnamed.GetKind(), pjson::Value::Kind::Object);
    EXPECT_EQ(projectjson::EnumOf(unnamed, "x", table.m_Table), 99);
  }
}

TEST(CodeTables, EveryNumberedCodeConvertsBothWays) {
  for (const NumberedTable& table : kNumberedTables) {
    SCOPED_TRACE(table.m_What);
    std::set<int32_t> codes, numbers;
    for (const NumberedCode& entry : table.m_Table) {
      EXPECT_TRUE(codes.insert(entry.m_Code).second);
      EXPECT_TRUE(numbers.insert(entry.m_Number).second);
      ASSERT_NE(FindCode(table.m_Table, entry.m_Code), nullptr);
      EXPECT_EQ(FindCode(table.m_Table, entry.m_Code)->m_Number, entry.m_Number);
      EXPECT_EQ(CodeOfNumber(table.m_Table, entry.m_Number), entry.m_Code);
      const pjson::Value value = projectjson::NumberEnumValue(table.m_Table, entry.m_Code);
      EXPECT_EQ(projectjson::NumberEnumOf(value, "x", table.m_Table), entry.m_Code);
    }
    EXPECT_EQ(FindCode(table.m_Table, 99), nullptr);
    EXPECT_EQ(CodeOfNumber(table.m_Table, -3), std::nullopt);
  }
}

TEST(CodeTables, PortCodesReachThePortRecordAndComeFromTheLibraryTexts) {
  test::DiagnosticCapture messages;
  for (const NumberedCode& rate : kBaudRates) {
    EXPECT_EQ(CommuUtils::BaudRateCompileValue(rate.m_Code, messages), static_cast<uint32_t>(rate.m_Number));
    EXPECT_EQ(TransBaudRate(std::to_string(rate.m_Number), messages), rate.m_Code);
  }
  for (const NumberedCode& bits : kDataBits) {
    EXPECT_EQ(CommuUtils::DataBitCompileValue(bits.m_Code, messages), bits.m_Number);
    EXPECT_EQ(TransDataBit(std::to_string(bits.m_Number), messages), bits.m_Code);
  }
  for (const NumberedCode& bits : kStopBits) {
    EXPECT_EQ(CommuUtils::StopBitCompileValue(bits.m_Code, messages), bits.m_Number);
    EXPECT_EQ(TransStopBit(std::to_string(bits.m_Number), messages), bits.m_Code);
  }
  for (const NamedCode& type : kSerialTypes) {
    EXPECT_EQ(TransSerialType(type.m_Name, messages), type.m_Code);
    EXPECT_EQ(SerialTypeText(type.m_Code), type.m_Name);
  }
  for (const NamedCode& alias : kSerialTypeAliases) EXPECT_EQ(TransSerialType(alias.m_Name, messages), alias.m_Code);
  for (const NamedCode& width : kLibraryWidths) EXPECT_EQ(TransAddressWidth(width.m_Name, messages), width.m_Code);
  for (const NamedCode& base : kLibraryBases) EXPECT_EQ(TransDataMode(base.m_Name, messages), base.m_Code);
  for (const NamedCode& unit : kLibraryUnits) EXPECT_EQ(TransAddressMode(unit.m_Name, messages), unit.m_Code);
  EXPECT_THAT(messages.Messages(), IsEmpty());

  // RS232 0, RS485 (two-wire) 2, RS422 (four-wire) 1; parities as letters.
  EXPECT_EQ(CommuUtils::SerialTypeCompileValue(0, messages), 0);
  EXPECT_EQ(CommuUtils::SerialTypeCompileValue(1, messages), 2);
  EXPECT_EQ(CommuUtils::SerialTypeCompileValue(2, messages), 1);
  EXPECT_EQ(CommuUtils::VerifyBitCompileValue(0, messages), 'N');
  EXPECT_EQ(CommuUtils::VerifyBitCompileValue(1, messages), 'O');
  EXPECT_EQ(CommuUtils::VerifyBitCompileValue(2, messages), 'E');

  EXPECT_EQ(CommuUtils::BaudRateCompileValue(9, messages), 0u);
  EXPECT_EQ(CommuUtils::VerifyBitCompileValue(-1, messages), 0);
  EXPECT_THAT(messages.Messages(), ElementsAre("[CommuUtils::BaudRateCompileValue]Not support: 9",
                                               "[CommuUtils::VerifyBitCompileValue]Not support: -1"));
}
