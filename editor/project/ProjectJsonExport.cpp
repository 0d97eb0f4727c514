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
  explicit Exporter(const CKV410Project& a_Project)
      : m_Project(a_Project), m_Ports(a_Project) {}

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
      language.Add("languageId", Int(item->m_LanguageId));
      language.Add("font", Str(item->m_FontName));
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

  static Value Port(const CPortCom& a_Port) {
    Value out = Value::Object();
    out.Add("enabled", Int(a_Port.m_Enabled));
    // A disabled port stores nothing else.
    if (!a_Port.IsEnabled()) return out;
    out.Add("protocol", Int(a_Port.m_ProtocolId));
    out.Add("serialType", EnumValue(kSerialTypes, a_Port.m_SerialType));
    out.Add("baudRate", NumberEnumValue(kBaudRates, a_Port.m_BaudRate));
    out.Add("dataBits", NumberEnumValue(kDataBits, a_Port.m_DataBits));
    out.Add("parity", EnumValue(kParities, a_Port.m_Parity));
    out.Add("stopBits", NumberEnumValue(kStopBits, a_Port.m_StopBits));
    out.Add("stationUsed", Int(a_Port.m_StationUsed));
    out.Add("station", Int(a_Port.m_Station));
    out.Add("responseTimeout", Int(a_Port.m_ResponseTimeout));
    out.Add("protocolTimeout1", Int(a_Port.m_ProtocolTimeout1));
    out.Add("protocolTimeout2", Int(a_Port.m_ProtocolTimeout2));
    out.Add("wordPacketMax", Int(a_Port.m_WordPacketMax));
    out.Add("bitPacketMax", Int(a_Port.m_BitPacketMax));
    out.Add("wordPackingInterval", Int(a_Port.m_WordPackingInterval));
    out.Add("bitPackingInterval", Int(a_Port.m_BitPackingInterval));
    out.Add("communicationInterval", Int(a_Port.m_CommunicationInterval));
    out.Add("messageTime", Int(a_Port.m_MessageTime));
    out.Add("retryCount", Int(a_Port.m_RetryCount));
    out.Add("retryAfterFailure", Int(a_Port.m_RetryAfterFailure));
    return out;
  }

  static Value Can(const CPortCan& a_Port) {
    Value out = Value::Object();
    out.Add("enabled", Int(a_Port.m_Enabled));
    if (!a_Port.IsEnabled()) return out;
    out.Add("value1", Int(a_Port.m_Value1));
    out.Add("value2", Int(a_Port.m_Value2));
    return out;
  }

  Value Settings(const CGlobalSettings& a_Settings) const {
    Value out = Value::Object();
    out.Add("flags", Int(a_Settings.m_Flags));
    out.Add("startFrame", Int(a_Settings.m_StartFrame));
    out.Add("screenSaverFrame", Int(a_Settings.m_ScreenSaverFrame));
    out.Add("screenSaverMinutes", Int(a_Settings.m_ScreenSaverMinutes));
    out.Add("passwordLevel", Int(a_Settings.m_PasswordLevel));
    out.Add("passwordMask", Int(a_Settings.m_PasswordMask));
    Value passwords = Value::Array();
    for (int32_t password : a_Settings.m_Passwords) passwords.Push(Int(password));
    out.Add("passwords", std::move(passwords));
    out.Add("passwordFrame", Int(a_Settings.m_PasswordFrame));
    out.Add("commonFrame", Int(a_Settings.m_CommonFrame));
    out.Add("controlFlags", Int(a_Settings.m_ControlFlags));
    out.Add("controlRegister", Address(a_Settings.m_ControlAddress, CGlobalSettings().m_ControlAddress));
    return out;
  }

  Value Alarms(const CAlarmSettings& a_Alarms) const {
    Value out = Value::Object();
    out.Add("font", Str(a_Alarms.m_FontName));
    out.Add("fontSizeIndex", Int(a_Alarms.m_FontSizeIndex));
    out.Add("textOption", Int(a_Alarms.m_TextOption));
    out.Add("frame", Int(a_Alarms.m_AlarmFrame));
    out.Add("frameOption", Int(a_Alarms.m_AlarmFrameOption));
    out.Add("reservedSwitch", Int(a_Alarms.m_ReservedSwitch));
    Value items = Value::Array();
    const CAlarmItem fresh;
    for (const CAlarmItem& alarm : a_Alarms.m_Alarms) {
      Value item = Value::Object();
      item.Add("flags", Int(alarm.m_Flags));
      item.Add("value", Int(alarm.m_Value));
      item.Add("rangeUsed", Int(alarm.m_RangeUsed));
      item.Add("rangeUpper", Int(alarm.m_RangeA));
      item.Add("rangeLower", Int(alarm.m_RangeB));
      item.Add("buzzerSeconds", Int(alarm.m_BuzzerSeconds));
      item.Add("register", Address(alarm.m_Register, fresh.m_Register));
      item.Add("text", Str(alarm.m_Text));
      items.Push(std::move(item));
    }
    out.Add("items", std::move(items));
    return out;
  }

  Value Transfers(const CDataTransferList& a_List) const {
    Value out = Value::Array();
    const CDataTransferItem fresh;
    for (const CDataTransferItem& transfer : a_List.m_Items) {
      Value item = Value::Object();
      item.Add("periodic", Int(transfer.m_Periodic));
      item.Add("edge", EnumValue(kEdges, transfer.m_EdgeMode));
      item.Add("period", Int(transfer.m_Period));
      item.Add("frame", Int(transfer.m_Frame));
      item.Add("executionLimit", Int(transfer.m_ExecutionLimit));
      item.Add("count", Int(transfer.m_Count));
      item.Add("trigger", Address(transfer.m_Trigger, fresh.m_Trigger));
      item.Add("source", Address(transfer.m_Source, fresh.m_Source));
      item.Add("destination", Address(transfer.m_Destination, fresh.m_Destination));
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
    out.Add("number", Int(a_Frame.GetNumber()));
    out.Add("name", Str(a_Frame.GetName()));
    out.Add("description", Str(a_Frame.GetDescription()));
    out.Add("previous", Int(a_Frame.GetPrevious()));
    out.Add("next", Int(a_Frame.GetNext()));
    Value elements = Value::Array();
    for (const auto& element : a_Frame.GetElements()) elements.Push(Element(*element));
    out.Add("elements", std::move(elements));
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
                 [&](const CField& a_Field) -> std::optional<Value> {
                   if (std::string_view(a_Field.m_Key) != "states") return std::nullopt;
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
  const PortModelScope m_Ports;
};

}  // namespace
}  // namespace projectjson

std::string ExportProjectJson(const CKV410Project& a_Project) {
  const projectjson::Exporter exporter(a_Project);
  return pjson::Write(exporter.Project());
}

}  // namespace kd820
