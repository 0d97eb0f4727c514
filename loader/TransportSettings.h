#pragma once
// Which transport a connection uses and how it is configured, with the waits of the download
// protocol. The waits are settings so that tests and the emulated panel can run them short.
#include <cstdint>
#include <string>
#include <vector>

namespace nd620 {

enum TransportKind : int32_t { kNetwork = 1, kUsb = 2, kSerial = 3 };

struct UsbId {
  uint16_t m_Vendor = 0;
  uint16_t m_Product = 0;
  bool operator==(const UsbId&) const = default;
};

struct TransportSettings {
  int32_t m_Kind = kUsb;
  // Network: IPv4 address as four decimal numbers, UDP port as decimal text.
  std::string m_Address;
  std::string m_Port;
  // Serial: the device path and its bit rate.
  std::string m_ComName;
  int32_t m_BaudRate = 115200;
  // USB: the vendor and product ids to look for (empty: the shipped list).
  std::vector<UsbId> m_UsbIds;

  // One time-out unit in milliseconds; 0 takes the transport's own (USB 2000, others 500).
  int32_t m_UnitMs = 0;
  // Serial: the longest pause between two bytes of one read.
  int32_t m_SerialIntervalMs = 1;
};

// The waits of the protocol.
struct ProtocolTiming {
  int32_t m_InfoDelayMs = 100;        // between get-information and its reply
  int32_t m_ReconnectWaitMs = 3000;   // after boot mode or a firmware update
  int32_t m_RetryDelayMs = 100;       // between two reconnection attempts
  int32_t m_Attempts = 100;           // reconnection attempts
};

// Reads "1209:d620" lines (hexadecimal; '#' starts a comment) from text; bad lines are skipped
// and counted in a_Bad when given.
std::vector<UsbId> ParseUsbIds(const std::string& a_Text, int* a_Bad = nullptr);
// One "VVVV:PPPP" pair; false when it is not one.
bool ParseUsbId(const std::string& a_Text, UsbId& a_Id);

}  // namespace nd620
