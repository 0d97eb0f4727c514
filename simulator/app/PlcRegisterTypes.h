#pragma once
// The register types of a PLC protocol as the project names them ("4x", "0x", ...), read from
// the protocol files of the program's PLC library, so scripts can address the simulated PLC
// the way the project does. A type the library does not know is taken as 16-bit words.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace sim {

struct PlcRegisterType {
  uint8_t code = 0;           // the type code of the register descriptors
  std::string name;
  unsigned widthBytes = 2;    // 0 bits, 2 words, 4 double words
  unsigned addressBytes = 2;  // bytes one address step moves in the PLC's memory
  bool bigEndian = false;
};

class PlcRegisterTypes {
 public:
  // The types of protocol a_Protocol in the library under a_LibraryDir (its "plc" folder).
  static PlcRegisterTypes Load(const std::string& a_LibraryDir, uint16_t a_Protocol);

  // a_Text is a type name of the protocol or a numeric type code.
  std::optional<PlcRegisterType> Find(const std::string& a_Text) const;

 private:
  std::vector<PlcRegisterType> m_Types;
};

}  // namespace sim
