// Reading a project from its JSON form, with the editor's checks.
#include <charconv>
#include <cstring>
#include <map>
#include <set>
#include <utility>

#include "editor/project/ClassTable.h"
#include "editor/devices/HardwareLibrary.h"
#include "editor/project/EditRules.h"
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

// Far beyond what a panel image can hold (element records must lie below 1 MB); they bound the
// time and memory a hostile document can take.
constexpr std::size_t kMaxFrames = 4096;
constexpr std::size_t kMaxElements = 32768;

constexpr const char* kRangeMessage = "字状态取值范围越界，必须在-2147483648和2147483647";

const std::vector<std::string_view> kBaseKeys = {
    "type",    "number",     "name",    "left",        "top",         "width",
    "height",  "doubleSize", "reverse", "storedWord1", "storedWord2", "inputOrder"};

std::vector<std::string_view> KeysOf(const char* a_Kind) {
  std::vector<std::string_view> keys = kBaseKeys;
  const std::string_view kind = a_Kind;
  std::vector<std::string_view> own;
  if (kind == "led") {
    own = {"register", "shape", "size", "invert", "blink", "blinkWhileOn", "blinkPeriod"};
  } else if (kind == "functionKey") {
    own = {"key",          "actionClass",  "grade",        "exclude",      "restoreLevel",
           "furtherWord1", "furtherWord2", "furtherWord3", "furtherWord4", "register",
           "frameAction",  "bitAction",    "wordAction"};
  } else if (kind == "staticText") {
    own = {"text", "sizeIndex", "font", "builtinFont", "furtherWord"};
  } else if (kind == "dynamicText") {
    own = {"register", "alignment", "sizeIndex", "font", "builtinFont", "furtherWord", "states"};
  } else if (kind == "register") {
    own = {"register", "dataType",  "digits",     "decimals",        "regWidth",
           "fillZero", "sizeIndex", "input",      "grade",           "limit",
           "inputUpper", "inputLower", "projection", "projectionUpper", "projectionLower",
           "alignment",  "restoreLevel"};
  } else if (kind == "bar") {
    own = {"register", "dataType", "regWidth", "drawDirection", "upper", "lower"};
  } else if (kind == "trend") {
    own = {"register", "dataType", "regWidth", "upper", "lower", "points", "period"};
  } else if (kind == "picture") {
    own = {"bitmap", "trait"};
  } else if (kind == "ascii") {
    own = {"register", "charCount", "sizeIndex"};
  } else if (kind == "alarmList") {
    own = {"showNumber",    "showDate",    "dateStyle",    "dateSeparator",
           "fourDigitYear", "noLeadingZero", "showTime",   "timeStyle",
           "furtherFlag1",  "furtherFlag2", "byteValue",   "wordValue"};
  }
  keys.insert(keys.end(), own.begin(), own.end());
  return keys;
}

const ElementKind* FindKind(std::string_view a_Name) {
  for (const ElementKind& kind : ElementKinds()) {
    if (a_Name == kind.m_Name) return &kind;
  }
  return nullptr;
}

// An element number written in the document: 0 to 65534 (65535 means none).
std::optional<uint16_t> ElementNumberIn(const Value& a_Element) {
  const Value* number = a_Element.Find("number");
  if (number == nullptr || !number->IsIntegerText()) return std::nullopt;
  int64_t n = 0;
  const std::string& text = number->Text();
  const auto result = std::from_chars(text.data(), text.data() + text.size(), n);
  if (result.ec != std::errc() || n < 0 || n >= CGraphElement::kNoNumber) return std::nullopt;
  return static_cast<uint16_t>(n);
}

class Importer {
 public:
  explicit Importer(CEditorContext& a_Context) : m_Context(a_Context) {}

  ProjectJsonImport Run(std::string_view a_Json) {
    ProjectJsonImport result;
    Value root;
    pjson::ParseError error;
    if (!pjson::Parse(a_Json, root, error)) {
      result.m_Error = "line " + std::to_string(error.m_Line) + ", column " +
                       std::to_string(error.m_Column) + ": " + error.m_Message;
      return result;
    }
    try {
      Document(root);
      result.m_Project = std::move(m_Project);
      result.m_Notes = std::move(m_Notes);
    } catch (const ImportError& e) {
      result.m_Error = e.what();
    }
    m_Ports.reset();
    return result;
  }

 private:
  // ---- the document --------------------------------------------------------------------

  void Document(const Value& a_Root) {
    const ObjectReader r(a_Root, "",
                         {"format", "formatVersion", "hardwareModel", "elementLabels", "ports",
                          "languages", "frames", "settings", "alarms", "transfers", "bitmaps"});
    const Value& format = r.Required("format");
    if (format.GetKind() != Value::Kind::String || format.Text() != kFormatName) {
      Refuse("format", std::string("expected \"") + kFormatName + "\", found " + format.Describe());
    }
    const int64_t version = IntegerOf(r.Required("formatVersion"), "formatVersion",
                                      std::numeric_limits<int64_t>::min(),
                                      std::numeric_limits<int64_t>::max());
    if (version != kFormatVersion) {
      Refuse("formatVersion", "version " + std::to_string(version) +
                                  (version > kFormatVersion ? " is newer than" : " is not") +
                                  " the version this editor reads (" +
                                  std::to_string(kFormatVersion) + ")");
    }

    m_Project = std::make_unique<CKV410Project>();
    int32_t model = m_Project->GetHardwareModelId();
    r.Int("hardwareModel", model);
    m_Project->SetHardwareModelId(model);
    r.Flag("elementLabels", m_Labels);
    m_Project->SetElementLabels(m_Labels != 0);

    if (const Value* ports = r.Get("ports")) Ports(*ports);
    m_Ports = std::make_unique<ProjectPortModels>(*m_Project, m_Context);
    for (int port = 0; port < CKV410Project::kSerialPortCount; ++port) {
      const auto problem = m_Ports->Problem(port);
      if (m_Project->GetPort(port)->IsEnabled() && problem) {
        m_Notes.push_back("ports." + PortName(port) + ": " + *problem +
                          "; its register addresses cannot be imported");
      }
    }
    if (const Value* settings = r.Get("settings")) Settings(*settings);
    Languages(r.Required("languages"));
    if (const Value* bitmaps = r.Get("bitmaps")) Bitmaps(*bitmaps);
    Display();
    if (const Value* frames = r.Get("frames")) Frames(*frames);
    if (const Value* alarms = r.Get("alarms")) Alarms(*alarms);
    if (const Value* transfers = r.Get("transfers")) Transfers(*transfers);
    KeepRawLabels();
  }

  // The project keeps its element-labels word as a boolean; a stored value other than 0 or 1
  // goes in through the project file.
  void KeepRawLabels() {
    if (m_Labels == 0 || m_Labels == 1) return;
    CArchive out;
    m_Project->SortFrames();
    out.WriteObject(m_Project.get());
    std::vector<uint8_t> bytes = out.Bytes();
    const std::size_t at = 6 + std::strlen(CKV410Project::classCKV410Project.m_ClassName) + 12;
    for (int i = 0; i < 4; ++i) {
      bytes[at + static_cast<std::size_t>(i)] = static_cast<uint8_t>(static_cast<uint32_t>(m_Labels) >> (8 * i));
    }
    const int32_t reservedSwitch = m_Project->GetAlarms().m_ReservedSwitch;  // loading sets 1
    try {
      CArchive in(bytes, FindArchiveClass);
      m_Project = in.ReadOwned<CKV410Project>();
    } catch (const std::exception& e) {
      Refuse("elementLabels", std::string("the project does not load again: ") + e.what());
    }
    m_Project->GetAlarms().m_ReservedSwitch = reservedSwitch;
  }

  void Display() {
    const int32_t id = m_Project->GetHardwareModelId();
    CHardwareModel model;
    if (!m_Context.GetHardwareLibrary().LoadModelById(model, id)) {
      m_Notes.push_back("hardwareModel: the hardware library has no model " + std::to_string(id) +
                        "; elements were not checked against its display");
      return;
    }
    if (model.m_ResolutionX <= 0 || model.m_ResolutionY <= 0) {
      m_Notes.push_back("hardwareModel: model " + std::to_string(id) +
                        " has no display size; elements were not checked against it");
      return;
    }
    m_DisplayWidth = model.m_ResolutionX;
    m_DisplayHeight = model.m_ResolutionY;
    m_DisplayText = std::to_string(m_DisplayWidth) + "x" + std::to_string(m_DisplayHeight) +
                    " display of hardware model " + std::to_string(id) +
                    (model.m_Name.empty() ? "" : " (" + model.m_Name + ")");
  }

  // ---- ports, settings, languages, bitmaps ------------------------------------------------

  void Ports(const Value& a_Value) {
    const ObjectReader r(a_Value, "ports", {"COM0", "COM1", "COM2", "CAN"});
    for (int port = 0; port < CKV410Project::kSerialPortCount; ++port) {
      if (const Value* v = r.Get(PortName(port))) SerialPort(*v, r.PathOf(PortName(port)), *m_Project->GetPort(port));
    }
    if (const Value* v = r.Get("CAN")) {
      const ObjectReader can(*v, r.PathOf("CAN"), {"enabled", "value1", "value2"});
      CPortCan& port = m_Project->GetCanPort();
      can.Flag("enabled", port.m_Enabled);
      can.Int("value1", port.m_Value1);
      can.Int("value2", port.m_Value2);
    }
  }

  static void SerialPort(const Value& a_Value, const std::string& a_Path, CPortCom& a_Port) {
    const ObjectReader r(a_Value, a_Path,
                         {"enabled", "protocol", "serialType", "baudRate", "dataBits", "parity",
                          "stopBits", "stationUsed", "station", "responseTimeout",
                          "protocolTimeout1", "protocolTimeout2", "wordPacketMax", "bitPacketMax",
                          "wordPackingInterval", "bitPackingInterval", "communicationInterval",
                          "messageTime", "retryCount", "retryAfterFailure"});
    r.Flag("enabled", a_Port.m_Enabled);
    r.Int("protocol", a_Port.m_ProtocolId);
    r.Enum("serialType", a_Port.m_SerialType, kSerialTypes);
    r.NumberEnum("baudRate", a_Port.m_BaudRate, kBaudRates);
    r.NumberEnum("dataBits", a_Port.m_DataBits, kDataBits);
    r.Enum("parity", a_Port.m_Parity, kParities);
    r.NumberEnum("stopBits", a_Port.m_StopBits, kStopBits);
    r.Flag("stationUsed", a_Port.m_StationUsed);
    r.Int("station", a_Port.m_Station);
    r.Int("responseTimeout", a_Port.m_ResponseTimeout);
    r.Int("protocolTimeout1", a_Port.m_ProtocolTimeout1);
    r.Int("protocolTimeout2", a_Port.m_ProtocolTimeout2);
    r.Int("wordPacketMax", a_Port.m_WordPacketMax);
    r.Int("bitPacketMax", a_Port.m_BitPacketMax);
    r.Int("wordPackingInterval", a_Port.m_WordPackingInterval);
    r.Int("bitPackingInterval", a_Port.m_BitPackingInterval);
    r.Int("communicationInterval", a_Port.m_CommunicationInterval);
    r.Int("messageTime", a_Port.m_MessageTime);
    r.Int("retryCount", a_Port.m_RetryCount);
    r.Flag("retryAfterFailure", a_Port.m_RetryAfterFailure);
  }

  void Settings(const Value& a_Value) {
    const ObjectReader r(a_Value, "settings",
                         {"flags", "startFrame", "screenSaverFrame", "screenSaverMinutes",
                          "passwordLevel", "passwordMask", "passwords", "passwordFrame",
                          "commonFrame", "controlFlags", "controlRegister"});
    CGlobalSettings& s = m_Project->GetSettings();
    r.Int("flags", s.m_Flags);
    r.Int("startFrame", s.m_StartFrame);
    r.Int("screenSaverFrame", s.m_ScreenSaverFrame);
    r.Int("screenSaverMinutes", s.m_ScreenSaverMinutes);
    r.Int("passwordLevel", s.m_PasswordLevel);
    r.Int("passwordMask", s.m_PasswordMask);
    if (const Value* v = r.Get("passwords")) {
      const std::string path = r.PathOf("passwords");
      const auto& items = ArrayOf(*v, path).Items();
      if (items.size() != s.m_Passwords.size()) {
        Refuse(path, "expected " + std::to_string(s.m_Passwords.size()) + " passwords, found " +
                         std::to_string(items.size()));
      }
      for (std::size_t i = 0; i < items.size(); ++i) s.m_Passwords[i] = IntOf<int32_t>(items[i], Item(path, i));
    }
    r.Int("passwordFrame", s.m_PasswordFrame);
    r.Int("commonFrame", s.m_CommonFrame);
    r.Int("controlFlags", s.m_ControlFlags);
    Address(r, "controlRegister", s.m_ControlAddress);
  }

  void Languages(const Value& a_Value) {
    const auto& items = ArrayOf(a_Value, "languages").Items();
    if (items.size() > static_cast<std::size_t>(CLangDefine::kMaxLanguages)) {
      Refuse("languages", std::to_string(items.size()) + " languages; a project has at most " +
                              std::to_string(CLangDefine::kMaxLanguages));
    }
    std::vector<CLanguageRow> rows;
    for (std::size_t i = 0; i < items.size(); ++i) {
      const ObjectReader r(items[i], Item("languages", i), {"languageId", "font"});
      CLanguageRow row;
      if (const Value* id = r.Get("languageId")) row.m_LanguageId = IntOf<uint16_t>(*id, r.PathOf("languageId"));
      r.String("font", row.m_FontName);
      rows.push_back(std::move(row));
    }
    // The dialog's rule for the panel's own message language is the settings' flag bit 6.
    const bool messagesInFirst =
        (m_Project->GetSettings().m_Flags & CGlobalSettings::kOwnMessageLanguage) == 0;
    const auto message =
        ApplyLanguageDialog(*m_Project, static_cast<int>(rows.size()), rows, messagesInFirst);
    if (!message) return;
    for (std::size_t i = 0; i < rows.size(); ++i) {
      if (!rows[i].m_LanguageId) Refuse(Item("languages", i) + ".languageId", *message);
      if (rows[i].m_FontName.empty()) Refuse(Item("languages", i) + ".font", *message);
    }
    Refuse("languages", *message);
  }

  void Bitmaps(const Value& a_Value) {
    const auto& items = ArrayOf(a_Value, "bitmaps").Items();
    CSingleColorBitmapLib& lib = m_Project->GetBitmapLib();
    lib.m_Items.clear();
    std::map<int32_t, std::size_t> seen;
    for (std::size_t i = 0; i < items.size(); ++i) {
      const ObjectReader r(items[i], Item("bitmaps", i), {"id", "useCount", "width", "height", "rows"});
      auto bitmap = std::make_unique<CSingleColorBitmapLibItem>();
      bitmap->m_Id = IntOf<int32_t>(r.Required("id"), r.PathOf("id"));
      if (bitmap->m_Id < 1) Refuse(r.PathOf("id"), std::to_string(bitmap->m_Id) + ": bitmap ids start at 1");
      if (const auto it = seen.find(bitmap->m_Id); it != seen.end()) {
        Refuse(r.PathOf("id"), std::to_string(bitmap->m_Id) + " is already the id of " +
                                   Item("bitmaps", it->second));
      }
      seen[bitmap->m_Id] = i;
      r.Int("useCount", bitmap->m_UseCount);
      bitmap->m_Width = static_cast<int32_t>(IntegerOf(r.Required("width"), r.PathOf("width"), 0,
                                                       std::numeric_limits<int32_t>::max()));
      bitmap->m_Height = static_cast<int32_t>(IntegerOf(r.Required("height"), r.PathOf("height"), 0,
                                                        std::numeric_limits<int32_t>::max()));
      const std::string rowsPath = r.PathOf("rows");
      const auto& rows = ArrayOf(r.Required("rows"), rowsPath).Items();
      if (rows.size() != static_cast<std::size_t>(bitmap->m_Height)) {
        Refuse(rowsPath, "expected " + std::to_string(bitmap->m_Height) + " rows (the height), found " +
                             std::to_string(rows.size()));
      }
      const std::size_t rowBytes = (static_cast<std::size_t>(bitmap->m_Width) + 7) / 8;
      for (std::size_t y = 0; y < rows.size(); ++y) {
        const std::string& row = StringOf(rows[y], Item(rowsPath, y));
        if (row.size() != 2 * rowBytes) {
          Refuse(Item(rowsPath, y), "expected " + std::to_string(2 * rowBytes) +
                                        " hexadecimal digits for a width of " +
                                        std::to_string(bitmap->m_Width) + ", found " +
                                        std::to_string(row.size()) + " characters");
        }
        for (std::size_t x = 0; x < rowBytes; ++x) {
          unsigned byte = 0;
          const auto result = std::from_chars(row.data() + 2 * x, row.data() + 2 * x + 2, byte, 16);
          if (result.ec != std::errc() || result.ptr != row.data() + 2 * x + 2) {
            Refuse(Item(rowsPath, y), pjson::Quote(row.substr(2 * x, 2)) + " is not a hexadecimal byte");
          }
          bitmap->m_Pixels.push_back(static_cast<uint8_t>(byte));
        }
      }
      lib.m_Items.push_back(std::move(bitmap));
    }
  }

  // ---- frames and elements -----------------------------------------------------------------

  void Frames(const Value& a_Value) {
    const auto& items = ArrayOf(a_Value, "frames").Items();
    if (items.size() > kMaxFrames) {
      Refuse("frames", std::to_string(items.size()) + " frames; an import takes at most " +
                           std::to_string(kMaxFrames));
    }
    std::map<uint16_t, std::size_t> seen;
    for (std::size_t i = 0; i < items.size(); ++i) {
      const std::string path = Item("frames", i);
      const ObjectReader r(items[i], path, {"number", "name", "description", "previous", "next", "elements"});
      const auto number = IntOf<uint16_t>(r.Required("number"), r.PathOf("number"));
      if (const auto it = seen.find(number); it != seen.end()) {
        Refuse(r.PathOf("number"), std::to_string(number) + " is already the number of " +
                                       Item("frames", it->second));
      }
      seen[number] = i;
      auto frame = std::make_unique<CHMIFrame>(number);
      std::string text = frame->GetName();
      r.String("name", text);
      frame->SetName(text);
      text = frame->GetDescription();
      r.String("description", text);
      frame->SetDescription(text);
      uint16_t link = frame->GetPrevious();
      r.Int("previous", link);
      frame->SetPrevious(link);
      link = frame->GetNext();
      r.Int("next", link);
      frame->SetNext(link);
      if (const Value* elements = r.Get("elements")) Elements(*elements, r.PathOf("elements"), *frame);
      m_Project->AddFrame(frame);
    }
  }

  // The element numbers of one frame, per element type name.
  struct Numbering {
    std::map<std::string, std::set<uint16_t>> m_Given;  // written in the document
    std::map<std::pair<std::string, uint16_t>, std::size_t> m_Held;  // taken, by element index
    std::map<std::string, uint32_t> m_NextFree;  // where the search for a free one goes on
  };

  void Elements(const Value& a_Value, const std::string& a_Path, CHMIFrame& a_Frame) {
    const auto& items = ArrayOf(a_Value, a_Path).Items();
    // Elements without a number get the smallest one that no element of their type holds or
    // is given in the document, so that every given number is kept.
    Numbering numbering;
    for (const Value& item : items) {
      const Value* type = item.GetKind() == Value::Kind::Object ? item.Find("type") : nullptr;
      const auto number = item.GetKind() == Value::Kind::Object ? ElementNumberIn(item) : std::nullopt;
      if (type != nullptr && type->GetKind() == Value::Kind::String && number) {
        numbering.m_Given[type->Text()].insert(*number);
      }
    }
    for (std::size_t i = 0; i < items.size(); ++i) Element(items[i], a_Path, i, numbering, a_Frame);
  }

  void Element(const Value& a_Value, const std::string& a_ListPath, std::size_t a_Index,
               Numbering& a_Numbering, CHMIFrame& a_Frame) {
    const std::string path = Item(a_ListPath, a_Index);
    if (++m_ElementCount > kMaxElements) {
      Refuse(path, "an import takes at most " + std::to_string(kMaxElements) + " elements");
    }
    if (a_Value.GetKind() != Value::Kind::Object) {
      Refuse(path, std::string("expected an object, found ") + Value::KindName(a_Value.GetKind()));
    }
    const Value* typeValue = a_Value.Find("type");
    if (typeValue == nullptr) Refuse(path, "the key \"type\" is missing");
    const std::string& typeName = StringOf(*typeValue, Member(path, "type"));
    const ElementKind* kind = FindKind(typeName);
    if (kind == nullptr) {
      std::string accepted;
      for (const ElementKind& k : ElementKinds()) accepted += (accepted.empty() ? "" : ", ") + pjson::Quote(k.m_Name);
      Refuse(Member(path, "type"), "unknown element type " + typeValue->Describe() + "; accepted: " + accepted);
    }
    const ObjectReader r(a_Value, path, KeysOf(kind->m_Name));
    std::unique_ptr<CGraphElement> element(static_cast<CGraphElement*>(kind->m_Class->m_CreateObject()));

    ElementBase base = GetElementBase(*element);
    uint16_t number = 0;
    if (const Value* v = r.Get("number")) {
      number = static_cast<uint16_t>(IntegerOf(*v, r.PathOf("number"), 0, CGraphElement::kNoNumber - 1));
      if (const auto it = a_Numbering.m_Held.find({typeName, number}); it != a_Numbering.m_Held.end()) {
        Refuse(r.PathOf("number"), std::to_string(number) + " is already the number of the " + typeName +
                                       " " + Item(a_ListPath, it->second));
      }
    } else {
      // Numbers only get taken, so the search goes on where it stopped last time.
      const std::set<uint16_t>& given = a_Numbering.m_Given[typeName];
      uint32_t& next = a_Numbering.m_NextFree[typeName];
      const auto taken = [&](uint32_t a_N) {
        const auto n = static_cast<uint16_t>(a_N);
        return given.count(n) != 0 || a_Numbering.m_Held.count({typeName, n}) != 0;
      };
      while (next < CGraphElement::kNoNumber && taken(next)) ++next;
      if (next >= CGraphElement::kNoNumber) Refuse(path, "no element number is left for another " + typeName);
      number = static_cast<uint16_t>(next);
    }
    a_Numbering.m_Held[{typeName, number}] = a_Index;
    base.m_Number = static_cast<int16_t>(number);
    base.m_Name = element->GetPrefix() + std::to_string(number);
    r.String("name", base.m_Name);
    r.Int("left", base.m_Left);
    r.Int("top", base.m_Top);
    r.Int("width", base.m_Width);
    r.Int("height", base.m_Height);
    r.Flag("doubleSize", base.m_DoubleSize);
    r.Flag("reverse", base.m_Reverse);
    r.Int("storedWord1", base.m_StoredWord1);
    r.Int("storedWord2", base.m_StoredWord2);
    r.Int("inputOrder", base.m_InputOrder);
    CheckInsideDisplay(base, path);

    if (auto* led = dynamic_cast<CLedGE*>(element.get())) {
      Address(r, "register", led->m_Reg);
      r.Enum("shape", led->m_Shape, kLedShapes);
      r.Int("size", led->m_Size);
      r.Flag("invert", led->m_Invert);
      r.Flag("blink", led->m_Blink);
      r.Flag("blinkWhileOn", led->m_BlinkWhileOn);
      r.Int("blinkPeriod", led->m_BlinkPeriod);
    } else if (auto* key = dynamic_cast<CFunckeyGE*>(element.get())) {
      FunctionKey(r, *key);
    } else if (auto* text = dynamic_cast<CStaticText*>(element.get())) {
      std::string s = text->GetText();
      r.String("text", s);
      text->SetText(s);
      int32_t n = text->GetSizeIndex();
      r.Int("sizeIndex", n);
      text->SetSizeIndex(n);
      s = m_Project->DefaultTextFace();
      r.String("font", s);
      text->SetFace(s);
      n = text->GetBuiltinOption();
      r.Flag("builtinFont", n);
      text->SetBuiltinOption(n);
      r.Int("furtherWord", text->m_FurtherWord);
    } else if (auto* dynamic = dynamic_cast<CDynamicText*>(element.get())) {
      DynamicText(r, *dynamic);
    } else if (auto* reg = dynamic_cast<CRegisterGE*>(element.get())) {
      Register(r, *reg);
    } else if (auto* bar = dynamic_cast<CBarGE*>(element.get())) {
      Address(r, "register", bar->m_Reg);
      r.Enum("dataType", bar->m_DataType, kDataTypes);
      r.Int("regWidth", bar->m_RegWidth);
      r.Enum("drawDirection", bar->m_DrawDir, kDirections);
      r.Double("upper", bar->m_Upper);
      r.Double("lower", bar->m_Lower);
    } else if (auto* trend = dynamic_cast<CTrendGE*>(element.get())) {
      Address(r, "register", trend->m_Reg);
      r.Enum("dataType", trend->m_DataType, kDataTypes);
      r.Int("regWidth", trend->m_RegWidth);
      r.Double("upper", trend->m_Upper);
      r.Double("lower", trend->m_Lower);
      r.Int("points", trend->m_Points);
      r.Int("period", trend->m_Period);
    } else if (auto* picture = dynamic_cast<CPictureGE*>(element.get())) {
      Picture(r, *picture);
    } else if (auto* ascii = dynamic_cast<CAsciiGE*>(element.get())) {
      Address(r, "register", ascii->m_Reg);
      int32_t n = ascii->GetCharCount();
      r.Int("charCount", n);
      ascii->SetCharCount(n);
      n = ascii->GetSizeIndex();
      r.Int("sizeIndex", n);
      ascii->SetSizeIndex(n);
      // Not stored: what a loaded ASCII string has.
      ascii->SetFace(m_Project->DefaultTextFace());
      ascii->SetBuiltinOption(0);
    } else if (auto* list = dynamic_cast<CEventListGE*>(element.get())) {
      r.Flag("showNumber", list->m_ShowNumber);
      r.Flag("showDate", list->m_ShowDate);
      r.Int("dateStyle", list->m_DateStyle);
      r.Enum("dateSeparator", list->m_DateSeparator, kDateSeparators);
      r.Flag("fourDigitYear", list->m_FourDigitYear);
      r.Flag("noLeadingZero", list->m_NoLeadingZero);
      r.Flag("showTime", list->m_ShowTime);
      r.Int("timeStyle", list->m_TimeStyle);
      r.Int("furtherFlag1", list->m_FurtherFlag1);
      r.Int("furtherFlag2", list->m_FurtherFlag2);
      r.Int("byteValue", list->m_ByteValue);
      r.Int("wordValue", list->m_WordValue);
    }
    SetElementBase(*element, base);
    a_Frame.AddElementKeepingNumber(std::move(element));
  }

  void CheckInsideDisplay(const ElementBase& a_Base, const std::string& a_Path) const {
    if (m_DisplayWidth < 0) return;
    const int64_t left = a_Base.m_Left, top = a_Base.m_Top, width = a_Base.m_Width,
                  height = a_Base.m_Height;
    if (left >= 0 && top >= 0 && width >= 0 && height >= 0 && left + width <= m_DisplayWidth &&
        top + height <= m_DisplayHeight) {
      return;
    }
    Refuse(a_Path, "the element at (" + std::to_string(left) + "," + std::to_string(top) + ") of " +
                       std::to_string(width) + "x" + std::to_string(height) +
                       " pixels does not lie inside the " + m_DisplayText);
  }

  void FunctionKey(const ObjectReader& a_Reader, CFunckeyGE& a_Key) const {
    a_Reader.Int("key", a_Key.m_KeyNumber);
    a_Reader.Enum("actionClass", a_Key.m_ActionClass, kActionClasses);
    a_Reader.Int("grade", a_Key.m_Grade);
    a_Reader.Flag("exclude", a_Key.m_Exclude);
    a_Reader.Flag("restoreLevel", a_Key.m_RestoreLevel);
    a_Reader.Int("furtherWord1", a_Key.m_FurtherWord1);
    a_Reader.Int("furtherWord2", a_Key.m_FurtherWord2);
    a_Reader.Int("furtherWord3", a_Key.m_FurtherWord3);
    a_Reader.Int("furtherWord4", a_Key.m_FurtherWord4);
    Address(a_Reader, "register", a_Key.m_Reg);
    if (const Value* v = a_Reader.Get("frameAction")) {
      const ObjectReader r(*v, a_Reader.PathOf("frameAction"), {"frame", "action"});
      r.Int("frame", a_Key.m_JumpFrame.m_FrameNumber);
      r.Enum("action", a_Key.m_JumpFrame.m_Action, kFrameActions);
    }
    if (const Value* v = a_Reader.Get("bitAction")) {
      const ObjectReader r(*v, a_Reader.PathOf("bitAction"), {"action"});
      r.Enum("action", a_Key.m_BitSet.m_Action, kBitActions);
    }
    if (const Value* v = a_Reader.Get("wordAction")) {
      const ObjectReader r(*v, a_Reader.PathOf("wordAction"),
                           {"action", "value", "limit", "repeatDelay", "repeatPeriod", "repeatOnPress"});
      CWordSet& set = a_Key.m_WordSet;
      r.Enum("action", set.m_Action, kWordActions);
      r.Int("value", set.m_Value);
      r.Int("limit", set.m_Limit);
      r.Int("repeatDelay", set.m_RepeatDelay);
      r.Int("repeatPeriod", set.m_RepeatPeriod);
      r.Flag("repeatOnPress", set.m_RepeatOnPress);
    }
  }

  void DynamicText(const ObjectReader& a_Reader, CDynamicText& a_Text) const {
    Address(a_Reader, "register", a_Text.m_Reg);
    a_Reader.Int("alignment", a_Text.m_Alignment);
    int32_t n = a_Text.GetSizeIndex();
    a_Reader.Int("sizeIndex", n);
    a_Text.SetSizeIndex(n);
    std::string face = m_Project->DefaultTextFace();
    a_Reader.String("font", face);
    a_Text.SetFace(face);
    n = a_Text.GetBuiltinOption();
    a_Reader.Flag("builtinFont", n);
    a_Text.SetBuiltinOption(n);
    a_Reader.Int("furtherWord", a_Text.m_FurtherWord);
    const Value* states = a_Reader.Get("states");
    if (states == nullptr) return;
    const std::string path = a_Reader.PathOf("states");
    if (states->GetKind() != Value::Kind::Object) {
      Refuse(path, std::string("expected an object, found ") + Value::KindName(states->GetKind()));
    }
    for (const auto& [key, item] : states->Members()) {
      int32_t value = 0;
      const auto result = std::from_chars(key.data(), key.data() + key.size(), value);
      if (result.ec != std::errc() || result.ptr != key.data() + key.size() || key[0] == '0' ||
          key[0] == '-' || a_Text.GetState(value) == nullptr) {
        Refuse(Member(path, key), "the states are keyed by their value, 1 to " +
                                      std::to_string(CDynamicText::kStateCount));
      }
      const ObjectReader r(item, Member(path, key), {"text", "secondText", "flag"});
      CTextItem& state = *a_Text.GetState(value);
      r.String("text", state.m_Text);
      r.String("secondText", state.m_SecondText);
      r.Int("flag", state.m_Flag);
    }
  }

  void Register(const ObjectReader& a_Reader, CRegisterGE& a_Reg) const {
    Address(a_Reader, "register", a_Reg.m_Reg);
    a_Reader.Enum("dataType", a_Reg.m_Type, kDataTypes);
    a_Reader.Int("digits", a_Reg.m_ShowBits);
    a_Reader.Int("decimals", a_Reg.m_FloatBits);
    a_Reader.Int("regWidth", a_Reg.m_RegWidth);
    a_Reader.Flag("fillZero", a_Reg.m_FillZero);
    a_Reader.Int("sizeIndex", a_Reg.m_SizeIndex);
    a_Reader.Flag("input", a_Reg.m_Setting);
    a_Reader.Int("grade", a_Reg.m_Grade);
    a_Reader.Flag("limit", a_Reg.m_Limit);
    a_Reader.Double("inputUpper", a_Reg.m_InputUpper);
    a_Reader.Double("inputLower", a_Reg.m_InputLower);
    a_Reader.Flag("projection", a_Reg.m_Projection);
    a_Reader.Double("projectionUpper", a_Reg.m_PrjUpper);
    a_Reader.Double("projectionLower", a_Reg.m_PrjLower);
    a_Reader.Int("alignment", a_Reg.m_Alignment);
    a_Reader.Flag("restoreLevel", a_Reg.m_RestoreLevel);
  }

  void Picture(const ObjectReader& a_Reader, CPictureGE& a_Picture) const {
    a_Reader.Int("bitmap", a_Picture.m_ItemId);
    if (a_Picture.m_ItemId != CPictureGE::kNoItem &&
        m_Project->GetBitmapLib().FindItem(a_Picture.m_ItemId) == nullptr) {
      Refuse(a_Reader.PathOf("bitmap"), "no bitmap has the id " + std::to_string(a_Picture.m_ItemId));
    }
    if (const Value* v = a_Reader.Get("trait")) {
      const ObjectReader r(*v, a_Reader.PathOf("trait"), {"compress", "reverse", "critical", "leftFill"});
      r.Flag("compress", a_Picture.m_Trait.m_Compress);
      r.Flag("reverse", a_Picture.m_Trait.m_Reverse);
      r.Flag("critical", a_Picture.m_Trait.m_Critical);
      r.Flag("leftFill", a_Picture.m_Trait.m_LeftFill);
    }
  }

  // ---- alarms and transfers ------------------------------------------------------------------

  void Alarms(const Value& a_Value) {
    const ObjectReader r(a_Value, "alarms",
                         {"font", "fontSizeIndex", "textOption", "frame", "frameOption",
                          "reservedSwitch", "items"});
    CAlarmSettings& alarms = m_Project->GetAlarms();
    r.String("font", alarms.m_FontName);
    r.Int("fontSizeIndex", alarms.m_FontSizeIndex);
    r.Int("textOption", alarms.m_TextOption);
    r.Int("frame", alarms.m_AlarmFrame);
    r.Flag("frameOption", alarms.m_AlarmFrameOption);
    r.Int("reservedSwitch", alarms.m_ReservedSwitch);
    const Value* items = r.Get("items");
    if (items == nullptr) return;
    const std::string path = r.PathOf("items");
    const auto& list = ArrayOf(*items, path).Items();
    for (std::size_t i = 0; i < list.size(); ++i) AlarmItem(list[i], Item(path, i), alarms);
  }

  // A limit as typed, before it is narrowed to 32 bits; beyond 64 bits it counts as too large.
  static void Limit(const ObjectReader& a_Reader, std::string_view a_Key, int64_t& a_Field) {
    const Value* v = a_Reader.Get(a_Key);
    if (v == nullptr) return;
    if (v->GetKind() != Value::Kind::Number || !v->IsIntegerText()) {
      Refuse(a_Reader.PathOf(a_Key), "expected an integer, found " + v->Describe());
    }
    const std::string& text = v->Text();
    const auto result = std::from_chars(text.data(), text.data() + text.size(), a_Field);
    if (result.ec != std::errc()) {
      a_Field = text[0] == '-' ? std::numeric_limits<int64_t>::min() : std::numeric_limits<int64_t>::max();
    }
  }

  void AlarmItem(const Value& a_Value, const std::string& a_Path, CAlarmSettings& a_Alarms) const {
    const ObjectReader r(a_Value, a_Path,
                         {"flags", "value", "rangeUsed", "rangeUpper", "rangeLower",
                          "buzzerSeconds", "register", "text"});
    CAlarmItemInput input;
    CAlarmItem& item = input.m_Item;
    r.Int("flags", item.m_Flags);
    Limit(r, "value", input.m_Value);
    r.Flag("rangeUsed", item.m_RangeUsed);
    Limit(r, "rangeUpper", input.m_RangeA);
    Limit(r, "rangeLower", input.m_RangeB);
    r.Int("buzzerSeconds", item.m_BuzzerSeconds);
    Address(r, "register", item.m_Register);
    r.String("text", item.m_Text);
    if (const auto message = CheckAlarmItem(input)) {
      std::string where = a_Path;
      if (item.m_Text.empty()) {
        where = r.PathOf("text");
      } else if (*message == kRangeMessage) {
        const auto outside = [](int64_t a_V) {
          return a_V < std::numeric_limits<int32_t>::min() || a_V > std::numeric_limits<int32_t>::max();
        };
        where = r.PathOf(outside(input.m_Value) ? "value" : outside(input.m_RangeA) ? "rangeUpper" : "rangeLower");
      } else if (item.m_RangeUsed != 0 && input.m_RangeA < input.m_RangeB) {
        where = r.PathOf("rangeUpper");
      }
      Refuse(where, *message);
    }
    item.m_Value = static_cast<int32_t>(input.m_Value);
    item.m_RangeA = static_cast<int32_t>(input.m_RangeA);
    item.m_RangeB = static_cast<int32_t>(input.m_RangeB);
    if (const auto message = AddAlarmToList(a_Alarms.m_Alarms, item, PortContext())) {
      Refuse(a_Path, *message);
    }
  }

  void Transfers(const Value& a_Value) {
    const auto& items = ArrayOf(a_Value, "transfers").Items();
    for (std::size_t i = 0; i < items.size(); ++i) {
      const ObjectReader r(items[i], Item("transfers", i),
                           {"periodic", "edge", "period", "frame", "executionLimit", "count",
                            "trigger", "source", "destination"});
      CDataTransferItem transfer;
      r.Flag("periodic", transfer.m_Periodic);
      r.Enum("edge", transfer.m_EdgeMode, kEdges);
      r.Int("period", transfer.m_Period);
      r.Int("frame", transfer.m_Frame);
      r.Int("executionLimit", transfer.m_ExecutionLimit);
      r.Int("count", transfer.m_Count);
      Address(r, "trigger", transfer.m_Trigger);
      Address(r, "source", transfer.m_Source);
      Address(r, "destination", transfer.m_Destination);
      m_Project->GetTransfers().m_Items.push_back(std::move(transfer));
    }
  }

  // Reads the address under a_Key over the field's current value, with the editor's checks.
  void Address(const ObjectReader& a_Reader, std::string_view a_Key, CAddr& a_Field) const {
    if (const Value* v = a_Reader.Get(a_Key)) {
      a_Field = AddressFromJson(*v, a_Reader.PathOf(a_Key), a_Field, m_Ports.get());
    }
  }

  // The port models of the project being read once its ports are known, else none.
  const CEditorContext& PortContext() const { return m_Ports ? m_Ports->Context() : m_NoPorts; }

  CEditorContext& m_Context;
  const CEditorContext m_NoPorts;
  std::unique_ptr<CKV410Project> m_Project;
  std::unique_ptr<ProjectPortModels> m_Ports;
  std::vector<std::string> m_Notes;
  std::size_t m_ElementCount = 0;
  int32_t m_Labels = 1;
  int32_t m_DisplayWidth = -1;  // -1: display not known
  int32_t m_DisplayHeight = -1;
  std::string m_DisplayText;
};

}  // namespace
}  // namespace projectjson

ProjectJsonImport ImportProjectJson(std::string_view a_Json, CEditorContext& a_Context) {
  projectjson::Importer importer(a_Context);
  return importer.Run(a_Json);
}

}  // namespace kd820
