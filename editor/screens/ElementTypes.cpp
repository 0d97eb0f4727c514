#include "editor/screens/ElementTypes.h"

#include <vector>

#include "editor/screens/AsciiGE.h"
#include "editor/screens/BarGE.h"
#include "editor/screens/DynamicText.h"
#include "editor/screens/EventListGE.h"
#include "editor/screens/FunckeyGE.h"
#include "editor/screens/LedGE.h"
#include "editor/screens/PictureGE.h"
#include "editor/screens/RegisterGE.h"
#include "editor/screens/StaticText.h"
#include "editor/screens/TrendGE.h"

namespace kd820 {

namespace {

template <class T>
CElementType TypeOf(int32_t a_TypeCode, const char* a_Prefix, const char* a_JsonName) {
  CElementType type{a_TypeCode, a_Prefix, T::StaticClass(), a_JsonName,
                    []() -> std::unique_ptr<CGraphElement> { return std::make_unique<T>(); },
                    &T::Fields,
                    [](CGraphElement& a_Element) -> void* { return static_cast<T*>(&a_Element); },
                    [](const CGraphElement& a_Element) -> const void* {
                      return static_cast<const T*>(&a_Element);
                    },
                    nullptr};
  if constexpr (requires(T& a_Text) { a_Text.SetFace(std::string()); }) {
    type.m_SetFace = [](CGraphElement& a_Element, const std::string& a_Face) {
      static_cast<T&>(a_Element).SetFace(a_Face);
    };
  }
  return type;
}

const CFieldTable& NoFields() {
  static const CFieldTable kTable{};
  return kTable;
}

}  // namespace

std::span<const CElementType> ElementTypes() {
  static const CElementType kTypes[] = {
      TypeOf<CLedGE>(kTypeLed, "LED", "led"),
      TypeOf<CFunckeyGE>(kTypeFunckey, "FK", "functionKey"),
      TypeOf<CStaticText>(kTypeStaticText, "ST", "staticText"),
      TypeOf<CDynamicText>(kTypeDynamicText, "DT", "dynamicText"),
      TypeOf<CRegisterGE>(kTypeRegister, "REG", "register"),
      TypeOf<CBarGE>(kTypeBar, "BAR", "bar"),
      TypeOf<CTrendGE>(kTypeTrend, "TREND", "trend"),
      TypeOf<CPictureGE>(kTypePicture, "PIC", "picture"),
      {kTypeCache, "CACHE", nullptr, nullptr, nullptr, &NoFields, nullptr, nullptr, nullptr},
      TypeOf<CAsciiGE>(kTypeAscii, "ASCII", "ascii"),
      TypeOf<CEventListGE>(kTypeEventList, "EV", "alarmList"),
  };
  return kTypes;
}

const CElementType* FindElementType(int32_t a_TypeCode) {
  for (const CElementType& type : ElementTypes()) {
    if (type.m_TypeCode == a_TypeCode) return &type;
  }
  return nullptr;
}

const CElementType* ElementTypeOf(const CGraphElement& a_Element) {
  for (const CElementType& type : ElementTypes()) {
    if (type.m_Class != nullptr && type.m_Class == a_Element.GetRuntimeClass()) return &type;
  }
  return nullptr;
}

const CElementType* FindElementTypeByJsonName(std::string_view a_Name) {
  for (const CElementType& type : ElementTypes()) {
    if (type.m_JsonName != nullptr && a_Name == type.m_JsonName) return &type;
  }
  return nullptr;
}

}  // namespace kd820
