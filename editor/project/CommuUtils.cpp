#include "editor/project/CommuUtils.h"

#include <string>


namespace kd820 {

namespace CommuUtils {

namespace {

// The table value of a code; a code outside the table is reported and gives 0.
template <class T, std::size_t N>
T Lookup(const T (&a_Table)[N], int32_t a_Code, const char* a_Name, IProblemSink& a_Problems) {
  if (a_Code >= 0 && static_cast<std::size_t>(a_Code) < N) return a_Table[a_Code];
  a_Problems.Warn(std::string("[CommuUtils::") + a_Name + "]Not support: " + std::to_string(a_Code));
  return 0;
}

}  // namespace

uint8_t SerialTypeCompileValue(int32_t a_Code, IProblemSink& a_Problems) {
  static constexpr uint8_t kValues[] = {0, 2, 1};
  return Lookup(kValues, a_Code, "SerialTypeCompileValue", a_Problems);
}

uint8_t DataBitCompileValue(int32_t a_Code, IProblemSink& a_Problems) {
  static constexpr uint8_t kValues[] = {7, 8};
  return Lookup(kValues, a_Code, "DataBitCompileValue", a_Problems);
}

uint8_t VerifyBitCompileValue(int32_t a_Code, IProblemSink& a_Problems) {
  static constexpr uint8_t kValues[] = {'N', 'O', 'E'};
  return Lookup(kValues, a_Code, "VerifyBitCompileValue", a_Problems);
}

uint32_t BaudRateCompileValue(int32_t a_Code, IProblemSink& a_Problems) {
  static constexpr uint32_t kValues[] = {1200, 2400, 4800, 9600, 19200, 38400, 57600, 115200, 187500};
  return Lookup(kValues, a_Code, "BaudRateCompileValue", a_Problems);
}

uint8_t StopBitCompileValue(int32_t a_Code, IProblemSink& a_Problems) {
  static constexpr uint8_t kValues[] = {1, 2};
  return Lookup(kValues, a_Code, "StopBitCompileValue", a_Problems);
}

}  // namespace CommuUtils

}  // namespace kd820
