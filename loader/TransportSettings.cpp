#include "loader/TransportSettings.h"

#include <charconv>
#include <sstream>

namespace nd620 {

bool ParseUsbId(const std::string& a_Text, UsbId& a_Id) {
  const auto colon = a_Text.find(':');
  if (colon == std::string::npos || colon == 0 || colon + 1 >= a_Text.size()) return false;
  const auto part = [](const std::string& a_Part, uint16_t& a_Value) {
    if (a_Part.size() > 4) return false;
    unsigned value = 0;
    const auto [end, ec] = std::from_chars(a_Part.data(), a_Part.data() + a_Part.size(), value, 16);
    if (ec != std::errc() || end != a_Part.data() + a_Part.size()) return false;
    a_Value = static_cast<uint16_t>(value);
    return true;
  };
  UsbId id;
  if (!part(a_Text.substr(0, colon), id.m_Vendor) || !part(a_Text.substr(colon + 1), id.m_Product)) return false;
  a_Id = id;
  return true;
}

std::vector<UsbId> ParseUsbIds(const std::string& a_Text, int* a_Bad) {
  std::vector<UsbId> ids;
  std::istringstream lines(a_Text);
  std::string line;
  while (std::getline(lines, line)) {
    const auto hash = line.find('#');
    if (hash != std::string::npos) line.resize(hash);
    std::istringstream words(line);
    std::string word;
    if (!(words >> word)) continue;
    UsbId id;
    if (ParseUsbId(word, id)) {
      ids.push_back(id);
    } else if (a_Bad != nullptr) {
      ++*a_Bad;
    }
  }
  return ids;
}

}  // namespace nd620
