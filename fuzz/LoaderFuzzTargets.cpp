#include "fuzz/LoaderFuzzTargets.h"

#include <cstdlib>
#include <memory>
#include <vector>

#include "loader/Frame.h"
#include "loader/LoaderProtocol.h"
#include "loader/PackageReader.h"
#include "loader/UdpTransport.h"
#include "loader/UsbTransport.h"

namespace {

void Check(bool a_Condition) {
  if (!a_Condition) std::abort();
}

class NoView : public nd620::ILoaderView {
 public:
  void ProgressChanged(const nd620::ProgressBar&) override {}
  void ShowError(const std::string&, const std::string&) override {}
};

// A link whose every read returns the fuzzer's bytes, judged as the real transport judges them.
class BytesLink : public nd620::Transport {
 public:
  BytesLink(const uint8_t* a_Data, std::size_t a_Size, int a_Max, bool (*a_Parse)(const uint8_t*, std::size_t))
      : m_Bytes(a_Data, a_Data + a_Size), m_Max(a_Max), m_Parse(a_Parse) {}
  int MaxPacketSize() const override { return m_Max; }
  bool Receive(std::vector<uint8_t>& a_Reply, std::size_t a_Capacity, int) override {
    a_Reply.assign(m_Bytes.begin(), m_Bytes.begin() + static_cast<std::ptrdiff_t>(std::min(a_Capacity, m_Bytes.size())));
    if (!m_Parse(a_Reply.data(), a_Reply.size())) return false;
    std::size_t length = 0;
    Check(nd620::CheckReplyFrame(a_Reply.data(), a_Reply.size(), length) && length <= a_Reply.size());
    return true;
  }
  bool Close() override { return true; }
  bool Configure(const nd620::TransportSettings&) override { return true; }
  bool Open() override { return true; }
  bool Send(const uint8_t*, std::size_t, int) override { return true; }

 private:
  std::vector<uint8_t> m_Bytes;
  int m_Max;
  bool (*m_Parse)(const uint8_t*, std::size_t);
};

int FuzzReply(const uint8_t* a_Data, std::size_t a_Size, int a_Max, bool (*a_Parse)(const uint8_t*, std::size_t)) {
  NoView view;
  nd620::LoaderProtocol protocol(view, [&](int32_t) { return std::make_unique<BytesLink>(a_Data, a_Size, a_Max, a_Parse); });
  nd620::ProtocolTiming timing;
  timing.m_InfoDelayMs = 0;
  protocol.SetTiming(timing);
  Check(protocol.Connect());
  nd620::SlaveInfo info;
  protocol.GetInformation(info);
  protocol.EnterDownloadMode();
  protocol.EnterBootMode();
  protocol.BeginSection(2, 1, 4, 0, 0);
  const uint8_t block[4] = {1, 2, 3, 4};
  protocol.DataBlock(block, sizeof block, 0);
  protocol.FinishSection();
  return 0;
}

}  // namespace

int FuzzPackageReader(const uint8_t* a_Data, std::size_t a_Size) {
  nd620::PackageReader reader;
  reader.OpenMemory(a_Data, a_Size);
  pkg::PackageHeader header;
  if (reader.ReadHeader(header) != nd620::PackageReader::Result::kOk) return 0;
  std::vector<pkg::SectionEntry> drivers;
  if (reader.ReadDriverTable(header.m_DriverTableOffset, header.m_DriverCount, drivers) == nd620::PackageReader::Result::kOk) {
    Check(drivers.size() == header.m_DriverCount);
    Check(uint64_t{header.m_DriverTableOffset} + uint64_t{header.m_DriverCount} * pkg::kEntrySize <= a_Size);
  }
  drivers.push_back(header.m_UserData);
  drivers.push_back(header.m_Gui1);
  drivers.push_back(header.m_Gui2);
  uint8_t block[1016];
  for (const pkg::SectionEntry& entry : drivers) {
    reader.Seek(entry.m_Offset);
    uint64_t total = 0;
    for (;;) {
      const std::size_t got = reader.Read(block, sizeof block);
      if (got == 0) break;
      total += got;
      Check(total <= a_Size);
    }
    Check(uint64_t{entry.m_Offset} + total == std::max<uint64_t>(a_Size, entry.m_Offset) || total == 0);
  }
  return 0;
}

int FuzzSerialDecoder(const uint8_t* a_Data, std::size_t a_Size) {
  constexpr std::size_t kCapacity = 64;
  nd620::FrameDecoder decoder(kCapacity);
  for (std::size_t i = 0; i < a_Size; ++i) {
    const nd620::FrameDecoder::Status status = decoder.Feed(a_Data[i]);
    Check(decoder.Bytes().size() <= kCapacity);
    if (status == nd620::FrameDecoder::kComplete) {
      const std::vector<uint8_t>& frame = decoder.Bytes();
      std::size_t length = 0;
      Check(nd620::CheckReplyFrame(frame.data(), frame.size(), length) && length == frame.size());
      decoder.Reset();
    } else if (status == nd620::FrameDecoder::kAfterEnd || status == nd620::FrameDecoder::kBadSum) {
      decoder.Reset();
    }
  }
  return 0;
}

int FuzzUsbReply(const uint8_t* a_Data, std::size_t a_Size) {
  return FuzzReply(a_Data, std::min<std::size_t>(a_Size, nd620::UsbTransport::kMaxPacket), nd620::UsbTransport::kMaxPacket,
                   &nd620::UsbTransport::ParseReply);
}

int FuzzUdpReply(const uint8_t* a_Data, std::size_t a_Size) {
  return FuzzReply(a_Data, a_Size, nd620::UdpTransport::kMaxPacket, &nd620::UdpTransport::ParseReply);
}
