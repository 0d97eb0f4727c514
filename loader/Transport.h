#pragma once
// The byte transports to the panel behind one interface: USB bulk pipes, a serial line, UDP.
// Each operation reports success or failure only; LastError() says why for the front-end.
#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "loader/TransportSettings.h"

namespace nd620 {

class Transport {
 public:
  virtual ~Transport() = default;
  // The largest packet the transport carries; data blocks carry this less 8 bytes.
  virtual int MaxPacketSize() const = 0;
  // One whole reply frame into a_Reply (at most a_Capacity bytes), waiting a_Units time-out units.
  virtual bool Receive(std::vector<uint8_t>& a_Reply, std::size_t a_Capacity, int a_Units) = 0;
  virtual bool Close() = 0;
  virtual bool Configure(const TransportSettings& a_Settings) = 0;
  virtual bool Open() = 0;
  virtual bool Send(const uint8_t* a_Bytes, std::size_t a_Count, int a_Units) = 0;

  const std::string& LastError() const { return m_LastError; }

 protected:
  bool Fail(std::string a_Error) {
    m_LastError = std::move(a_Error);
    return false;
  }
  std::string m_LastError;
};

// Kind 1 UDP, 2 USB, 3 serial; null for any other kind.
std::unique_ptr<Transport> MakeTransport(int32_t a_Kind);
using TransportFactory = std::function<std::unique_ptr<Transport>(int32_t a_Kind)>;

}  // namespace nd620
