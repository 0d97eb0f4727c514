#pragma once
// The JSON form of the fields a field table lists: export and import, in JSON order. Parts
// whose JSON form is irregular are left to the caller's hooks.
#include <functional>

#include "editor/base/FieldTable.h"
#include "editor/project/ProjectJsonCommon.h"

namespace kd820 {

namespace projectjson {

// Writes the JSON value of a kCustom field.
using CustomWriter = std::function<pjson::Value(const CField& a_Field)>;
// Reads a field itself: true when it did (or the field is not to be read).
using FieldReader = std::function<bool(const CField& a_Field)>;

// Adds the JSON form of the object's fields to a_Out in JSON order; a_Fresh is a new object of
// the same class, whose addresses are the defaults the address forms are written against.
// kCustom fields are written by a_Custom, or left out without one.
void FieldsToJson(const CFieldTable& a_Table, const void* a_Object, const void* a_Fresh,
                  const ProjectPortModels& a_Ports, pjson::Value& a_Out,
                  const CustomWriter& a_Custom = {});

// Reads the keys the reader has over the object's fields, in JSON order, with the editor's
// checks for addresses when a_Ports is given. kCustom fields not read by a_Own are left alone.
void FieldsFromJson(const ObjectReader& a_Reader, const CFieldTable& a_Table, void* a_Object,
                    const ProjectPortModels* a_Ports, const FieldReader& a_Own = {});
// Reads one field when the reader has its key.
void FieldFromJson(const ObjectReader& a_Reader, const CField& a_Field, void* a_Object,
                   const ProjectPortModels* a_Ports);

}  // namespace projectjson

}  // namespace kd820
