// Reading a project from its JSON form, with the editor's checks.
#include <charconv>
#include <map>
#include <set>
#include <utility>

#include "editor/devices/HardwareLibrary.h"
#include "editor/project/EditRules.h"
#include "editor/project/ProjectJson.h"
#include "editor/project/ProjectJsonCommon.h"
#include "editor/project/ProjectJsonFields.h"
#include "editor/project/NewProjectPlc.h"
#include "editor/screens/DynamicText.h"
#include "editor/screens/FunckeyGE.h"
#include "editor/screens/PictureGE.h"
#include "platform/Translate.h"

namespace kd820 {

namespace projectjson {
namespace {

using pjson::Value;

// Frames as many as the project file holds (their numbers are 16-bit); elements far beyond what
// a panel image can hold (element records must lie below 1 MB). They bound the time and memory
// a hostile document can take.
constexpr std::size_t kMaxFrames = 65535;
constexpr std::size_t kMaxElements = 32768;

constexpr const char* kRangeMessage = N_("字状态取值范围越界，必须在-2147483648和2147483647");

// What the settings dialog offers: the password levels 1 to 8 (stored as 0 to 7) and the
// passwords of "密码设定(0~999999999)".
constexpr int64_t kMaxPasswordLevel = 7;
constexpr int32_t kMaxPassword = 999999999;

// The keys of an element: the base's, then its type's.
std::vector<std::string_view> KeysOf(const CElementType& a_Type) {
  std::vector<std::string_view> keys = CGraphElement::Fields().JsonKeys();
  const std::vector<std::string_view> own = a_Type.m_Fields().JsonKeys();
  keys.insert(keys.end(), own.begin(), own.end());
  return keys;
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
    // A UTF-8 byte-order mark, as editors on other systems write one, is no part of the text.
    if (a_Json.substr(0, 3) == "\xEF\xBB\xBF") a_Json.remove_prefix(3);
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
    int32_t labels = m_Project->GetStoredElementLabels();
    r.Flag("elementLabels", labels);
    m_Project->SetStoredElementLabels(labels);

    m_HasModel = m_Context.GetHardwareLibrary().LoadModelById(m_Model, m_Project->GetHardwareModelId());
    if (const Value* ports = r.Get("ports")) Ports(*ports);
    m_Ports = std::make_unique<ProjectPortModels>(*m_Project, m_Context);
    for (int port = 0; port < CKV410Project::kSerialPortCount; ++port) {
      const auto problem = m_Ports->Problem(port);
      if (m_Project->GetPort(port)->IsEnabled() && problem) {
        m_Notes.push_back("ports." + PortName(port) + ": " + *problem +
                          "; its register addresses were not checked");
      }
    }
    CheckPorts();
    if (const Value* settings = r.Get("settings")) Settings(*settings);
    Languages(r.Required("languages"));
    if (const Value* bitmaps = r.Get("bitmaps")) Bitmaps(*bitmaps);
    Display();
    if (const Value* frames = r.Get("frames")) Frames(*frames);
    if (const Value* alarms = r.Get("alarms")) Alarms(*alarms);
    if (const Value* transfers = r.Get("transfers")) Transfers(*transfers);
  }

  // The ports as the PLC page leaves them: only ports of the panel model are enabled, each
  // with an interface its hardware port offers and, when its protocol uses stations, a station
  // within the protocol's range. Without the model (noted with the display) or the protocol
  // (noted above) those checks cannot be made.
  void CheckPorts() const {
    for (int port = 0; port < CKV410Project::kSerialPortCount; ++port) {
      const CPortCom& com = *m_Project->GetPort(port);
      if (!com.IsEnabled()) continue;
      const std::string path = "ports." + PortName(port);
      if (m_HasModel) {
        const CHardwarePort* hardware = nullptr;
        for (const CHardwarePort& p : m_Model.m_Ports) {
          if (p.m_Id == port) hardware = &p;
        }
        if (hardware == nullptr) {
          Refuse(path, "hardware model " + std::to_string(m_Model.m_Id) +
                           (m_Model.m_Name.empty() ? "" : " (" + m_Model.m_Name + ")") + " has no port " +
                           PortName(port));
        }
        if (const auto problem = SerialTypeProblem(com.m_SerialType, OfferedSerialTypes(*hardware))) {
          Refuse(Member(path, "serialType"), *problem);
        }
      }
      if (m_Ports->LibraryLacksProtocol(port)) continue;
      if (const CPLCModel* protocol = m_Ports->Context().GetPortModel(port)) {
        if (const auto problem = StationProblem(com.m_Station, *protocol)) Refuse(Member(path, "station"), *problem);
      }
    }
  }

  void Display() {
    const int32_t id = m_Project->GetHardwareModelId();
    const CHardwareModel& model = m_Model;
    if (!m_HasModel) {
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
      const ObjectReader can(*v, r.PathOf("CAN"), PortKeys(CPortCan::StoredFields()));
      CPortCan& port = m_Project->GetCanPort();
      can.Flag("enabled", port.m_Enabled);
      FieldsFromJson(can, CPortCan::StoredFields(), &port, nullptr);
    }
  }

  // A port's keys: its enabled flag, then the fields an enabled port stores.
  static std::vector<std::string_view> PortKeys(const CFieldTable& a_Stored) {
    std::vector<std::string_view> keys = {"enabled"};
    const std::vector<std::string_view> stored = a_Stored.JsonKeys();
    keys.insert(keys.end(), stored.begin(), stored.end());
    return keys;
  }

  static void SerialPort(const Value& a_Value, const std::string& a_Path, CPortCom& a_Port) {
    const ObjectReader r(a_Value, a_Path, PortKeys(CPortCom::StoredFields()));
    r.Flag("enabled", a_Port.m_Enabled);
    FieldsFromJson(r, CPortCom::StoredFields(), &a_Port, nullptr);
  }

  void Settings(const Value& a_Value) {
    const ObjectReader r(a_Value, "settings", CGlobalSettings::Fields().JsonKeys());
    CGlobalSettings& s = m_Project->GetSettings();
    FieldsFromJson(r, CGlobalSettings::Fields(), &s, m_Ports.get(), [&](const CField& a_Field) {
      if (a_Field.m_Kind == FieldKind::kCustom) Passwords(r, s);
      if (std::string_view(a_Field.m_Key) == "passwordLevel") PasswordLevel(r, s);
      return a_Field.m_Kind == FieldKind::kCustom || std::string_view(a_Field.m_Key) == "passwordLevel";
    });
  }

  // The dialog's combo offers the levels 1 to 8, stored as their index.
  static void PasswordLevel(const ObjectReader& a_Reader, CGlobalSettings& a_Settings) {
    const Value* v = a_Reader.Get("passwordLevel");
    if (v == nullptr) return;
    const std::string path = a_Reader.PathOf("passwordLevel");
    const int64_t level = IntegerOf(*v, path, 0, 255);
    if (level > kMaxPasswordLevel) {
      Refuse(path, std::to_string(level) + " is outside 0~" + std::to_string(kMaxPasswordLevel) + " (levels 1 to 8)");
    }
    a_Settings.m_PasswordLevel = static_cast<uint8_t>(level);
  }

  // As the dialog shows them: "密码设定(0~999999999)".
  static void Passwords(const ObjectReader& a_Reader, CGlobalSettings& a_Settings) {
    if (const Value* v = a_Reader.Get("passwords")) {
      const std::string path = a_Reader.PathOf("passwords");
      const auto& items = ArrayOf(*v, path).Items();
      if (items.size() != a_Settings.m_Passwords.size()) {
        Refuse(path, "expected " + std::to_string(a_Settings.m_Passwords.size()) + " passwords, found " +
                         std::to_string(items.size()));
      }
      for (std::size_t i = 0; i < items.size(); ++i) {
        const int32_t password = IntOf<int32_t>(items[i], Item(path, i));
        if (password < 0 || password > kMaxPassword) {
          Refuse(Item(path, i), std::to_string(password) + " is outside 0~" + std::to_string(kMaxPassword) +
                                    " (" + Tr("密码设定(0~999999999)") + ")");
        }
        a_Settings.m_Passwords[i] = password;
      }
    }
  }

  void Languages(const Value& a_Value) {
    const auto& items = ArrayOf(a_Value, "languages").Items();
    if (items.size() > static_cast<std::size_t>(CLangDefine::kMaxLanguages)) {
      Refuse("languages", std::to_string(items.size()) + " languages; a project has at most " +
                              std::to_string(CLangDefine::kMaxLanguages));
    }
    std::vector<CLanguageRow> rows;
    for (std::size_t i = 0; i < items.size(); ++i) {
      const ObjectReader r(items[i], Item("languages", i), CLangDefineItem::Fields().JsonKeys());
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
      const ObjectReader r(items[i], Item("bitmaps", i), CSingleColorBitmapLibItem::Fields().JsonKeys());
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
    CKV410Project::FrameList frames;
    frames.reserve(items.size());
    std::map<uint16_t, std::size_t> seen;
    for (std::size_t i = 0; i < items.size(); ++i) {
      const std::string path = Item("frames", i);
      const ObjectReader r(items[i], path, CHMIFrame::Fields().JsonKeys());
      const auto number = IntOf<uint16_t>(r.Required("number"), r.PathOf("number"));
      if (const auto it = seen.find(number); it != seen.end()) {
        Refuse(r.PathOf("number"), std::to_string(number) + " is already the number of " +
                                       Item("frames", it->second));
      }
      seen[number] = i;
      auto frame = std::make_unique<CHMIFrame>(number);
      FieldsFromJson(r, CHMIFrame::Fields(), frame.get(), m_Ports.get(), [&](const CField& a_Field) {
        const std::string_view key = a_Field.m_Key;
        if (key == "elements") {
          if (const Value* elements = r.Get("elements")) Elements(*elements, r.PathOf("elements"), *frame);
        }
        return key == "number" || key == "elements";  // the number is read above
      });
      frames.push_back(std::move(frame));
    }
    m_Project->AddFrames(std::move(frames));  // numbers checked above
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
    CHMIFrame::ElementList elements;
    elements.reserve(items.size());
    for (std::size_t i = 0; i < items.size(); ++i) {
      elements.push_back(Element(items[i], a_Path, i, numbering));
    }
    a_Frame.AddElementsKeepingNumbers(std::move(elements));
  }

  std::unique_ptr<CGraphElement> Element(const Value& a_Value, const std::string& a_ListPath,
                                         std::size_t a_Index, Numbering& a_Numbering) {
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
    const CElementType* type = FindElementTypeByJsonName(typeName);
    if (type == nullptr) {
      std::string accepted;
      for (const CElementType& t : ElementTypes()) {
        if (t.m_JsonName != nullptr) accepted += (accepted.empty() ? "" : ", ") + pjson::Quote(t.m_JsonName);
      }
      Refuse(Member(path, "type"), "unknown element type " + typeValue->Describe() + "; accepted: " + accepted);
    }
    const ObjectReader r(a_Value, path, KeysOf(*type));
    std::unique_ptr<CGraphElement> element = type->m_Create();
    // The base fields are read into a second new element and copied over at the end: what
    // the document does not give stays as a new element has it, whatever the type's setters
    // did to the size.
    const std::unique_ptr<CGraphElement> base = type->m_Create();
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
    base->SetNumber(number);
    FieldsFromJson(r, CGraphElement::Fields(), base.get(), m_Ports.get());
    CheckInsideDisplay(*base, path);

    // Text elements start with the project's face.
    if (type->m_SetFace != nullptr) type->m_SetFace(*element, m_Project->DefaultTextFace());
    void* own = type->m_Own(*element);
    FieldsFromJson(r, type->m_Fields(), own, m_Ports.get(), [&](const CField& a_Field) {
      const std::string_view key = a_Field.m_Key;
      if (key == "states") {
        States(r, static_cast<CDynamicText&>(*element));
        return true;
      }
      if (key == "bitmap" && type->m_TypeCode == kTypePicture) {
        FieldFromJson(r, a_Field, own, m_Ports.get());
        CheckBitmap(r, static_cast<const CPictureGE&>(*element));
        return true;
      }
      if (key == "key" && type->m_TypeCode == kTypeFunckey) {
        // Bits 16 to 21 of the action word: a larger number would compile as another key.
        if (const Value* v = r.Get(key)) {
          a_Field.Of<int32_t>(own) = static_cast<int32_t>(IntegerOf(*v, r.PathOf(key), 0, CFunckeyGE::kMaxKeyNumber));
        }
        return true;
      }
      return false;
    });
    element->CGraphElement::CopyFrom(*base);
    return element;
  }

  void CheckInsideDisplay(const CGraphElement& a_Base, const std::string& a_Path) const {
    if (m_DisplayWidth < 0) return;
    const int64_t left = a_Base.GetLeft(), top = a_Base.GetTop(), width = a_Base.GetWidth(),
                  height = a_Base.GetHeight();
    if (left >= 0 && top >= 0 && width >= 0 && height >= 0 && left + width <= m_DisplayWidth &&
        top + height <= m_DisplayHeight) {
      return;
    }
    Refuse(a_Path, "the element at (" + std::to_string(left) + "," + std::to_string(top) + ") of " +
                       std::to_string(width) + "x" + std::to_string(height) +
                       " pixels does not lie inside the " + m_DisplayText);
  }

  // The states given, keyed by their value.
  void States(const ObjectReader& a_Reader, CDynamicText& a_Text) const {
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
      const ObjectReader r(item, Member(path, key), CTextItem::Fields().JsonKeys());
      FieldsFromJson(r, CTextItem::Fields(), a_Text.GetState(value), m_Ports.get());
    }
  }

  void CheckBitmap(const ObjectReader& a_Reader, const CPictureGE& a_Picture) const {
    if (a_Picture.m_ItemId != CPictureGE::kNoItem &&
        m_Project->GetBitmapLib().FindItem(a_Picture.m_ItemId) == nullptr) {
      Refuse(a_Reader.PathOf("bitmap"), "no bitmap has the id " + std::to_string(a_Picture.m_ItemId));
    }
  }

  // ---- alarms and transfers ------------------------------------------------------------------

  void Alarms(const Value& a_Value) {
    const ObjectReader r(a_Value, "alarms", CAlarmSettings::Fields().JsonKeys());
    CAlarmSettings& alarms = m_Project->GetAlarms();
    FieldsFromJson(r, CAlarmSettings::Fields(), &alarms, m_Ports.get(),
                   [](const CField& a_Field) { return a_Field.m_Kind == FieldKind::kCustom; });
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
    const ObjectReader r(a_Value, a_Path, CAlarmItem::Fields().JsonKeys());
    CAlarmItemInput input;
    CAlarmItem& item = input.m_Item;
    // The limits are read as typed and checked before they are narrowed to 32 bits.
    FieldsFromJson(r, CAlarmItem::Fields(), &item, m_Ports.get(), [&](const CField& a_Field) {
      const std::string_view key = a_Field.m_Key;
      int64_t* limit = key == "value"        ? &input.m_Value
                       : key == "rangeUpper" ? &input.m_RangeA
                       : key == "rangeLower" ? &input.m_RangeB
                                             : nullptr;
      if (limit != nullptr) Limit(r, key, *limit);
      return limit != nullptr;
    });
    if (const auto message = CheckAlarmItem(input)) {
      std::string where = a_Path;
      if (item.m_Text.empty()) {
        where = r.PathOf("text");
      } else if (*message == Tr(kRangeMessage)) {
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
      const ObjectReader r(items[i], Item("transfers", i), CDataTransferItem::Fields().JsonKeys());
      CDataTransferItem transfer;
      FieldsFromJson(r, CDataTransferItem::Fields(), &transfer, m_Ports.get());
      m_Project->GetTransfers().m_Items.push_back(std::move(transfer));
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
  CHardwareModel m_Model;  // the project's panel model, when the library has it
  bool m_HasModel = false;
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
