#include "editor/project/ProjectJsonFields.h"

namespace kd820 {

namespace projectjson {

using pjson::Value;

void FieldsToJson(const CFieldTable& a_Table, const void* a_Object, const void* a_Fresh,
                  const ProjectPortModels& a_Ports, Value& a_Out, const CustomWriter& a_Custom) {
  for (const CField* field : a_Table.JsonFields()) {
    const CField& f = *field;
    Value value;
    switch (f.m_Kind) {
      case FieldKind::kU8: value = Value::Integer(f.Of<uint8_t>(a_Object)); break;
      case FieldKind::kI16: value = Value::Integer(f.Of<int16_t>(a_Object)); break;
      case FieldKind::kI16Bits: value = Value::Integer(static_cast<uint16_t>(f.Of<int16_t>(a_Object))); break;
      case FieldKind::kU16: value = Value::Integer(f.Of<uint16_t>(a_Object)); break;
      case FieldKind::kI32:
      case FieldKind::kFlag: value = Value::Integer(f.Of<int32_t>(a_Object)); break;
      case FieldKind::kU32: value = Value::Integer(f.Of<uint32_t>(a_Object)); break;
      case FieldKind::kDouble: value = DoubleValue(f.Of<double>(a_Object)); break;
      case FieldKind::kString: value = Value::String(f.Of<std::string>(a_Object)); break;
      case FieldKind::kEnum: value = EnumValue(f.m_Names, f.Of<int32_t>(a_Object)); break;
      case FieldKind::kNumberEnum: value = NumberEnumValue(f.m_Numbers, f.Of<int32_t>(a_Object)); break;
      case FieldKind::kAddress:
        value = AddressToJson(f.Of<CAddr>(a_Object), f.Of<CAddr>(a_Fresh), a_Ports);
        break;
      case FieldKind::kGroup:
        value = Value::Object();
        FieldsToJson(*f.m_Group, f.At(a_Object), f.At(a_Fresh), a_Ports, value);
        break;
      case FieldKind::kCustom:
        if (!a_Custom) continue;
        value = a_Custom(f);
        break;
    }
    a_Out.Add(f.m_Key, std::move(value));
  }
}

void FieldFromJson(const ObjectReader& a_Reader, const CField& a_Field, void* a_Object,
                   const ProjectPortModels* a_Ports) {
  const CField& f = a_Field;
  const Value* v = a_Reader.Get(f.m_Key);
  if (v == nullptr) return;
  const std::string path = a_Reader.PathOf(f.m_Key);
  switch (f.m_Kind) {
    case FieldKind::kU8: f.Of<uint8_t>(a_Object) = IntOf<uint8_t>(*v, path); break;
    case FieldKind::kI16: f.Of<int16_t>(a_Object) = IntOf<int16_t>(*v, path); break;
    case FieldKind::kI16Bits: f.Of<int16_t>(a_Object) = static_cast<int16_t>(IntOf<uint16_t>(*v, path)); break;
    case FieldKind::kU16: f.Of<uint16_t>(a_Object) = IntOf<uint16_t>(*v, path); break;
    case FieldKind::kI32: f.Of<int32_t>(a_Object) = IntOf<int32_t>(*v, path); break;
    case FieldKind::kU32: f.Of<uint32_t>(a_Object) = IntOf<uint32_t>(*v, path); break;
    case FieldKind::kFlag: f.Of<int32_t>(a_Object) = FlagOf(*v, path); break;
    case FieldKind::kDouble: f.Of<double>(a_Object) = DoubleOf(*v, path); break;
    case FieldKind::kString: f.Of<std::string>(a_Object) = StringOf(*v, path); break;
    case FieldKind::kEnum: f.Of<int32_t>(a_Object) = EnumOf(*v, path, f.m_Names); break;
    case FieldKind::kNumberEnum: f.Of<int32_t>(a_Object) = NumberEnumOf(*v, path, f.m_Numbers); break;
    case FieldKind::kAddress: {
      CAddr& addr = f.Of<CAddr>(a_Object);
      addr = AddressFromJson(*v, path, addr, a_Ports);
      break;
    }
    case FieldKind::kGroup: {
      const ObjectReader group(*v, path, f.m_Group->JsonKeys());
      FieldsFromJson(group, *f.m_Group, f.At(a_Object), a_Ports);
      break;
    }
    case FieldKind::kCustom: break;
  }
}

void FieldsFromJson(const ObjectReader& a_Reader, const CFieldTable& a_Table, void* a_Object,
                    const ProjectPortModels* a_Ports, const FieldReader& a_Own) {
  for (const CField* field : a_Table.JsonFields()) {
    if (a_Own && a_Own(*field)) continue;
    FieldFromJson(a_Reader, *field, a_Object, a_Ports);
  }
}

}  // namespace projectjson

}  // namespace kd820
