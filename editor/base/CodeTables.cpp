#include "editor/base/CodeTables.h"

#include <string>

#include "editor/base/TextCase.h"

namespace kd820 {

const NamedCode* FindCode(std::span<const NamedCode> a_Table, int32_t a_Code) {
  for (const NamedCode& entry : a_Table) {
    if (entry.m_Code == a_Code) return &entry;
  }
  return nullptr;
}

const NumberedCode* FindCode(std::span<const NumberedCode> a_Table, int32_t a_Code) {
  for (const NumberedCode& entry : a_Table) {
    if (entry.m_Code == a_Code) return &entry;
  }
  return nullptr;
}

const char* NameOf(std::span<const NamedCode> a_Table, int32_t a_Code) {
  const NamedCode* entry = FindCode(a_Table, a_Code);
  return entry != nullptr ? entry->m_Name : nullptr;
}

std::optional<int32_t> CodeOfName(std::span<const NamedCode> a_Table, std::string_view a_Name,
                                  bool a_IgnoreCase) {
  const std::string wanted = a_IgnoreCase ? AsciiUpper(std::string(a_Name)) : std::string(a_Name);
  for (const NamedCode& entry : a_Table) {
    if ((a_IgnoreCase ? AsciiUpper(entry.m_Name) : std::string(entry.m_Name)) == wanted) return entry.m_Code;
  }
  return std::nullopt;
}

std::optional<int32_t> CodeOfNumber(std::span<const NumberedCode> a_Table, int32_t a_Number) {
  for (const NumberedCode& entry : a_Table) {
    if (entry.m_Number == a_Number) return entry.m_Code;
  }
  return std::nullopt;
}

}  // namespace kd820
