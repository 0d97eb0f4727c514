// Replays the loaders' fuzz corpus and the inputs that once found faults.
#include <gtest/gtest.h>

#include <filesystem>

#include "fuzz/LoaderFuzzTargets.h"
#include "tests/TestSupport.h"

namespace {

std::size_t Replay(const std::string& a_Target, int (*a_Body)(const uint8_t*, std::size_t)) {
  std::size_t count = 0;
  for (const char* kind : {"corpus", "regressions"}) {
    const std::filesystem::path dir = std::filesystem::path(KD820_TEST_SOURCE_DIR) / "fuzz" / kind / a_Target;
    if (!std::filesystem::is_directory(dir)) continue;
    for (const auto& entry : std::filesystem::directory_iterator(dir)) {
      if (!entry.is_regular_file()) continue;
      SCOPED_TRACE(entry.path().string());
      const auto bytes = test::ReadFile(entry.path().string());
      EXPECT_EQ(a_Body(bytes.data(), bytes.size()), 0);
      ++count;
    }
  }
  return count;
}

}  // namespace

TEST(LoaderFuzzReplay, PackageReader) { EXPECT_GT(Replay("package_reader", FuzzPackageReader), 0u); }
TEST(LoaderFuzzReplay, SerialDecoder) { EXPECT_GT(Replay("serial_decoder", FuzzSerialDecoder), 0u); }
TEST(LoaderFuzzReplay, UsbReply) { EXPECT_GT(Replay("usb_reply", FuzzUsbReply), 0u); }
TEST(LoaderFuzzReplay, UdpReply) { EXPECT_GT(Replay("udp_reply", FuzzUdpReply), 0u); }
