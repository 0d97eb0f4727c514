#include "loader/UdpTransport.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <charconv>
#include <cstring>

#include "loader/Frame.h"

namespace nd620 {

std::string UdpTransport::NormalizeAddress(const std::string& a_Address) {
  std::string out;
  std::size_t start = 0;
  for (int part = 0; part < 4; ++part) {
    const std::size_t dot = a_Address.find('.', start);
    const std::size_t end = part == 3 ? a_Address.size() : dot;
    if (end == std::string::npos || end == start || (part == 3 && dot != std::string::npos)) return {};
    unsigned long value = 0;
    const auto [ptr, ec] = std::from_chars(a_Address.data() + start, a_Address.data() + end, value);
    if (ec != std::errc() || ptr != a_Address.data() + end) return {};
    out += (part ? "." : "") + std::to_string(value % 256);
    start = end + 1;
  }
  return out;
}

bool UdpTransport::ParseReply(const uint8_t* a_Bytes, std::size_t a_Count) {
  std::size_t length = 0;
  return CheckReplyFrame(a_Bytes, a_Count, length);
}

bool UdpTransport::Configure(const TransportSettings& a_Settings) {
  m_Address = a_Settings.m_Address;
  m_Port = a_Settings.m_Port;
  m_UnitMs = a_Settings.m_UnitMs > 0 ? a_Settings.m_UnitMs : kDefaultUnitMs;
  return true;
}

bool UdpTransport::Open() {
  Close();
  const std::string address = NormalizeAddress(m_Address);
  unsigned port = 0;
  const auto [ptr, ec] = std::from_chars(m_Port.data(), m_Port.data() + m_Port.size(), port);
  if (address.empty()) return Fail("not an IPv4 address: \"" + m_Address + "\"");
  if (ec != std::errc() || ptr != m_Port.data() + m_Port.size() || port > 65535) {
    return Fail("not a UDP port: \"" + m_Port + "\"");
  }
  sockaddr_in destination{};
  destination.sin_family = AF_INET;
  destination.sin_port = htons(static_cast<uint16_t>(port));
  if (::inet_pton(AF_INET, address.c_str(), &destination.sin_addr) != 1) return Fail("not an IPv4 address: " + address);
  m_Socket = ::socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0);
  if (m_Socket < 0) return Fail(std::string("cannot create a UDP socket: ") + std::strerror(errno));
  // Connected, so that the kernel passes only datagrams from the panel's address and port.
  if (::connect(m_Socket, reinterpret_cast<const sockaddr*>(&destination), sizeof destination) != 0) {
    const int error = errno;
    Close();
    return Fail("cannot reach " + address + ":" + m_Port + ": " + std::strerror(error));
  }
  return true;
}

bool UdpTransport::Close() {
  if (m_Socket >= 0) ::close(m_Socket);
  m_Socket = -1;
  return true;
}

bool UdpTransport::Send(const uint8_t* a_Bytes, std::size_t a_Count, int /*a_Units*/) {
  if (m_Socket < 0) return Fail("not open");
  if (::send(m_Socket, a_Bytes, a_Count, 0) < 0) return Fail(std::string("send: ") + std::strerror(errno));
  return true;
}

bool UdpTransport::Receive(std::vector<uint8_t>& a_Reply, std::size_t a_Capacity, int a_Units) {
  if (m_Socket < 0) return Fail("not open");
  pollfd fd{m_Socket, POLLIN, 0};
  const int ready = ::poll(&fd, 1, a_Units * m_UnitMs);
  if (ready == 0) return Fail("no reply from " + m_Address + ":" + m_Port);
  if (ready < 0) return Fail(std::string("poll: ") + std::strerror(errno));
  a_Reply.resize(a_Capacity);
  const ssize_t got = ::recv(m_Socket, a_Reply.data(), a_Reply.size(), 0);
  if (got <= 0) {
    a_Reply.clear();
    // A refused port shows up here as the error of an earlier send.
    return Fail(got < 0 ? std::string("receive: ") + std::strerror(errno) : "empty datagram");
  }
  a_Reply.resize(static_cast<std::size_t>(got));
  if (!ParseReply(a_Reply.data(), a_Reply.size())) return Fail("malformed reply");
  return true;
}

}  // namespace nd620
