#pragma once
// The element types: type code, class, name prefix, JSON name and factory of each, in one
// table that the archive class list, element naming, the JSON form and the project's element
// defaults use.
#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <string_view>

#include "editor/base/FieldTable.h"

namespace kd820 {

class CGraphElement;

struct CElementType {
  int32_t m_TypeCode;
  const char* m_Prefix;           // element names are the prefix and the number ("ST3")
  const CRuntimeClass* m_Class;   // null for the cache code, which no element class has
  const char* m_JsonName;         // null likewise
  std::unique_ptr<CGraphElement> (*m_Create)();
  const CFieldTable& (*m_Fields)();  // the class's own fields, the base's not included
  // The element as an object of its class, for its own field table.
  void* (*m_Own)(CGraphElement& a_Element);
  const void* (*m_OwnConst)(const CGraphElement& a_Element);
  // Sets the face of a text element (null for the types without one).
  void (*m_SetFace)(CGraphElement& a_Element, const std::string& a_Face);
};

// Every type code, ascending.
std::span<const CElementType> ElementTypes();
// Null for an unknown code (or class, or name).
const CElementType* FindElementType(int32_t a_TypeCode);
const CElementType* ElementTypeOf(const CGraphElement& a_Element);
const CElementType* FindElementTypeByJsonName(std::string_view a_Name);

}  // namespace kd820
