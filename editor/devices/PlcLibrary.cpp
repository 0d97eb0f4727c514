#include "editor/devices/PlcLibrary.h"

#include <algorithm>
#include <array>
#include <optional>
#include <utility>

#include "editor/base/CodeTables.h"
#include "editor/devices/LibraryFiles.h"
#include "editor/base/XmlDocumentWrapper.h"
#include "platform/ProgramDirectory.h"
#include "editor/base/TextCase.h"

namespace kd820 {

namespace {

// A sub-address is shifted into a 32-bit address value, and its range 2^bits - 1 must fit.
constexpr int32_t kMaxSubBits = 31;

// The code of a library text (compared without ASCII case); a text the table does not have
// gives 0, reported with a_Message to a_Report when there is one.
int32_t Convert(std::span<const NamedCode> a_Table, const char* a_Message, const std::string& a_Text,
                IProblemSink* a_Report) {
  if (const auto code = CodeOfName(a_Table, a_Text, true)) return *code;
  if (a_Report != nullptr) a_Report->Warn(std::string(a_Message) + a_Text);
  return 0;
}

int32_t Convert(std::span<const NumberedCode> a_Table, const char* a_Message, const std::string& a_Text,
                IProblemSink* a_Report) {
  for (const NumberedCode& entry : a_Table) {
    if (a_Text == std::to_string(entry.m_Number)) return entry.m_Code;
  }
  if (a_Report != nullptr) a_Report->Warn(std::string(a_Message) + a_Text);
  return 0;
}

constexpr const char* kSerialTypeMessage = "TransSerialType Error: ";
constexpr const char* kBaudRateMessage = "TransBaudRate Error: ";
constexpr const char* kDataBitMessage = "TransDataBit Error: ";
constexpr const char* kStopBitMessage = "TransStopBit Error: ";
constexpr const char* kWidthMessage = "TransAddressWidth Error: ";
constexpr const char* kBaseMessage = "TransDataMode Error: ";
constexpr const char* kUnitMessage = "TransAddressMode Error: ";

int32_t ConvertSerialType(const std::string& a_Text, IProblemSink* a_Report) {
  if (const auto code = CodeOfName(kSerialTypeAliases, a_Text, true)) return *code;
  return Convert(kSerialTypes, kSerialTypeMessage, a_Text, a_Report);
}

bool ReadInt(const std::string& a_Text, int32_t& a_Out) {
  const auto value = ParseXmlInteger(a_Text);
  if (!value) return false;
  a_Out = *value;
  return true;
}

bool ReadText(const CXmlNodeWrapper& a_Parent, const char* a_Child, int32_t& a_Out) {
  return ReadInt(a_Parent.FindNode(a_Child).GetText(), a_Out);
}

bool ParseRegisterType(const CXmlNodeWrapper& a_Node, CRegisterType& a_Type, IProblemSink* a_Report) {
  CRegisterType type;
  if (!ReadInt(a_Node.GetValue("ID"), type.m_Id)) return false;
  type.m_Name = a_Node.GetValue("Name");
  type.m_Width = Convert(kLibraryWidths, kWidthMessage, a_Node.GetValue("AddressWidth"), a_Report);

  const std::string indexBase = a_Node.GetValue("SubIndexType");
  if (!indexBase.empty()) {
    type.m_HasIndex = true;
    type.m_IndexBase = Convert(kLibraryBases, kBaseMessage, indexBase, a_Report);
    if (!ReadInt(a_Node.GetValue("SubIndexMin"), type.m_IndexMin) ||
        !ReadInt(a_Node.GetValue("SubIndexMax"), type.m_IndexMax)) {
      return false;
    }
  }

  int32_t bigEndian = 0;
  if (!ReadInt(a_Node.GetValue("BigEndian"), bigEndian)) return false;
  type.m_BigEndian = bigEndian == 1;

  if (!ReadText(a_Node, "MinAddress", type.m_AddressMin) ||
      !ReadText(a_Node, "MaxAddress", type.m_AddressMax)) {
    return false;
  }

  const CXmlNodeWrapper mask = a_Node.FindNode("Mask");
  const CXmlNodeWrapper master = mask.FindNode("Master");
  type.m_AddressBase = Convert(kLibraryBases, kBaseMessage, master.GetValue("Type"), a_Report);
  type.m_AddressUnit = Convert(kLibraryUnits, kUnitMessage, master.GetValue("Mode"), a_Report);

  const CXmlNodeWrapper slave = mask.FindNode("Slave");
  const std::string subBase = slave.GetValue("Type");
  if (AsciiUpper(subBase) != "NONE") {
    type.m_HasSubAddress = true;
    if (!ReadInt(slave.GetValue("Length"), type.m_SubBits)) return false;
    if (type.m_SubBits < 0 || type.m_SubBits > kMaxSubBits) return false;
    type.m_SubMin = 0;
    type.m_SubMax = static_cast<int32_t>((int64_t{1} << type.m_SubBits) - 1);
    type.m_SubBase = Convert(kLibraryBases, kBaseMessage, subBase, a_Report);
  }
  a_Type = std::move(type);
  return true;
}

// Reads a protocol file's root into a_Model; false (a_Model untouched) when a number is not
// a number. Conversion messages are shown only when a_Report is set.
bool ParseProtocol(const CXmlNodeWrapper& a_Root, CPLCModel& a_Model, IProblemSink* a_Report) {
  CPLCModel model;
  if (!ReadInt(a_Root.GetValue("ID"), model.m_Id)) return false;
  model.m_Name = a_Root.GetValue("PLCName");

  const CXmlNodeListWrapper plcs = a_Root.FindNode("SupportPLC").FindNodes("PLC");
  for (std::size_t i = 0; i < plcs.Count(); ++i) model.m_SupportedPlcs.push_back(plcs.Node(i).GetText());

  const CXmlNodeWrapper station = a_Root.FindNode("StationNumber");
  if (!ReadText(station, "Max", model.m_StationMax) || !ReadText(station, "Min", model.m_StationMin) ||
      !ReadText(station, "Default", model.m_StationDefault)) {
    return false;
  }
  model.m_StationUsed = AsciiUpper(a_Root.FindNode("Droit").GetValue("Position")) == "SLAVE";

  const CXmlNodeWrapper serial = a_Root.FindNode("SerialPort");
  const CXmlNodeWrapper defaults = serial.FindNode("DefaultParam");
  model.m_SerialType =
      ConvertSerialType(defaults.FindNode("Type").GetText(), a_Report);
  model.m_BaudRate = Convert(kBaudRates, kBaudRateMessage, defaults.FindNode("Baud").GetText(), a_Report);
  model.m_DataBits = Convert(kDataBits, kDataBitMessage, defaults.FindNode("ByteSize").GetText(), a_Report);
  if (!ReadText(defaults, "Parity", model.m_Parity)) return false;
  model.m_StopBits = Convert(kStopBits, kStopBitMessage, defaults.FindNode("StopBits").GetText(), a_Report);
  const std::pair<const char*, int32_t*> timing[] = {
      {"PLCResponceTimeout", &model.m_ResponseTimeout},
      {"ProtocolTimeout1", &model.m_ProtocolTimeout1},
      {"ProtocolTimeout2", &model.m_ProtocolTimeout2},
      {"PackegMaxWord", &model.m_PacketMaxWords},
      {"PackegMaxBit", &model.m_PacketMaxBits},
      {"WordsBrokeInterval", &model.m_WordBreakInterval},
      {"BitsBrokeInterval", &model.m_BitBreakInterval},
      {"CommunicationInterval", &model.m_CommunicationInterval},
  };
  for (const auto& [name, field] : timing) {
    if (!ReadText(serial, name, *field)) return false;
  }

  const CXmlNodeListWrapper types = a_Root.FindNode("REG_ADDRs").FindNodes("REG_ADDR");
  for (std::size_t i = 0; i < types.Count(); ++i) {
    CRegisterType type;
    if (!ParseRegisterType(types.Node(i), type, a_Report)) return false;
    if (type.m_Width == kWidthBit) {
      model.m_BitNames.insert_or_assign(type.m_Name, type);
      model.m_BitTypes.push_back(std::move(type));
    } else {
      model.m_WordNames.insert_or_assign(type.m_Name, type);
      (type.m_Width == kWidthWord ? model.m_WordTypes : model.m_DWordTypes).push_back(std::move(type));
    }
  }
  a_Model = std::move(model);
  return true;
}

bool LoadDocument(CXmlDocumentWrapper& a_Document, bool a_Loaded, CPLCModel& a_Model,
                  const std::string& a_Name, IProblemSink& a_Problems, bool a_Report) {
  if (!a_Loaded || !ParseProtocol(a_Document.AsNode(), a_Model, a_Report ? &a_Problems : nullptr)) {
    a_Problems.Error("Error Load XML: " + a_Name, {"", "", a_Name});
    return false;
  }
  return true;
}

// The protocol directory of a manufacturer, when "dir" names a directory below lib/plc:
// not empty, not absolute, never climbing out with "..". Windows separators are accepted.
std::optional<std::filesystem::path> ManufacturerDirectory(const std::filesystem::path& a_PlcDir,
                                                           std::string a_Dir) {
  std::replace(a_Dir.begin(), a_Dir.end(), '\\', '/');
  const std::filesystem::path dir(a_Dir);
  if (a_Dir.empty() || dir.is_absolute() || dir.has_root_name()) return std::nullopt;
  bool named = false;
  for (const auto& part : dir) {
    if (part == "..") return std::nullopt;
    if (!part.empty() && part != ".") named = true;
  }
  if (!named) return std::nullopt;
  return a_PlcDir / dir;
}

}  // namespace

int32_t TransSerialType(const std::string& a_Text, IProblemSink& a_Problems) {
  return ConvertSerialType(a_Text, &a_Problems);
}
int32_t TransBaudRate(const std::string& a_Text, IProblemSink& a_Problems) {
  return Convert(kBaudRates, kBaudRateMessage, a_Text, &a_Problems);
}
int32_t TransDataBit(const std::string& a_Text, IProblemSink& a_Problems) {
  return Convert(kDataBits, kDataBitMessage, a_Text, &a_Problems);
}
int32_t TransStopBit(const std::string& a_Text, IProblemSink& a_Problems) {
  return Convert(kStopBits, kStopBitMessage, a_Text, &a_Problems);
}
int32_t TransAddressWidth(const std::string& a_Text, IProblemSink& a_Problems) {
  return Convert(kLibraryWidths, kWidthMessage, a_Text, &a_Problems);
}
int32_t TransDataMode(const std::string& a_Text, IProblemSink& a_Problems) {
  return Convert(kLibraryBases, kBaseMessage, a_Text, &a_Problems);
}
int32_t TransAddressMode(const std::string& a_Text, IProblemSink& a_Problems) {
  return Convert(kLibraryUnits, kUnitMessage, a_Text, &a_Problems);
}

std::string SerialTypeText(int32_t a_Code) {
  const char* name = NameOf(kSerialTypes, a_Code);
  return name != nullptr ? name : "ERROR";
}

bool CPLCModel::Load(const std::string& a_Path, IProblemSink& a_Problems) {
  CXmlDocumentWrapper document;
  const bool loaded = document.Load(a_Path);
  return LoadDocument(document, loaded, *this, a_Path, a_Problems, true);
}

bool CPLCModel::LoadFromMemory(const void* a_Data, std::size_t a_Size, const std::string& a_Name,
                               IProblemSink& a_Problems) {
  CXmlDocumentWrapper document;
  const bool loaded = document.LoadFromMemory(a_Data, a_Size);
  return LoadDocument(document, loaded, *this, a_Name, a_Problems, true);
}

void CPLCModel::ListRegisterNames(bool a_Bits, std::vector<std::string>& a_List) const {
  if (a_Bits) {
    for (const auto& type : m_BitTypes) a_List.push_back(type.m_Name);
    return;
  }
  for (const auto& type : m_WordTypes) a_List.push_back(type.m_Name);
  for (const auto& type : m_DWordTypes) a_List.push_back(type.m_Name);
}

const CRegisterType* CPLCModel::FindRegisterType(bool a_Bits, const std::string& a_Name) const {
  const auto& names = a_Bits ? m_BitNames : m_WordNames;
  const auto it = names.find(a_Name);
  return it == names.end() ? nullptr : &it->second;
}

bool CPLCModel::HasRegisterTypes() const {
  return !m_BitTypes.empty() || !m_WordTypes.empty() || !m_DWordTypes.empty();
}

void CPlcLibrary::Build() {
  m_Manufacturers.clear();
  m_PathById.clear();
  const std::filesystem::path plcDir = ProgramDirectory() / "lib" / "plc";
  const std::string indexPath = (plcDir / "index.CFG").string();
  CXmlDocumentWrapper index;
  if (!index.Load(indexPath)) {
    m_Problems->Error("Error Load XML: " + indexPath, {"", "", indexPath});
    return;
  }
  const CXmlNodeListWrapper makers = index.AsNode().FindNodes("manufacturer");
  for (std::size_t m = 0; m < makers.Count(); ++m) {
    const CXmlNodeWrapper node = makers.Node(m);
    CManufacturer maker;
    maker.m_Description = node.GetValue("discription");
    maker.m_Dir = node.GetValue("dir");
    const auto dir = ManufacturerDirectory(plcDir, maker.m_Dir);
    if (!dir) {
      const std::string path = (plcDir / maker.m_Dir).string();
      m_Problems->Error("Error Load XML: " + path, {"", "", path});
    } else {
      for (const auto& file : ListCfgFiles(*dir)) {
        // The whole file is read (quietly: loading it for a port reports its texts), so that
        // a protocol listed here also loads later.
        CXmlDocumentWrapper document;
        const bool loaded = document.Load(file.string());
        CPLCModel model;
        if (!LoadDocument(document, loaded, model, file.string(), *m_Problems, false)) continue;
        maker.m_Plcs.push_back({model.m_Id, model.m_Name, file.string()});
        m_PathById[model.m_Id] = file.string();
      }
    }
    std::stable_sort(maker.m_Plcs.begin(), maker.m_Plcs.end(),
                     [](const CPlcEntry& a_L, const CPlcEntry& a_R) { return a_L.m_Id < a_R.m_Id; });
    m_Manufacturers.push_back(std::move(maker));
  }
}

void CPlcLibrary::ListManufacturers(std::vector<std::string>& a_List) const {
  for (const auto& maker : m_Manufacturers) a_List.push_back(maker.m_Description);
}

void CPlcLibrary::ListPlcs(std::size_t a_Manufacturer, std::vector<std::string>& a_List) const {
  if (a_Manufacturer >= m_Manufacturers.size()) return;
  for (const auto& plc : m_Manufacturers[a_Manufacturer].m_Plcs) a_List.push_back(plc.m_Name);
}

std::string CPlcLibrary::GetPlcPath(std::size_t a_Manufacturer, std::size_t a_Plc) const {
  if (a_Manufacturer >= m_Manufacturers.size()) return {};
  const auto& plcs = m_Manufacturers[a_Manufacturer].m_Plcs;
  return a_Plc < plcs.size() ? plcs[a_Plc].m_Path : std::string();
}

bool CPlcLibrary::FindPlc(int32_t a_Id, std::size_t* a_Manufacturer, std::size_t* a_Plc) const {
  for (std::size_t m = 0; m < m_Manufacturers.size(); ++m) {
    const auto& plcs = m_Manufacturers[m].m_Plcs;
    for (std::size_t p = 0; p < plcs.size(); ++p) {
      if (plcs[p].m_Id != a_Id) continue;
      if (a_Manufacturer) *a_Manufacturer = m;
      if (a_Plc) *a_Plc = p;
      return true;
    }
  }
  if (a_Manufacturer) *a_Manufacturer = m_Manufacturers.size();
  return false;
}

std::string CPlcLibrary::GetDriverFileName(std::size_t a_Manufacturer, std::size_t a_Plc, int a_N) const {
  const std::string path = GetPlcPath(a_Manufacturer, a_Plc);
  if (path.size() < 4) return {};
  return path.substr(0, path.size() - 4) + "_" + std::to_string(a_N) + ".bin";
}

bool CPlcLibrary::LoadPortModel(CPLCModel& a_Model, int32_t a_Id) const {
  const auto it = m_PathById.find(a_Id);
  if (it == m_PathById.end()) return false;
  return a_Model.Load(it->second, *m_Problems);
}

}  // namespace kd820
