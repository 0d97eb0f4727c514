#include "editor/base/FieldTable.h"

#include <algorithm>

namespace kd820 {

std::vector<const CField*> CFieldTable::JsonFields() const {
  std::vector<std::pair<int32_t, const CField*>> ordered;
  for (std::size_t i = 0; i < m_Fields.size(); ++i) {
    const CField& f = m_Fields[i];
    if (f.m_Key == nullptr) continue;
    ordered.emplace_back(f.m_JsonOrder != CField::kTablePosition ? f.m_JsonOrder : static_cast<int32_t>(i), &f);
  }
  std::stable_sort(ordered.begin(), ordered.end(),
                   [](const auto& a, const auto& b) { return a.first < b.first; });
  std::vector<const CField*> out;
  for (const auto& entry : ordered) out.push_back(entry.second);
  return out;
}

std::vector<std::string_view> CFieldTable::JsonKeys() const {
  std::vector<std::string_view> keys;
  for (const CField* f : JsonFields()) keys.emplace_back(f->m_Key);
  return keys;
}

namespace {

void SetOldDefault(const CField& a_Field, void* a_Object) {
  switch (a_Field.m_Kind) {
    case FieldKind::kU8: a_Field.Of<uint8_t>(a_Object) = static_cast<uint8_t>(a_Field.m_OldDefault); break;
    case FieldKind::kI16:
    case FieldKind::kI16Bits: a_Field.Of<int16_t>(a_Object) = static_cast<int16_t>(a_Field.m_OldDefault); break;
    case FieldKind::kU16: a_Field.Of<uint16_t>(a_Object) = static_cast<uint16_t>(a_Field.m_OldDefault); break;
    case FieldKind::kU32: a_Field.Of<uint32_t>(a_Object) = static_cast<uint32_t>(a_Field.m_OldDefault); break;
    case FieldKind::kI32:
    case FieldKind::kFlag:
    case FieldKind::kEnum:
    case FieldKind::kNumberEnum: a_Field.Of<int32_t>(a_Object) = a_Field.m_OldDefault; break;
    case FieldKind::kDouble: a_Field.Of<double>(a_Object) = a_Field.m_OldDefault; break;
    case FieldKind::kString: a_Field.Of<std::string>(a_Object).clear(); break;
    case FieldKind::kAddress:
    case FieldKind::kGroup:
    case FieldKind::kCustom: break;  // versioned parts are not needed so far
  }
}

void IoField(CArchive& a_Ar, const CField& a_Field, void* a_Object) {
  if (a_Field.m_Kind == FieldKind::kCustom) {
    a_Field.m_Io(a_Ar, a_Object);
    return;
  }
  void* at = a_Field.At(a_Object);
  switch (a_Field.m_Kind) {
    case FieldKind::kU8: a_Ar.Io(*static_cast<uint8_t*>(at)); break;
    case FieldKind::kI16:
    case FieldKind::kI16Bits: a_Ar.Io(*static_cast<int16_t*>(at)); break;
    case FieldKind::kU16: a_Ar.Io(*static_cast<uint16_t*>(at)); break;
    case FieldKind::kU32: a_Ar.Io(*static_cast<uint32_t*>(at)); break;
    case FieldKind::kI32:
    case FieldKind::kFlag:
    case FieldKind::kEnum:
    case FieldKind::kNumberEnum: a_Ar.Io(*static_cast<int32_t*>(at)); break;
    case FieldKind::kDouble: a_Ar.Io(*static_cast<double*>(at)); break;
    case FieldKind::kString: a_Ar.Io(*static_cast<std::string*>(at)); break;
    case FieldKind::kGroup: SerializeFields(a_Ar, *a_Field.m_Group, at); break;
    case FieldKind::kAddress: a_Field.m_Io(a_Ar, at); break;
    case FieldKind::kCustom: break;
  }
}

}  // namespace

uint32_t SerializeFields(CArchive& a_Ar, const CFieldTable& a_Table, void* a_Object) {
  uint32_t version = a_Table.m_Version;
  if (version != 0) a_Ar.Io(version);
  for (const CField& f : a_Table.m_Fields) {
    if (!f.IsArchived()) continue;
    const bool held = f.m_Since == 0 || a_Table.m_Version == 0 ||
                      (a_Table.m_SignedVersion ? static_cast<int32_t>(version) >= static_cast<int64_t>(f.m_Since)
                                               : version >= f.m_Since);
    if (held) {
      IoField(a_Ar, f, a_Object);
    } else if (a_Ar.IsLoading()) {
      SetOldDefault(f, a_Object);
    }
  }
  return version;
}

void CopyFields(const CFieldTable& a_Table, void* a_Object, const void* a_From) {
  for (const CField& f : a_Table.m_Fields) {
    if (f.m_Kind == FieldKind::kCustom) {
      if (f.m_Copy != nullptr) f.m_Copy(a_Object, a_From);
      continue;
    }
    void* to = f.At(a_Object);
    const void* from = f.At(a_From);
    switch (f.m_Kind) {
      case FieldKind::kU8: *static_cast<uint8_t*>(to) = *static_cast<const uint8_t*>(from); break;
      case FieldKind::kI16:
      case FieldKind::kI16Bits: *static_cast<int16_t*>(to) = *static_cast<const int16_t*>(from); break;
      case FieldKind::kU16: *static_cast<uint16_t*>(to) = *static_cast<const uint16_t*>(from); break;
      case FieldKind::kU32: *static_cast<uint32_t*>(to) = *static_cast<const uint32_t*>(from); break;
      case FieldKind::kI32:
      case FieldKind::kFlag:
      case FieldKind::kEnum:
      case FieldKind::kNumberEnum: *static_cast<int32_t*>(to) = *static_cast<const int32_t*>(from); break;
      case FieldKind::kDouble: *static_cast<double*>(to) = *static_cast<const double*>(from); break;
      case FieldKind::kString:
        *static_cast<std::string*>(to) = *static_cast<const std::string*>(from);
        break;
      case FieldKind::kGroup: CopyFields(*f.m_Group, to, from); break;
      case FieldKind::kAddress: f.m_Copy(to, from); break;
      case FieldKind::kCustom: break;
    }
  }
}

}  // namespace kd820
