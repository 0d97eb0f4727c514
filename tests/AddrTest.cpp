// Register addresses: the compiled descriptor, text forms, range hints and range checks.
#include <gtest/gtest.h>

#include "editor/devices/Addr.h"
#include "editor/devices/PlcLibrary.h"
#include "editor/project/KV410Project.h"
#include "editor/devices/EditorContext.h"
#include "tests/LibraryTestSupport.h"

using namespace kd820;

namespace {

using Descriptor = std::array<uint8_t, 12>;

CRegisterType Type(const char* a_Name, int32_t a_Id, int32_t a_Width, int32_t a_Base, int32_t a_Min,
                   int32_t a_Max) {
  CRegisterType t;
  t.m_Name = a_Name;
  t.m_Id = a_Id;
  t.m_Width = a_Width;
  t.m_AddressBase = a_Base;
  t.m_AddressMin = a_Min;
  t.m_AddressMax = a_Max;
  t.m_AddressUnit = a_Width == kWidthBit ? kUnitBit : kUnitWord;
  return t;
}

// Port 0's PLC model holds a few register types for the duration of a test.
class AddrTest : public ::testing::Test {
 protected:
  void SetUp() override {
    CPLCModel& model = *m_Context.GetPortModel(0);
    model = CPLCModel();
    model.m_Id = 9;
    model.m_StationDefault = 3;
    CRegisterType x = Type("X", 0x10, kWidthBit, kBaseOct, 0, 0377);
    CRegisterType m = Type("M", 0x11, kWidthBit, kBaseDec, 0, 9999);
    m.m_HasSubAddress = true;
    m.m_SubBits = 4;
    m.m_SubMax = 15;
    m.m_SubBase = kBaseHex;
    m.m_HasIndex = true;
    m.m_IndexMin = 0;
    m.m_IndexMax = 7;
    m.m_IndexBase = kBaseDec;
    CRegisterType d = Type("D", 0x20, kWidthWord, kBaseDec, 0, 9999);
    CRegisterType be = Type("BE", 0x21, kWidthWord, kBaseHex, 0, 0xFFFF);
    be.m_BigEndian = true;
    CRegisterType dd = Type("DD", 0x30, kWidthDWord, kBaseDec, 0, 9998);
    dd.m_AddressUnit = kUnitWord;
    for (const auto& t : {x, m}) {
      model.m_BitTypes.push_back(t);
      model.m_BitNames[t.m_Name] = t;
    }
    for (const auto& t : {d, be}) {
      model.m_WordTypes.push_back(t);
      model.m_WordNames[t.m_Name] = t;
    }
    model.m_DWordTypes.push_back(dd);
    model.m_WordNames[dd.m_Name] = dd;
  }

  static CAddr Port(int32_t a_Width, const char* a_Type, int32_t a_Address) {
    CAddr a(a_Width);
    a.m_Port = 0;
    a.m_Station = 2;
    a.m_TypeName = a_Type;
    a.m_Address = a_Address;
    a.m_HasSubAddress = 0;
    return a;
  }

  const std::vector<std::string>& Diagnostics() const { return m_Capture.Messages(); }

  test::DiagnosticCapture m_Capture;
  CEditorContext m_Context{m_Capture};
};

}  // namespace

TEST_F(AddrTest, InternalDescriptors) {
  CAddr bit(CAddr::kBit);
  bit.m_Address = 3;
  bit.m_SubAddress = 0xA;
  EXPECT_EQ(bit.Descriptor(m_Context), (Descriptor{0x03, 0x00, 0xFF, 0, 0xF9, 0x00, 1, 0, 0x3A, 0, 0, 0}));

  CAddr rw(CAddr::kWord);
  rw.m_TypeName = "RW";
  rw.m_Address = 100;
  EXPECT_EQ(rw.Descriptor(m_Context), (Descriptor{0x03, 0x00, 0xFF, 0, 0xFE, 0x22, 1, 0, 100, 0, 0, 0}));

  CAddr bad(CAddr::kWord);
  bad.m_TypeName = "XW";
  EXPECT_EQ(bad.GetRegIdForRegPrm(m_Context), 0);
  EXPECT_EQ(bad.GetRegTypeForRegPrm(m_Context), 0);
  EXPECT_EQ(Diagnostics(), (std::vector<std::string>{
                               "[CAddr::GetRegIdForRegPrm]Not support this register type: XW",
                               "[CAddr::GetRegTypeForRegPrm]Not support this register type: XW"}));
}

TEST_F(AddrTest, PortDescriptors) {
  CAddr m = Port(CAddr::kBit, "M", 12);
  m.m_HasSubAddress = 1;
  m.m_SubAddress = 3;
  m.m_HasIndex = 1;
  m.m_Index = 2;
  const Descriptor d = m.Descriptor(m_Context);
  EXPECT_EQ(d[2], 0);     // port
  EXPECT_EQ(d[3], 2);     // station
  EXPECT_EQ(d[4], 0x11);  // register id
  EXPECT_EQ(d[5], 0x00);  // bit unit, bit addressed
  const uint32_t value = d[8] | (d[9] << 8) | (d[10] << 16) | (static_cast<uint32_t>(d[11]) << 24);
  EXPECT_EQ(value, 12u * 16 + 3 + 2 * 800000);

  CAddr word = Port(CAddr::kWord, "D", 7);
  word.m_HasIndex = 1;
  word.m_Index = 1;
  EXPECT_EQ(word.Descriptor(m_Context)[8] | (word.Descriptor(m_Context)[9] << 8) | (word.Descriptor(m_Context)[10] << 16),
            100007);

  CAddr be = Port(CAddr::kWord, "BE", 1);
  be.m_Bcd = 1;
  EXPECT_EQ(be.Descriptor(m_Context)[0], 0x03);
  EXPECT_EQ(be.Descriptor(m_Context)[1], 0x81);
  be.m_Bcd = 0;
  EXPECT_EQ(be.Descriptor(m_Context)[1], 0x01);

  for (int32_t length : {2, 3}) {
    CAddr dd = Port(CAddr::kDoubleWord, "DD", 0);
    dd.m_Length = length;
    EXPECT_EQ(dd.Descriptor(m_Context)[6], 1) << length;
    EXPECT_EQ(dd.Descriptor(m_Context)[5], 0x24);  // double-word unit, word addressed
  }
  CAddr words = Port(CAddr::kWord, "D", 0);
  words.m_Length = 5;
  EXPECT_EQ(words.Descriptor(m_Context)[6], 5);
}

TEST_F(AddrTest, UnknownPortTypeCompilesAsTheDefaultInternalAddressAndStaysAsItIs) {
  CAddr a = Port(CAddr::kWord, "Q", 5);
  EXPECT_TRUE(a.HasUnknownPortType(m_Context));
  const CAddr before = a;
  std::vector<uint8_t> bytes;
  a.Compile(bytes, m_Context);
  EXPECT_EQ(a, before);  // the user's address survives the compile
  EXPECT_EQ(bytes, (std::vector<uint8_t>{0x03, 0, 0xFF, 0, 0xFF, 0x22, 1, 0, 0, 0, 0, 0}));
  const Descriptor descriptor = a.Descriptor(m_Context);
  EXPECT_EQ(bytes, std::vector<uint8_t>(descriptor.begin(), descriptor.end()));
  EXPECT_FALSE(Port(CAddr::kWord, "D", 5).HasUnknownPortType(m_Context));
  EXPECT_FALSE(CAddr().HasUnknownPortType(m_Context));
}

TEST_F(AddrTest, FindTypeSearchesBitsOrWords) {
  EXPECT_EQ(Port(CAddr::kBit, "M", 0).FindType(m_Context)->m_Id, 0x11);
  EXPECT_EQ(Port(CAddr::kWord, "M", 0).FindType(m_Context), nullptr);
  EXPECT_EQ(Port(CAddr::kDoubleWord, "DD", 0).FindType(m_Context)->m_Id, 0x30);
  EXPECT_EQ(CAddr().FindType(m_Context), nullptr);
}

TEST_F(AddrTest, RangeHints) {
  EXPECT_EQ(RangeText(Type("D", 1, kWidthWord, kBaseDec, 0, 9999)), "DDDD(0~9999)");
  EXPECT_EQ(RangeText(Type("X", 1, kWidthBit, kBaseOct, 0, 0377)), "OOO(0~377)");
  EXPECT_EQ(RangeText(Type("H", 1, kWidthWord, kBaseHex, 0, 0xFFFF)), "HHHH(0~FFFF)");
  EXPECT_EQ(Port(CAddr::kBit, "M", 0).RangeText(m_Context), "DDDD.H(0.0~9999.F)");
  CAddr lwb(CAddr::kBit);
  EXPECT_EQ(lwb.RangeText(m_Context), "DDD.H(0.0~255.F)");
  CAddr rw(CAddr::kWord);
  rw.m_TypeName = "RW";
  EXPECT_EQ(rw.RangeText(m_Context), "DDD(0~511)");
}

TEST_F(AddrTest, NumbersFormatAndParseInTheirBase) {
  CAddr x = Port(CAddr::kBit, "X", 0);
  ASSERT_TRUE(x.ParseNumber("17", m_Context));
  EXPECT_EQ(x.m_Address, 15);
  EXPECT_EQ(x.FormatNumber(m_Context), "17");
  EXPECT_FALSE(x.ParseNumber("18", m_Context));
  EXPECT_FALSE(x.ParseNumber("1.2", m_Context));

  CAddr lwb(CAddr::kBit);
  ASSERT_TRUE(lwb.ParseNumber("12.A", m_Context));
  EXPECT_EQ(lwb.m_Address, 12);
  EXPECT_EQ(lwb.m_SubAddress, 10);
  EXPECT_EQ(lwb.FormatNumber(m_Context), "12.A");
  EXPECT_FALSE(lwb.ParseNumber("12", m_Context));
  EXPECT_FALSE(lwb.ParseNumber("12.G", m_Context));

  CAddr lw;
  lw.m_Address = 12;
  EXPECT_EQ(lw.m_TypeName + lw.FormatNumber(m_Context), "LW12");
  EXPECT_FALSE(lw.ParseNumber("", m_Context));
  EXPECT_FALSE(lw.ParseNumber("12abc", m_Context));

  EXPECT_EQ(ParseNumberInBase("-5", kBaseDec), -5);
  EXPECT_EQ(ParseNumberInBase("FFFFFFFF", kBaseHex), 0xFFFFFFFF);
  EXPECT_EQ(ParseNumberInBase("-1", kBaseHex), std::nullopt);
  EXPECT_EQ(ParseNumberInBase("99999999999", kBaseDec), std::nullopt);
}

TEST_F(AddrTest, ValidateChecksTypeAndRanges) {
  EXPECT_EQ(CAddr().Validate(m_Context), std::nullopt);
  CAddr lw;
  lw.m_Address = 256;
  EXPECT_NE(lw.Validate(m_Context), std::nullopt);
  CAddr lwb(CAddr::kBit);
  lwb.m_SubAddress = 16;
  EXPECT_NE(lwb.Validate(m_Context), std::nullopt);
  CAddr rwDouble(CAddr::kDoubleWord);
  rwDouble.m_TypeName = "RW";
  EXPECT_NE(rwDouble.Validate(m_Context), std::nullopt);

  EXPECT_EQ(Port(CAddr::kWord, "D", 9999).Validate(m_Context), std::nullopt);
  const auto tooBig = Port(CAddr::kWord, "D", 10000).Validate(m_Context);
  ASSERT_TRUE(tooBig);
  EXPECT_NE(tooBig->find("DDDD(0~9999)"), std::string::npos) << *tooBig;
  EXPECT_NE(Port(CAddr::kWord, "Q", 0).Validate(m_Context), std::nullopt);
  CAddr noIndex = Port(CAddr::kBit, "M", 1);
  noIndex.m_HasSubAddress = 1;
  EXPECT_NE(noIndex.Validate(m_Context), std::nullopt);
  noIndex.m_HasIndex = 1;
  noIndex.m_Index = 7;
  EXPECT_EQ(noIndex.Validate(m_Context), std::nullopt);
  noIndex.m_Index = 8;
  EXPECT_NE(noIndex.Validate(m_Context), std::nullopt);
  CAddr elsewhere = Port(CAddr::kWord, "D", 1);
  elsewhere.m_Port = 1;
  EXPECT_NE(elsewhere.Validate(m_Context), std::nullopt);
}

TEST_F(AddrTest, ResetMovesToTheLowestEnabledPortUnlessKeptInternal) {
  CKV410Project project;
  project.GetPort(1)->m_Enabled = 1;
  project.GetPort(2)->m_Enabled = 1;
  *m_Context.GetPortModel(1) = *m_Context.GetPortModel(0);
  CAddr a;
  a.ResetToPort(CAddr::kBit, project.LowestEnabledPort(), m_Context);
  EXPECT_EQ(a.m_Port, 1);
  EXPECT_EQ(a.m_Station, 3);
  EXPECT_EQ(a.m_TypeName, "LW.B");
  a.Reset(CAddr::kWord);
  EXPECT_TRUE(a.IsInternal());
  EXPECT_EQ(a.m_Station, 0);
}
