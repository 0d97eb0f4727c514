#pragma once
// The project archive: a stream of little-endian primitives, tagged UTF-16 strings, counts
// and object references, in the persistent-object layout the panel engineers' project files
// use. One CArchive either stores (writes into its buffer) or loads (reads from given bytes);
// every persistent class has one Serialize that works in both directions through Io().
#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>
#include <stdexcept>
#include <string>
#include <unordered_map>
#include <vector>

namespace kd820 {

class CArchive;
class CObject;

// A fault in the archive bytes, with the offset at which the faulty item begins.
class ArchiveError : public std::runtime_error {
 public:
  ArchiveError(const std::string& a_What, std::size_t a_Offset);
  std::size_t Offset() const { return m_Offset; }

 private:
  std::size_t m_Offset;
};

// Name, schema and factory of a persistent class; m_CreateObject is null for abstract bases.
struct CRuntimeClass {
  const char* m_ClassName;
  uint16_t m_Schema;
  const CRuntimeClass* m_BaseClass;
  CObject* (*m_CreateObject)();

  bool IsDerivedFrom(const CRuntimeClass* a_Base) const;
};

class CObject {
 public:
  virtual ~CObject() = default;
  virtual const CRuntimeClass* GetRuntimeClass() const = 0;
  virtual void Serialize(CArchive& a_Ar) = 0;
};

// Declares the runtime class of a persistent class (inside the class body).
#define KD_DECLARE_SERIAL(ClassName)                                           \
 public:                                                                       \
  static const CRuntimeClass class##ClassName;                                 \
  static const CRuntimeClass* StaticClass() { return &class##ClassName; }      \
  const CRuntimeClass* GetRuntimeClass() const override { return &class##ClassName; }

// Defines it (in the source file). Base is the runtime class of the base, or nullptr.
#define KD_IMPLEMENT_SERIAL(ClassName, BaseRuntimeClass, Schema)               \
  const CRuntimeClass ClassName::class##ClassName = {                          \
      #ClassName, Schema, BaseRuntimeClass,                                    \
      []() -> CObject* { return new ClassName(); }};

#define KD_IMPLEMENT_ABSTRACT(ClassName, BaseRuntimeClass)                     \
  const CRuntimeClass ClassName::class##ClassName = {#ClassName, 0xFFFF, BaseRuntimeClass, nullptr};

// Finds the persistent class a file names; null for a name the reader does not know.
using ClassLookup = const CRuntimeClass* (*)(const std::string& a_Name);

class CArchive {
 public:
  enum class Mode { Store, Load };

  // A storing archive that writes into its own buffer.
  CArchive();
  // A loading archive over a_Data, which must outlive it; objects are created from the classes
  // a_Lookup finds.
  CArchive(std::span<const uint8_t> a_Data, ClassLookup a_Lookup);

  bool IsStoring() const { return m_Mode == Mode::Store; }
  bool IsLoading() const { return m_Mode == Mode::Load; }

  // Both directions: writes the value when storing, reads it into the variable when loading.
  void Io(uint8_t& a_Value);
  void Io(uint16_t& a_Value);
  void Io(int16_t& a_Value);
  void Io(uint32_t& a_Value);
  void Io(int32_t& a_Value);
  void Io(float& a_Value);
  void Io(double& a_Value);
  void Io(std::string& a_Value);
  // A boolean kept as a 32-bit integer (0/1); any non-zero value loads as true.
  void IoBool(bool& a_Value);
  // A byte array: count, then the bytes.
  void IoByteArray(std::vector<uint8_t>& a_Bytes);

  // One direction.
  void WriteU8(uint8_t a_Value);
  void WriteU16(uint16_t a_Value);
  void WriteU32(uint32_t a_Value);
  void WriteString(const std::string& a_Value);
  void WriteCount(uint32_t a_Count);
  void WriteBytes(const uint8_t* a_Data, std::size_t a_Size);
  void WriteObject(const CObject* a_Object);
  // The class tag of a new object, registering the object; its fields are the caller's to
  // write. WriteObject is this followed by the object's Serialize.
  void WriteObjectHeader(const CObject* a_Object);

  uint8_t ReadU8();
  uint16_t ReadU16();
  uint32_t ReadU32();
  std::string ReadString();
  // A count of items that each take at least a_MinItemBytes bytes; a count that the bytes
  // remaining cannot hold is an archive error.
  uint32_t ReadCount(std::size_t a_MinItemBytes = 1);
  void ReadBytes(uint8_t* a_Data, std::size_t a_Size);
  // Reads one object reference whose class must derive from a_Expected. A new object is
  // created, serialized and returned; the caller owns it. A reference to an object read
  // before returns that same object (not owned by the caller). Null gives nullptr.
  CObject* ReadObject(const CRuntimeClass* a_Expected);
  // Reads a reference to a new object of class T (or derived) and takes ownership of it;
  // null and references to objects read before are archive errors.
  template <class T>
  std::unique_ptr<T> ReadOwned() {
    return std::unique_ptr<T>(static_cast<T*>(ReadNewObject(T::StaticClass())));
  }

  // Object lists: count, then one reference per element, in list order.
  template <class T>
  void IoObjectList(std::vector<std::unique_ptr<T>>& a_List) {
    if (IsStoring()) {
      WriteCount(static_cast<uint32_t>(a_List.size()));
      for (const auto& item : a_List) WriteObject(item.get());
    } else {
      const uint32_t count = ReadCount(2);
      std::vector<std::unique_ptr<T>> loaded;
      loaded.reserve(count);
      for (uint32_t i = 0; i < count; ++i) {
        loaded.push_back(std::unique_ptr<T>(static_cast<T*>(ReadNewObject(T::StaticClass()))));
      }
      a_List = std::move(loaded);
    }
  }
  // Lists of items kept in place: an int32 count, then each item's Serialize. A count that the
  // bytes remaining cannot hold (a_MinItemBytes each) is an archive error "<a_What> count N
  // beyond the end of the archive".
  template <class T>
  void IoCountedItems(std::vector<T>& a_Items, std::size_t a_MinItemBytes, const char* a_What) {
    if (IsStoring()) {
      int32_t count = static_cast<int32_t>(a_Items.size());
      Io(count);
      for (T& item : a_Items) item.Serialize(*this);
      return;
    }
    const std::size_t start = Offset();
    int32_t count = 0;
    Io(count);
    if (count < 0 || static_cast<std::size_t>(count) > Remaining() / a_MinItemBytes) {
      FailAt(std::string(a_What) + " count " + std::to_string(count) + " beyond the end of the archive", start);
    }
    std::vector<T> items(static_cast<std::size_t>(count));
    for (T& item : items) item.Serialize(*this);
    a_Items = std::move(items);
  }
  // Reads a reference that must be a new, non-null object of a_Class (or derived); the
  // caller owns the result.
  CObject* ReadNewObject(const CRuntimeClass* a_Class);

  std::size_t Offset() const { return m_Pos; }
  std::size_t Remaining() const { return m_Data.size() - m_Pos; }
  // The bytes written so far by a storing archive.
  const std::vector<uint8_t>& Bytes() const { return m_Out; }

  [[noreturn]] void Fail(const std::string& a_What) const;
  [[noreturn]] void FailAt(const std::string& a_What, std::size_t a_Offset) const;

 private:
  void Need(std::size_t a_Bytes) const;
  void WriteTag(uint32_t a_Index, bool a_Class);

  Mode m_Mode;
  // storing
  std::vector<uint8_t> m_Out;
  std::unordered_map<const void*, uint32_t> m_StoreMap;
  // loading
  std::span<const uint8_t> m_Data;
  std::size_t m_Pos = 0;
  struct LoadedEntry {
    const CRuntimeClass* m_Class;  // the class, or the object's class
    CObject* m_Object;             // null for class entries
    bool m_IsObject;
  };
  std::vector<LoadedEntry> m_Loaded;  // index 0 unused
  ClassLookup m_Lookup = nullptr;
  // shared
  uint32_t m_NextIndex = 1;
};

}  // namespace kd820
