// The PLC library: conversion tables, protocol files, the manufacturer index, the port models
// and the shipped protocols.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <set>
#include <string>

#include "editor/devices/EditorContext.h"
#include "editor/devices/PlcLibrary.h"
#include "editor/project/ProjectModels.h"
#include "editor/project/KV410Project.h"
#include "tests/LibraryTestSupport.h"
#include "tests/TestSupport.h"

using namespace kd820;

namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

struct Reg {
  std::string m_Attributes;  // ID, Name, AddressWidth and any others
  std::string m_Min = "0";
  std::string m_Max = "99";
  std::string m_Master = R"(Type="DEC" Mode="WORD")";
  std::string m_Slave = R"(Type="NONE" Length="0")";
};

std::string RegXml(const Reg& a_Reg) {
  return "<REG_ADDR " + a_Reg.m_Attributes + "><MinAddress>" + a_Reg.m_Min + "</MinAddress><MaxAddress>" +
         a_Reg.m_Max + "</MaxAddress><Mask><Master " + a_Reg.m_Master + "/><Slave " + a_Reg.m_Slave +
         "/></Mask></REG_ADDR>\n";
}

struct Protocol {
  std::string m_Id = "1";
  std::string m_Name = "P";
  std::string m_Position = "Slave";
  std::string m_Baud = "9600";
  std::string m_Type = "RS485";
  std::string m_Parity = "2";
  std::string m_Timeout = "500";
  std::vector<Reg> m_Regs;
};

std::string ProtocolXml(const Protocol& a_P) {
  std::string regs;
  for (const auto& reg : a_P.m_Regs) regs += RegXml(reg);
  return R"(<?xml version="1.0" encoding="UTF-8"?>
<proto ID=")" + a_P.m_Id + R"(" PLCName=")" + a_P.m_Name + R"(">
  <SupportPLC><PLC>alpha</PLC><PLC> beta </PLC></SupportPLC>
  <StationNumber><Max>247</Max><Min>1</Min><Default>1</Default></StationNumber>
  <Droit Position=")" + a_P.m_Position + R"("/>
  <SerialPort>
    <DefaultParam><Type>)" + a_P.m_Type + "</Type><Baud>" + a_P.m_Baud +
         "</Baud><ByteSize>8</ByteSize><Parity>" + a_P.m_Parity + R"(</Parity><StopBits>2</StopBits></DefaultParam>
    <PLCResponceTimeout>)" + a_P.m_Timeout + R"(</PLCResponceTimeout><ProtocolTimeout1>4</ProtocolTimeout1>
    <ProtocolTimeout2>10</ProtocolTimeout2><PackegMaxWord>64</PackegMaxWord><PackegMaxBit>512</PackegMaxBit>
    <WordsBrokeInterval>8</WordsBrokeInterval><BitsBrokeInterval>32</BitsBrokeInterval>
    <CommunicationInterval>20</CommunicationInterval>
  </SerialPort>
  <REG_ADDRs>
)" + regs + "  </REG_ADDRs>\n</proto>\n";
}

bool LoadInto(CPLCModel& a_Model, const std::string& a_Text, IProblemSink& a_Problems = StderrProblems()) {
  return a_Model.LoadFromMemory(a_Text.data(), a_Text.size(), "p.CFG", a_Problems);
}

TEST(PlcConversion, TablesGiveCodesOrReportAndGiveZero) {
  test::DiagnosticCapture messages;
  EXPECT_EQ(TransSerialType("rs485-2", messages), 1);
  EXPECT_EQ(TransSerialType("RS422", messages), 2);
  EXPECT_EQ(TransBaudRate("9600", messages), 3);
  EXPECT_EQ(TransBaudRate("187500", messages), 8);
  EXPECT_EQ(TransDataBit("8", messages), 1);
  EXPECT_EQ(TransStopBit("2", messages), 1);
  EXPECT_EQ(TransAddressWidth("word", messages), kWidthWord);
  EXPECT_EQ(TransDataMode("Hex", messages), kBaseHex);
  EXPECT_EQ(TransAddressMode("dword", messages), kUnitDWord);
  EXPECT_THAT(messages.Messages(), IsEmpty());

  EXPECT_EQ(TransSerialType("rs485-3", messages), 0);
  EXPECT_EQ(TransBaudRate("9601", messages), 0);
  EXPECT_EQ(TransDataBit("9", messages), 0);
  EXPECT_EQ(TransStopBit("1.5", messages), 0);
  EXPECT_EQ(TransAddressWidth("qword", messages), 0);
  EXPECT_EQ(TransDataMode("bin", messages), 0);
  EXPECT_EQ(TransAddressMode("", messages), 0);
  EXPECT_THAT(messages.Messages(),
              ElementsAre("TransSerialType Error: rs485-3", "TransBaudRate Error: 9601", "TransDataBit Error: 9",
                          "TransStopBit Error: 1.5", "TransAddressWidth Error: qword", "TransDataMode Error: bin",
                          "TransAddressMode Error: "));
  EXPECT_EQ(SerialTypeText(1), "RS485");
  EXPECT_EQ(SerialTypeText(2), "RS422");
  EXPECT_EQ(SerialTypeText(3), "ERROR");
}

TEST(PlcModel, LoadsTheProtocolAndItsRegisterTypes) {
  Protocol p;
  p.m_Id = "12";
  p.m_Name = "Twelve";
  p.m_Regs = {
      {R"(ID="3" Name="D" AddressWidth="word" BigEndian="1")", "0", "9999"},
      {R"(ID="4" Name="D" AddressWidth="BIT" BigEndian="0")", "0", "7777", R"(Type="OCT" Mode="BIT")"},
      {R"(ID="5" Name="DD" AddressWidth="DWORD" BigEndian="2")", "0", "9998", R"(Type="HEX" Mode="DWORD")"},
      {R"(ID="6" Name="D.B" AddressWidth="BIT" BigEndian="")", "10", "20", R"(Type="DEC" Mode="WORD")",
       R"(Type="hex" Length="4")"},
      {R"(ID="7" Name="N" AddressWidth="WORD" SubIndexType="dec" SubIndexMin="7" SubIndexMax="255")", "0", "255",
       R"(Type="DEC" Mode="BYTE")", R"(Type="none" Length="4")"},
      {R"(ID="8" Name="W" AddressWidth="WORD" SubIndexType="" SubIndexMin="1" SubIndexMax="2")"},
  };
  test::DiagnosticCapture messages;
  CPLCModel model;
  ASSERT_TRUE(LoadInto(model, ProtocolXml(p), messages));
  EXPECT_THAT(messages.Messages(), IsEmpty());
  EXPECT_EQ(model.m_Id, 12);
  EXPECT_EQ(model.m_Name, "Twelve");
  EXPECT_THAT(model.m_SupportedPlcs, ElementsAre("alpha", "beta"));
  EXPECT_EQ((std::vector<int32_t>{model.m_StationMax, model.m_StationMin, model.m_StationDefault,
                                  model.m_SerialType, model.m_BaudRate, model.m_DataBits, model.m_Parity,
                                  model.m_StopBits}),
            (std::vector<int32_t>{247, 1, 1, 1, 3, 1, 2, 1}));
  EXPECT_TRUE(model.m_StationUsed);
  EXPECT_EQ((std::vector<int32_t>{model.m_ResponseTimeout, model.m_ProtocolTimeout1, model.m_ProtocolTimeout2,
                                  model.m_PacketMaxWords, model.m_PacketMaxBits, model.m_WordBreakInterval,
                                  model.m_BitBreakInterval, model.m_CommunicationInterval}),
            (std::vector<int32_t>{500, 4, 10, 64, 512, 8, 32, 20}));

  std::vector<std::string> bits, words;
  model.ListRegisterNames(true, bits);
  model.ListRegisterNames(false, words);
  EXPECT_THAT(bits, ElementsAre("D", "D.B"));
  EXPECT_THAT(words, ElementsAre("D", "N", "W", "DD"));  // words, then double words
  EXPECT_TRUE(model.HasRegisterTypes());

  // Two types named "D": the bit one among the bits, the word one among the words.
  const CRegisterType* bitD = model.FindRegisterType(true, "D");
  const CRegisterType* wordD = model.FindRegisterType(false, "D");
  ASSERT_NE(bitD, nullptr);
  ASSERT_NE(wordD, nullptr);
  EXPECT_EQ(bitD->m_Id, 4);
  EXPECT_EQ(bitD->m_AddressBase, kBaseOct);
  EXPECT_EQ(bitD->m_AddressMax, 7777);
  EXPECT_EQ(wordD->m_Id, 3);
  EXPECT_EQ(wordD->m_Width, kWidthWord);  // "word" in lower case
  EXPECT_TRUE(wordD->m_BigEndian);
  EXPECT_EQ(model.FindRegisterType(true, "d"), nullptr);
  EXPECT_EQ(model.FindRegisterType(true, "DD"), nullptr);

  const CRegisterType* dd = model.FindRegisterType(false, "DD");
  ASSERT_NE(dd, nullptr);
  EXPECT_EQ(dd->m_Width, kWidthDWord);
  EXPECT_FALSE(dd->m_BigEndian);  // only 1 counts
  EXPECT_EQ(dd->m_AddressBase, kBaseHex);
  EXPECT_EQ(dd->m_AddressUnit, kUnitDWord);

  const CRegisterType* wordBit = model.FindRegisterType(true, "D.B");
  ASSERT_NE(wordBit, nullptr);
  EXPECT_TRUE(wordBit->m_HasSubAddress);
  EXPECT_EQ(wordBit->m_SubBits, 4);
  EXPECT_EQ(wordBit->m_SubMin, 0);
  EXPECT_EQ(wordBit->m_SubMax, 15);
  EXPECT_EQ(wordBit->m_SubBase, kBaseHex);
  EXPECT_EQ(wordBit->m_AddressMin, 10);
  EXPECT_EQ(wordBit->m_AddressMax, 20);
  EXPECT_EQ(wordBit->m_AddressUnit, kUnitWord);
  EXPECT_FALSE(wordBit->m_HasIndex);

  const CRegisterType* indexed = model.FindRegisterType(false, "N");
  ASSERT_NE(indexed, nullptr);
  EXPECT_FALSE(indexed->m_HasSubAddress);  // "none"
  EXPECT_TRUE(indexed->m_HasIndex);
  EXPECT_EQ(indexed->m_IndexBase, kBaseDec);
  EXPECT_EQ(indexed->m_IndexMin, 7);
  EXPECT_EQ(indexed->m_IndexMax, 255);
  EXPECT_EQ(indexed->m_AddressUnit, kUnitByte);
  EXPECT_FALSE(model.FindRegisterType(false, "W")->m_HasIndex);  // empty SubIndexType
}

TEST(PlcModel, StationUseFollowsThePositionIgnoringCase) {
  for (const auto& [position, used] : std::vector<std::pair<std::string, bool>>{
           {"Slave", true}, {"SLAVE", true}, {"slave", true}, {"Master", false}, {"", false}, {"Slaves", false}}) {
    SCOPED_TRACE(position);
    Protocol p;
    p.m_Position = position;
    CPLCModel model;
    ASSERT_TRUE(LoadInto(model, ProtocolXml(p)));
    EXPECT_EQ(model.m_StationUsed, used);
  }
  // Empty or missing numbers read as 0.
  CPLCModel model;
  ASSERT_TRUE(LoadInto(model, "<p ID=\"5\"><StationNumber><Max></Max></StationNumber></p>"));
  EXPECT_EQ(model.m_Id, 5);
  EXPECT_EQ(model.m_StationMax, 0);
  EXPECT_EQ(model.m_ResponseTimeout, 0);
  EXPECT_FALSE(model.HasRegisterTypes());
}

TEST(PlcModel, TextsOutsideTheTablesReportAndLoadingGoesOn) {
  Protocol p;
  p.m_Baud = "9601";
  p.m_Type = "USB";
  p.m_Regs = {{R"(ID="1" Name="Q" AddressWidth="QWORD")", "0", "9", R"(Type="BIN" Mode="NIBBLE")"}};
  test::DiagnosticCapture messages;
  CPLCModel model;
  ASSERT_TRUE(LoadInto(model, ProtocolXml(p), messages));
  EXPECT_EQ(model.m_BaudRate, 0);
  EXPECT_EQ(model.m_SerialType, 0);
  EXPECT_THAT(messages.Messages(),
              ElementsAre("TransSerialType Error: USB", "TransBaudRate Error: 9601", "TransAddressWidth Error: QWORD",
                          "TransDataMode Error: BIN", "TransAddressMode Error: NIBBLE"));
  // Code 0 of the width table: a bit type.
  ASSERT_EQ(model.m_BitTypes.size(), 1u);
  EXPECT_EQ(model.m_BitTypes[0].m_Name, "Q");
}

TEST(PlcModel, RefusedFilesLeaveTheModelAsItWas) {
  std::vector<std::string> bad = {"<p ID=\"1\">", "", "<p ID=\"one\"/>"};
  Protocol p;
  p.m_Parity = "even";
  bad.push_back(ProtocolXml(p));
  p = Protocol();
  p.m_Timeout = "500ms";
  bad.push_back(ProtocolXml(p));
  for (const Reg& reg : std::vector<Reg>{
           {R"(ID="x" Name="D" AddressWidth="WORD")"},
           {R"(ID="1" Name="D" AddressWidth="WORD" BigEndian="yes")"},
           {R"(ID="1" Name="D" AddressWidth="WORD")", "0", "9999x"},
           {R"(ID="1" Name="D" AddressWidth="WORD" SubIndexType="DEC" SubIndexMax="7f")"},
           {R"(ID="1" Name="D" AddressWidth="BIT")", "0", "1", R"(Type="DEC" Mode="WORD")", R"(Type="HEX" Length="four")"},
           {R"(ID="1" Name="D" AddressWidth="BIT")", "0", "1", R"(Type="DEC" Mode="WORD")", R"(Type="HEX" Length="32")"},
       }) {
    p = Protocol();
    p.m_Regs = {reg};
    bad.push_back(ProtocolXml(p));
  }
  CPLCModel good;
  Protocol keep;
  keep.m_Name = "kept";
  keep.m_Regs = {{R"(ID="1" Name="D" AddressWidth="WORD")"}};
  ASSERT_TRUE(LoadInto(good, ProtocolXml(keep)));
  for (const auto& text : bad) {
    SCOPED_TRACE(text);
    test::DiagnosticCapture messages;
    CPLCModel model = good;
    EXPECT_FALSE(LoadInto(model, text, messages));
    EXPECT_EQ(model.m_Name, "kept");
    EXPECT_NE(model.FindRegisterType(false, "D"), nullptr);
    ASSERT_FALSE(messages.Messages().empty());
    EXPECT_EQ(messages.Messages().back(), "Error Load XML: p.CFG");
  }
  // The widest sub-address that still has a range.
  p = Protocol();
  p.m_Regs = {{R"(ID="1" Name="D" AddressWidth="BIT")", "0", "1", R"(Type="DEC" Mode="WORD")", R"(Type="HEX" Length="31")"}};
  CPLCModel wide;
  ASSERT_TRUE(LoadInto(wide, ProtocolXml(p)));
  EXPECT_EQ(wide.m_BitTypes[0].m_SubMax, INT32_MAX);
}

class PlcLibraryTest : public ::testing::Test {
 protected:
  std::filesystem::path PlcDir() const { return m_Dir.Path() / "lib" / "plc"; }
  std::string Write(const std::string& a_Name, const std::string& a_Text) {
    return test::WriteText(PlcDir() / a_Name, a_Text);
  }
  std::string WriteProtocol(const std::string& a_Name, const std::string& a_Id, const std::string& a_PlcName) {
    Protocol p;
    p.m_Id = a_Id;
    p.m_Name = a_PlcName;
    p.m_Regs = {{R"(ID="1" Name="R)" + a_Id + R"(" AddressWidth="WORD")"}};
    return Write(a_Name, ProtocolXml(p));
  }
  void WriteIndex(const std::string& a_Makers) {
    Write("index.CFG", "<?xml version=\"1.0\"?>\n<index>\n" + a_Makers + "</index>\n");
  }

  test::TempDir m_Dir;
  test::ScopedProgramDirectory m_Home{m_Dir.Path()};
  test::DiagnosticCapture m_Messages;
};

TEST_F(PlcLibraryTest, BuildsManufacturersWithProtocolsSortedById) {
  WriteIndex(R"(<manufacturer discription="Maker A" dir="a"/>
                <other discription="not a maker" dir="b"/>
                <manufacturer discription="Maker B" dir="b"/>)");
  WriteProtocol("a/x.CFG", "20", "X20");
  WriteProtocol("a/y.cfg", "5", "Y5");
  WriteProtocol("a/z.Cfg", "20", "Z20");
  WriteProtocol("a/ignored.txt", "1", "T1");
  const std::string broken = Write("a/broken.CFG", "<p ID=\"3\"");
  const std::string nonNumeric = WriteProtocol("a/w.CFG", "3a", "W");
  const std::string badRegister = Write("a/v.CFG", ProtocolXml([] {
                                          Protocol p;
                                          p.m_Id = "4";
                                          p.m_Regs = {{R"(ID="1" Name="D" AddressWidth="WORD")", "0", "ten"}};
                                          return p;
                                        }()));
  WriteProtocol("b/q.CFG", "7", "Q7");

  CPlcLibrary library(m_Messages);
  library.Build();
  std::vector<std::string> makers, plcsA, plcsB;
  library.ListManufacturers(makers);
  library.ListPlcs(0, plcsA);
  library.ListPlcs(1, plcsB);
  EXPECT_THAT(makers, ElementsAre("Maker A", "Maker B"));
  EXPECT_THAT(plcsA, ElementsAre("Y5", "X20", "Z20"));  // by id; equal ids keep file-name order
  EXPECT_THAT(plcsB, ElementsAre("Q7"));
  EXPECT_EQ(library.Manufacturers()[1].m_Dir, "b");
  EXPECT_THAT(m_Messages.Messages(), ElementsAre("Error Load XML: " + broken, "Error Load XML: " + badRegister,
                                                 "Error Load XML: " + nonNumeric));
  EXPECT_EQ(library.GetPlcPath(0, 0), (PlcDir() / "a" / "y.cfg").string());
  EXPECT_EQ(library.GetPlcPath(0, 9), "");
  EXPECT_EQ(library.GetPlcPath(9, 0), "");

  std::size_t maker = 99, plc = 99;
  ASSERT_TRUE(library.FindPlc(20, &maker, &plc));
  EXPECT_EQ(maker, 0u);
  EXPECT_EQ(plc, 1u);
  ASSERT_TRUE(library.FindPlc(7, &maker, &plc));
  EXPECT_EQ(maker, 1u);
  EXPECT_EQ(plc, 0u);
  EXPECT_FALSE(library.FindPlc(3, &maker, &plc));
  EXPECT_EQ(maker, 2u);  // counts all manufacturers
  EXPECT_FALSE(library.FindPlc(3, nullptr, nullptr));

  // The driver files: the protocol path without ".CFG", "_<n>.bin".
  EXPECT_EQ(library.GetDriverFileName(0, 1, 1), (PlcDir() / "a" / "x_1.bin").string());
  EXPECT_EQ(library.GetDriverFileName(0, 0, 0), (PlcDir() / "a" / "y_0.bin").string());
  EXPECT_EQ(library.GetDriverFileName(5, 0, 0), "");

  // The later of two files with one id serves the port models.
  CPLCModel model;
  ASSERT_TRUE(library.LoadPortModel(model, 20));
  EXPECT_EQ(model.m_Name, "Z20");
  EXPECT_FALSE(library.LoadPortModel(model, 3));  // not in the library: the model stays
  EXPECT_EQ(model.m_Name, "Z20");
}

TEST_F(PlcLibraryTest, MissingIndexLeavesTheLibraryEmpty) {
  CEditorContext context(m_Messages);
  EXPECT_TRUE(context.GetPlcLibrary().Manufacturers().empty());
  EXPECT_THAT(m_Messages.Messages(), ElementsAre("Error Load XML: " + (PlcDir() / "index.CFG").string()));
  EXPECT_FALSE(context.GetPlcLibrary().FindPlc(1, nullptr, nullptr));
  // Built once: no second message.
  context.GetPlcLibrary();
  EXPECT_EQ(m_Messages.Messages().size(), 1u);
}

TEST_F(PlcLibraryTest, ManufacturerDirectoriesStayBelowThePlcDirectory) {
  WriteIndex(R"(<manufacturer discription="empty" dir=""/>
                <manufacturer discription="up" dir="../outside"/>
                <manufacturer discription="absolute" dir="/tmp"/>
                <manufacturer discription="windows" dir="deep\inner"/>
                <manufacturer discription="missing" dir="nowhere"/>)");
  WriteProtocol("p.CFG", "1", "in plc itself");
  test::WriteText(m_Dir.Path() / "lib" / "outside" / "o.CFG", ProtocolXml(Protocol()));
  WriteProtocol("deep/inner/d.CFG", "4", "Deep");
  CPlcLibrary library(m_Messages);
  library.Build();
  ASSERT_EQ(library.Manufacturers().size(), 5u);
  EXPECT_TRUE(library.Manufacturers()[0].m_Plcs.empty());  // the index itself is no protocol
  EXPECT_TRUE(library.Manufacturers()[1].m_Plcs.empty());
  EXPECT_TRUE(library.Manufacturers()[2].m_Plcs.empty());
  ASSERT_EQ(library.Manufacturers()[3].m_Plcs.size(), 1u);
  EXPECT_EQ(library.Manufacturers()[3].m_Plcs[0].m_Name, "Deep");
  EXPECT_TRUE(library.Manufacturers()[4].m_Plcs.empty());
  EXPECT_EQ(m_Messages.Messages().size(), 3u);
}

TEST_F(PlcLibraryTest, PortModelsFollowTheProjectsPorts) {
  WriteIndex(R"(<manufacturer discription="M" dir="m"/>)");
  WriteProtocol("m/p1.CFG", "1", "One");
  WriteProtocol("m/p2.CFG", "2", "Two");
  CEditorContext context(m_Messages);
  EXPECT_EQ(context.GetPortModel(-1), nullptr);
  EXPECT_EQ(context.GetPortModel(4), nullptr);
  for (int i = 0; i < 4; ++i) ASSERT_TRUE(context.GetPlcLibrary().LoadPortModel(*context.GetPortModel(i), 2));

  CKV410Project project;
  project.GetPort(0)->m_Enabled = 1;
  project.GetPort(0)->m_ProtocolId = 1;
  project.GetPort(1)->m_Enabled = 1;
  project.GetPort(1)->m_ProtocolId = 99;  // no longer in the library
  project.GetPort(2)->m_Enabled = 0;
  project.GetPort(2)->m_ProtocolId = 1;
  ReloadPortModels(project, context);
  EXPECT_EQ(context.GetPortModel(0)->m_Name, "One");
  EXPECT_EQ(context.GetPortModel(1)->m_Name, "Two");  // kept
  EXPECT_EQ(context.GetPortModel(2)->m_Name, "");
  EXPECT_FALSE(context.GetPortModel(2)->HasRegisterTypes());
  EXPECT_EQ(context.GetPortModel(3)->m_Name, "");  // the CAN port is off
}

// Every protocol of the shipped library loads cleanly, and together they use every feature.
TEST(PlcLibraryShipped, EveryProtocolLoads) {
  const std::filesystem::path source = KD820_TEST_SOURCE_DIR;
  test::ScopedProgramDirectory home(source);
  test::DiagnosticCapture messages;
  CEditorContext context(messages);
  const CPlcLibrary& library = context.GetPlcLibrary();
  ASSERT_GE(library.Manufacturers().size(), 2u);
  EXPECT_EQ(library.Manufacturers()[0].m_Description, "Modbus");

  std::set<int32_t> widths, bases, units, ids;
  bool subAddress = false, index = false, bigEndian = false, slave = false, master = false;
  std::size_t protocols = 0;
  for (std::size_t m = 0; m < library.Manufacturers().size(); ++m) {
    const auto& maker = library.Manufacturers()[m];
    EXPECT_FALSE(maker.m_Plcs.empty()) << maker.m_Dir;
    for (std::size_t p = 0; p < maker.m_Plcs.size(); ++p) {
      SCOPED_TRACE(maker.m_Plcs[p].m_Path);
      ++protocols;
      EXPECT_TRUE(ids.insert(maker.m_Plcs[p].m_Id).second) << "ids are unique";
      CPLCModel model;
      ASSERT_TRUE(library.LoadPortModel(model, maker.m_Plcs[p].m_Id));
      EXPECT_TRUE(model.HasRegisterTypes());
      EXPECT_FALSE(model.m_SupportedPlcs.empty());
      EXPECT_LE(model.m_StationMin, model.m_StationDefault);
      EXPECT_LE(model.m_StationDefault, model.m_StationMax);
      (model.m_StationUsed ? slave : master) = true;
      for (const auto* list : {&model.m_BitTypes, &model.m_WordTypes, &model.m_DWordTypes}) {
        for (const auto& type : *list) {
          widths.insert(type.m_Width);
          bases.insert(type.m_AddressBase);
          units.insert(type.m_AddressUnit);
          if (type.m_HasSubAddress) {
            subAddress = true;
            bases.insert(type.m_SubBase);
          }
          if (type.m_HasIndex) index = true;
          if (type.m_BigEndian) bigEndian = true;
          EXPECT_LE(type.m_AddressMin, type.m_AddressMax) << type.m_Name;
        }
      }
      for (int n : {0, 1}) {
        const auto bytes = test::ReadFile(library.GetDriverFileName(m, p, n));
        ASSERT_GT(bytes.size(), 16u);
        EXPECT_EQ(std::string(bytes.begin(), bytes.begin() + 4), "KDDV");
        EXPECT_EQ(bytes[10], n);
      }
    }
  }
  EXPECT_GE(protocols, 3u);
  EXPECT_THAT(messages.Messages(), IsEmpty());
  EXPECT_EQ(widths, (std::set<int32_t>{kWidthBit, kWidthWord, kWidthDWord}));
  EXPECT_EQ(bases, (std::set<int32_t>{kBaseOct, kBaseDec, kBaseHex}));
  EXPECT_EQ(units, (std::set<int32_t>{kUnitBit, kUnitByte, kUnitWord, kUnitDWord}));
  EXPECT_TRUE(subAddress && index && bigEndian && slave && master);

  // The Modbus RTU master side: the panel polls slave stations 1..247.
  CPLCModel modbus;
  ASSERT_TRUE(library.LoadPortModel(modbus, 1));
  EXPECT_TRUE(modbus.m_StationUsed);
  EXPECT_EQ(modbus.m_StationMin, 1);
  EXPECT_EQ(modbus.m_StationMax, 247);
  EXPECT_EQ(modbus.m_StationDefault, 1);
}

}  // namespace
