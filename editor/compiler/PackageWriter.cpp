#include "editor/compiler/PackageWriter.h"

#include <filesystem>

#include "editor/devices/EditorContext.h"
#include "editor/project/KV410Project.h"
#include "platform/Files.h"
#include "platform/ProgramDirectory.h"

namespace kd820 {

namespace {

// A section source is read whole; nothing a panel holds comes near this size.
constexpr std::size_t kMaxSourceBytes = std::size_t{64} << 20;

}  // namespace

CPackageSources PackageWriter::SourcesFor(const CKV410Project& a_Project, CEditorContext& a_Context,
                                          IProblemSink& a_Problems) {
  CPackageSources sources;
  sources.m_Image = a_Project.GetImagePath();
  const CPlcLibrary& plcs = a_Context.GetPlcLibrary();
  // Only COM0 and COM1 carry drivers; COM2 and the CAN port never do.
  for (int i = 0; i < 2; ++i) {
    const CPortCom* port = a_Project.GetPort(i);
    if (port == nullptr || !port->IsEnabled()) continue;
    std::size_t manufacturer = 0, plc = 0;
    if (!plcs.FindPlc(port->m_ProtocolId, &manufacturer, &plc)) {
      a_Problems.Warn("COM" + std::to_string(i) + ": PLC protocol " + std::to_string(port->m_ProtocolId) +
                      " is not in the PLC library; the package carries no driver for it");
      continue;
    }
    sources.m_Drivers[static_cast<std::size_t>(i)] = plcs.GetDriverFileName(manufacturer, plc, i);
  }
  CHardwareModel model;
  if (!a_Context.GetHardwareLibrary().LoadModelById(model, a_Project.GetHardwareModelId())) {
    a_Problems.Error("panel model " + std::to_string(a_Project.GetHardwareModelId()) +
                     " is not in the hardware library");
    return sources;
  }
  const std::filesystem::path hardware = ProgramDirectory() / "lib" / "hardware";
  sources.m_Gui1 = (hardware / model.m_HWFile).string();
  if (!model.m_HWFile2.empty()) sources.m_Gui2 = (hardware / model.m_HWFile2).string();
  return sources;
}

bool PackageWriter::AppendSource(const std::string& a_Path, std::size_t a_Skip, std::vector<uint8_t>& a_Package,
                                 pkg::SectionEntry& a_Entry, IProblemSink& a_Problems) {
  std::string error;
  const auto bytes = ReadWholeFile(a_Path, error, kMaxSourceBytes, true);
  if (!bytes) {
    a_Problems.Error("Cannot open file " + a_Path + ": " + error, {{}, {}, a_Path});
    return false;
  }
  if (bytes->size() < a_Skip) {
    a_Problems.Error(a_Path + " is shorter than its " + std::to_string(a_Skip) + "-byte header",
                     {{}, {}, a_Path});
    return false;
  }
  const std::size_t length = bytes->size() - a_Skip;
  if (a_Package.size() + length + 3 > UINT32_MAX) {
    a_Problems.Error("the package would exceed 4 GiB at " + a_Path, {{}, {}, a_Path});
    return false;
  }
  a_Entry.m_Offset = static_cast<uint32_t>(a_Package.size());
  a_Entry.m_Version = bytes->size() >= pkg::kSourceVersionOffset + 2
                          ? static_cast<uint16_t>((*bytes)[pkg::kSourceVersionOffset] |
                                                  (*bytes)[pkg::kSourceVersionOffset + 1] << 8)
                          : 0;
  uint32_t sum = 0;
  for (std::size_t i = a_Skip; i < bytes->size(); ++i) sum += (*bytes)[i];
  a_Entry.m_Sum = sum;
  a_Package.insert(a_Package.end(), bytes->begin() + static_cast<std::ptrdiff_t>(a_Skip), bytes->end());
  const std::size_t fill = (4 - length % 4) % 4;
  a_Package.insert(a_Package.end(), fill, 0);
  a_Entry.m_Size = static_cast<uint32_t>(length + fill);
  return true;
}

bool PackageWriter::Build(const CPackageSources& a_Sources, std::vector<uint8_t>& a_Package,
                          IProblemSink& a_Problems) {
  pkg::PackageHeader header;
  header.m_Format = pkg::kFormat2;
  header.m_DriverCount = pkg::kWrittenDriverCount;
  a_Package.assign(pkg::kHeaderSize2, 0);
  header.m_DriverTableOffset = static_cast<uint32_t>(a_Package.size());
  a_Package.insert(a_Package.end(), pkg::kWrittenDriverCount * pkg::kEntrySize, 0);

  if (!AppendSource(a_Sources.m_Image, 0, a_Package, header.m_UserData, a_Problems)) return false;
  // The image's version is not stored.
  header.m_UserData.m_Version = 0;

  std::array<pkg::SectionEntry, pkg::kWrittenDriverCount> drivers{};
  for (std::size_t i = 0; i < drivers.size(); ++i) {
    if (a_Sources.m_Drivers[i].empty()) continue;  // port not in use: an all-zero entry
    if (!AppendSource(a_Sources.m_Drivers[i], pkg::kSourceHeaderSize, a_Package, drivers[i], a_Problems)) {
      return false;
    }
    drivers[i].m_Version = 0;
  }
  for (std::size_t i = 0; i < drivers.size(); ++i) {
    drivers[i].Encode(a_Package.data() + header.m_DriverTableOffset + i * pkg::kEntrySize);
  }

  if (!AppendSource(a_Sources.m_Gui1, pkg::kSourceHeaderSize, a_Package, header.m_Gui1, a_Problems)) return false;
  // Without a second firmware the hardware-version-2 entry stays all zero, its version
  // included: a panel of that version is then never offered a firmware update.
  if (!a_Sources.m_Gui2.empty() &&
      !AppendSource(a_Sources.m_Gui2, pkg::kSourceHeaderSize, a_Package, header.m_Gui2, a_Problems)) {
    return false;
  }
  const auto bytes = header.Encode2();
  std::copy(bytes.begin(), bytes.end(), a_Package.begin());
  return true;
}

bool PackageWriter::Write(const CPackageSources& a_Sources, const std::string& a_Target, IProblemSink& a_Problems) {
  std::vector<uint8_t> package;
  if (!Build(a_Sources, package, a_Problems)) return false;
  std::string error;
  if (!WriteFileAtomically(a_Target, package, error)) {
    a_Problems.Error(std::string(kCreateFailed) + " " + a_Target + ": " + error, {{}, {}, a_Target});
    return false;
  }
  return true;
}

std::string PackageWriter::PackagePath(const CKV410Project& a_Project) {
  const std::filesystem::path path(a_Project.GetPath());
  return (path.parent_path() / (a_Project.GetName() + ".td")).string();
}

}  // namespace kd820
