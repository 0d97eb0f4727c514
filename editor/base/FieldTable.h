#pragma once
// Field tables: one list per persistent class naming each of its fields once, with its JSON
// key, its kind and the first archive version that holds it. The archive form, the copy and
// the JSON form of the class all walk that list, so a field cannot be missing from one of them.
//
// The table lists the fields in archive order. The JSON form lists them by m_JsonOrder, which
// is the field's position in the table unless the entry gives another (ties keep table order;
// -1 puts a field before all others).
#include <cstdint>
#include <limits>
#include <span>
#include <string>
#include <string_view>
#include <type_traits>
#include <vector>

#include "editor/base/Archive.h"
#include "editor/base/CodeTables.h"

namespace kd820 {

struct CFieldTable;

enum class FieldKind : uint8_t {
  kU8,
  kI16,
  kI16Bits,  // int16 whose JSON form is its unsigned 16 bits (element numbers: 65535 is none)
  kU16,
  kI32,
  kU32,
  kDouble,
  kString,
  kFlag,        // int32 boolean, kept as stored; JSON takes 0, 1, true or false
  kEnum,        // int32 code named by m_Names
  kNumberEnum,  // int32 code numbered by m_Numbers
  kAddress,     // a register address (CAddr), archived and copied by its own functions
  kGroup,       // a part whose fields m_Group lists; a JSON object of its own
  kCustom,      // archived and copied by m_Io and m_Copy on the whole object; JSON by hand
};

struct CField {
  static constexpr uint32_t kNotArchived = std::numeric_limits<uint32_t>::max();
  static constexpr int32_t kTablePosition = std::numeric_limits<int32_t>::min();

  const char* m_Key = nullptr;  // JSON key; null for a field without a JSON form
  FieldKind m_Kind = FieldKind::kI32;
  void* (*m_At)(void* a_Object) = nullptr;  // the field inside an object of the table's class
  // The first archive version holding the field; loading an older one sets m_OldDefault.
  uint32_t m_Since = 0;
  int32_t m_OldDefault = 0;
  int32_t m_JsonOrder = kTablePosition;
  std::span<const NamedCode> m_Names;
  std::span<const NumberedCode> m_Numbers;
  const CFieldTable* m_Group = nullptr;
  // kAddress: on the field; kCustom: on the whole object, so that a part kept in an irregular
  // form can reach what it needs. A null m_Copy leaves the field out of copies.
  void (*m_Io)(CArchive& a_Ar, void* a_Target) = nullptr;
  void (*m_Copy)(void* a_Target, const void* a_From) = nullptr;

  // Present from archive version a_Version on; older archives give a_Default.
  constexpr CField Since(uint32_t a_Version, int32_t a_Default = 0) const {
    CField f = *this;
    f.m_Since = a_Version;
    f.m_OldDefault = a_Default;
    return f;
  }
  // Copied only: neither archived nor in the JSON form.
  constexpr CField CopyOnly() const {
    CField f = *this;
    f.m_Since = kNotArchived;
    f.m_Key = nullptr;
    return f;
  }
  // An int16 field written in JSON as its unsigned 16 bits.
  constexpr CField AsBits() const {
    CField f = *this;
    f.m_Kind = FieldKind::kI16Bits;
    return f;
  }
  constexpr CField JsonAt(int32_t a_Order) const {
    CField f = *this;
    f.m_JsonOrder = a_Order;
    return f;
  }
  bool IsArchived() const { return m_Since != kNotArchived; }

  void* At(void* a_Object) const { return m_At(a_Object); }
  // m_At only computes the field's address, so it serves const objects too.
  const void* At(const void* a_Object) const { return m_At(const_cast<void*>(a_Object)); }
  template <class T>
  T& Of(void* a_Object) const {
    return *static_cast<T*>(At(a_Object));
  }
  template <class T>
  const T& Of(const void* a_Object) const {
    return *static_cast<const T*>(At(a_Object));
  }
};

struct CFieldTable {
  // The version word the archive form starts with; 0 for a part stored without one.
  uint32_t m_Version = 0;
  std::span<const CField> m_Fields;
  // The version word compares as a signed number (a damaged negative one holds no later field).
  bool m_SignedVersion = false;

  // The fields that have a JSON form, in JSON order.
  std::vector<const CField*> JsonFields() const;
  // Their keys, in JSON order.
  std::vector<std::string_view> JsonKeys() const;
};

// Both directions of the archive: the version word, then every archived field the version
// holds; loading an older version sets the later fields' old defaults. Returns the version
// (the table's when storing, the stored one when loading).
uint32_t SerializeFields(CArchive& a_Ar, const CFieldTable& a_Table, void* a_Object);
// Copies every field but those left out of copies.
void CopyFields(const CFieldTable& a_Table, void* a_Object, const void* a_From);

// ---- building tables ----------------------------------------------------------------------

namespace fields {

template <auto Member>
struct MemberOf;
template <class C, class T, T C::*Member>
struct MemberOf<Member> {
  using Class = C;
  using Type = T;
};

template <auto Member>
void* At(void* a_Object) {
  return &(static_cast<typename MemberOf<Member>::Class*>(a_Object)->*Member);
}

template <class T>
constexpr FieldKind KindOf() {
  if constexpr (std::is_same_v<T, uint8_t>) return FieldKind::kU8;
  else if constexpr (std::is_same_v<T, int16_t>) return FieldKind::kI16;
  else if constexpr (std::is_same_v<T, uint16_t>) return FieldKind::kU16;
  else if constexpr (std::is_same_v<T, int32_t>) return FieldKind::kI32;
  else if constexpr (std::is_same_v<T, uint32_t>) return FieldKind::kU32;
  else if constexpr (std::is_same_v<T, double>) return FieldKind::kDouble;
  else if constexpr (std::is_same_v<T, std::string>) return FieldKind::kString;
  else {
    static_assert(requires(T& a_Field, CArchive& a_Ar) {
      a_Field.Serialize(a_Ar);
      a_Field.CopyFrom(a_Field);
    }, "a field of a class type is a register address");
    return FieldKind::kAddress;
  }
}

template <class T>
void IoObject(CArchive& a_Ar, void* a_Field) {
  static_cast<T*>(a_Field)->Serialize(a_Ar);
}
template <class T>
void CopyObject(void* a_Field, const void* a_From) {
  static_cast<T*>(a_Field)->CopyFrom(*static_cast<const T*>(a_From));
}

}  // namespace fields

// A field of the kind its member type gives: integers, doubles, strings, addresses.
template <auto Member>
constexpr CField Field(const char* a_Key) {
  using T = typename fields::MemberOf<Member>::Type;
  CField f;
  f.m_Key = a_Key;
  f.m_Kind = fields::KindOf<T>();
  f.m_At = &fields::At<Member>;
  if constexpr (fields::KindOf<T>() == FieldKind::kAddress) {
    f.m_Io = &fields::IoObject<T>;
    f.m_Copy = &fields::CopyObject<T>;
  }
  return f;
}

template <auto Member>
constexpr CField Flag(const char* a_Key) {
  static_assert(std::is_same_v<typename fields::MemberOf<Member>::Type, int32_t>);
  CField f = Field<Member>(a_Key);
  f.m_Kind = FieldKind::kFlag;
  return f;
}

template <auto Member>
constexpr CField Enum(const char* a_Key, std::span<const NamedCode> a_Names) {
  static_assert(std::is_same_v<typename fields::MemberOf<Member>::Type, int32_t>);
  CField f = Field<Member>(a_Key);
  f.m_Kind = FieldKind::kEnum;
  f.m_Names = a_Names;
  return f;
}

template <auto Member>
constexpr CField NumberEnum(const char* a_Key, std::span<const NumberedCode> a_Numbers) {
  static_assert(std::is_same_v<typename fields::MemberOf<Member>::Type, int32_t>);
  CField f = Field<Member>(a_Key);
  f.m_Kind = FieldKind::kNumberEnum;
  f.m_Numbers = a_Numbers;
  return f;
}

template <auto Member>
constexpr CField Group(const char* a_Key, const CFieldTable& a_Table) {
  CField f;
  f.m_Key = a_Key;
  f.m_Kind = FieldKind::kGroup;
  f.m_At = &fields::At<Member>;
  f.m_Group = &a_Table;
  return f;
}

// A part archived by a_Io and copied by a_Copy, both given the whole objects (a null a_Copy
// leaves it out of copies).
inline CField Custom(const char* a_Key, void (*a_Io)(CArchive&, void*),
                     void (*a_Copy)(void*, const void*)) {
  CField f;
  f.m_Key = a_Key;
  f.m_Kind = FieldKind::kCustom;
  f.m_Io = a_Io;
  f.m_Copy = a_Copy;
  return f;
}

}  // namespace kd820
