#include "tests/loader/LoaderTestSupport.h"

#include "loader/Frame.h"

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <stdexcept>

extern char** environ;

namespace looptest {

std::string BinaryDir() { return KD820_TEST_BINARY_DIR; }

bool EmulatedLink::Send(const uint8_t* a_Bytes, std::size_t a_Count, int) {
  std::vector<uint8_t> frame(a_Bytes, a_Bytes + a_Count);
  if (m_Sent != nullptr) m_Sent->push_back(frame);
  m_Reply = m_Panel.Handle(frame);
  return true;
}

bool EmulatedLink::Receive(std::vector<uint8_t>& a_Reply, std::size_t a_Capacity, int) {
  if (!m_Reply) return Fail("no reply");
  a_Reply = std::move(*m_Reply);
  m_Reply.reset();
  if (a_Reply.size() > a_Capacity) a_Reply.resize(a_Capacity);
  std::size_t length = 0;
  if (!nd620::CheckReplyFrame(a_Reply.data(), a_Reply.size(), length)) return Fail("malformed reply");
  return true;
}

void RecordingView::ProgressChanged(const nd620::ProgressBar& a_Bar) {
  m_Texts.push_back(a_Bar.Text().empty() ? a_Bar.GetCaption() : a_Bar.Text());
  m_Captions.push_back(a_Bar.GetCaption());
}

void RecordingView::ShowError(const std::string& a_Text, const std::string&) {
  if (!a_Text.empty()) m_Messages.push_back(a_Text);
}

bool RecordingView::Saw(const std::string& a_Text) const {
  for (const std::string& text : m_Texts) {
    if (text == a_Text) return true;
  }
  return false;
}

Bench::Bench(const nd620::EmulatorConfig& a_Config, int a_MaxPacket) : m_Panel(a_Config) {
  nd620::TransportFactory factory = [this, a_MaxPacket](int32_t a_Kind) -> std::unique_ptr<nd620::Transport> {
    if (a_Kind != nd620::kUsb || m_OpensLeft == 0) return nullptr;
    if (m_OpensLeft > 0) --m_OpensLeft;
    return std::make_unique<EmulatedLink>(m_Panel, a_MaxPacket, &m_Sent);
  };
  m_Protocol = std::make_unique<nd620::LoaderProtocol>(m_View, factory);
  nd620::ProtocolTiming timing;
  timing.m_InfoDelayMs = 0;
  timing.m_ReconnectWaitMs = 0;
  timing.m_RetryDelayMs = 0;
  timing.m_Attempts = 5;
  m_Protocol->SetTiming(timing);
}

std::vector<std::vector<uint8_t>> Bench::Sent(uint8_t a_Code) const {
  std::vector<std::vector<uint8_t>> frames;
  for (const auto& frame : m_Sent) {
    if (frame.size() > 4 && frame[4] == a_Code) frames.push_back(frame);
  }
  return frames;
}

std::vector<uint8_t> Pattern(std::size_t a_Size, uint8_t a_Seed) {
  std::vector<uint8_t> bytes(a_Size);
  uint32_t x = a_Seed * 2654435761u + 1;
  for (auto& b : bytes) {
    x = x * 1103515245u + 12345u;
    b = static_cast<uint8_t>(x >> 16);
  }
  return bytes;
}

std::vector<uint8_t> MakePackage(const std::vector<uint8_t>& a_User, const std::vector<std::vector<uint8_t>>& a_Drivers,
                                 const Source& a_Gui1, const std::optional<Source>& a_Gui2, uint32_t a_Format) {
  const std::size_t headerSize = a_Format == 1 ? pkg::kHeaderSize1 : pkg::kHeaderSize2;
  std::vector<uint8_t> out(headerSize + a_Drivers.size() * pkg::kEntrySize, 0);
  const auto append = [&out](const std::vector<uint8_t>& a_Bytes, uint16_t a_Version) {
    pkg::SectionEntry entry;
    entry.m_Offset = static_cast<uint32_t>(out.size());
    for (uint8_t b : a_Bytes) entry.m_Sum += b;
    out.insert(out.end(), a_Bytes.begin(), a_Bytes.end());
    out.insert(out.end(), (4 - a_Bytes.size() % 4) % 4, 0);
    entry.m_Size = static_cast<uint32_t>(out.size() - entry.m_Offset);
    entry.m_Version = a_Version;
    return entry;
  };
  pkg::PackageHeader header;
  header.m_UserData = append(a_User, 0);
  std::vector<pkg::SectionEntry> drivers;
  for (const auto& driver : a_Drivers) drivers.push_back(driver.empty() ? pkg::SectionEntry{} : append(driver, 0));
  header.m_Gui1 = append(a_Gui1.m_Bytes, a_Gui1.m_Version);
  if (a_Gui2) header.m_Gui2 = append(a_Gui2->m_Bytes, a_Gui2->m_Version);
  header.m_DriverCount = static_cast<uint32_t>(a_Drivers.size());
  header.m_DriverTableOffset = static_cast<uint32_t>(headerSize);
  const auto bytes = header.Encode2();
  std::copy(bytes.begin(), bytes.begin() + 80, out.begin());
  if (a_Format == 2) {
    std::copy(bytes.begin() + 80, bytes.end(), out.begin() + 80);
  } else {
    pkg::SectionEntry::Put32(out.data() + pkg::kFormatOffset, 1);
    pkg::SectionEntry::Put32(out.data() + pkg::kDriverCount1, header.m_DriverCount);
    pkg::SectionEntry::Put32(out.data() + pkg::kDriverTable1, header.m_DriverTableOffset);
  }
  if (a_Format != 1 && a_Format != 2) pkg::SectionEntry::Put32(out.data() + pkg::kFormatOffset, a_Format);
  for (std::size_t i = 0; i < drivers.size(); ++i) drivers[i].Encode(out.data() + headerSize + i * pkg::kEntrySize);
  return out;
}

pid_t StartProgram(const std::string& a_Program, const std::vector<std::string>& a_Args, const std::string& a_ErrFile) {
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
  posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
  posix_spawn_file_actions_addopen(&actions, 2, a_ErrFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
  std::vector<std::string> args = {a_Program};
  args.insert(args.end(), a_Args.begin(), a_Args.end());
  std::vector<char*> argv;
  for (auto& a : args) argv.push_back(a.data());
  argv.push_back(nullptr);
  pid_t pid = -1;
  const int rc = posix_spawn(&pid, a_Program.c_str(), &actions, nullptr, argv.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  if (rc != 0) throw std::runtime_error("cannot start " + a_Program);
  return pid;
}

int WaitProgram(pid_t a_Pid) {
  int status = 0;
  ::waitpid(a_Pid, &status, 0);
  return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
}

EmulatorProcess::EmulatorProcess(const std::vector<std::string>& a_Args) {
  int pipeFds[2];
  if (::pipe(pipeFds) != 0) throw std::runtime_error("pipe");
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_adddup2(&actions, pipeFds[1], 1);
  posix_spawn_file_actions_addclose(&actions, pipeFds[0]);
  posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
  const std::string program = BinaryDir() + "/panel-emulator";
  std::vector<std::string> args = {program};
  args.insert(args.end(), a_Args.begin(), a_Args.end());
  std::vector<char*> argv;
  for (auto& a : args) argv.push_back(a.data());
  argv.push_back(nullptr);
  const int rc = posix_spawn(&m_Pid, program.c_str(), &actions, nullptr, argv.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  ::close(pipeFds[1]);
  if (rc != 0) {
    ::close(pipeFds[0]);
    throw std::runtime_error("cannot start " + program);
  }
  std::string line;
  char c = 0;
  while (::read(pipeFds[0], &c, 1) == 1 && c != '\n') line += c;
  ::close(pipeFds[0]);
  const auto space = line.find(' ');
  if (space == std::string::npos) throw std::runtime_error("panel-emulator said: " + line);
  m_Where = line.substr(space + 1);
}

EmulatorProcess::~EmulatorProcess() {
  if (m_Pid > 0) {
    ::kill(m_Pid, SIGTERM);
    int status = 0;
    ::waitpid(m_Pid, &status, 0);
  }
}

int EmulatorProcess::Wait() {
  int status = 0;
  ::waitpid(m_Pid, &status, 0);
  m_Pid = -1;
  return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
}

}  // namespace looptest
