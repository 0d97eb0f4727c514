// Replays the simulator fuzz target's corpus and the inputs that once found faults.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>

#include "fuzz/SimFuzzTargets.h"

TEST(SimFuzzReplay, SimImage) {
  std::size_t count = 0;
  for (const char* kind : {"corpus", "regressions"}) {
    const std::filesystem::path dir =
        std::filesystem::path(KD820_TEST_SOURCE_DIR) / "fuzz" / kind / "sim_image";
    if (!std::filesystem::is_directory(dir)) continue;
    for (const auto& entry : std::filesystem::directory_iterator(dir)) {
      if (!entry.is_regular_file()) continue;
      SCOPED_TRACE(entry.path().string());
      std::ifstream in(entry.path(), std::ios::binary);
      std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(in)), {});
      EXPECT_EQ(FuzzSimImage(bytes.data(), bytes.size()), 0);
      ++count;
    }
  }
  EXPECT_GT(count, 0u);
}
