#pragma once
// Conversions of the port settings' codes into the values of the compiled port record.
#include <cstdint>

namespace kd820 {

namespace CommuUtils {
// RS232 0, RS485 (two-wire) 2, RS422 (four-wire) 1.
uint8_t SerialTypeCompileValue(int32_t a_Code);
// 7 or 8.
uint8_t DataBitCompileValue(int32_t a_Code);
// 'N', 'O' or 'E'.
uint8_t VerifyBitCompileValue(int32_t a_Code);
// Bits per second.
uint32_t BaudRateCompileValue(int32_t a_Code);
// 1 or 2.
uint8_t StopBitCompileValue(int32_t a_Code);
}  // namespace CommuUtils

}  // namespace kd820
