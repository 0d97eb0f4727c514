#pragma once
// The JSON form of the fields a field table lists: export, the accepted keys and import.
#include <functional>

#include "editor/base/FieldTable.h"
#include "editor/project/ProjectJsonCommon.h"

namespace kd820 {

namespace projectjson {

// Adds the JSON form of the object's fields to a_Out in JSON order; a_Fresh is a new object of
// the same class, whose addresses are the defaults the address forms are written against.
// kCustom fields are left to the caller.
void FieldsToJson(const CFieldTable& a_Table, const void* a_Object, const void* a_Fresh,
                  const PortModelScope& a_Ports, pjson::Value& a_Out);

// Reads the keys the reader has over the object's fields, in JSON order, with the editor's
// checks for addresses when a_Ports is given. a_Read, when given, is called after each field
// is read. kCustom fields are left to the caller.
void FieldsFromJson(const ObjectReader& a_Reader, const CFieldTable& a_Table, void* a_Object,
                    const PortModelScope* a_Ports,
                    const std::function<void(const CField&)>& a_Read = {});

}  // namespace projectjson

}  // namespace kd820
