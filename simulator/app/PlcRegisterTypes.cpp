#include "simulator/app/PlcRegisterTypes.h"

#include <charconv>
#include <filesystem>
#include <pugixml.hpp>

namespace sim {
namespace {

unsigned Bytes(const std::string& a_Width) {
  if (a_Width == "BIT") return 0;
  if (a_Width == "BYTE") return 1;
  if (a_Width == "DWORD") return 4;
  return 2;
}

}  // namespace

PlcRegisterTypes PlcRegisterTypes::Load(const std::string& a_LibraryDir, uint16_t a_Protocol) {
  PlcRegisterTypes types;
  std::error_code error;
  namespace fs = std::filesystem;
  for (fs::recursive_directory_iterator it(a_LibraryDir, error), end; !error && it != end;
       it.increment(error)) {
    if (!it->is_regular_file(error) || it->path().extension() != ".CFG") continue;
    pugi::xml_document document;
    if (!document.load_file(it->path().c_str())) continue;
    pugi::xml_node protocol = document.child("PLCProtocol");
    if (!protocol || protocol.attribute("ID").as_uint(65536) != a_Protocol) continue;
    for (const pugi::xpath_node& found : protocol.select_nodes("//REG_ADDR")) {
      const pugi::xml_node reg = found.node();
      PlcRegisterType type;
      type.code = static_cast<uint8_t>(reg.attribute("ID").as_uint());
      type.name = reg.attribute("Name").as_string();
      type.widthBytes = Bytes(reg.attribute("AddressWidth").as_string());
      type.bigEndian = reg.attribute("BigEndian").as_int() == 1;
      pugi::xml_node master = reg.select_node(".//Master").node();
      type.addressBytes = master ? Bytes(master.attribute("Mode").as_string()) : 2;
      types.m_Types.push_back(type);
    }
    break;
  }
  return types;
}

std::optional<PlcRegisterType> PlcRegisterTypes::Find(const std::string& a_Text) const {
  for (const PlcRegisterType& type : m_Types)
    if (type.name == a_Text) return type;
  unsigned code = 0;
  const char* last = a_Text.data() + a_Text.size();
  auto [end, failure] = std::from_chars(a_Text.data(), last, code);
  if (failure != std::errc() || end != last || a_Text.empty() || code > 255) return std::nullopt;
  for (const PlcRegisterType& type : m_Types)
    if (type.code == code) return type;
  PlcRegisterType words;
  words.code = static_cast<uint8_t>(code);
  words.name = a_Text;
  return words;
}

}  // namespace sim
