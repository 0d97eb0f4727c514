// Replays the fuzz corpus and the inputs that once found faults.
#include <gtest/gtest.h>

#include <filesystem>

#include "fuzz/FuzzTargets.h"
#include "tests/TestSupport.h"


namespace {

std::size_t Replay(const std::string& a_Target, int (*a_Body)(const uint8_t*, std::size_t)) {
  std::size_t count = 0;
  for (const char* kind : {"corpus", "regressions"}) {
    const std::filesystem::path dir =
        std::filesystem::path(KD820_TEST_SOURCE_DIR) / "fuzz" / kind / a_Target;
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

TEST(FuzzReplay, ProjectLoad) { EXPECT_GT(Replay("project_load", FuzzProjectLoad), 0u); }
TEST(FuzzReplay, XmlLibrary) { EXPECT_GT(Replay("xml_library", FuzzXmlLibrary), 0u); }
TEST(FuzzReplay, JsonImport) { EXPECT_GT(Replay("json_import", FuzzJsonImport), 0u); }
TEST(FuzzReplay, BmpReader) { EXPECT_GT(Replay("bmp_reader", FuzzBmpReader), 0u); }
TEST(FuzzReplay, ElementClip) { EXPECT_GT(Replay("element_clip", FuzzElementClip), 0u); }
