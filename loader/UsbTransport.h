#pragma once
// The USB transport over libusb-1.0: the first device of the listed vendor and product ids with
// a vendor-specific interface holding one bulk IN and one bulk OUT endpoint. A reply must fit
// one 64-byte read.
#include <cstdint>

#include "loader/Transport.h"

struct libusb_context;
struct libusb_device_handle;

namespace nd620 {

class UsbTransport : public Transport {
 public:
  static constexpr int kMaxPacket = 64;
  static constexpr int kDefaultUnitMs = 2000;
  static constexpr int kSendTimeoutMs = 2000;

  ~UsbTransport() override;
  int MaxPacketSize() const override { return kMaxPacket; }
  bool Receive(std::vector<uint8_t>& a_Reply, std::size_t a_Capacity, int a_Units) override;
  bool Close() override;
  bool Configure(const TransportSettings& a_Settings) override;
  bool Open() override;
  bool Send(const uint8_t* a_Bytes, std::size_t a_Count, int a_Units) override;

  // One read judged as a reply: more than 4 bytes, a length field (low byte first, 0 counting
  // as 1) no longer than what arrived, and a right checksum.
  static bool ParseReply(const uint8_t* a_Bytes, std::size_t a_Count);
  // The shipped list lib/loader/usb-ids of the program directory.
  static std::vector<UsbId> ShippedIds();

 private:
  std::vector<UsbId> m_Ids;
  int m_UnitMs = kDefaultUnitMs;
  libusb_context* m_Context = nullptr;
  libusb_device_handle* m_Handle = nullptr;
  int m_Interface = -1;
  uint8_t m_In = 0;
  uint8_t m_Out = 0;
};

}  // namespace nd620
