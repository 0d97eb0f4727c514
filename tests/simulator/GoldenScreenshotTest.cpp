// Screenshot tests: projects written as JSON are imported and compiled by KD820, run by the
// headless PanSim through a script, and the PNGs it writes are compared with the committed ones.
// KD820_REBASELINE=1 replaces the committed PNGs with what the run produced.
#include <gtest/gtest.h>

#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "platform/Process.h"

namespace fs = std::filesystem;

namespace {

const fs::path kGolden = fs::path(KD820_TEST_SOURCE_DIR) / "tests" / "simulator" / "golden";
const fs::path kBin = KD820_TEST_BINARY_DIR;

std::vector<char> Bytes(const fs::path& a_Path) {
  std::ifstream in(a_Path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), {}};
}

int RunProgram(const std::string& a_Program, const std::vector<std::string>& a_Arguments) {
  int code = -1;
  std::string error;
  if (!StartProgram((kBin / a_Program).string(), a_Arguments, "", true, code, error)) {
    ADD_FAILURE() << error;
    return -1;
  }
  return code;
}

class GoldenScreenshotTest : public testing::TestWithParam<std::string> {};

TEST_P(GoldenScreenshotTest, MatchesCommittedPictures) {
  const std::string name = GetParam();
  const fs::path work = fs::temp_directory_path() / ("kd820-golden-" + name + "-" +
                                                     std::to_string(::getpid()));
  fs::remove_all(work);
  fs::create_directories(work);
  fs::current_path(work);

  std::string image = (work / "missing.bin~").string();
  if (fs::exists(kGolden / (name + ".json"))) {
    ASSERT_EQ(RunProgram("KD820", {"import", (kGolden / (name + ".json")).string(), "-o",
                            (work / "P.FPJ").string()}),
              0);
    ASSERT_EQ(RunProgram("KD820", {"compile", (work / "P.FPJ").string()}), 0);
    image = (work / "P.bin~").string();
  }
  ASSERT_EQ(RunProgram("PanSim", {"--headless", "--script", (kGolden / (name + ".pansim")).string(),
                           "1", image, "0", "pv5521.bmp"}),
            0);

  const fs::path expected = kGolden / name;
  const bool rebaseline = std::getenv("KD820_REBASELINE") != nullptr;
  std::size_t compared = 0;
  for (const auto& entry : fs::directory_iterator(work)) {
    if (entry.path().extension() != ".png") continue;
    const fs::path committed = expected / entry.path().filename();
    if (rebaseline) {
      fs::create_directories(expected);
      fs::copy_file(entry.path(), committed, fs::copy_options::overwrite_existing);
      continue;
    }
    if (!fs::exists(committed)) {
      ADD_FAILURE() << committed << " is missing; run the tests with KD820_REBASELINE=1 to make it";
      continue;
    }
    EXPECT_EQ(Bytes(entry.path()), Bytes(committed))
        << entry.path().filename() << " differs from " << committed
        << " (look at both; KD820_REBASELINE=1 takes the new one)";
    ++compared;
  }
  if (!rebaseline) {
    EXPECT_GT(compared, 0u);
  }
  fs::current_path(kBin);
  fs::remove_all(work);
}

INSTANTIATE_TEST_SUITE_P(Projects, GoldenScreenshotTest,
                         testing::Values("frames", "saver", "nodata", "elements", "plc"));

}  // namespace
