#include "loader/emulator/EmulatorServer.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <poll.h>
#include <stdlib.h>
#include <sys/socket.h>
#include <termios.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstring>
#include <filesystem>
#include <fstream>

#include "loader/Frame.h"

namespace nd620 {

EmulatorServer::~EmulatorServer() {
  if (m_Udp >= 0) ::close(m_Udp);
  if (m_Slave >= 0) ::close(m_Slave);
  if (m_Master >= 0) ::close(m_Master);
}

bool EmulatorServer::OpenUdp(int a_Port, std::string& a_Error) {
  m_Udp = ::socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0);
  if (m_Udp < 0) {
    a_Error = std::string("socket: ") + std::strerror(errno);
    return false;
  }
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_port = htons(static_cast<uint16_t>(a_Port));
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  if (::bind(m_Udp, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0) {
    a_Error = "cannot bind 127.0.0.1:" + std::to_string(a_Port) + ": " + std::strerror(errno);
    return false;
  }
  socklen_t size = sizeof address;
  ::getsockname(m_Udp, reinterpret_cast<sockaddr*>(&address), &size);
  m_Port = ntohs(address.sin_port);
  return true;
}

bool EmulatorServer::OpenPty(std::string& a_Error) {
  m_Master = ::posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);
  if (m_Master < 0 || ::grantpt(m_Master) != 0 || ::unlockpt(m_Master) != 0) {
    a_Error = std::string("cannot make a pseudo-terminal: ") + std::strerror(errno);
    return false;
  }
  char name[128];
  if (::ptsname_r(m_Master, name, sizeof name) != 0) {
    a_Error = "ptsname failed";
    return false;
  }
  m_SlavePath = name;
  // Held open, so that the loader may close and open its side again (a closed slave makes the
  // master read EIO), and raw from the start: nothing the loader sends is echoed back to it.
  m_Slave = ::open(name, O_RDWR | O_NOCTTY | O_CLOEXEC);
  if (m_Slave < 0) {
    a_Error = std::string("cannot open ") + name + ": " + std::strerror(errno);
    return false;
  }
  termios tio{};
  ::tcgetattr(m_Slave, &tio);
  ::cfmakeraw(&tio);
  ::tcsetattr(m_Slave, TCSANOW, &tio);
  ::tcgetattr(m_Master, &tio);
  ::cfmakeraw(&tio);
  ::tcsetattr(m_Master, TCSANOW, &tio);
  return true;
}

void EmulatorServer::Answer(const std::vector<uint8_t>& a_Request,
                            const std::function<void(const std::vector<uint8_t>&)>& a_Send) {
  const auto reply = m_Panel.Handle(a_Request);
  if (reply) a_Send(*reply);
}

void EmulatorServer::Run(int a_Restarts, int a_IdleMs, const std::function<void(const PanelEmulator&)>& a_AfterRequest) {
  using Clock = std::chrono::steady_clock;
  auto last = Clock::now();
  FrameDecoder decoder;
  while (!m_Stop) {
    if (a_Restarts > 0 && m_Panel.Restarts() >= a_Restarts) return;
    if (a_IdleMs > 0 && Clock::now() - last > std::chrono::milliseconds(a_IdleMs)) return;
    pollfd fd{m_Udp >= 0 ? m_Udp : m_Master, POLLIN, 0};
    const int ready = ::poll(&fd, 1, 50);
    if (ready <= 0) continue;
    if (m_Udp >= 0) {
      static thread_local uint8_t datagram[65536];
      sockaddr_in from{};
      socklen_t size = sizeof from;
      const ssize_t got = ::recvfrom(m_Udp, datagram, sizeof datagram, 0, reinterpret_cast<sockaddr*>(&from), &size);
      if (got <= 0) continue;
      const std::vector<uint8_t> request(datagram, datagram + got);
      last = Clock::now();
      Answer(request, [&](const std::vector<uint8_t>& a_Reply) {
        ::sendto(m_Udp, a_Reply.data(), a_Reply.size(), 0, reinterpret_cast<sockaddr*>(&from), size);
      });
      if (a_AfterRequest) a_AfterRequest(m_Panel);
      continue;
    }
    uint8_t bytes[1024];
    const ssize_t got = ::read(m_Master, bytes, sizeof bytes);
    if (got <= 0) {
      ::usleep(5000);
      continue;
    }
    last = Clock::now();
    for (ssize_t i = 0; i < got; ++i) {
      const FrameDecoder::Status status = decoder.Feed(bytes[i]);
      if (status == FrameDecoder::kComplete) {
        Answer(decoder.Bytes(), [&](const std::vector<uint8_t>& a_Reply) {
          std::size_t done = 0;
          while (done < a_Reply.size()) {
            const ssize_t n = ::write(m_Master, a_Reply.data() + done, a_Reply.size() - done);
            if (n <= 0) break;
            done += static_cast<std::size_t>(n);
          }
        });
        decoder.Reset();
        if (a_AfterRequest) a_AfterRequest(m_Panel);
      } else if (status == FrameDecoder::kBadSum || status == FrameDecoder::kAfterEnd) {
        decoder.Reset();
      }
    }
  }
}

bool WriteReceived(const PanelEmulator& a_Panel, const std::string& a_Directory, std::string& a_Error) {
  std::error_code ec;
  std::filesystem::create_directories(a_Directory, ec);
  const std::filesystem::path dir(a_Directory);
  static const char* const kNames[] = {"", "gui.bin", "user-data.bin", "driver0.bin", "driver1.bin"};
  std::ofstream list(dir / "sections.txt", std::ios::trunc);
  for (uint8_t kind = 1; kind <= 4; ++kind) {
    const ReceivedSection* section = a_Panel.Last(kind);
    if (section == nullptr) continue;
    std::ofstream out(dir / kNames[kind], std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(section->m_Bytes.data()), static_cast<std::streamsize>(section->m_Bytes.size()));
    if (!out) {
      a_Error = "cannot write " + (dir / kNames[kind]).string();
      return false;
    }
  }
  for (const ReceivedSection& section : a_Panel.Finished()) {
    list << int{section.m_Kind} << " " << section.m_Version << " " << section.m_Size << " " << section.m_Sum << "\n";
  }
  list << "restarts " << a_Panel.Restarts() << "\n";
  if (!list) {
    a_Error = "cannot write " + (dir / "sections.txt").string();
    return false;
  }
  return true;
}

}  // namespace nd620
