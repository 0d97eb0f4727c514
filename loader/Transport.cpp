#include "loader/Transport.h"

#include "loader/SerialTransport.h"
#include "loader/UdpTransport.h"
#include "loader/UsbTransport.h"

namespace nd620 {

std::unique_ptr<Transport> MakeTransport(int32_t a_Kind) {
  switch (a_Kind) {
    case kNetwork: return std::make_unique<UdpTransport>();
    case kUsb: return std::make_unique<UsbTransport>();
    case kSerial: return std::make_unique<SerialTransport>();
    default: return nullptr;
  }
}

}  // namespace nd620
