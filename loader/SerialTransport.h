#pragma once
// The serial transport over termios: 8N1, raw, no flow control; replies read 10 bytes at a
// time through the stream decoder. Works on pseudo-terminals as on real ports.
#include <termios.h>

#include "loader/Frame.h"
#include "loader/Transport.h"

namespace nd620 {

class SerialTransport : public Transport {
 public:
  static constexpr int kMaxPacket = 512;
  static constexpr int kDefaultUnitMs = 500;
  static constexpr std::size_t kReadChunk = 10;

  ~SerialTransport() override { Close(); }
  int MaxPacketSize() const override { return kMaxPacket; }
  bool Receive(std::vector<uint8_t>& a_Reply, std::size_t a_Capacity, int a_Units) override;
  bool Close() override;
  bool Configure(const TransportSettings& a_Settings) override;
  bool Open() override;
  bool Send(const uint8_t* a_Bytes, std::size_t a_Count, int a_Units) override;

  // The termios speed of a rate of the table (115200 down to 75); false for any other rate,
  // which leaves the port's rate as it is.
  static bool SpeedFor(int32_t a_BaudRate, speed_t& a_Speed);
  // What the last receive's decoder stored.
  const FrameDecoder& Decoder() const { return m_Decoder; }

 private:
  std::string m_ComName;
  int32_t m_BaudRate = 115200;
  int m_UnitMs = kDefaultUnitMs;
  int m_IntervalMs = 1;
  int m_Fd = -1;
  FrameDecoder m_Decoder;
};

}  // namespace nd620
