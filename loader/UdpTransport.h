#pragma once
// The network transport: one datagram per frame to the panel's address and port.
#include "loader/Transport.h"

namespace nd620 {

class UdpTransport : public Transport {
 public:
  static constexpr int kMaxPacket = 1024;
  static constexpr int kDefaultUnitMs = 500;

  ~UdpTransport() override { Close(); }
  int MaxPacketSize() const override { return kMaxPacket; }
  bool Receive(std::vector<uint8_t>& a_Reply, std::size_t a_Capacity, int a_Units) override;
  bool Close() override;
  bool Configure(const TransportSettings& a_Settings) override;
  bool Open() override;
  bool Send(const uint8_t* a_Bytes, std::size_t a_Count, int a_Units) override;

  // The address text with each part taken modulo 256 ("10.0.0.300" -> "10.0.0.44"); empty when
  // it is not four decimal numbers.
  static std::string NormalizeAddress(const std::string& a_Address);
  // A datagram judged as a reply: the checks of a whole reply frame.
  static bool ParseReply(const uint8_t* a_Bytes, std::size_t a_Count);

 private:
  std::string m_Address;
  std::string m_Port;
  int m_UnitMs = kDefaultUnitMs;
  int m_Socket = -1;
};

}  // namespace nd620
