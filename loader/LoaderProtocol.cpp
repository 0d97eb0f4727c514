#include "loader/LoaderProtocol.h"

#include <algorithm>
#include <chrono>
#include <cstring>
#include <thread>

#include "loader/Frame.h"
#include "loader/LoaderMessages.h"

namespace nd620 {

namespace {

std::vector<uint8_t> ModeKey() { return std::vector<uint8_t>(kModeKey, kModeKey + 6); }

void Put16(std::vector<uint8_t>& a_Bytes, uint16_t a_Value) {
  a_Bytes.push_back(static_cast<uint8_t>(a_Value));
  a_Bytes.push_back(static_cast<uint8_t>(a_Value >> 8));
}
void Put32(std::vector<uint8_t>& a_Bytes, uint32_t a_Value) {
  for (int i = 0; i < 4; ++i) a_Bytes.push_back(static_cast<uint8_t>(a_Value >> (8 * i)));
}
uint16_t Get16(const std::vector<uint8_t>& a_Bytes, std::size_t a_At) {
  return static_cast<uint16_t>(a_Bytes[a_At] | a_Bytes[a_At + 1] << 8);
}

std::string Format(const char* a_Format, const std::string& a_Value) {
  std::string out = a_Format;
  const auto at = out.find("%s");
  if (at != std::string::npos) out.replace(at, 2, a_Value);
  return out;
}

// Hardware version 1 answers as 1 or 0xFFFF.
uint16_t Normalized(uint16_t a_Hardware) { return a_Hardware == 0xFFFF ? 1 : a_Hardware; }

// Reply offsets.
constexpr std::size_t kCodeAt = 4;
constexpr std::size_t kStatusAt = 5;
constexpr std::size_t kInfoSize = 17;  // the device information reaches offset 15..16 with its sum after

}  // namespace

LoaderProtocol::LoaderProtocol(ILoaderView& a_View, TransportFactory a_Factory)
    : m_View(a_View), m_Factory(std::move(a_Factory)) {}

LoaderProtocol::~LoaderProtocol() { Close(); }

std::string LoaderProtocol::LinkError() const {
  return m_Transport != nullptr && !m_Transport->LastError().empty() ? m_Transport->LastError() : m_LastLinkError;
}

bool LoaderProtocol::Fail(const std::string& a_Text) {
  m_View.ShowError(a_Text, LinkError());
  Close();
  return false;
}

bool LoaderProtocol::FailCancelled() { return Fail(msg::kCancelled); }

void LoaderProtocol::Changed() {
  if (m_Bar.TakeRepaint()) m_View.ProgressChanged(m_Bar);
}

void LoaderProtocol::Caption(const std::string& a_Caption) {
  m_Bar.SetCaption(a_Caption);
  Changed();
}

void LoaderProtocol::Sleep(int a_Ms) {
  // In short steps, so that a cancel is seen soon.
  const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(a_Ms);
  while (!m_Cancel && std::chrono::steady_clock::now() < end) {
    std::this_thread::sleep_for(std::min<std::chrono::steady_clock::duration>(
        std::chrono::milliseconds(20), end - std::chrono::steady_clock::now()));
  }
}

bool LoaderProtocol::Connect() {
  Close();
  m_LastLinkError.clear();
  std::unique_ptr<Transport> transport = m_Factory ? m_Factory(m_Settings.m_Kind) : nullptr;
  if (transport == nullptr) {
    m_LastLinkError = "no transport of kind " + std::to_string(m_Settings.m_Kind);
    return false;
  }
  transport->Configure(m_Settings);
  if (!transport->Open()) {
    m_LastLinkError = transport->LastError();
    return false;
  }
  m_Transport = std::move(transport);
  return true;
}

void LoaderProtocol::Close() {
  if (m_Transport != nullptr) {
    if (!m_Transport->LastError().empty()) m_LastLinkError = m_Transport->LastError();
    m_Transport->Close();
  }
  m_Transport.reset();
}

bool LoaderProtocol::Exchange(uint8_t a_Code, const std::vector<uint8_t>& a_Data, std::vector<uint8_t>& a_Reply) {
  if (m_Transport == nullptr) return false;
  ++m_Exchanges;
  const std::vector<uint8_t> frame = BuildFrame(a_Code, a_Data);
  if (!m_Transport->Send(frame.data(), frame.size(), kUnits)) return false;
  if (a_Code == kGetInfo) Sleep(m_Timing.m_InfoDelayMs);
  if (!m_Transport->Receive(a_Reply, kReplyCapacity, kUnits)) return false;
  // A reply to another command, or one without a status, is not the panel answering us.
  return a_Reply.size() >= kFrameOverhead + 1 && a_Reply[kCodeAt] == a_Code;
}

bool LoaderProtocol::Command(uint8_t a_Code, const std::vector<uint8_t>& a_Data) {
  std::vector<uint8_t> reply;
  return Exchange(a_Code, a_Data, reply) && reply[kStatusAt] == 1;
}

bool LoaderProtocol::GetInformation(SlaveInfo& a_Info) {
  std::vector<uint8_t> reply;
  if (!Exchange(kGetInfo, {}, reply)) return false;
  if (reply[kStatusAt] != 1 && reply[kStatusAt] != 2) return false;
  if (reply.size() < kInfoSize) return false;
  a_Info.m_AppFlag = reply[6];
  a_Info.m_HardwareVersion = Get16(reply, 10);
  a_Info.m_GuiVersion = Get16(reply, 14);
  return true;
}

bool LoaderProtocol::EnterDownloadMode() { return Command(kEnterDownload, ModeKey()); }
bool LoaderProtocol::EnterBootMode() { return Command(kEnterBoot, ModeKey()); }
bool LoaderProtocol::Restart() { return Command(kRestart, ModeKey()); }

bool LoaderProtocol::BeginSection(uint8_t a_Kind, uint16_t a_Blocks, uint32_t a_Size, uint32_t a_Sum,
                                  uint16_t a_Version) {
  std::vector<uint8_t> data{a_Kind};
  Put16(data, a_Version);
  Put32(data, a_Size);
  Put32(data, a_Sum);
  Put16(data, a_Blocks);
  return Command(kBeginSection, data);
}

bool LoaderProtocol::DataBlock(const uint8_t* a_Bytes, std::size_t a_Count, uint16_t a_Sequence) {
  std::vector<uint8_t> data;
  data.reserve(a_Count + 2);
  Put16(data, a_Sequence);
  data.insert(data.end(), a_Bytes, a_Bytes + a_Count);
  std::vector<uint8_t> reply;
  if (!Exchange(kDataBlock, data, reply) || reply[kStatusAt] != 1) return false;
  // A reply that names a block names ours.
  return reply.size() < 9 || Get16(reply, 6) == a_Sequence;
}

bool LoaderProtocol::FinishSection() {
  std::vector<uint8_t> reply;
  m_FinishStatus = 0;
  if (!Exchange(kFinishSection, {}, reply)) return false;
  m_FinishStatus = reply[kStatusAt];
  return m_FinishStatus == 1;
}

bool LoaderProtocol::Reconnect() {
  Caption(msg::kConnecting);
  Sleep(m_Timing.m_ReconnectWaitMs);
  for (int counter = m_Timing.m_Attempts - 1; counter >= 0; --counter) {
    if (m_Cancel) return FailCancelled();
    if (Connect()) {
      if (counter == 0) return Fail(msg::kReconnectFailed);
      if (!GetInformation(m_Info)) return Fail(msg::kInfoFailed);
      return true;
    }
    Caption(msg::kConnecting);
    Sleep(m_Timing.m_RetryDelayMs);
  }
  return Fail(msg::kReconnectFailed);
}

bool LoaderProtocol::BurnSection(PackageReader& a_File, const pkg::SectionEntry& a_Entry, uint8_t a_Kind) {
  if (m_Transport == nullptr) return false;
  const std::size_t payload = static_cast<std::size_t>(m_Transport->MaxPacketSize()) - kBlockOverhead;
  a_File.Seek(a_Entry.m_Offset);
  const uint32_t blocks = a_Entry.m_Size / payload + (a_Entry.m_Size % payload != 0 ? 1 : 0);
  Caption(msg::kEraseFlash);
  if (!BeginSection(a_Kind, static_cast<uint16_t>(blocks), a_Entry.m_Size, a_Entry.m_Sum, a_Entry.m_Version)) {
    return Fail(msg::kEraseFailed);
  }
  const char* label = pkg::SectionLabel(a_Kind);
  if (label == nullptr) {
    Close();
    return false;
  }
  m_Bar.SetPos(0);
  m_Bar.SetCaption(std::string(msg::kDownloadPrefix) + label + ":");
  m_Bar.SetRange(0, static_cast<int>(blocks));
  Changed();

  std::vector<uint8_t> block(payload);
  uint16_t sequence = 0;
  uint32_t remaining = a_Entry.m_Size;
  do {
    if (m_Cancel) return FailCancelled();
    const std::size_t want = std::min<std::size_t>(remaining, payload);
    const std::size_t got = a_File.Read(block.data(), want);
    // A package shorter than its entry would give empty blocks without end.
    if (got != want) return Fail(msg::kShortPackage);
    remaining -= static_cast<uint32_t>(got);
    if (!DataBlock(block.data(), got, sequence)) {
      m_View.ShowError({}, LinkError());  // no message of its own: the detail only
      Close();
      return false;
    }
    m_Bar.StepIt();
    Changed();
    ++sequence;  // wraps at 65536
  } while (remaining > 0);

  if (!FinishSection()) {
    if (m_FinishStatus == 3) Caption(msg::kFileCheckError);
    return Fail(Format(msg::kBurnFailedFormat, label));
  }
  m_Bar.SetPos(0);
  Caption(Format(msg::kBurnSuccessFormat, label));
  return true;
}

uint16_t LoaderProtocol::PanelGuiVersion(uint16_t a_Hardware) {
  PackageReader file;
  if (!file.OpenFile(m_PackagePath)) {
    Fail(msg::kOpenFailed);
    return 0;
  }
  pkg::PackageHeader header;
  const bool read = file.ReadHeader(header) == PackageReader::Result::kOk;
  if (a_Hardware == 1 || a_Hardware == 0xFFFF) return read ? header.m_Gui1.m_Version : 0;
  if (a_Hardware == 2) return read && header.m_Format == pkg::kFormat2 ? header.m_Gui2.m_Version : 0;
  Fail(msg::kUnknownHardware);
  return 0;
}

LoaderProtocol::SizeCheck LoaderProtocol::CheckProjectSize(uint16_t a_Hardware, uint32_t a_GuiSize,
                                                           uint32_t a_UserSize, bool a_Driver1) {
  const uint64_t needed = uint64_t{a_UserSize} + 16;
  if (a_Hardware == 1 || a_Hardware == 0xFFFF) {
    const int64_t guiKB = (int64_t{a_GuiSize} + 256) / 1024 + (a_GuiSize % 1024 > 0 ? 1 : 0);
    const int64_t limit = 100352 - guiKB * 1024 + (a_Driver1 ? 0 : 6144);
    return static_cast<int64_t>(needed) <= limit ? SizeCheck::kFits : SizeCheck::kTooBig;
  }
  if (a_Hardware == 2) return needed <= 0x20000 ? SizeCheck::kFits : SizeCheck::kTooBig;
  return SizeCheck::kUnknownHardware;
}

bool LoaderProtocol::UpdateGui() {
  if (!Connect()) return Fail(msg::kInitialFailed);
  if (!GetInformation(m_Info)) return Fail(msg::kInfoFailed);
  if (m_Info.m_AppFlag == 1) {
    if (!EnterBootMode()) return Fail(msg::kBootFailed);
    if (!Reconnect()) return false;
  }
  PackageReader file;
  if (!file.OpenFile(m_PackagePath)) return Fail(msg::kOpenFailed);
  pkg::PackageHeader header;
  const PackageReader::Result read = file.ReadHeader(header);
  const uint16_t hardware = m_Info.m_HardwareVersion;
  pkg::SectionEntry gui;
  if (hardware == 1 || hardware == 0xFFFF) {
    if (read != PackageReader::Result::kOk) return Fail(msg::kWrongFormat);
    gui = header.m_Gui1;
  } else if (hardware == 2) {
    if (read != PackageReader::Result::kOk || header.m_Format != pkg::kFormat2) return Fail(msg::kWrongFormat);
    gui = header.m_Gui2;
  } else {
    return Fail(msg::kUnknownHardware);
  }
  if (!EnterDownloadMode()) return Fail(msg::kDownloadModeFailed);
  if (!BurnSection(file, gui, static_cast<uint8_t>(pkg::SectionKind::kGui))) return false;
  Close();
  return true;
}

bool LoaderProtocol::DownloadProject() {
  if (!Connect()) return Fail(msg::kInitialFailed);
  if (!GetInformation(m_Info)) return Fail(msg::kInfoFailed);
  const uint16_t hardware = Normalized(m_Info.m_HardwareVersion);
  if (hardware != 1 && hardware != 2) return Fail(msg::kUnknownHardware);

  const bool keepFirmware = [&] {
    if (m_ForceGui || m_Info.m_AppFlag == 0) return false;
    return m_Info.m_GuiVersion >= PanelGuiVersion(hardware);
  }();
  // The version lookup has said so when the package does not open.
  if (m_Transport == nullptr) return false;
  if (!keepFirmware) {
    Close();
    if (!UpdateGui()) return false;
    if (!Reconnect()) return false;
    if (m_Info.m_AppFlag != 1) {
      Close();
      return false;
    }
  }

  if (!EnterDownloadMode()) return Fail(msg::kDownloadModeFailed);
  PackageReader file;
  if (!file.OpenFile(m_PackagePath)) return Fail(msg::kOpenFailed);
  pkg::PackageHeader header;
  const PackageReader::Result read = file.ReadHeader(header);
  if (read == PackageReader::Result::kWrongFormat) return Fail(msg::kWrongFormat);
  if (read != PackageReader::Result::kOk) return Fail(msg::kShortPackage);
  const uint32_t guiSize =
      header.m_Format == pkg::kFormat2 && hardware == 2 ? header.m_Gui2.m_Size : header.m_Gui1.m_Size;

  std::vector<pkg::SectionEntry> drivers;
  if (header.m_DriverCount >= 1 &&
      file.ReadDriverTable(header.m_DriverTableOffset, header.m_DriverCount, drivers) != PackageReader::Result::kOk) {
    return Fail(msg::kShortPackage);
  }
  const bool driver1 = drivers.size() > 1 && drivers[1].m_Size != 0;
  if (CheckProjectSize(hardware, guiSize, header.m_UserData.m_Size, driver1) != SizeCheck::kFits) {
    return Fail(msg::kTooBig);
  }
  if (!BurnSection(file, header.m_UserData, static_cast<uint8_t>(pkg::SectionKind::kUserData))) return false;
  for (std::size_t i = 0; i < drivers.size(); ++i) {
    if (drivers[i].m_Size == 0) continue;
    const auto kind = i == 0 ? pkg::SectionKind::kDriver0 : pkg::SectionKind::kDriverN;
    if (!BurnSection(file, drivers[i], static_cast<uint8_t>(kind))) return false;
  }
  Restart();  // its reply is not judged
  Close();
  return true;
}

}  // namespace nd620
