#pragma once
// Conversions of the port settings' codes into the values of the compiled port record; a
// code outside a table is reported to a_Problems and gives 0.
#include <cstdint>

#include "editor/base/Problem.h"

namespace kd820 {

namespace CommuUtils {
// RS232 0, RS485 (two-wire) 2, RS422 (four-wire) 1.
uint8_t SerialTypeCompileValue(int32_t a_Code, IProblemSink& a_Problems);
// 7 or 8.
uint8_t DataBitCompileValue(int32_t a_Code, IProblemSink& a_Problems);
// 'N', 'O' or 'E'.
uint8_t VerifyBitCompileValue(int32_t a_Code, IProblemSink& a_Problems);
// Bits per second.
uint32_t BaudRateCompileValue(int32_t a_Code, IProblemSink& a_Problems);
// 1 or 2.
uint8_t StopBitCompileValue(int32_t a_Code, IProblemSink& a_Problems);
}  // namespace CommuUtils

}  // namespace kd820
