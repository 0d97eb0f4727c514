// Writing a project in its JSON form.
#include "editor/project/ProjectJson.h"
#include "editor/project/ProjectJsonCommon.h"
#include "editor/project/ProjectJsonFields.h"
#include "editor/screens/DynamicText.h"

namespace kd820 {

namespace projectjson {
namespace {

using pjson::Value;

Value Int(int64_t a_Value) { return Value::Integer(a_Value); }
Value Str(const std::string& a_Text) { return Value::String(a_Text); }

class Exporter {
 public:
  Exporter(const CKV410Project& a_Project, const CEditorContext& a_Context)
      : m_Project(a_Project), m_Ports(a_Project, a_Context) {}

  Value Project() const {
    Value out = Value::Object();
    out.Add("format", Str(kFormatName));
    out.Add("formatVersion", Int(kFormatVersion));
    out.Add("hardwareModel", Int(m_Project.GetHardwareModelId()));
    out.Add("elementLabels", Int(m_Project.GetStoredElementLabels()));
    Value ports = Value::Object();
    for (int i = 0; i < CKV410Project::kSerialPortCount; ++i) {
      ports.Add(PortName(i), Port(*m_Project.GetPort(i)));
    }
    ports.Add("CAN", Can(m_Project.GetCanPort()));
    out.Add("ports", std::move(ports));
    Value languages = Value::Array();
    for (const auto& item : m_Project.GetLangDefine().m_Items) {
      Value language = Value::Object();
      FieldsToJson(CLangDefineItem::Fields(), item.get(), item.get(), m_Ports, language);
      languages.Push(std::move(language));
    }
    out.Add("languages", std::move(languages));
    Value frames = Value::Array();
    for (const auto& frame : m_Project.GetFrames()) frames.Push(Frame(*frame));
    out.Add("frames", std::move(frames));
    out.Add("settings", Settings(m_Project.GetSettings()));
    out.Add("alarms", Alarms(m_Project.GetAlarms()));
    out.Add("transfers", Transfers(m_Project.GetTransfers()));
    out.Add("bitmaps", Bitmaps(m_Project.GetBitmapLib(), m_Project.BitmapUseCounts()));
    return out;
  }

 private:
  Value Address(const CAddr& a_Addr, const CAddr& a_Default) const {
    return AddressToJson(a_Addr, a_Default, m_Ports);
  }

  // A disabled port stores nothing but its flag.
  Value Port(const CPortCom& a_Port) const {
    Value out = Value::Object();
    out.Add("enabled", Int(a_Port.m_Enabled));
    if (a_Port.IsEnabled()) FieldsToJson(CPortCom::StoredFields(), &a_Port, &a_Port, m_Ports, out);
    return out;
  }

  Value Can(const CPortCan& a_Port) const {
    Value out = Value::Object();
    out.Add("enabled", Int(a_Port.m_Enabled));
    if (a_Port.IsEnabled()) FieldsToJson(CPortCan::StoredFields(), &a_Port, &a_Port, m_Ports, out);
    return out;
  }

  Value Settings(const CGlobalSettings& a_Settings) const {
    Value out = Value::Object();
    const CGlobalSettings fresh;
    FieldsToJson(CGlobalSettings::Fields(), &a_Settings, &fresh, m_Ports, out,
                 [&](const CField&) {  // the passwords
                   Value passwords = Value::Array();
                   for (int32_t password : a_Settings.m_Passwords) passwords.Push(Int(password));
                   return passwords;
                 });
    return out;
  }

  Value Alarms(const CAlarmSettings& a_Alarms) const {
    Value out = Value::Object();
    FieldsToJson(CAlarmSettings::Fields(), &a_Alarms, &a_Alarms, m_Ports, out,
                 [&](const CField&) {  // the items
                   Value items = Value::Array();
                   const CAlarmItem fresh;
                   for (const CAlarmItem& alarm : a_Alarms.m_Alarms) {
                     Value item = Value::Object();
                     FieldsToJson(CAlarmItem::Fields(), &alarm, &fresh, m_Ports, item);
                     items.Push(std::move(item));
                   }
                   return items;
                 });
    return out;
  }

  Value Transfers(const CDataTransferList& a_List) const {
    Value out = Value::Array();
    const CDataTransferItem fresh;
    for (const CDataTransferItem& transfer : a_List.m_Items) {
      Value item = Value::Object();
      FieldsToJson(CDataTransferItem::Fields(), &transfer, &fresh, m_Ports, item);
      out.Push(std::move(item));
    }
    return out;
  }

  // The use counts are those a save would store.
  static Value Bitmaps(const CSingleColorBitmapLib& a_Lib, const std::vector<int32_t>& a_UseCounts) {
    static constexpr char kHex[] = "0123456789ABCDEF";
    Value out = Value::Array();
    for (std::size_t i = 0; i < a_Lib.m_Items.size(); ++i) {
      const auto& bitmap = a_Lib.m_Items[i];
      Value item = Value::Object();
      item.Add("id", Int(bitmap->m_Id));
      item.Add("useCount", Int(a_UseCounts[i]));
      item.Add("width", Int(bitmap->m_Width));
      item.Add("height", Int(bitmap->m_Height));
      const std::size_t rowBytes = bitmap->m_Width > 0 ? (static_cast<std::size_t>(bitmap->m_Width) + 7) / 8 : 0;
      Value rows = Value::Array();
      const std::vector<uint8_t>& pixels = bitmap->m_Pixels;
      for (int32_t y = 0; y < bitmap->m_Height; ++y) {
        std::string row;
        for (std::size_t x = 0; x < rowBytes; ++x) {
          const std::size_t at = static_cast<std::size_t>(y) * rowBytes + x;
          const uint8_t byte = at < pixels.size() ? pixels[at] : 0;
          row += kHex[byte >> 4];
          row += kHex[byte & 0xF];
        }
        rows.Push(Value::String(std::move(row)));
      }
      item.Add("rows", std::move(rows));
      out.Push(std::move(item));
    }
    return out;
  }

  Value Frame(const CHMIFrame& a_Frame) const {
    Value out = Value::Object();
    FieldsToJson(CHMIFrame::Fields(), &a_Frame, &a_Frame, m_Ports, out,
                 [&](const CField&) {  // the elements
                   Value elements = Value::Array();
                   for (const auto& element : a_Frame.GetElements()) elements.Push(Element(*element));
                   return elements;
                 });
    return out;
  }

  Value Element(const CGraphElement& a_Element) const {
    Value out = Value::Object();
    const CElementType* type = ElementTypeOf(a_Element);
    out.Add("type", Str(type != nullptr ? type->m_JsonName : a_Element.GetRuntimeClass()->m_ClassName));
    if (type == nullptr) {
      FieldsToJson(CGraphElement::Fields(), &a_Element, &a_Element, m_Ports, out);
      return out;
    }
    // Addresses are written against those of a new element.
    const std::unique_ptr<CGraphElement> fresh = type->m_Create();
    FieldsToJson(CGraphElement::Fields(), &a_Element, fresh.get(), m_Ports, out);
    FieldsToJson(type->m_Fields(), type->m_OwnConst(a_Element), type->m_OwnConst(*fresh), m_Ports, out,
                 [&](const CField&) {  // the states of a dynamic text
                   return States(static_cast<const CDynamicText&>(a_Element));
                 });
    return out;
  }

  // Only the states that differ from a new one, keyed by their value.
  static Value States(const CDynamicText& a_Text) {
    const CTextItem fresh;
    Value states = Value::Object();
    for (int32_t value = 1; value <= CDynamicText::kStateCount; ++value) {
      const CTextItem& state = *a_Text.GetState(value);
      if (state == fresh) continue;
      Value item = Value::Object();
      item.Add("text", Str(state.m_Text));
      if (state.m_SecondText != fresh.m_SecondText) item.Add("secondText", Str(state.m_SecondText));
      if (state.m_Flag != fresh.m_Flag) item.Add("flag", Int(state.m_Flag));
      states.Add(std::to_string(value), std::move(item));
    }
    return states;
  }

  const CKV410Project& m_Project;
  const ProjectPortModels m_Ports;
};

}  // namespace
}  // namespace projectjson

std::string ExportProjectJson(const CKV410Project& a_Project, const CEditorContext& a_Context) {
  const projectjson::Exporter exporter(a_Project, a_Context);
  return pjson::Write(exporter.Project());
}

}  // namespace kd820
