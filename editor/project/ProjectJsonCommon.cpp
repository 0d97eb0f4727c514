#include "editor/project/ProjectJsonCommon.h"
#include "editor/project/ClassTable.h"
#include "editor/project/ProjectModels.h"

#include <cctype>
#include <charconv>
#include <cmath>
#include <cstring>

#include "editor/base/TextCase.h"

namespace kd820 {

namespace projectjson {

using pjson::Value;

// ---- enumerations ------------------------------------------------------------------------

std::string PortName(int32_t a_Port) {
  const char* name = NameOf(kPorts, a_Port);
  return name != nullptr ? name : "port " + std::to_string(a_Port);
}

// ---- PLC models ----------------------------------------------------------------------------

ProjectPortModels::ProjectPortModels(const CKV410Project& a_Project,
                                     const CEditorContext& a_Libraries)
    : m_Context(CEditorContext::SharingLibraries(a_Libraries)) {
  ReloadPortModels(a_Project, m_Context);
  for (int port = 0; port < CKV410Project::kSerialPortCount; ++port) {
    const CPortCom& com = *a_Project.GetPort(port);
    const std::string id = std::to_string(com.m_ProtocolId);
    std::size_t manufacturer = 0, plc = 0;
    std::optional<std::string>& problem = m_Problems[static_cast<std::size_t>(port)];
    if (!com.IsEnabled()) {
      problem = PortName(port) + " is not enabled";
    } else if (!m_Context.GetPlcLibrary().FindPlc(com.m_ProtocolId, &manufacturer, &plc)) {
      problem = PortName(port) + " uses the PLC protocol " + id + ", which the PLC library does not have";
      m_LibraryLacks[static_cast<std::size_t>(port)] = true;
    } else if (!m_Context.GetPortModel(port)->HasRegisterTypes()) {
      problem = "the PLC protocol " + id + " of " + PortName(port) + " has no register types";
    }
  }
  if (!a_Project.GetCanPort().IsEnabled()) {
    m_Problems[3] = "CAN is not enabled";
  } else if (!m_Context.GetPortModel(CPortCan::kPortNumber)->HasRegisterTypes()) {
    m_Problems[3] = "CAN has no PLC model with register types";
  }
}

bool ProjectPortModels::LibraryLacksProtocol(int32_t a_Port) const {
  return a_Port >= 0 && a_Port < 4 && m_LibraryLacks[static_cast<std::size_t>(a_Port)];
}

std::optional<std::string> ProjectPortModels::Problem(int32_t a_Port) const {
  if (a_Port < 0 || a_Port > 3) return "port " + std::to_string(a_Port) + " does not exist";
  return m_Problems[static_cast<std::size_t>(a_Port)];
}

// ---- reading --------------------------------------------------------------------------------

ImportError::ImportError(const std::string& a_Path, const std::string& a_Reason)
    : std::runtime_error(a_Path.empty() ? a_Reason : a_Path + ": " + a_Reason),
      m_Path(a_Path),
      m_Reason(a_Reason) {}

void Refuse(const std::string& a_Path, const std::string& a_Reason) {
  throw ImportError(a_Path, a_Reason);
}

std::string Member(const std::string& a_Path, std::string_view a_Key) {
  return a_Path.empty() ? std::string(a_Key) : a_Path + "." + std::string(a_Key);
}

std::string Item(const std::string& a_Path, std::size_t a_Index) {
  return a_Path + "[" + std::to_string(a_Index) + "]";
}

namespace {

[[noreturn]] void Expected(const std::string& a_Path, const char* a_What, const Value& a_Value) {
  Refuse(a_Path, std::string("expected ") + a_What + ", found " +
                     (a_Value.GetKind() == Value::Kind::Number ? a_Value.Text()
                                                               : Value::KindName(a_Value.GetKind())));
}

int32_t CodeOf(const Value& a_Value, const std::string& a_Path) {
  const ObjectReader r(a_Value, a_Path, {"code"});
  return IntOf<int32_t>(r.Required("code"), r.PathOf("code"));
}

}  // namespace

int64_t IntegerOf(const Value& a_Value, const std::string& a_Path, int64_t a_Min, int64_t a_Max) {
  if (a_Value.GetKind() != Value::Kind::Number) Expected(a_Path, "an integer", a_Value);
  const std::string& text = a_Value.Text();
  if (!a_Value.IsIntegerText()) Refuse(a_Path, text + " is not an integer");
  int64_t n = 0;
  const auto result = std::from_chars(text.data(), text.data() + text.size(), n);
  if (result.ec != std::errc() || result.ptr != text.data() + text.size() || n < a_Min || n > a_Max) {
    Refuse(a_Path, text + " is outside " + std::to_string(a_Min) + "~" + std::to_string(a_Max));
  }
  return n;
}

int32_t FlagOf(const Value& a_Value, const std::string& a_Path) {
  if (a_Value.GetKind() == Value::Kind::Bool) return a_Value.GetBool() ? 1 : 0;
  if (a_Value.GetKind() != Value::Kind::Number) Expected(a_Path, "0, 1, true or false", a_Value);
  return IntOf<int32_t>(a_Value, a_Path);
}

double DoubleOf(const Value& a_Value, const std::string& a_Path) {
  if (a_Value.GetKind() == Value::Kind::String) {
    const std::string& text = a_Value.Text();
    uint64_t bits = 0;
    const bool hex = text.size() == 18 && text[0] == '0' && text[1] == 'x';
    const auto result = std::from_chars(text.data() + 2, text.data() + text.size(), bits, 16);
    if (!hex || result.ec != std::errc() || result.ptr != text.data() + text.size()) {
      Refuse(a_Path, "expected a number or \"0x\" and the 16 hexadecimal digits of its bits, found " +
                         a_Value.Describe());
    }
    double value = 0;
    std::memcpy(&value, &bits, sizeof value);
    return value;
  }
  if (a_Value.GetKind() != Value::Kind::Number) Expected(a_Path, "a number", a_Value);
  const std::string& text = a_Value.Text();
  double value = 0;
  const auto result = std::from_chars(text.data(), text.data() + text.size(), value);
  if (result.ec != std::errc() || result.ptr != text.data() + text.size()) {
    Refuse(a_Path, text + " does not fit a double");
  }
  return value;
}

const std::string& StringOf(const Value& a_Value, const std::string& a_Path) {
  if (a_Value.GetKind() != Value::Kind::String) Expected(a_Path, "a string", a_Value);
  return a_Value.Text();
}

const Value& ArrayOf(const Value& a_Value, const std::string& a_Path) {
  if (a_Value.GetKind() != Value::Kind::Array) Expected(a_Path, "an array", a_Value);
  return a_Value;
}

int32_t EnumOf(const Value& a_Value, const std::string& a_Path, std::span<const NamedCode> a_Table) {
  if (a_Value.GetKind() == Value::Kind::Object) return CodeOf(a_Value, a_Path);
  std::string accepted;
  for (const NamedCode& entry : a_Table) {
    accepted += (accepted.empty() ? "" : ", ") + pjson::Quote(entry.m_Name);
  }
  if (a_Value.GetKind() != Value::Kind::String) {
    Refuse(a_Path, "expected one of " + accepted + ", found " + a_Value.Describe());
  }
  for (const NamedCode& entry : a_Table) {
    if (a_Value.Text() == entry.m_Name) return entry.m_Code;
  }
  Refuse(a_Path, "unknown name " + a_Value.Describe() + "; accepted: " + accepted);
}

int32_t NumberEnumOf(const Value& a_Value, const std::string& a_Path,
                     std::span<const NumberedCode> a_Table) {
  if (a_Value.GetKind() == Value::Kind::Object) return CodeOf(a_Value, a_Path);
  std::string accepted;
  for (const NumberedCode& entry : a_Table) {
    accepted += (accepted.empty() ? "" : ", ") + std::to_string(entry.m_Number);
  }
  if (a_Value.GetKind() == Value::Kind::Number && a_Value.IsIntegerText()) {
    for (const NumberedCode& entry : a_Table) {
      if (a_Value.Text() == std::to_string(entry.m_Number)) return entry.m_Code;
    }
  }
  Refuse(a_Path, a_Value.Describe() + " is not one of " + accepted);
}

ObjectReader::ObjectReader(const Value& a_Value, std::string a_Path,
                           std::vector<std::string_view> a_Keys)
    : m_Value(a_Value), m_Path(std::move(a_Path)) {
  if (a_Value.GetKind() != Value::Kind::Object) Expected(m_Path, "an object", a_Value);
  for (const auto& member : a_Value.Members()) {
    bool known = false;
    for (std::string_view key : a_Keys) known = known || key == member.first;
    if (known) continue;
    std::string accepted;
    for (std::string_view key : a_Keys) accepted += (accepted.empty() ? "" : ", ") + std::string(key);
    Refuse(PathOf(member.first), "unknown key (accepted keys: " + accepted + ")");
  }
}

const Value& ObjectReader::Required(std::string_view a_Key) const {
  const Value* value = Get(a_Key);
  if (value == nullptr) Refuse(m_Path, "the key " + pjson::Quote(a_Key) + " is missing");
  return *value;
}

void ObjectReader::Flag(std::string_view a_Key, int32_t& a_Field) const {
  if (const Value* v = Get(a_Key)) a_Field = FlagOf(*v, PathOf(a_Key));
}

void ObjectReader::Double(std::string_view a_Key, double& a_Field) const {
  if (const Value* v = Get(a_Key)) a_Field = DoubleOf(*v, PathOf(a_Key));
}

void ObjectReader::String(std::string_view a_Key, std::string& a_Field) const {
  if (const Value* v = Get(a_Key)) a_Field = StringOf(*v, PathOf(a_Key));
}

void ObjectReader::Enum(std::string_view a_Key, int32_t& a_Field,
                        std::span<const NamedCode> a_Table) const {
  if (const Value* v = Get(a_Key)) a_Field = EnumOf(*v, PathOf(a_Key), a_Table);
}

void ObjectReader::NumberEnum(std::string_view a_Key, int32_t& a_Field,
                              std::span<const NumberedCode> a_Table) const {
  if (const Value* v = Get(a_Key)) a_Field = NumberEnumOf(*v, PathOf(a_Key), a_Table);
}

// ---- writing --------------------------------------------------------------------------------

Value EnumValue(std::span<const NamedCode> a_Table, int32_t a_Code) {
  if (const char* name = NameOf(a_Table, a_Code)) return Value::String(name);
  Value code = Value::Object();
  code.Add("code", Value::Integer(a_Code));
  return code;
}

Value NumberEnumValue(std::span<const NumberedCode> a_Table, int32_t a_Code) {
  if (const NumberedCode* entry = FindCode(a_Table, a_Code)) return Value::Integer(entry->m_Number);
  Value code = Value::Object();
  code.Add("code", Value::Integer(a_Code));
  return code;
}

Value DoubleValue(double a_Value) {
  if (std::isfinite(a_Value)) return Value::Double(a_Value);
  // Infinities and NaNs (with their payload) as their bits.
  uint64_t bits = 0;
  std::memcpy(&bits, &a_Value, sizeof bits);
  char text[19] = "0x";
  const auto result = std::to_chars(text + 2, text + sizeof text, bits, 16);
  const std::string digits = AsciiUpper(std::string(text + 2, result.ptr));
  return Value::String("0x" + std::string(16 - digits.size(), '0') + digits);
}

}  // namespace projectjson

}  // namespace kd820
