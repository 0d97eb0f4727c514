// The compiled port record and the conversions behind it.
#include <gtest/gtest.h>

#include "editor/project/PortCom.h"
#include "tests/LibraryTestSupport.h"

using namespace kd820;

namespace {

std::vector<uint8_t> Compile(const CPortCom& a_Port, IProblemSink& a_Problems = StderrProblems()) {
  std::vector<uint8_t> bytes;
  a_Port.Compile(bytes, a_Problems);
  return bytes;
}

CPortCom EnabledPort() {
  CPortCom port(1);
  port.m_Enabled = 1;
  port.m_ProtocolId = 0x0102;
  port.m_SerialType = CPortCom::kRs232;
  port.m_BaudRate = 3;
  port.m_DataBits = 1;
  port.m_Parity = 2;
  port.m_StopBits = 0;
  port.m_StationUsed = 1;
  port.m_Station = 17;
  port.m_ResponseTimeout = 1000;
  port.m_ProtocolTimeout1 = 5;
  port.m_ProtocolTimeout2 = 6;
  port.m_WordPacketMax = 64;
  port.m_BitPacketMax = 256;
  port.m_WordPackingInterval = 7;
  port.m_BitPackingInterval = 8;
  port.m_CommunicationInterval = 9;
  port.m_MessageTime = 3;
  port.m_RetryCount = 10;
  port.m_RetryAfterFailure = 1;
  return port;
}

}  // namespace

TEST(PortCompile, RecordLayout) {
  const auto bytes = Compile(EnabledPort());
  const std::vector<uint8_t> expected = {
      1, 0, 8, 0x45, 0x80, 0x25, 0, 0, 1, 1, 0x02, 0x01,  // port .. protocol id
      0xE8, 0x03, 0, 0, 5, 0, 0, 0, 6, 0, 0, 0,            // timeouts
      17, 0, 64, 0, 0x00, 0x01, 7, 8, 9, 3, 10, 0};        // station .. retry
  EXPECT_EQ(bytes, expected);
}

TEST(PortCompile, SerialTypesAndRetryFlag) {
  CPortCom port = EnabledPort();
  port.m_SerialType = CPortCom::kRs485;
  EXPECT_EQ(Compile(port)[1], 2);
  port.m_SerialType = CPortCom::kRs422;
  EXPECT_EQ(Compile(port)[1], 1);
  port.m_RetryAfterFailure = 0;
  EXPECT_EQ(Compile(port)[35], 1);
  port.m_StopBits = 1;
  port.m_DataBits = 0;
  port.m_Parity = 1;
  const auto bytes = Compile(port);
  EXPECT_EQ(bytes[8], 2);
  EXPECT_EQ(bytes[2], 7);
  EXPECT_EQ(bytes[3], 'O');
}

TEST(PortCompile, DisabledPortCompilesToNothing) {
  CPortCom port = EnabledPort();
  port.m_Enabled = 0;
  EXPECT_TRUE(Compile(port).empty());
  CPortCan can;
  std::vector<uint8_t> bytes;
  can.Compile(bytes, StderrProblems());
  EXPECT_TRUE(bytes.empty());
}

TEST(PortCompile, CodesOutsideTheirTablesAreReportedAndWrittenAsZero) {
  test::DiagnosticCapture log;
  const std::vector<std::string>& seen = log.Messages();
  CPortCom port = EnabledPort();
  port.m_SerialType = 3;
  port.m_BaudRate = 9;
  port.m_DataBits = 2;
  port.m_Parity = -1;
  port.m_StopBits = 5;
  const auto bytes = Compile(port, log);
  EXPECT_EQ(bytes[1], 0);
  EXPECT_EQ(bytes[2], 0);
  EXPECT_EQ(bytes[3], 0);
  EXPECT_EQ(bytes[4] | bytes[5] | bytes[6] | bytes[7], 0);
  EXPECT_EQ(bytes[8], 0);
  EXPECT_EQ(seen, (std::vector<std::string>{"[CommuUtils::SerialTypeCompileValue]Not support: 3",
                                            "[CommuUtils::DataBitCompileValue]Not support: 2",
                                            "[CommuUtils::VerifyBitCompileValue]Not support: -1",
                                            "[CommuUtils::BaudRateCompileValue]Not support: 9",
                                            "[CommuUtils::StopBitCompileValue]Not support: 5"}));
}

TEST(PortCompile, SwappedPortsKeepTheirNumbers) {
  CPortCom com0(0), com1 = EnabledPort();
  com0.SwapContents(com1);
  EXPECT_EQ(Compile(com0)[0], 0);
  EXPECT_EQ(Compile(com0).size(), 36u);
  EXPECT_TRUE(Compile(com1).empty());
}
