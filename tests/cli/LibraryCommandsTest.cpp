// KD820 models and KD820 plcs over the shipped library and over an empty one.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <sstream>

#include "editor/ui/LibraryCommands.h"
#include "tests/LibraryTestSupport.h"
#include "tests/TestSupport.h"

using namespace kd820;

namespace {

using ::testing::HasSubstr;
using ::testing::Not;

TEST(LibraryCommands, ModelsListsEveryShippedModel) {
  test::ScopedProgramDirectory home(KD820_TEST_SOURCE_DIR);
  std::ostringstream out;
  ASSERT_EQ(RunModelsCommand(out), 0);
  const std::string text = out.str();
  EXPECT_THAT(text, HasSubstr("hardware models in "));
  EXPECT_THAT(text, HasSubstr("model 1: pv5521 (pv5521.CFG)"));
  EXPECT_THAT(text, HasSubstr("model 2: pv5521e (pv5521e.CFG)"));
  EXPECT_THAT(text, HasSubstr("  型号名称: pv5521\n"));
  EXPECT_THAT(text, HasSubstr("  显示分辨率: 192x64\n"));
  EXPECT_THAT(text, HasSubstr("  色彩: 单色\n"));
  EXPECT_THAT(text, HasSubstr("  编码器: 支持\n"));
  EXPECT_THAT(text, HasSubstr("  COM1: RS232/RS485/RS422\n"));
  EXPECT_THAT(text, HasSubstr("  CAN: 支持\n"));
  EXPECT_THAT(text, HasSubstr("  firmware: pv5521_gui_v1.bin, pv5521_gui_v2.bin\n"));
  EXPECT_THAT(text, HasSubstr("    3 CAN can CAN\n"));
  EXPECT_THAT(text, HasSubstr("    6 ESC\n"));
  EXPECT_THAT(text, HasSubstr("    19 0\n"));
  // Model 1 before model 2.
  EXPECT_LT(text.find("model 1:"), text.find("model 2:"));
}

TEST(LibraryCommands, PlcsListsProtocolsAndRegisterRanges) {
  test::ScopedProgramDirectory home(KD820_TEST_SOURCE_DIR);
  std::ostringstream out;
  ASSERT_EQ(RunPlcsCommand(out), 0);
  const std::string text = out.str();
  EXPECT_THAT(text, HasSubstr("manufacturer Modbus (modbus)"));
  EXPECT_THAT(text, HasSubstr("protocol 1: Modbus RTU (ModbusRTU.CFG; drivers ModbusRTU_0.bin, ModbusRTU_1.bin)"));
  EXPECT_THAT(text, HasSubstr("stations 1..247, default 1, station used: yes"));
  EXPECT_THAT(text, HasSubstr("serial: RS485, 9600 baud, 8 data bits, parity even, 1 stop bits"));
  EXPECT_THAT(text, HasSubstr("      Modbus RTU slave devices\n"));
  EXPECT_THAT(text, HasSubstr("      4x  id 4, WORD, address DEC in WORD units, big-endian: DDDDD(0~65535)\n"));
  EXPECT_THAT(text, HasSubstr("      X  id 1, BIT, address OCT in BIT units: OOO(0~377)\n"));
  EXPECT_THAT(text, HasSubstr("      N  id 19, WORD, address DEC in WORD units, index 7~255 DEC: DDD(0~255)\n"));
  EXPECT_THAT(text, HasSubstr("station used: no"));
}

TEST(LibraryCommands, EmptyLibraryFails) {
  test::TempDir dir;
  test::ScopedProgramDirectory home(dir.Path());
  test::DiagnosticCapture messages;
  std::ostringstream out;
  EXPECT_EQ(RunModelsCommand(out), 1);
  EXPECT_EQ(RunPlcsCommand(out), 1);
  EXPECT_THAT(out.str(), Not(HasSubstr("model ")));
}

}  // namespace
