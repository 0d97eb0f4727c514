#include "editor/base/Archive.h"

#include <cstring>

#include "editor/base/Utf16.h"

namespace kd820 {

namespace {

constexpr uint16_t kNullTag = 0x0000;
constexpr uint16_t kNewClassTag = 0xFFFF;
constexpr uint16_t kClassTag = 0x8000;
constexpr uint16_t kBigObjectTag = 0x7FFF;
constexpr uint32_t kBigClassTag = 0x80000000u;
constexpr std::size_t kMaxClassNameLength = 64;

}  // namespace

ArchiveError::ArchiveError(const std::string& a_What, std::size_t a_Offset)
    : std::runtime_error(a_What + " (at byte " + std::to_string(a_Offset) + ")"),
      m_Offset(a_Offset) {}

bool CRuntimeClass::IsDerivedFrom(const CRuntimeClass* a_Base) const {
  for (const CRuntimeClass* c = this; c != nullptr; c = c->m_BaseClass) {
    if (c == a_Base) return true;
  }
  return false;
}

CArchive::CArchive() : m_Mode(Mode::Store) {}

CArchive::CArchive(std::span<const uint8_t> a_Data, ClassLookup a_Lookup)
    : m_Mode(Mode::Load), m_Data(a_Data), m_Lookup(a_Lookup) {
  m_Loaded.push_back({nullptr, nullptr, false});
}

void CArchive::Fail(const std::string& a_What) const { throw ArchiveError(a_What, m_Pos); }

void CArchive::FailAt(const std::string& a_What, std::size_t a_Offset) const {
  throw ArchiveError(a_What, a_Offset);
}

void CArchive::Need(std::size_t a_Bytes) const {
  if (a_Bytes > Remaining()) Fail("unexpected end of archive");
}

// ---- primitives ---------------------------------------------------------------------------

void CArchive::WriteU8(uint8_t a_Value) { m_Out.push_back(a_Value); }

void CArchive::WriteU16(uint16_t a_Value) {
  m_Out.push_back(static_cast<uint8_t>(a_Value));
  m_Out.push_back(static_cast<uint8_t>(a_Value >> 8));
}

void CArchive::WriteU32(uint32_t a_Value) {
  for (int i = 0; i < 4; ++i) m_Out.push_back(static_cast<uint8_t>(a_Value >> (8 * i)));
}

void CArchive::WriteBytes(const uint8_t* a_Data, std::size_t a_Size) {
  m_Out.insert(m_Out.end(), a_Data, a_Data + a_Size);
}

uint8_t CArchive::ReadU8() {
  Need(1);
  return m_Data[m_Pos++];
}

uint16_t CArchive::ReadU16() {
  Need(2);
  const uint16_t v = static_cast<uint16_t>(m_Data[m_Pos] | (m_Data[m_Pos + 1] << 8));
  m_Pos += 2;
  return v;
}

uint32_t CArchive::ReadU32() {
  Need(4);
  uint32_t v = 0;
  for (int i = 3; i >= 0; --i) v = (v << 8) | m_Data[m_Pos + i];
  m_Pos += 4;
  return v;
}

void CArchive::ReadBytes(uint8_t* a_Data, std::size_t a_Size) {
  Need(a_Size);
  if (a_Size != 0) std::memcpy(a_Data, m_Data.data() + m_Pos, a_Size);
  m_Pos += a_Size;
}

void CArchive::Io(uint8_t& a_Value) {
  if (IsStoring()) WriteU8(a_Value); else a_Value = ReadU8();
}

void CArchive::Io(uint16_t& a_Value) {
  if (IsStoring()) WriteU16(a_Value); else a_Value = ReadU16();
}

void CArchive::Io(int16_t& a_Value) {
  if (IsStoring()) WriteU16(static_cast<uint16_t>(a_Value));
  else a_Value = static_cast<int16_t>(ReadU16());
}

void CArchive::Io(uint32_t& a_Value) {
  if (IsStoring()) WriteU32(a_Value); else a_Value = ReadU32();
}

void CArchive::Io(int32_t& a_Value) {
  if (IsStoring()) WriteU32(static_cast<uint32_t>(a_Value));
  else a_Value = static_cast<int32_t>(ReadU32());
}

void CArchive::Io(float& a_Value) {
  uint32_t bits = 0;
  if (IsStoring()) {
    std::memcpy(&bits, &a_Value, 4);
    WriteU32(bits);
  } else {
    bits = ReadU32();
    std::memcpy(&a_Value, &bits, 4);
  }
}

void CArchive::Io(double& a_Value) {
  uint64_t bits = 0;
  if (IsStoring()) {
    std::memcpy(&bits, &a_Value, 8);
    WriteU32(static_cast<uint32_t>(bits));
    WriteU32(static_cast<uint32_t>(bits >> 32));
  } else {
    const uint64_t low = ReadU32();
    const uint64_t high = ReadU32();
    bits = low | (high << 32);
    std::memcpy(&a_Value, &bits, 8);
  }
}

void CArchive::IoBool(bool& a_Value) {
  int32_t v = a_Value ? 1 : 0;
  Io(v);
  a_Value = v != 0;
}

void CArchive::IoByteArray(std::vector<uint8_t>& a_Bytes) {
  if (IsStoring()) {
    WriteCount(static_cast<uint32_t>(a_Bytes.size()));
    WriteBytes(a_Bytes.data(), a_Bytes.size());
  } else {
    const uint32_t count = ReadCount(1);
    std::vector<uint8_t> bytes(count);
    ReadBytes(bytes.data(), count);
    a_Bytes = std::move(bytes);
  }
}

void CArchive::Io(std::string& a_Value) {
  if (IsStoring()) WriteString(a_Value); else a_Value = ReadString();
}

// ---- strings and counts -------------------------------------------------------------------

void CArchive::WriteString(const std::string& a_Value) {
  const std::u16string units = Utf8ToUtf16(a_Value);
  WriteU8(0xFF);
  WriteU16(0xFFFE);
  const std::size_t n = units.size();
  if (n < 0xFF) {
    WriteU8(static_cast<uint8_t>(n));
  } else if (n < 0xFFFE) {
    WriteU8(0xFF);
    WriteU16(static_cast<uint16_t>(n));
  } else {
    WriteU8(0xFF);
    WriteU16(0xFFFF);
    WriteU32(static_cast<uint32_t>(n));
  }
  for (char16_t u : units) WriteU16(static_cast<uint16_t>(u));
}

std::string CArchive::ReadString() {
  const std::size_t start = m_Pos;
  if (ReadU8() != 0xFF || ReadU16() != 0xFFFE) {
    FailAt("string without the wide-string tag", start);
  }
  uint32_t length = ReadU8();
  if (length == 0xFF) {
    length = ReadU16();
    if (length == 0xFFFF) length = ReadU32();
  }
  if (static_cast<uint64_t>(length) * 2 > Remaining()) {
    FailAt("string length beyond the end of the archive", start);
  }
  std::u16string units(length, u'\0');
  for (uint32_t i = 0; i < length; ++i) units[i] = static_cast<char16_t>(ReadU16());
  return Utf16ToUtf8(units);
}

void CArchive::WriteCount(uint32_t a_Count) {
  if (a_Count < 0xFFFF) {
    WriteU16(static_cast<uint16_t>(a_Count));
  } else {
    WriteU16(0xFFFF);
    WriteU32(a_Count);
  }
}

uint32_t CArchive::ReadCount(std::size_t a_MinItemBytes) {
  const std::size_t start = m_Pos;
  uint32_t count = ReadU16();
  if (count == 0xFFFF) count = ReadU32();
  if (static_cast<uint64_t>(count) * a_MinItemBytes > Remaining()) {
    FailAt("count " + std::to_string(count) + " beyond the end of the archive", start);
  }
  return count;
}

// ---- object references --------------------------------------------------------------------

void CArchive::WriteTag(uint32_t a_Index, bool a_Class) {
  if (a_Index < kBigObjectTag) {
    WriteU16(static_cast<uint16_t>(a_Class ? (kClassTag | a_Index) : a_Index));
  } else {
    WriteU16(kBigObjectTag);
    WriteU32(a_Class ? (kBigClassTag | a_Index) : a_Index);
  }
}

void CArchive::WriteObject(const CObject* a_Object) {
  if (a_Object == nullptr) {
    WriteU16(kNullTag);
    return;
  }
  if (auto it = m_StoreMap.find(a_Object); it != m_StoreMap.end()) {
    WriteTag(it->second, false);
    return;
  }
  WriteObjectHeader(a_Object);
  // Serialize is logically const when storing; the archive needs one operation for both ways.
  const_cast<CObject*>(a_Object)->Serialize(*this);
}

void CArchive::WriteObjectHeader(const CObject* a_Object) {
  const CRuntimeClass* cls = a_Object->GetRuntimeClass();
  if (auto it = m_StoreMap.find(cls); it != m_StoreMap.end()) {
    WriteTag(it->second, true);
  } else {
    WriteU16(kNewClassTag);
    WriteU16(cls->m_Schema);
    const std::size_t len = std::strlen(cls->m_ClassName);
    WriteU16(static_cast<uint16_t>(len));
    WriteBytes(reinterpret_cast<const uint8_t*>(cls->m_ClassName), len);
    m_StoreMap[cls] = m_NextIndex++;
  }
  m_StoreMap[a_Object] = m_NextIndex++;
}

CObject* CArchive::ReadObject(const CRuntimeClass* a_Expected) {
  const std::size_t start = m_Pos;
  const uint16_t tag = ReadU16();
  if (tag == kNullTag) return nullptr;

  const CRuntimeClass* cls = nullptr;
  if (tag == kNewClassTag) {
    const uint16_t schema = ReadU16();
    const uint16_t length = ReadU16();
    if (length == 0 || length > kMaxClassNameLength) FailAt("bad class name length", start);
    std::string name(length, '\0');
    ReadBytes(reinterpret_cast<uint8_t*>(name.data()), length);
    cls = m_Lookup != nullptr ? m_Lookup(name) : nullptr;
    if (cls == nullptr) FailAt("unknown class " + name, start);
    if (cls->m_Schema != schema) {
      FailAt("class " + name + " has schema " + std::to_string(schema) + ", expected " +
                 std::to_string(cls->m_Schema),
             start);
    }
    m_Loaded.push_back({cls, nullptr, false});
    ++m_NextIndex;
  } else {
    bool isClass = (tag & kClassTag) != 0;
    uint32_t index = tag & 0x7FFF;
    if (tag == kBigObjectTag) {
      const uint32_t big = ReadU32();
      isClass = (big & kBigClassTag) != 0;
      index = big & ~kBigClassTag;
    }
    if (index == 0 || index >= m_Loaded.size()) {
      FailAt("reference to index " + std::to_string(index) + " not yet seen", start);
    }
    const LoadedEntry& entry = m_Loaded[index];
    if (!isClass) {
      if (!entry.m_IsObject) FailAt("object reference to a class index", start);
      if (!entry.m_Class->IsDerivedFrom(a_Expected)) {
        FailAt(std::string("object of class ") + entry.m_Class->m_ClassName + " where " +
                   a_Expected->m_ClassName + " was expected",
               start);
      }
      return entry.m_Object;
    }
    if (entry.m_IsObject) FailAt("class reference to an object index", start);
    cls = entry.m_Class;
  }

  // The class is checked before the object is made, so that a hostile file cannot nest
  // objects where they do not belong.
  if (!cls->IsDerivedFrom(a_Expected) || cls->m_CreateObject == nullptr) {
    FailAt(std::string("object of class ") + cls->m_ClassName + " where " +
               a_Expected->m_ClassName + " was expected",
           start);
  }
  std::unique_ptr<CObject> object(cls->m_CreateObject());
  m_Loaded.push_back({cls, object.get(), true});
  ++m_NextIndex;
  object->Serialize(*this);
  return object.release();
}

CObject* CArchive::ReadNewObject(const CRuntimeClass* a_Class) {
  const std::size_t start = m_Pos;
  const std::size_t known = m_Loaded.size();
  CObject* object = ReadObject(a_Class);
  if (object == nullptr) FailAt(std::string("null ") + a_Class->m_ClassName + " reference", start);
  if (m_Loaded.size() == known) {
    FailAt(std::string("second reference to one ") + a_Class->m_ClassName, start);
  }
  return object;
}

}  // namespace kd820
