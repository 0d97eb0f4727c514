#include "editor/project/KV410Project.h"

#include <algorithm>
#include <unordered_set>

#include "editor/project/Messages.h"
#include "editor/screens/AsciiGE.h"
#include "editor/screens/ElementTypes.h"
#include "editor/screens/PictureGE.h"

namespace kd820 {

KD_IMPLEMENT_SERIAL(CKV410Project, nullptr, 1)

CKV410Project::CKV410Project() {
  for (int i = 0; i < kSerialPortCount; ++i) m_Ports[static_cast<std::size_t>(i)].m_PortNumber = i;
}

CKV410Project::~CKV410Project() = default;

void CKV410Project::SetPath(const std::string& a_Path) {
  m_Path = a_Path;
  const std::size_t slash = a_Path.rfind('/');
  const std::string dir = slash == std::string::npos ? std::string() : a_Path.substr(0, slash);
  const std::string file = slash == std::string::npos ? a_Path : a_Path.substr(slash + 1);
  const std::size_t dot = file.rfind('.');
  m_Name = dot == std::string::npos ? file : file.substr(0, dot);
  m_ImagePath = dir + "/" + m_Name + ".bin~";
}

std::string CKV410Project::GetImageDirectory() const {
  const std::size_t slash = m_Path.rfind('/');
  return (slash == std::string::npos ? std::string() : m_Path.substr(0, slash + 1)) + "image";
}

CPortCom* CKV410Project::GetPort(int a_Number) {
  if (a_Number < 0 || a_Number >= kSerialPortCount) return nullptr;
  return &m_Ports[static_cast<std::size_t>(a_Number)];
}

const CPortCom* CKV410Project::GetPort(int a_Number) const {
  return const_cast<CKV410Project*>(this)->GetPort(a_Number);
}

CHMIFrame* CKV410Project::FindFrame(uint16_t a_Number) const {
  for (const auto& f : m_Frames) {
    if (f->GetNumber() == a_Number) return f.get();
  }
  return nullptr;
}

bool CKV410Project::AddFrame(std::unique_ptr<CHMIFrame>& a_Frame) {
  if (!a_Frame || FindFrame(a_Frame->GetNumber()) != nullptr) return false;
  m_Frames.push_back(std::move(a_Frame));
  SortFrames();
  return true;
}

bool CKV410Project::AddFrames(FrameList a_Frames) {
  std::unordered_set<uint16_t> numbers;
  for (const auto& f : m_Frames) numbers.insert(f->GetNumber());
  for (const auto& f : a_Frames) {
    if (!f || !numbers.insert(f->GetNumber()).second) return false;
  }
  for (auto& f : a_Frames) m_Frames.push_back(std::move(f));
  SortFrames();
  return true;
}

bool CKV410Project::RemoveFrame(CHMIFrame* a_Frame) {
  auto it = std::find_if(m_Frames.begin(), m_Frames.end(),
                         [&](const auto& f) { return f.get() == a_Frame; });
  if (it == m_Frames.end()) return false;
  m_Frames.erase(it);
  return true;
}

std::unique_ptr<CHMIFrame> CKV410Project::DetachFrame(CHMIFrame* a_Frame) {
  auto it = std::find_if(m_Frames.begin(), m_Frames.end(),
                         [&](const auto& f) { return f.get() == a_Frame; });
  if (it == m_Frames.end()) return nullptr;
  std::unique_ptr<CHMIFrame> frame = std::move(*it);
  m_Frames.erase(it);
  return frame;
}

CHMIFrame* CKV410Project::GetFrameAfter(const CHMIFrame* a_Frame) const {
  for (std::size_t i = 0; i + 1 < m_Frames.size(); ++i) {
    if (m_Frames[i].get() == a_Frame) return m_Frames[i + 1].get();
  }
  return nullptr;
}

CHMIFrame* CKV410Project::GetFrameBefore(const CHMIFrame* a_Frame) const {
  for (std::size_t i = 1; i < m_Frames.size(); ++i) {
    if (m_Frames[i].get() == a_Frame) return m_Frames[i - 1].get();
  }
  return nullptr;
}

uint16_t CKV410Project::NextFreeFrameNumber() const {
  uint32_t n = 1;
  while (n < 0xFFFF && FindFrame(static_cast<uint16_t>(n)) != nullptr) ++n;
  return static_cast<uint16_t>(n);
}

void CKV410Project::SortFrames() {
  // Ascending frame number; frames with equal numbers (only possible in a damaged file) keep
  // their order.
  std::stable_sort(m_Frames.begin(), m_Frames.end(), [](const auto& a, const auto& b) {
    return a->GetNumber() < b->GetNumber();
  });
}

bool CKV410Project::SwapPorts(int a_A, int a_B, std::string* a_Error) {
  if (a_A == a_B) return true;
  if (a_A < 0 || a_A >= kSerialPortCount || a_B < 0 || a_B >= kSerialPortCount) {
    if (a_Error != nullptr) *a_Error = Tr(msg::kOnlyComRange);
    return false;
  }
  m_Settings.SwapPorts(a_A, a_B);
  m_Alarms.SwapPorts(a_A, a_B);
  m_Transfers.SwapPorts(a_A, a_B);
  for (auto& f : m_Frames) f->SwapPorts(a_A, a_B);
  m_Ports[static_cast<std::size_t>(a_A)].SwapContents(m_Ports[static_cast<std::size_t>(a_B)]);
  return true;
}

void CKV410Project::ResetPortConfiguration(const std::array<bool, 4>& a_Changed) {
  m_Settings.ResetChangedPorts(a_Changed);
  m_Alarms.ResetChangedPorts(a_Changed);
  m_Transfers.ResetChangedPorts(a_Changed);
  for (auto& f : m_Frames) {
    for (const auto& e : f->GetElements()) e->ResetChangedPorts(a_Changed);
  }
}

void CKV410Project::Serialize(CArchive& a_Ar) {
  int32_t version = kFileVersion;
  int32_t oldestReader = kOldestReaderVersion;
  a_Ar.Io(version);
  if (version > 2) a_Ar.Io(oldestReader);
  if (a_Ar.IsLoading()) {
    if (version > 2 && oldestReader > kFileVersion) throw ProjectVersionError(Tr(msg::kNewerVersion));
    m_LoadedFileVersion = version;
    m_LoadedOldestReader = version > 2 ? oldestReader : version;
  }
  a_Ar.Io(m_HardwareModelId);
  if (version >= 2) {
    a_Ar.Io(m_ElementLabels);
  } else {
    m_ElementLabels = 1;
  }
  for (auto& port : m_Ports) port.Serialize(a_Ar);
  m_CanPort.Serialize(a_Ar);
  m_LangDefine.Serialize(a_Ar);
  if (a_Ar.IsStoring()) CountBitmapUses();
  a_Ar.IoObjectList(m_Frames);
  // The ASCII element does not store its face: it takes the first language's.
  if (a_Ar.IsLoading()) {
    for (auto& f : m_Frames) {
      for (const auto& e : f->GetElements()) {
        if (auto* ascii = dynamic_cast<CAsciiGE*>(e.get())) ascii->SetLoadedFace(DefaultTextFace());
      }
    }
  }
  m_Settings.Serialize(a_Ar);
  m_Alarms.Serialize(a_Ar);
  if (version > 3) m_BitmapLib.Serialize(a_Ar);
  if (version > 4) m_Transfers.Serialize(a_Ar);
  if (a_Ar.IsLoading()) {
    // Port numbers are fixed by position whatever the file says.
    for (int i = 0; i < kSerialPortCount; ++i) m_Ports[static_cast<std::size_t>(i)].m_PortNumber = i;
  }
}

void CKV410Project::ApplyElementDefaults(CGraphElement& a_Element) const {
  const CElementType* type = ElementTypeOf(a_Element);
  if (type != nullptr && type->m_SetFace != nullptr) type->m_SetFace(a_Element, DefaultTextFace());
}

int32_t CKV410Project::LowestEnabledPort() const {
  for (int port = 0; port < kSerialPortCount; ++port) {
    if (GetPort(port)->IsEnabled()) return port;
  }
  return m_CanPort.IsEnabled() ? CPortCan::kPortNumber : CAddr::kInternalPort;
}

void CKV410Project::CountBitmapUses() {
  const std::vector<int32_t> counts = BitmapUseCounts();
  for (std::size_t i = 0; i < counts.size(); ++i) m_BitmapLib.m_Items[i]->m_UseCount = counts[i];
}

std::vector<int32_t> CKV410Project::BitmapUseCounts() const {
  const auto& items = m_BitmapLib.m_Items;
  std::vector<int32_t> counts(items.size(), 0);
  for (const auto& f : m_Frames) {
    for (const auto& e : f->GetElements()) {
      const auto* picture = dynamic_cast<const CPictureGE*>(e.get());
      if (picture == nullptr) continue;
      // A use counts for the first item with the id.
      for (std::size_t i = 0; i < items.size(); ++i) {
        if (items[i]->m_Id == picture->m_ItemId) {
          ++counts[i];
          break;
        }
      }
    }
  }
  return counts;
}

}  // namespace kd820
