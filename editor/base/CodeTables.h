#pragma once
// The enumerations of the project and the libraries: every code with its readable name (or
// number), in one place for the archive tables, the JSON form, the PLC library reader, the
// compiled port record and the command line.
#include <cstdint>
#include <optional>
#include <span>
#include <string_view>

namespace kd820 {

struct NamedCode {
  int32_t m_Code;
  const char* m_Name;
  // What the compiled port record holds for the code (serial types and parities only).
  int32_t m_PanelValue = 0;
};
// Enumerations whose readable form is a number (baud rate in bit/s, data and stop bits).
struct NumberedCode {
  int32_t m_Code;
  int32_t m_Number;
};

// ---- port settings -------------------------------------------------------------------------

// The panel's port record numbers them RS232 0, RS485 (two-wire) 2, RS422 (four-wire) 1.
inline constexpr NamedCode kSerialTypes[] = {{0, "RS232", 0}, {1, "RS485", 2}, {2, "RS422", 1}};
// Further names the PLC library files give the serial types.
inline constexpr NamedCode kSerialTypeAliases[] = {{1, "RS485-2"}, {2, "RS485-4"}};
inline constexpr NamedCode kParities[] = {{0, "none", 'N'}, {1, "odd", 'O'}, {2, "even", 'E'}};
inline constexpr NumberedCode kBaudRates[] = {{0, 1200},  {1, 2400},  {2, 4800},
                                              {3, 9600},  {4, 19200}, {5, 38400},
                                              {6, 57600}, {7, 115200}, {8, 187500}};
inline constexpr NumberedCode kDataBits[] = {{0, 7}, {1, 8}};
inline constexpr NumberedCode kStopBits[] = {{0, 1}, {1, 2}};

// ---- register addresses ----------------------------------------------------------------------

inline constexpr NamedCode kWidths[] = {{0, "bit"}, {1, "word"}, {2, "doubleWord"}};
inline constexpr NamedCode kPorts[] = {
    {-1, "internal"}, {0, "COM0"}, {1, "COM1"}, {2, "COM2"}, {3, "CAN"}};
// The register types of the PLC library: address width, number base, address unit.
inline constexpr NamedCode kLibraryWidths[] = {{0, "BIT"}, {1, "WORD"}, {2, "DWORD"}};
inline constexpr NamedCode kLibraryBases[] = {{0, "OCT"}, {1, "DEC"}, {2, "HEX"}};
inline constexpr NamedCode kLibraryUnits[] = {{0, "BIT"}, {1, "BYTE"}, {2, "WORD"}, {3, "DWORD"}};

// ---- elements, transfers ------------------------------------------------------------------

inline constexpr NamedCode kLedShapes[] = {{0, "round"}, {1, "square"}};
inline constexpr NamedCode kActionClasses[] = {{0, "frame"}, {1, "bit"}, {2, "word"}};
inline constexpr NamedCode kFrameActions[] = {
    {0, "jump"}, {1, "back"}, {2, "password"}, {3, "alarm"}};
inline constexpr NamedCode kBitActions[] = {
    {0, "set"},        {1, "reset"},      {2, "toggle"},       {3, "momentary"},
    {4, "setOnEnter"}, {5, "setOnLeave"}, {6, "resetOnEnter"}, {7, "resetOnLeave"}};
inline constexpr NamedCode kWordActions[] = {
    {0, "write"},        {1, "add"},          {2, "subtract"},
    {3, "repeatAdd"},    {4, "repeatSubtract"}, {5, "writeOnEnter"},
    {6, "writeOnLeave"}, {7, "addWrapping"},  {8, "repeatAddWrapping"}};
inline constexpr NamedCode kDataTypes[] = {{0, "signed"}, {1, "unsigned"}, {2, "hex"},
                                           {3, "float"},  {4, "double"},   {5, "secret"}};
inline constexpr NamedCode kDirections[] = {{0, "up"}, {1, "down"}, {2, "left"}, {3, "right"}};
inline constexpr NamedCode kEdges[] = {{0, "none"}, {1, "rising"}, {2, "falling"}, {3, "both"}};
inline constexpr NamedCode kDateSeparators[] = {{0, "."}, {1, "/"}, {2, "-"}};

// ---- look-ups ----------------------------------------------------------------------------------

// The entry of a code; null when the table has none.
const NamedCode* FindCode(std::span<const NamedCode> a_Table, int32_t a_Code);
const NumberedCode* FindCode(std::span<const NumberedCode> a_Table, int32_t a_Code);
// The name of a code; null when it has none.
const char* NameOf(std::span<const NamedCode> a_Table, int32_t a_Code);
// The code of a name, compared without ASCII case when a_IgnoreCase.
std::optional<int32_t> CodeOfName(std::span<const NamedCode> a_Table, std::string_view a_Name,
                                  bool a_IgnoreCase = false);
// The code of a number.
std::optional<int32_t> CodeOfNumber(std::span<const NumberedCode> a_Table, int32_t a_Number);

}  // namespace kd820
