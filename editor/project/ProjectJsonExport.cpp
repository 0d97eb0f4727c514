// Writing a project in its JSON form.
#include "editor/project/ProjectJson.h"
#include "editor/project/ProjectJsonCommon.h"
#include "editor/screens/AsciiGE.h"
#include "editor/screens/BarGE.h"
#include "editor/screens/DynamicText.h"
#include "editor/screens/EventListGE.h"
#include "editor/screens/FunckeyGE.h"
#include "editor/screens/LedGE.h"
#include "editor/screens/PictureGE.h"
#include "editor/screens/RegisterGE.h"
#include "editor/screens/StaticText.h"
#include "editor/screens/TrendGE.h"

namespace kd820 {

namespace projectjson {
namespace {

using pjson::Value;

Value Int(int64_t a_Value) { return Value::Integer(a_Value); }
Value Str(const std::string& a_Text) { return Value::String(a_Text); }

class Exporter {
 public:
  Exporter(const CKV410Project& a_Project, const CEditorContext& a_Context)
      : m_Project(a_Project), m_Labels(StoredElementLabels(a_Project)), m_Ports(a_Project, a_Context) {}

  Value Project() const {
    Value out = Value::Object();
    out.Add("format", Str(kFormatName));
    out.Add("formatVersion", Int(kFormatVersion));
    out.Add("hardwareModel", Int(m_Project.GetHardwareModelId()));
    out.Add("elementLabels", Int(m_Labels));
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
    out.Add("bitmaps", Bitmaps(m_Project.GetBitmapLib()));
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

  static Value Bitmaps(const CSingleColorBitmapLib& a_Lib) {
    static constexpr char kHex[] = "0123456789ABCDEF";
    Value out = Value::Array();
    for (const auto& bitmap : a_Lib.m_Items) {
      Value item = Value::Object();
      item.Add("id", Int(bitmap->m_Id));
      item.Add("useCount", Int(bitmap->m_UseCount));
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
    const char* kind = ElementKindName(a_Element);
    out.Add("type", Str(kind != nullptr ? kind : a_Element.GetRuntimeClass()->m_ClassName));
    const ElementBase base = GetElementBase(a_Element);
    out.Add("number", Int(static_cast<uint16_t>(base.m_Number)));
    out.Add("name", Str(base.m_Name));
    out.Add("left", Int(base.m_Left));
    out.Add("top", Int(base.m_Top));
    out.Add("width", Int(base.m_Width));
    out.Add("height", Int(base.m_Height));
    out.Add("doubleSize", Int(base.m_DoubleSize));
    out.Add("reverse", Int(base.m_Reverse));
    out.Add("storedWord1", Int(base.m_StoredWord1));
    out.Add("storedWord2", Int(base.m_StoredWord2));
    out.Add("inputOrder", Int(base.m_InputOrder));

    if (const auto* led = dynamic_cast<const CLedGE*>(&a_Element)) {
      out.Add("register", Address(led->m_Reg, CLedGE().m_Reg));
      out.Add("shape", EnumValue(kLedShapes, led->m_Shape));
      out.Add("size", Int(led->m_Size));
      out.Add("invert", Int(led->m_Invert));
      out.Add("blink", Int(led->m_Blink));
      out.Add("blinkWhileOn", Int(led->m_BlinkWhileOn));
      out.Add("blinkPeriod", Int(led->m_BlinkPeriod));
    } else if (const auto* key = dynamic_cast<const CFunckeyGE*>(&a_Element)) {
      FunctionKey(*key, out);
    } else if (const auto* text = dynamic_cast<const CStaticText*>(&a_Element)) {
      out.Add("text", Str(text->GetText()));
      out.Add("sizeIndex", Int(text->GetSizeIndex()));
      out.Add("font", Str(text->GetFace()));
      out.Add("builtinFont", Int(text->GetBuiltinOption()));
      out.Add("furtherWord", Int(text->m_FurtherWord));
    } else if (const auto* dynamic = dynamic_cast<const CDynamicText*>(&a_Element)) {
      DynamicText(*dynamic, out);
    } else if (const auto* reg = dynamic_cast<const CRegisterGE*>(&a_Element)) {
      Register(*reg, out);
    } else if (const auto* bar = dynamic_cast<const CBarGE*>(&a_Element)) {
      out.Add("register", Address(bar->m_Reg, CBarGE().m_Reg));
      out.Add("dataType", EnumValue(kDataTypes, bar->m_DataType));
      out.Add("regWidth", Int(bar->m_RegWidth));
      out.Add("drawDirection", EnumValue(kDirections, bar->m_DrawDir));
      out.Add("upper", DoubleValue(bar->m_Upper));
      out.Add("lower", DoubleValue(bar->m_Lower));
    } else if (const auto* trend = dynamic_cast<const CTrendGE*>(&a_Element)) {
      out.Add("register", Address(trend->m_Reg, CTrendGE().m_Reg));
      out.Add("dataType", EnumValue(kDataTypes, trend->m_DataType));
      out.Add("regWidth", Int(trend->m_RegWidth));
      out.Add("upper", DoubleValue(trend->m_Upper));
      out.Add("lower", DoubleValue(trend->m_Lower));
      out.Add("points", Int(trend->m_Points));
      out.Add("period", Int(trend->m_Period));
    } else if (const auto* picture = dynamic_cast<const CPictureGE*>(&a_Element)) {
      out.Add("bitmap", Int(picture->m_ItemId));
      Value trait = Value::Object();
      trait.Add("compress", Int(picture->m_Trait.m_Compress));
      trait.Add("reverse", Int(picture->m_Trait.m_Reverse));
      trait.Add("critical", Int(picture->m_Trait.m_Critical));
      trait.Add("leftFill", Int(picture->m_Trait.m_LeftFill));
      out.Add("trait", std::move(trait));
    } else if (const auto* ascii = dynamic_cast<const CAsciiGE*>(&a_Element)) {
      out.Add("register", Address(ascii->m_Reg, CAsciiGE().m_Reg));
      out.Add("charCount", Int(ascii->GetCharCount()));
      out.Add("sizeIndex", Int(ascii->GetSizeIndex()));
    } else if (const auto* list = dynamic_cast<const CEventListGE*>(&a_Element)) {
      out.Add("showNumber", Int(list->m_ShowNumber));
      out.Add("showDate", Int(list->m_ShowDate));
      out.Add("dateStyle", Int(list->m_DateStyle));
      out.Add("dateSeparator", EnumValue(kDateSeparators, list->m_DateSeparator));
      out.Add("fourDigitYear", Int(list->m_FourDigitYear));
      out.Add("noLeadingZero", Int(list->m_NoLeadingZero));
      out.Add("showTime", Int(list->m_ShowTime));
      out.Add("timeStyle", Int(list->m_TimeStyle));
      out.Add("furtherFlag1", Int(list->m_FurtherFlag1));
      out.Add("furtherFlag2", Int(list->m_FurtherFlag2));
      out.Add("byteValue", Int(list->m_ByteValue));
      out.Add("wordValue", Int(list->m_WordValue));
    }
    return out;
  }

  void FunctionKey(const CFunckeyGE& a_Key, Value& a_Out) const {
    a_Out.Add("key", Int(a_Key.m_KeyNumber));
    a_Out.Add("actionClass", EnumValue(kActionClasses, a_Key.m_ActionClass));
    a_Out.Add("grade", Int(a_Key.m_Grade));
    a_Out.Add("exclude", Int(a_Key.m_Exclude));
    a_Out.Add("restoreLevel", Int(a_Key.m_RestoreLevel));
    a_Out.Add("furtherWord1", Int(a_Key.m_FurtherWord1));
    a_Out.Add("furtherWord2", Int(a_Key.m_FurtherWord2));
    a_Out.Add("furtherWord3", Int(a_Key.m_FurtherWord3));
    a_Out.Add("furtherWord4", Int(a_Key.m_FurtherWord4));
    a_Out.Add("register", Address(a_Key.m_Reg, CFunckeyGE().m_Reg));
    // All three actions are stored whichever class the key uses.
    Value frame = Value::Object();
    frame.Add("frame", Int(a_Key.m_JumpFrame.m_FrameNumber));
    frame.Add("action", EnumValue(kFrameActions, a_Key.m_JumpFrame.m_Action));
    a_Out.Add("frameAction", std::move(frame));
    Value bit = Value::Object();
    bit.Add("action", EnumValue(kBitActions, a_Key.m_BitSet.m_Action));
    a_Out.Add("bitAction", std::move(bit));
    const CWordSet& set = a_Key.m_WordSet;
    Value word = Value::Object();
    word.Add("action", EnumValue(kWordActions, set.m_Action));
    word.Add("value", Int(set.m_Value));
    word.Add("limit", Int(set.m_Limit));
    word.Add("repeatDelay", Int(set.m_RepeatDelay));
    word.Add("repeatPeriod", Int(set.m_RepeatPeriod));
    word.Add("repeatOnPress", Int(set.m_RepeatOnPress));
    a_Out.Add("wordAction", std::move(word));
  }

  void DynamicText(const CDynamicText& a_Text, Value& a_Out) const {
    a_Out.Add("register", Address(a_Text.m_Reg, CDynamicText().m_Reg));
    a_Out.Add("alignment", Int(a_Text.m_Alignment));
    a_Out.Add("sizeIndex", Int(a_Text.GetSizeIndex()));
    a_Out.Add("font", Str(a_Text.GetFace()));
    a_Out.Add("builtinFont", Int(a_Text.GetBuiltinOption()));
    a_Out.Add("furtherWord", Int(a_Text.m_FurtherWord));
    // Only the states that differ from a new one, keyed by their value.
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
    a_Out.Add("states", std::move(states));
  }

  void Register(const CRegisterGE& a_Reg, Value& a_Out) const {
    a_Out.Add("register", Address(a_Reg.m_Reg, CRegisterGE().m_Reg));
    a_Out.Add("dataType", EnumValue(kDataTypes, a_Reg.m_Type));
    a_Out.Add("digits", Int(a_Reg.m_ShowBits));
    a_Out.Add("decimals", Int(a_Reg.m_FloatBits));
    a_Out.Add("regWidth", Int(a_Reg.m_RegWidth));
    a_Out.Add("fillZero", Int(a_Reg.m_FillZero));
    a_Out.Add("sizeIndex", Int(a_Reg.m_SizeIndex));
    a_Out.Add("input", Int(a_Reg.m_Setting));
    a_Out.Add("grade", Int(a_Reg.m_Grade));
    a_Out.Add("limit", Int(a_Reg.m_Limit));
    a_Out.Add("inputUpper", DoubleValue(a_Reg.m_InputUpper));
    a_Out.Add("inputLower", DoubleValue(a_Reg.m_InputLower));
    a_Out.Add("projection", Int(a_Reg.m_Projection));
    a_Out.Add("projectionUpper", DoubleValue(a_Reg.m_PrjUpper));
    a_Out.Add("projectionLower", DoubleValue(a_Reg.m_PrjLower));
    a_Out.Add("alignment", Int(a_Reg.m_Alignment));
    a_Out.Add("restoreLevel", Int(a_Reg.m_RestoreLevel));
  }

  const CKV410Project& m_Project;
  const int32_t m_Labels;  // before the port models: it stores the project, counting bitmap uses
  const ProjectPortModels m_Ports;
};

}  // namespace
}  // namespace projectjson

std::string ExportProjectJson(const CKV410Project& a_Project, const CEditorContext& a_Context) {
  const projectjson::Exporter exporter(a_Project, a_Context);
  return pjson::Write(exporter.Project());
}

}  // namespace kd820
