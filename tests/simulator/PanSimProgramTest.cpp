// PanSim as a program: its command line, the headless runner's script language and exit
// codes, and KD820 simulate starting it on a compiled project.
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "TestImage.h"
#include "platform/Process.h"
#include "simulator/app/PanSimOptions.h"

namespace fs = std::filesystem;

namespace {

const fs::path kBin = KD820_TEST_BINARY_DIR;
const fs::path kGolden = fs::path(KD820_TEST_SOURCE_DIR) / "tests" / "simulator" / "golden";

class PanSimProgram : public testing::Test {
 protected:
  void SetUp() override {
    m_Dir = fs::temp_directory_path() / ("kd820-pansim-" + std::to_string(::getpid()) + "-" +
                                         testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::remove_all(m_Dir);
    fs::create_directories(m_Dir);
    fs::current_path(m_Dir);
  }
  void TearDown() override {
    fs::current_path(kBin);
    fs::remove_all(m_Dir);
  }
  int Run(const std::string& a_Program, const std::vector<std::string>& a_Arguments) {
    int code = -1;
    std::string error;
    EXPECT_TRUE(StartProgram((kBin / a_Program).string(), a_Arguments, "", true, code, error)) << error;
    return code;
  }
  std::string Script(const std::string& a_Text) {
    const fs::path path = m_Dir / "run.pansim";
    std::ofstream(path) << a_Text;
    return path.string();
  }
  std::string CompiledFrames() {
    EXPECT_EQ(Run("KD820", {"import", (kGolden / "frames.json").string(), "-o",
                            (m_Dir / "F.FPJ").string()}),
              0);
    EXPECT_EQ(Run("KD820", {"compile", (m_Dir / "F.FPJ").string()}), 0);
    return (m_Dir / "F.bin~").string();
  }
  // An image whose frame request and current frame are one retentive word, so that the panel
  // starts on the frame it was left on. Frame 1 (key 3 leads to frame 2) and frame 2 each show
  // a block of their own.
  static constexpr uint16_t kResumeWord = 20;
  std::string FrameResumingImage() {
    simtest::TestImage image;
    image.settings.control = true;
    image.settings.requestWord = kResumeWord;
    image.settings.currentWord = kResumeWord;
    image.settings.retentiveControl = true;
    image.frames = {{1, 0, 2, {{sim::Rect::FromSize(10, 0, 8, 8)}}},
                    {2, 1, 0, {{sim::Rect::FromSize(20, 0, 8, 8)}}}};
    return Written(image, "R.bin~");
  }
  std::string Written(const simtest::TestImage& a_Image, const std::string& a_Name) {
    const std::vector<uint8_t> bytes = a_Image.Build();
    const fs::path path = m_Dir / a_Name;
    std::ofstream(path, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()),
               static_cast<std::streamsize>(bytes.size()));
    return path.string();
  }
  // Shows the start frame, lets the control register see it, then goes to the next frame.
  std::string ResumeScript() {
    return Script("lcd start.png\ncycle\nclick 3\ntick\nlcd end.png\n");
  }
  static std::string Bytes(const fs::path& a_Path) {
    std::ifstream in(a_Path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
  }

  fs::path m_Dir;
};

TEST_F(PanSimProgram, HelpVersionAndUsageErrors) {
  EXPECT_EQ(Run("PanSim", {"--version"}), 0);
  EXPECT_EQ(Run("PanSim", {"--help"}), 0);
  EXPECT_EQ(Run("PanSim", {"--no-such-option"}), 2);
  EXPECT_EQ(Run("PanSim", {"1", "a", "0", "b", "extra"}), 2);
  EXPECT_EQ(Run("PanSim", {"--headless", "--script", (m_Dir / "missing").string()}), 2);
}

TEST_F(PanSimProgram, ScriptExitCodes) {
  const std::string image = CompiledFrames();
  // Every expectation holds: 0; a failed expectation: 1; a line that cannot be read: 2.
  EXPECT_EQ(Run("PanSim", {"--headless", "--script", Script("click 3\ntick\nexpect-beeps 1\n"),
                           "1", image}),
            0);
  EXPECT_EQ(Run("PanSim", {"--headless", "--script", Script("set 10 7\nexpect 10 8\n"), "1", image}),
            1);
  EXPECT_EQ(Run("PanSim", {"--headless", "--script", Script("press 40\n"), "1", image}), 2);
  EXPECT_EQ(Run("PanSim", {"--headless", "--script", Script("set 300 1\n"), "1", image}), 2);
  EXPECT_EQ(Run("PanSim", {"--headless", "--script", Script("jump\n"), "1", image}), 2);
  EXPECT_EQ(Run("PanSim", {"--headless", "--script", Script("lcd /no/such/dir/x.png\n"), "1", image}),
            1);
}

TEST_F(PanSimProgram, SameImageAndScriptGiveTheSameBytes) {
  const std::string image = CompiledFrames();
  const std::string script = Script("tick 3\nlcd a.png\npanel b.png\nclick 3\nwait 2\nlcd c.png\n");
  ASSERT_EQ(Run("PanSim", {"--headless", "--script", script, "1", image}), 0);
  for (const char* name : {"a.png", "b.png", "c.png"}) fs::rename(name, std::string("first-") + name);
  ASSERT_EQ(Run("PanSim", {"--headless", "--script", script, "1", image}), 0);
  for (const char* name : {"a.png", "b.png", "c.png"}) {
    std::ifstream one(std::string("first-") + name, std::ios::binary);
    std::ifstream two(name, std::ios::binary);
    std::string a((std::istreambuf_iterator<char>(one)), {}), b((std::istreambuf_iterator<char>(two)), {});
    EXPECT_FALSE(a.empty());
    EXPECT_EQ(a, b) << name;
  }
}

TEST_F(PanSimProgram, HeadlessRunsStartFromZeroRetentiveRegistersAndWriteNoFile) {
  const std::string image = FrameResumingImage();
  const std::string script = ResumeScript();
  ASSERT_EQ(Run("PanSim", {"--headless", "--script", script, "1", image}), 0);
  const std::string start = Bytes("start.png");
  const std::string end = Bytes("end.png");
  ASSERT_FALSE(start.empty());
  ASSERT_NE(start, end);  // the run left frame 1 for frame 2
  // The second run starts on frame 1 again, not on the frame the first one left.
  ASSERT_EQ(Run("PanSim", {"--headless", "--script", script, "1", image}), 0);
  EXPECT_EQ(Bytes("start.png"), start);
  EXPECT_EQ(Bytes("end.png"), end);
  EXPECT_FALSE(fs::exists(m_Dir / "R.rcp"));
}

TEST_F(PanSimProgram, RetentiveKeepsTheRegistersInTheFileBesideTheImage) {
  const std::string image = FrameResumingImage();
  const std::string script = ResumeScript();
  ASSERT_EQ(Run("PanSim", {"--headless", "--retentive", "--script", script, "1", image}), 0);
  const std::string end = Bytes("end.png");
  const std::string file = Bytes(m_Dir / "R.rcp");
  ASSERT_EQ(file.size(), 2048u);
  EXPECT_EQ(file[2 * kResumeWord], 2);  // the frame the run was left on
  EXPECT_EQ(file[2 * kResumeWord + 1], 0);
  // The second run resumes on frame 2.
  ASSERT_EQ(Run("PanSim", {"--headless", "--retentive", "--script", script, "1", image}), 0);
  EXPECT_EQ(Bytes("start.png"), end);
}

TEST(PanSimCommandLine, RetentiveIsAnOptionOfTheHeadlessRunnerOnly) {
  auto parse = [](std::vector<std::string> a_Arguments, int& a_Code) {
    std::vector<char*> argv;
    for (std::string& argument : a_Arguments) argv.push_back(argument.data());
    return sim::ParsePanSimOptions(static_cast<int>(argv.size()), argv.data(), a_Code);
  };
  int code = 0;
  auto headless = parse({"PanSim", "--headless", "--retentive", "1"}, code);
  ASSERT_TRUE(headless);
  EXPECT_TRUE(headless->retentive);
  auto plain = parse({"PanSim", "--headless", "1"}, code);
  ASSERT_TRUE(plain);
  EXPECT_FALSE(plain->retentive);
  EXPECT_FALSE(parse({"PanSim", "--retentive", "1"}, code));
  EXPECT_EQ(code, 2);
}

// The saver's wake-up password cannot be skipped with escape: the LCD shows the saver again,
// and only the password brings the saved frame back.
TEST_F(PanSimProgram, EscapeOnTheSaverPasswordKeepsTheSaver) {
  simtest::TestImage image;
  image.settings.flags = 1u << 1;  // leaving the saver asks for level 1
  image.settings.saverLevel = 1;
  image.settings.saverFrame = 9;
  image.settings.saverMinutes = 1;
  image.settings.passwordFrame = 8;
  image.settings.passwordMask = 1;
  image.settings.passwords[0] = 1234;
  image.settings.control = true;  // the current frame in word 21
  image.settings.requestWord = 20;
  image.frames = {{1, 0, 0, {{sim::Rect::FromSize(10, 0, 8, 8)}}},
                  {8, 0, 0, {{sim::Rect::FromSize(80, 0, 8, 8)}}},
                  {9, 0, 0, {{sim::Rect::FromSize(90, 0, 8, 8)}}}};
  const std::string path = Written(image, "P.bin~");
  const std::string script = Script(
      "lcd working.png\n"
      "wait 60\ntick\nexpect 21 9\nlcd saver.png\n"
      "click 5\ntick\nexpect 21 8\nlcd password.png\n"
      "click 6\ntick\nexpect 21 9\nlcd escaped.png\n"
      "click 5\ntick\nexpect 21 8\n"
      "set32 254 1234\ntick\nexpect 21 1\nlcd woke.png\n");
  ASSERT_EQ(Run("PanSim", {"--headless", "--script", script, "1", path}), 0);
  EXPECT_NE(Bytes("saver.png"), Bytes("working.png"));
  EXPECT_NE(Bytes("password.png"), Bytes("saver.png"));
  EXPECT_EQ(Bytes("escaped.png"), Bytes("saver.png"));
  EXPECT_EQ(Bytes("woke.png"), Bytes("working.png"));
}

TEST_F(PanSimProgram, AnHourOfPanelTimeRuns) {
  const std::string image = CompiledFrames();
  EXPECT_EQ(Run("PanSim", {"--headless", "--script", Script("wait 3600\nexpect-beeps 0\n"), "1", image}),
            0);
}

TEST_F(PanSimProgram, Kd820SimulateStartsPanSimOnTheCompiledImage) {
  ASSERT_EQ(Run("KD820", {"import", (kGolden / "frames.json").string(), "-o",
                          (m_Dir / "S.FPJ").string()}),
            0);
  const std::string script = Script("click 3\ntick\nlcd shown.png\nexpect-beeps 1\n");
  // Started from elsewhere, PanSim runs in the project's directory.
  fs::create_directory(m_Dir / "elsewhere");
  fs::current_path(m_Dir / "elsewhere");
  EXPECT_EQ(Run("KD820", {"simulate", (m_Dir / "S.FPJ").string(), "--wait", "--", "--headless",
                          "--script", script}),
            0);
  EXPECT_TRUE(fs::exists(m_Dir / "S.bin~"));
  EXPECT_TRUE(fs::exists(m_Dir / "shown.png"));
  EXPECT_FALSE(fs::exists(m_Dir / "elsewhere" / "shown.png"));
  // PanSim's own exit code comes back with --wait.
  EXPECT_EQ(Run("KD820", {"simulate", (m_Dir / "S.FPJ").string(), "--wait", "--", "--headless",
                          "--script", Script("expect-beeps 5\n")}),
            1);
}

}  // namespace
