#pragma once
// ASCII letter case for names, keys and extensions that compare without case; other bytes
// (UTF-8 included) stay as they are.
#include <string>
#include <string_view>

namespace kd820 {

inline std::string AsciiUpper(std::string a_Text) {
  for (char& c : a_Text)
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  return a_Text;
}

inline std::string AsciiLower(std::string a_Text) {
  for (char& c : a_Text)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  return a_Text;
}

// True when a_Path ends in ".FPJ" in any letter case.
inline bool HasFpjExtension(std::string_view a_Path) {
  return a_Path.size() >= 4 && AsciiUpper(std::string(a_Path.substr(a_Path.size() - 4))) == ".FPJ";
}

}  // namespace kd820
