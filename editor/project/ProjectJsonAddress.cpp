// Register addresses in the project's JSON form.
#include <vector>

#include "editor/devices/InternalRegisters.h"
#include "editor/project/ProjectJsonCommon.h"

namespace kd820 {

namespace projectjson {

using pjson::Value;

namespace {

constexpr const char* kInternalTypes[] = {"LW", "LW.B", "RW", "RW.B"};

int32_t DefaultLength(int32_t a_Width) { return a_Width == CAddr::kDoubleWord ? 2 : 1; }

// The keys after the number: index, BCD, length and note where they differ from the default.
void AddTail(Value& a_Out, const CAddr& a_Addr, const CAddr& a_Default) {
  if (a_Addr.m_HasIndex != a_Default.m_HasIndex || a_Addr.m_Index != a_Default.m_Index) {
    if (a_Addr.m_HasIndex != 1) a_Out.Add("hasIndex", Value::Integer(a_Addr.m_HasIndex));
    a_Out.Add("index", Value::Integer(a_Addr.m_Index));
  }
  if (a_Addr.m_Bcd != a_Default.m_Bcd) a_Out.Add("bcd", Value::Integer(a_Addr.m_Bcd));
  if (a_Addr.m_Length != DefaultLength(a_Addr.m_Width)) {
    a_Out.Add("length", Value::Integer(a_Addr.m_Length));
  }
  if (a_Addr.m_Note != a_Default.m_Note) a_Out.Add("note", Value::String(a_Addr.m_Note));
}

// Whether the type of the address is known, so that its number text has a fixed base.
bool TypeKnown(const CAddr& a_Addr, const ProjectPortModels& a_Ports) {
  if (a_Addr.IsInternal()) return FindInternalRegisterType(a_Addr.m_TypeName) != nullptr;
  return !a_Ports.Problem(a_Addr.m_Port) && a_Addr.FindType(a_Ports.Context()) != nullptr;
}

void CheckPortAndType(const CAddr& a_Addr, const ObjectReader& a_Reader,
                      const ProjectPortModels& a_Ports) {
  const bool bit = a_Addr.m_Width == CAddr::kBit;
  const std::string kind = bit ? "bit" : "word";
  std::vector<std::string> accepted;
  if (a_Addr.IsInternal()) {
    for (const char* name : kInternalTypes) {
      const InternalRegisterType* type = FindInternalRegisterType(name);
      if (type != nullptr && (type->m_Width == CAddr::kBit) == bit) accepted.push_back(name);
    }
    for (const std::string& name : accepted) {
      if (name == a_Addr.m_TypeName) return;
    }
  } else {
    if (const auto problem = a_Ports.Problem(a_Addr.m_Port)) Refuse(a_Reader.PathOf("port"), *problem);
    if (a_Addr.FindType(a_Ports.Context()) != nullptr) return;
    a_Ports.Context().GetPortModel(a_Addr.m_Port)->ListRegisterNames(bit, accepted);
  }
  std::string list;
  for (const std::string& name : accepted) list += (list.empty() ? "" : ", ") + pjson::Quote(name);
  const std::string where = a_Addr.IsInternal() ? "an internal " + kind + " register type"
                                                : "a " + kind + " register type of the PLC on " +
                                                      PortName(a_Addr.m_Port);
  Refuse(a_Reader.PathOf("type"),
         pjson::Quote(a_Addr.m_TypeName) + " is not " + where + " (accepted: " + list + ")");
}

}  // namespace

Value AddressToJson(const CAddr& a_Addr, const CAddr& a_Default, const ProjectPortModels& a_Ports) {
  Value head = Value::Object();
  if (a_Addr.m_Width != a_Default.m_Width) head.Add("width", EnumValue(kWidths, a_Addr.m_Width));
  head.Add("port", EnumValue(kPorts, a_Addr.m_Port));
  if (!a_Addr.IsInternal() || a_Addr.m_Station != a_Default.m_Station) {
    head.Add("station", Value::Integer(a_Addr.m_Station));
  }
  head.Add("type", Value::String(a_Addr.m_TypeName));

  if (TypeKnown(a_Addr, a_Ports)) {
    Value numbered = head;
    numbered.Add("number", Value::String(a_Addr.FormatNumber(a_Ports.Context())));
    AddTail(numbered, a_Addr, a_Default);
    try {
      if (AddressFromJson(numbered, "", a_Default, &a_Ports, false) == a_Addr) return numbered;
    } catch (const ImportError&) {
      // The text does not read back; the raw fields below do.
    }
  }
  head.Add("address", Value::Integer(a_Addr.m_Address));
  head.Add("hasSubAddress", Value::Integer(a_Addr.m_HasSubAddress));
  head.Add("subAddress", Value::Integer(a_Addr.m_SubAddress));
  AddTail(head, a_Addr, a_Default);
  return head;
}

CAddr AddressFromJson(const Value& a_Value, const std::string& a_Path, const CAddr& a_Default,
                      const ProjectPortModels* a_Ports, bool a_Check) {
  const ObjectReader r(a_Value, a_Path,
                       {"width", "port", "station", "type", "number", "address", "hasSubAddress",
                        "subAddress", "hasIndex", "index", "bcd", "length", "note"});
  CAddr addr = a_Default;
  r.Enum("width", addr.m_Width, kWidths);
  r.Enum("port", addr.m_Port, kPorts);
  r.Int("station", addr.m_Station);
  r.String("type", addr.m_TypeName);
  if (r.Has("index")) {
    r.Int("index", addr.m_Index);
    addr.m_HasIndex = 1;
  }
  r.Flag("hasIndex", addr.m_HasIndex);
  r.Flag("bcd", addr.m_Bcd);
  addr.m_Length = DefaultLength(addr.m_Width);
  r.Int("length", addr.m_Length);
  r.String("note", addr.m_Note);

  const bool number = r.Has("number");
  const bool raw = r.Has("address") || r.Has("hasSubAddress") || r.Has("subAddress");
  if (number && raw) {
    Refuse(a_Path, "give the number either as \"number\" or as \"address\", \"hasSubAddress\" and "
                   "\"subAddress\", not both");
  }
  r.Int("address", addr.m_Address);
  r.Flag("hasSubAddress", addr.m_HasSubAddress);
  r.Int("subAddress", addr.m_SubAddress);

  // Nothing can be checked on a port whose protocol the library lacks (the import notes it).
  const bool check = a_Ports != nullptr && a_Check && !a_Ports->LibraryLacksProtocol(addr.m_Port);
  if (check) CheckPortAndType(addr, r, *a_Ports);
  // Without the project's ports no port type is known: numbers read in their default bases.
  static const CEditorContext kNoPorts;  // once, not per address: reading must stay cheap
  const CEditorContext& context = a_Ports != nullptr ? a_Ports->Context() : kNoPorts;
  if (number) {
    const std::string& text = StringOf(r.Required("number"), r.PathOf("number"));
    if (!addr.ParseNumber(text, context)) {
      const std::string hint = addr.RangeText(context);
      Refuse(r.PathOf("number"), pjson::Quote(text) + " is not a number of " + addr.m_TypeName +
                                     (hint.empty() ? "" : " " + hint));
    }
  }
  if (check) {
    if (const auto reason = addr.Validate(context)) Refuse(number ? r.PathOf("number") : a_Path, *reason);
  }
  return addr;
}

}  // namespace projectjson

}  // namespace kd820
