#include "editor/devices/HardwareLibrary.h"

#include <algorithm>
#include <optional>

#include "editor/devices/LibraryFiles.h"
#include "editor/base/XmlDocumentWrapper.h"
#include "platform/ProgramDirectory.h"
#include "platform/Translate.h"
#include "editor/base/TextCase.h"

namespace kd820 {

namespace {

// Beyond these a model file is malformed: 2^palette colours must be countable, and the
// display size drives the canvas and the compiled frames.
constexpr int32_t kMaxPalette = 30;
constexpr int32_t kMaxResolution = 4096;

bool FlagIs(const CXmlNodeWrapper& a_Node, const char* a_Attribute, const char* a_Word) {
  return AsciiUpper(a_Node.GetValue(a_Attribute)) == AsciiUpper(a_Word);
}

// Reads a decimal attribute into a_Out; false when the text is not a number.
bool ReadInt(const CXmlNodeWrapper& a_Node, const char* a_Attribute, int32_t& a_Out) {
  const auto value = ParseXmlInteger(a_Node.GetValue(a_Attribute));
  if (!value) return false;
  a_Out = *value;
  return true;
}

bool ParseModel(const CXmlNodeWrapper& a_Root, CHardwareModel& a_Model) {
  CHardwareModel model;
  if (!ReadInt(a_Root, "version", model.m_Version) || !ReadInt(a_Root, "id", model.m_Id)) {
    return false;
  }
  model.m_Name = a_Root.GetValue("name");
  model.m_Description = a_Root.GetValue("discription");

  const CXmlNodeWrapper screen = a_Root.FindNode("screen");
  model.m_Size = screen.GetValue("size");
  if (!ReadInt(screen, "resolution_x", model.m_ResolutionX) ||
      !ReadInt(screen, "resolution_y", model.m_ResolutionY) ||
      !ReadInt(screen, "palette", model.m_Palette)) {
    return false;
  }
  if (model.m_ResolutionX < 0 || model.m_ResolutionX > kMaxResolution || model.m_ResolutionY < 0 ||
      model.m_ResolutionY > kMaxResolution || model.m_Palette < 0 || model.m_Palette > kMaxPalette) {
    return false;
  }

  const CXmlNodeWrapper hardware = a_Root.FindNode("hardware");
  if (!ReadInt(hardware, "key", model.m_KeyCount)) return false;
  model.m_Touch = FlagIs(hardware, "touch", "true");
  model.m_Encoder = FlagIs(hardware, "encoder", "true");

  model.m_HWFile = a_Root.FindNode("HWFile").GetText();
  model.m_HWFile2 = a_Root.FindNode("HWFile_2").GetText();

  const CXmlNodeListWrapper keys = a_Root.FindNode("keys").FindNodes("key");
  for (std::size_t i = 0; i < keys.Count(); ++i) {
    const CXmlNodeWrapper key = keys.Node(i);
    int32_t id = 0;
    if (!ReadInt(key, "id", id)) return false;
    model.m_Keys.emplace_back(id, key.GetValue("text"));
  }

  const CXmlNodeListWrapper ports = a_Root.FindNodes("port");
  for (std::size_t i = 0; i < ports.Count(); ++i) {
    const CXmlNodeWrapper node = ports.Node(i);
    CHardwarePort port;
    if (!ReadInt(node, "id", port.m_Id)) return false;
    port.m_Type = node.GetValue("type");
    port.m_DeviceName = node.GetValue("devicename");
    bool keep = false;
    if (port.m_Type == "serial") {
      port.m_Rs232 = FlagIs(node, "rs232", "Enable");
      port.m_Rs485Two = FlagIs(node, "rs485-2", "Enable");
      port.m_Rs485Four = FlagIs(node, "rs485-4", "Enable");
      keep = port.m_Rs232 || port.m_Rs485Two || port.m_Rs485Four;
    } else if (port.m_Type == "can") {
      port.m_Can = FlagIs(node, "can", "Enable");
      keep = port.m_Can;
    }
    if (keep && port.m_Id >= 0 && port.m_Id <= 3) model.m_Ports.push_back(std::move(port));
  }
  std::stable_sort(model.m_Ports.begin(), model.m_Ports.end(),
                   [](const CHardwarePort& a_L, const CHardwarePort& a_R) { return a_L.m_Id < a_R.m_Id; });

  a_Model = std::move(model);
  return true;
}

bool LoadDocument(CXmlDocumentWrapper& a_Document, CHardwareModel& a_Model, bool a_Loaded,
                  const std::string& a_Name, IProblemSink& a_Problems) {
  if (!a_Loaded || !ParseModel(a_Document.AsNode(), a_Model)) {
    a_Problems.Error("Error Load XML: " + a_Name, {"", "", a_Name});
    return false;
  }
  return true;
}

std::string Format2(const char* a_Before, const std::string& a_Value, const char* a_After = "") {
  return std::string(a_Before) + a_Value + a_After;
}

}  // namespace

bool CHardwareLibrary::LoadModel(CHardwareModel& a_Model, const std::string& a_Path,
                                 IProblemSink& a_Problems) {
  CXmlDocumentWrapper document;
  const bool loaded = document.Load(a_Path);
  return LoadDocument(document, a_Model, loaded, a_Path, a_Problems);
}

bool CHardwareLibrary::LoadModelFromMemory(CHardwareModel& a_Model, const void* a_Data,
                                           std::size_t a_Size, const std::string& a_Name,
                                           IProblemSink& a_Problems) {
  CXmlDocumentWrapper document;
  const bool loaded = document.LoadFromMemory(a_Data, a_Size);
  return LoadDocument(document, a_Model, loaded, a_Name, a_Problems);
}

void CHardwareLibrary::BuildIndex() {
  if (m_Built) return;
  m_Built = true;
  m_Index.clear();
  for (const auto& file : ListCfgFiles(ProgramDirectory() / "lib" / "hardware")) {
    // The whole model is read, so that a file listed here also loads later.
    CHardwareModel model;
    if (!LoadModel(model, file.string(), *m_Problems)) continue;
    m_Index.push_back({model.m_Id, file.string(), model.m_Description});
  }
  std::stable_sort(m_Index.begin(), m_Index.end(),
                   [](const CHardwareIndexEntry& a_L, const CHardwareIndexEntry& a_R) {
                     return a_L.m_Id < a_R.m_Id;
                   });
}

const std::vector<CHardwareIndexEntry>& CHardwareLibrary::Index() {
  BuildIndex();
  return m_Index;
}

void CHardwareLibrary::ListModels(std::vector<std::string>& a_List) {
  BuildIndex();
  for (const auto& entry : m_Index) a_List.push_back(entry.m_Description);
}

bool CHardwareLibrary::LoadModelByIndex(CHardwareModel& a_Model, std::size_t a_Index) {
  BuildIndex();
  if (a_Index >= m_Index.size()) return false;
  return LoadModel(a_Model, m_Index[a_Index].m_Path, *m_Problems);
}

bool CHardwareLibrary::LoadModelById(CHardwareModel& a_Model, int32_t a_Id) {
  BuildIndex();
  for (const auto& entry : m_Index) {
    if (entry.m_Id == a_Id) return LoadModel(a_Model, entry.m_Path, *m_Problems);
  }
  return false;
}

std::string GetPortDeviceName(const CHardwareModel& a_Model, int32_t a_PortId) {
  for (const auto& port : a_Model.m_Ports) {
    if (port.m_Id == a_PortId) return port.m_DeviceName;
  }
  return {};
}

int32_t GetPortId(const CHardwareModel& a_Model, const std::string& a_DeviceName) {
  for (const auto& port : a_Model.m_Ports) {
    if (port.m_DeviceName == a_DeviceName) return port.m_Id;
  }
  return -1;
}

std::vector<std::string> HardwareModelTexts(const CHardwareModel& a_Model) {
  std::vector<std::string> texts;
  texts.push_back(Format2(Tr("型号名称: "), a_Model.m_Name));
  texts.push_back(Format2(Tr("显示尺寸: "), a_Model.m_Size, Tr("英寸")));
  texts.push_back(Tr("显示分辨率: ") + std::to_string(a_Model.m_ResolutionX) + "x" +
                  std::to_string(a_Model.m_ResolutionY));
  if (a_Model.m_Palette == 1) {
    texts.emplace_back(Tr("色彩: 单色"));
  } else {
    // A record built in code may hold any palette; only a countable one is shown as a number.
    const int64_t colours =
        a_Model.m_Palette >= 0 && a_Model.m_Palette <= 62 ? int64_t{1} << a_Model.m_Palette : 0;
    texts.push_back(Tr("色彩: ") + std::to_string(colours) + Tr("色"));
  }
  texts.push_back(Tr("键盘: ") + std::to_string(a_Model.m_KeyCount) + Tr("键"));
  texts.emplace_back(a_Model.m_Touch ? Tr("触控: 支持") : Tr("触控: 不支持"));
  texts.emplace_back(a_Model.m_Encoder ? Tr("编码器: 支持") : Tr("编码器: 不支持"));
  std::size_t lines = 0;
  for (const auto& port : a_Model.m_Ports) {
    if (lines == 4) break;
    if (port.m_Type == "can") {
      texts.push_back(port.m_DeviceName + (port.m_Can ? Tr(": 支持") : Tr(": 不支持")));
    } else {
      std::string line = port.m_DeviceName + ": ";
      std::string interfaces;
      const auto add = [&interfaces](bool a_On, const char* a_Name) {
        if (!a_On) return;
        if (!interfaces.empty()) interfaces += "/";
        interfaces += a_Name;
      };
      add(port.m_Rs232, "RS232");
      add(port.m_Rs485Two, "RS485");
      add(port.m_Rs485Four, "RS422");
      texts.push_back(line + interfaces);
    }
    ++lines;
  }
  return texts;
}

}  // namespace kd820
