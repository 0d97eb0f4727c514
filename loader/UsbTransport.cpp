#include "loader/UsbTransport.h"

#include <libusb-1.0/libusb.h>

#include <cstdio>

#include "loader/Frame.h"
#include "platform/Files.h"
#include "platform/ProgramDirectory.h"

namespace nd620 {

namespace {

std::string IdText(uint16_t a_Vendor, uint16_t a_Product) {
  char text[16];
  std::snprintf(text, sizeof text, "%04x:%04x", a_Vendor, a_Product);
  return text;
}

// The interface and bulk endpoints of a device that speaks to the loader; false when it has none.
bool FindBulkPair(libusb_device* a_Device, int& a_Interface, uint8_t& a_In, uint8_t& a_Out) {
  libusb_config_descriptor* config = nullptr;
  if (libusb_get_active_config_descriptor(a_Device, &config) != 0) return false;
  bool found = false;
  for (int i = 0; i < config->bNumInterfaces && !found; ++i) {
    const libusb_interface& interface = config->interface[i];
    for (int a = 0; a < interface.num_altsetting && !found; ++a) {
      const libusb_interface_descriptor& alt = interface.altsetting[a];
      if (alt.bInterfaceClass != LIBUSB_CLASS_VENDOR_SPEC) continue;
      uint8_t in = 0, out = 0;
      for (int e = 0; e < alt.bNumEndpoints; ++e) {
        const libusb_endpoint_descriptor& ep = alt.endpoint[e];
        if ((ep.bmAttributes & LIBUSB_TRANSFER_TYPE_MASK) != LIBUSB_TRANSFER_TYPE_BULK) continue;
        uint8_t& slot = (ep.bEndpointAddress & LIBUSB_ENDPOINT_DIR_MASK) == LIBUSB_ENDPOINT_IN ? in : out;
        if (slot == 0) slot = ep.bEndpointAddress;
      }
      if (in != 0 && out != 0) {
        a_Interface = alt.bInterfaceNumber;
        a_In = in;
        a_Out = out;
        found = true;
      }
    }
  }
  libusb_free_config_descriptor(config);
  return found;
}

}  // namespace

UsbTransport::~UsbTransport() {
  Close();
  if (m_Context != nullptr) libusb_exit(m_Context);
}

bool UsbTransport::ParseReply(const uint8_t* a_Bytes, std::size_t a_Count) {
  std::size_t length = 0;
  return CheckReplyFrame(a_Bytes, a_Count, length);
}

std::vector<UsbId> UsbTransport::ShippedIds() {
  std::string error;
  const auto bytes = ReadWholeFile((ProgramDirectory() / "lib" / "loader" / "usb-ids").string(), error, 1 << 16);
  if (!bytes) return {};
  return ParseUsbIds(std::string(bytes->begin(), bytes->end()));
}

bool UsbTransport::Configure(const TransportSettings& a_Settings) {
  m_Ids = a_Settings.m_UsbIds.empty() ? ShippedIds() : a_Settings.m_UsbIds;
  m_UnitMs = a_Settings.m_UnitMs > 0 ? a_Settings.m_UnitMs : kDefaultUnitMs;
  return true;
}

bool UsbTransport::Open() {
  Close();
  if (m_Ids.empty()) return Fail("no USB vendor and product ids to look for (lib/loader/usb-ids)");
  if (m_Context == nullptr && libusb_init(&m_Context) != 0) {
    m_Context = nullptr;
    return Fail("cannot start libusb");
  }
  libusb_device** devices = nullptr;
  const ssize_t count = libusb_get_device_list(m_Context, &devices);
  if (count < 0) return Fail("cannot list the USB devices");
  std::string refused;
  for (ssize_t i = 0; i < count && m_Handle == nullptr; ++i) {
    libusb_device_descriptor descriptor{};
    if (libusb_get_device_descriptor(devices[i], &descriptor) != 0) continue;
    bool listed = false;
    for (const UsbId& id : m_Ids) listed = listed || (id.m_Vendor == descriptor.idVendor && id.m_Product == descriptor.idProduct);
    if (!listed) continue;
    int interface = -1;
    uint8_t in = 0, out = 0;
    if (!FindBulkPair(devices[i], interface, in, out)) continue;
    libusb_device_handle* handle = nullptr;
    const int rc = libusb_open(devices[i], &handle);
    const std::string id = IdText(descriptor.idVendor, descriptor.idProduct);
    if (rc != 0) {
      refused = "cannot open USB device " + id + ": " + libusb_strerror(static_cast<libusb_error>(rc));
      if (rc == LIBUSB_ERROR_ACCESS) refused += " (install the udev rule lib/loader/60-kd820-loader.rules)";
      continue;
    }
    libusb_set_auto_detach_kernel_driver(handle, 1);
    const int claimed = libusb_claim_interface(handle, interface);
    if (claimed != 0) {
      refused = "cannot claim USB device " + id + ": " + libusb_strerror(static_cast<libusb_error>(claimed));
      libusb_close(handle);
      continue;
    }
    m_Handle = handle;
    m_Interface = interface;
    m_In = in;
    m_Out = out;
  }
  libusb_free_device_list(devices, 1);
  if (m_Handle == nullptr) {
    std::string wanted;
    for (const UsbId& id : m_Ids) wanted += (wanted.empty() ? "" : ", ") + IdText(id.m_Vendor, id.m_Product);
    return Fail(refused.empty() ? "no panel on USB (looked for " + wanted + ")" : refused);
  }
  return true;
}

bool UsbTransport::Close() {
  if (m_Handle != nullptr) {
    libusb_release_interface(m_Handle, m_Interface);
    libusb_close(m_Handle);
  }
  m_Handle = nullptr;
  m_Interface = -1;
  return true;
}

bool UsbTransport::Send(const uint8_t* a_Bytes, std::size_t a_Count, int /*a_Units*/) {
  if (m_Handle == nullptr) return Fail("not open");
  int done = 0;
  const int rc = libusb_bulk_transfer(m_Handle, m_Out, const_cast<uint8_t*>(a_Bytes), static_cast<int>(a_Count),
                                      &done, kSendTimeoutMs);
  // A write that timed out is not reported: a lost frame shows as a missing reply. A device
  // that is gone is.
  if (rc != 0 && rc != LIBUSB_ERROR_TIMEOUT) return Fail(std::string("USB write: ") + libusb_strerror(static_cast<libusb_error>(rc)));
  return true;
}

bool UsbTransport::Receive(std::vector<uint8_t>& a_Reply, std::size_t a_Capacity, int a_Units) {
  a_Reply.clear();
  if (m_Handle == nullptr) return Fail("not open");
  uint8_t buffer[kMaxPacket];
  int got = 0;
  // The synchronous transfer cancels a read that timed out and waits for the cancellation
  // before it returns, so no read is ever left pending on a buffer that is gone.
  const int rc = libusb_bulk_transfer(m_Handle, m_In, buffer, sizeof buffer, &got, a_Units * m_UnitMs);
  if (rc != 0) return Fail(std::string("USB read: ") + libusb_strerror(static_cast<libusb_error>(rc)));
  const std::size_t count = std::min<std::size_t>(static_cast<std::size_t>(got), a_Capacity);
  if (!ParseReply(buffer, count)) return Fail("malformed reply on USB");
  a_Reply.assign(buffer, buffer + count);
  return true;
}

}  // namespace nd620
