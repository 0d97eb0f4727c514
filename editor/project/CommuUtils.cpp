#include "editor/project/CommuUtils.h"

#include <string>

#include "editor/base/CodeTables.h"

namespace kd820 {

namespace CommuUtils {

namespace {

// A code outside the table is reported and gives 0.
void ReportUnknown(int32_t a_Code, const char* a_Name, IProblemSink& a_Problems) {
  a_Problems.Warn(std::string("[CommuUtils::") + a_Name + "]Not support: " + std::to_string(a_Code));
}

uint32_t PanelValue(std::span<const NamedCode> a_Table, int32_t a_Code, const char* a_Name,
                    IProblemSink& a_Problems) {
  if (const NamedCode* entry = FindCode(a_Table, a_Code)) return static_cast<uint32_t>(entry->m_PanelValue);
  ReportUnknown(a_Code, a_Name, a_Problems);
  return 0;
}

uint32_t Number(std::span<const NumberedCode> a_Table, int32_t a_Code, const char* a_Name,
                IProblemSink& a_Problems) {
  if (const NumberedCode* entry = FindCode(a_Table, a_Code)) return static_cast<uint32_t>(entry->m_Number);
  ReportUnknown(a_Code, a_Name, a_Problems);
  return 0;
}

}  // namespace

uint8_t SerialTypeCompileValue(int32_t a_Code, IProblemSink& a_Problems) {
  return static_cast<uint8_t>(PanelValue(kSerialTypes, a_Code, "SerialTypeCompileValue", a_Problems));
}

uint8_t DataBitCompileValue(int32_t a_Code, IProblemSink& a_Problems) {
  return static_cast<uint8_t>(Number(kDataBits, a_Code, "DataBitCompileValue", a_Problems));
}

uint8_t VerifyBitCompileValue(int32_t a_Code, IProblemSink& a_Problems) {
  return static_cast<uint8_t>(PanelValue(kParities, a_Code, "VerifyBitCompileValue", a_Problems));
}

uint32_t BaudRateCompileValue(int32_t a_Code, IProblemSink& a_Problems) {
  return Number(kBaudRates, a_Code, "BaudRateCompileValue", a_Problems);
}

uint8_t StopBitCompileValue(int32_t a_Code, IProblemSink& a_Problems) {
  return static_cast<uint8_t>(Number(kStopBits, a_Code, "StopBitCompileValue", a_Problems));
}

}  // namespace CommuUtils

}  // namespace kd820
