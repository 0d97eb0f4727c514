#pragma once
// What the JSON export and import of a project share: the PLC models the addresses are read
// against, and the typed readers that refuse a value with its JSON path.
#include <array>
#include <cstdint>
#include <limits>
#include <memory>
#include <optional>
#include <span>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "editor/base/CodeTables.h"
#include "editor/devices/Addr.h"
#include "editor/devices/EditorContext.h"
#include "editor/devices/PlcLibrary.h"
#include "editor/project/KV410Project.h"
#include "editor/project/ProjectJsonText.h"
#include "editor/screens/ElementTypes.h"
#include "editor/screens/GraphElement.h"

namespace kd820 {

namespace projectjson {

inline constexpr const char* kFormatName = "KD820 project";
inline constexpr int64_t kFormatVersion = 1;

// ---- enumerations ------------------------------------------------------------------------

// The enumerations are those of editor/base/CodeTables.h.

// "COM1", "internal", or "port 7".
std::string PortName(int32_t a_Port);

// ---- element types -----------------------------------------------------------------------

// The JSON names of the element types are those of editor/screens/ElementTypes.h; the element
// base is read and written through its field table (ProjectJsonFields.h).

// ---- PLC models ----------------------------------------------------------------------------

// The port PLC models of a project, loaded into a context of their own that shares the
// libraries of a_Libraries; the document's models are not touched.
class ProjectPortModels {
 public:
  ProjectPortModels(const CKV410Project& a_Project, const CEditorContext& a_Libraries);

  // Why the addresses on the port cannot be read against a PLC model; nullopt when they can.
  std::optional<std::string> Problem(int32_t a_Port) const;
  // The port is enabled with a protocol the PLC library does not have: its addresses are
  // taken as they stand, unchecked.
  bool LibraryLacksProtocol(int32_t a_Port) const;
  // The context holding the project's port models.
  const CEditorContext& Context() const { return m_Context; }

 private:
  CEditorContext m_Context;
  std::array<std::optional<std::string>, 4> m_Problems;
  std::array<bool, 4> m_LibraryLacks{};
};

// ---- reading --------------------------------------------------------------------------------

// A refused value: the JSON path and the reason.
class ImportError : public std::runtime_error {
 public:
  ImportError(const std::string& a_Path, const std::string& a_Reason);
  const std::string& Path() const { return m_Path; }
  const std::string& Reason() const { return m_Reason; }

 private:
  std::string m_Path;
  std::string m_Reason;
};
[[noreturn]] void Refuse(const std::string& a_Path, const std::string& a_Reason);

std::string Member(const std::string& a_Path, std::string_view a_Key);
std::string Item(const std::string& a_Path, std::size_t a_Index);

// Readers of single values. Integers must be written without fraction or exponent and fit the
// field; flags take an integer or true/false; doubles take a number or the string "0x" and 16
// hexadecimal digits of their bits; enumerations take a name (a number for NumberedCode) or
// {"code": n}.
int64_t IntegerOf(const pjson::Value& a_Value, const std::string& a_Path, int64_t a_Min,
                  int64_t a_Max);
template <class T>
T IntOf(const pjson::Value& a_Value, const std::string& a_Path) {
  return static_cast<T>(IntegerOf(a_Value, a_Path, std::numeric_limits<T>::min(),
                                  std::numeric_limits<T>::max()));
}
int32_t FlagOf(const pjson::Value& a_Value, const std::string& a_Path);
double DoubleOf(const pjson::Value& a_Value, const std::string& a_Path);
const std::string& StringOf(const pjson::Value& a_Value, const std::string& a_Path);
int32_t EnumOf(const pjson::Value& a_Value, const std::string& a_Path,
               std::span<const NamedCode> a_Table);
int32_t NumberEnumOf(const pjson::Value& a_Value, const std::string& a_Path,
                     std::span<const NumberedCode> a_Table);
const pjson::Value& ArrayOf(const pjson::Value& a_Value, const std::string& a_Path);

// An object whose keys must all be among the accepted ones.
class ObjectReader {
 public:
  ObjectReader(const pjson::Value& a_Value, std::string a_Path,
               std::vector<std::string_view> a_Keys);

  const std::string& Path() const { return m_Path; }
  std::string PathOf(std::string_view a_Key) const { return Member(m_Path, a_Key); }
  const pjson::Value* Get(std::string_view a_Key) const { return m_Value.Find(a_Key); }
  bool Has(std::string_view a_Key) const { return Get(a_Key) != nullptr; }
  const pjson::Value& Required(std::string_view a_Key) const;

  // Each sets the field when the key is given and leaves it alone otherwise.
  template <class T>
  void Int(std::string_view a_Key, T& a_Field) const {
    if (const pjson::Value* v = Get(a_Key)) a_Field = IntOf<T>(*v, PathOf(a_Key));
  }
  void Flag(std::string_view a_Key, int32_t& a_Field) const;
  void Double(std::string_view a_Key, double& a_Field) const;
  void String(std::string_view a_Key, std::string& a_Field) const;
  void Enum(std::string_view a_Key, int32_t& a_Field, std::span<const NamedCode> a_Table) const;
  void NumberEnum(std::string_view a_Key, int32_t& a_Field,
                  std::span<const NumberedCode> a_Table) const;

 private:
  const pjson::Value& m_Value;
  std::string m_Path;
};

// ---- writing --------------------------------------------------------------------------------

pjson::Value EnumValue(std::span<const NamedCode> a_Table, int32_t a_Code);
pjson::Value NumberEnumValue(std::span<const NumberedCode> a_Table, int32_t a_Code);
pjson::Value DoubleValue(double a_Value);

// ---- register addresses ---------------------------------------------------------------------

// The JSON form of an address held by a field whose new value is a_Default: port, type and the
// keys that differ from the default, with the number in its type's text form when the type is
// known and that text reads back exactly, and as the raw fields otherwise.
pjson::Value AddressToJson(const CAddr& a_Addr, const CAddr& a_Default,
                           const ProjectPortModels& a_Ports);
// Reads an address over a_Default; a number text is read in the base of its type among the
// port models of a_Ports (without them, in the default bases). With a_Ports and a_Check the
// address is checked as the editor checks it: its port usable, its type known, the number text
// converting, the ranges kept. Otherwise only the number text has to convert.
CAddr AddressFromJson(const pjson::Value& a_Value, const std::string& a_Path,
                      const CAddr& a_Default, const ProjectPortModels* a_Ports,
                      bool a_Check = true);

}  // namespace projectjson

}  // namespace kd820
