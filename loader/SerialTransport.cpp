#include "loader/SerialTransport.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/ioctl.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstring>

namespace nd620 {

namespace {

std::string Errno(const std::string& a_What) { return a_What + ": " + std::strerror(errno); }

}  // namespace

bool SerialTransport::SpeedFor(int32_t a_BaudRate, speed_t& a_Speed) {
  static constexpr std::pair<int32_t, speed_t> kTable[] = {
      {115200, B115200}, {57600, B57600}, {38400, B38400}, {19200, B19200}, {9600, B9600},
      {4800, B4800},     {2400, B2400},   {1200, B1200},   {300, B300},     {150, B150},
      {134, B134},       {110, B110},     {75, B75}};
  for (const auto& [rate, speed] : kTable) {
    if (rate == a_BaudRate) {
      a_Speed = speed;
      return true;
    }
  }
  return false;
}

bool SerialTransport::Configure(const TransportSettings& a_Settings) {
  m_ComName = a_Settings.m_ComName;
  m_BaudRate = a_Settings.m_BaudRate;
  m_UnitMs = a_Settings.m_UnitMs > 0 ? a_Settings.m_UnitMs : kDefaultUnitMs;
  m_IntervalMs = a_Settings.m_SerialIntervalMs > 0 ? a_Settings.m_SerialIntervalMs : 1;
  return true;
}

bool SerialTransport::Open() {
  Close();
  m_Fd = ::open(m_ComName.c_str(), O_RDWR | O_NOCTTY | O_CLOEXEC | O_NONBLOCK);
  if (m_Fd < 0) {
    const std::string error = Errno("cannot open " + m_ComName);
    return Fail(errno == EACCES ? error + " (is the user in the dialout group?)" : error);
  }
  if (::ioctl(m_Fd, TIOCEXCL) != 0) {
    const std::string error = Errno("cannot take " + m_ComName + " for this program alone");
    Close();
    return Fail(error);
  }
  termios tio{};
  if (::tcgetattr(m_Fd, &tio) != 0) {
    const std::string error = Errno(m_ComName + " is not a serial port");
    Close();
    return Fail(error);
  }
  speed_t speed{};
  if (SpeedFor(m_BaudRate, speed)) {
    ::cfsetispeed(&tio, speed);
    ::cfsetospeed(&tio, speed);
  }
  // 8 data bits, no parity, one stop bit, binary, no flow control of either kind.
  ::cfmakeraw(&tio);
  tio.c_cflag &= ~static_cast<tcflag_t>(PARENB | CSTOPB | CSIZE | CRTSCTS);
  tio.c_cflag |= CS8 | CLOCAL | CREAD;
  tio.c_iflag &= ~static_cast<tcflag_t>(IXON | IXOFF | IXANY);
  tio.c_cc[VMIN] = 0;
  tio.c_cc[VTIME] = 0;
  if (::tcsetattr(m_Fd, TCSANOW, &tio) != 0) {
    const std::string error = Errno("cannot set up " + m_ComName);
    Close();
    return Fail(error);
  }
  ::tcflush(m_Fd, TCIOFLUSH);
  return true;
}

bool SerialTransport::Close() {
  if (m_Fd >= 0) {
    ::ioctl(m_Fd, TIOCNXCL);
    ::close(m_Fd);
  }
  m_Fd = -1;
  return true;
}

bool SerialTransport::Send(const uint8_t* a_Bytes, std::size_t a_Count, int a_Units) {
  if (m_Fd < 0) return Fail("not open");
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(a_Units * m_UnitMs);
  std::size_t done = 0;
  while (done < a_Count) {
    const ssize_t n = ::write(m_Fd, a_Bytes + done, a_Count - done);
    if (n > 0) {
      done += static_cast<std::size_t>(n);
      continue;
    }
    if (n < 0 && errno != EAGAIN && errno != EINTR) return Fail(Errno("write to " + m_ComName));
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
    if (left.count() <= 0) return Fail("write to " + m_ComName + " timed out");
    pollfd fd{m_Fd, POLLOUT, 0};
    ::poll(&fd, 1, static_cast<int>(left.count()));
  }
  return true;
}

bool SerialTransport::Receive(std::vector<uint8_t>& a_Reply, std::size_t a_Capacity, int a_Units) {
  a_Reply.clear();
  if (m_Fd < 0) return Fail("not open");
  m_Decoder = FrameDecoder(a_Capacity);
  for (;;) {
    // One read of up to 10 bytes: the whole time-out for its first byte, then at most the
    // interval between two bytes.
    uint8_t chunk[kReadChunk];
    std::size_t got = 0;
    int wait = a_Units * m_UnitMs;
    while (got < kReadChunk) {
      pollfd fd{m_Fd, POLLIN, 0};
      const int ready = ::poll(&fd, 1, wait);
      if (ready < 0 && errno == EINTR) continue;
      if (ready < 0) return Fail(Errno("read from " + m_ComName));
      if (ready == 0) break;
      const ssize_t n = ::read(m_Fd, chunk + got, kReadChunk - got);
      if (n < 0 && (errno == EAGAIN || errno == EINTR)) continue;
      // A pseudo-terminal whose other side is gone reads as an error (EIO) or as nothing.
      if (n <= 0) return Fail(n < 0 ? Errno("read from " + m_ComName) : m_ComName + " closed");
      got += static_cast<std::size_t>(n);
      wait = m_IntervalMs;
    }
    if (got == 0) return Fail("no reply on " + m_ComName);
    for (std::size_t i = 0; i < got; ++i) {
      const FrameDecoder::Status status = m_Decoder.Feed(chunk[i]);
      if (status == FrameDecoder::kComplete) {
        a_Reply = m_Decoder.Bytes();
        return true;
      }
      if (status == FrameDecoder::kAfterEnd || status == FrameDecoder::kBadSum) {
        return Fail("malformed reply on " + m_ComName);
      }
    }
    // A short read ends the reply; what is not a whole frame by then is refused.
    if (got < kReadChunk) return Fail("incomplete reply on " + m_ComName);
  }
}

}  // namespace nd620
