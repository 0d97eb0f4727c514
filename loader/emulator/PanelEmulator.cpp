#include "loader/emulator/PanelEmulator.h"

#include <chrono>
#include <cstring>
#include <thread>

#include "loader/Frame.h"

namespace nd620 {

namespace {

constexpr uint8_t kFailed = 0;
constexpr uint8_t kOk = 1;
constexpr uint8_t kCheckError = 3;

uint16_t Get16(const std::vector<uint8_t>& a_Bytes, std::size_t a_At) {
  return static_cast<uint16_t>(a_Bytes[a_At] | a_Bytes[a_At + 1] << 8);
}
uint32_t Get32(const std::vector<uint8_t>& a_Bytes, std::size_t a_At) {
  return uint32_t{Get16(a_Bytes, a_At)} | uint32_t{Get16(a_Bytes, a_At + 2)} << 16;
}
bool HasKey(const std::vector<uint8_t>& a_Request) {
  return a_Request.size() == 12 && std::memcmp(a_Request.data() + 5, kModeKey, 6) == 0;
}

}  // namespace

PanelEmulator::PanelEmulator(const EmulatorConfig& a_Config)
    : m_Config(a_Config), m_AppFlag(a_Config.m_AppFlag), m_GuiVersion(a_Config.m_GuiVersion) {}

const ReceivedSection* PanelEmulator::Last(uint8_t a_Kind) const {
  for (auto it = m_Finished.rbegin(); it != m_Finished.rend(); ++it) {
    if (it->m_Kind == a_Kind) return &*it;
  }
  return nullptr;
}

std::vector<uint8_t> PanelEmulator::Reply(uint8_t a_Code, std::vector<uint8_t> a_Data) {
  std::vector<uint8_t> reply = BuildFrame(a_Code, a_Data);
  if (static_cast<int>(a_Code) == m_Config.m_BadSumCode && !m_BadSumDone) {
    m_BadSumDone = true;
    reply.back() = static_cast<uint8_t>(reply.back() + 1);
  }
  return reply;
}

uint8_t PanelEmulator::BeginSection(const std::vector<uint8_t>& a_Request) {
  if (!m_DownloadMode || a_Request.size() != 19) return kFailed;
  m_Current = ReceivedSection{};
  m_Current.m_Kind = a_Request[5];
  m_Current.m_Version = Get16(a_Request, 6);
  m_Current.m_Size = Get32(a_Request, 8);
  m_Current.m_Sum = Get32(a_Request, 12);
  m_Blocks = Get16(a_Request, 16);
  if (m_Current.m_Kind < 1 || m_Current.m_Kind > 4) return kFailed;
  m_NextSequence = 0;
  m_Broken = false;
  m_Open = true;
  m_Log.push_back("begin kind " + std::to_string(m_Current.m_Kind) + " size " + std::to_string(m_Current.m_Size) +
                  " blocks " + std::to_string(m_Blocks));
  return kOk;
}

uint8_t PanelEmulator::DataBlock(const std::vector<uint8_t>& a_Request, uint16_t& a_Sequence) {
  if (!m_Open || a_Request.size() < 8) return kFailed;
  a_Sequence = Get16(a_Request, 5);
  const std::size_t count = a_Request.size() - 8;
  if (a_Sequence != static_cast<uint16_t>(m_NextSequence) || m_Current.m_Bytes.size() + count > m_Current.m_Size) {
    m_Broken = true;
    return kFailed;
  }
  m_Current.m_Bytes.insert(m_Current.m_Bytes.end(), a_Request.begin() + 7, a_Request.end() - 1);
  ++m_NextSequence;
  return kOk;
}

uint8_t PanelEmulator::FinishSection() {
  if (!m_Open) return kFailed;
  m_Open = false;
  uint32_t sum = 0;
  for (uint8_t byte : m_Current.m_Bytes) sum += byte;
  // A section of no bytes still takes one empty block.
  const uint16_t blocks = m_Current.m_Size == 0 ? 1 : m_Blocks;
  if (m_Broken || m_Current.m_Bytes.size() != m_Current.m_Size || sum != m_Current.m_Sum ||
      static_cast<uint16_t>(m_NextSequence) != blocks) {
    m_Log.push_back("check error kind " + std::to_string(m_Current.m_Kind));
    return kCheckError;
  }
  if (m_Current.m_Kind == 1) {
    // New firmware: the panel runs it after its next start.
    m_AppFlag = 1;
    m_GuiVersion = m_Current.m_Version;
  }
  m_Log.push_back("finished kind " + std::to_string(m_Current.m_Kind) + " size " + std::to_string(m_Current.m_Size));
  m_Finished.push_back(std::move(m_Current));
  m_Current = ReceivedSection{};
  return kOk;
}

std::optional<std::vector<uint8_t>> PanelEmulator::Handle(const std::vector<uint8_t>& a_Request) {
  std::size_t length = 0;
  if (!CheckReplyFrame(a_Request.data(), a_Request.size(), length) || length < kFrameOverhead ||
      length != a_Request.size()) {
    return std::nullopt;
  }
  const uint8_t code = a_Request[4];
  const int seen = ++m_Seen[code];
  if (m_Config.m_DelayMs > 0) std::this_thread::sleep_for(std::chrono::milliseconds(m_Config.m_DelayMs));
  if (static_cast<int>(code) == m_Config.m_DropReplyCode && seen == m_Config.m_DropReplyNth) {
    m_Log.push_back("dropped reply to " + std::to_string(code));
    return std::nullopt;
  }
  const bool refuse = static_cast<int>(code) == m_Config.m_RefuseCode;
  switch (code) {
    case kGetInfo: {
      std::vector<uint8_t> data(11, 0);
      data[0] = refuse ? kFailed : kOk;
      data[1] = m_AppFlag;
      data[5] = static_cast<uint8_t>(m_Config.m_HardwareVersion);
      data[6] = static_cast<uint8_t>(m_Config.m_HardwareVersion >> 8);
      data[9] = static_cast<uint8_t>(m_GuiVersion);
      data[10] = static_cast<uint8_t>(m_GuiVersion >> 8);
      return Reply(code, data);
    }
    case kEnterDownload:
      if (!refuse && HasKey(a_Request)) m_DownloadMode = true;
      return Reply(code, {static_cast<uint8_t>(m_DownloadMode && !refuse ? kOk : kFailed)});
    case kEnterBoot: {
      const bool ok = !refuse && HasKey(a_Request);
      if (ok) {
        m_AppFlag = 2;
        m_DownloadMode = false;
      }
      return Reply(code, {ok ? kOk : kFailed});
    }
    case kRestart: {
      const bool ok = !refuse && HasKey(a_Request);
      if (ok) {
        ++m_Restarts;
        m_DownloadMode = false;
        m_Log.push_back("restart");
      }
      return Reply(code, {ok ? kOk : kFailed});
    }
    case kBeginSection:
      return Reply(code, {refuse ? kFailed : BeginSection(a_Request)});
    case kDataBlock: {
      uint16_t sequence = 0;
      const uint8_t status = refuse ? kFailed : DataBlock(a_Request, sequence);
      if (m_Config.m_WrongSequence) sequence = static_cast<uint16_t>(sequence + 1);
      return Reply(code, {status, static_cast<uint8_t>(sequence), static_cast<uint8_t>(sequence >> 8)});
    }
    case kFinishSection:
      return Reply(code, {refuse ? kFailed : FinishSection()});
    default:
      return Reply(code, {kFailed});
  }
}

}  // namespace nd620
