// The KD820 command line: exit codes, info and save-as.
#include <gtest/gtest.h>

#include "demo/SampleProject.h"
#include "tests/ScriptedInteraction.h"
#include "tests/LibraryTestSupport.h"
#include "editor/project/KV410Doc.h"
#include "tests/TestSupport.h"

using namespace kd820;

namespace {

const std::string kKD820 = std::string(KD820_TEST_BINARY_DIR) + "/KD820";

class CliTest : public ::testing::Test {
 protected:
  void SetUp() override {
    setenv("KD820_LOCK_DIR", m_Dir.File("locks").c_str(), 1);
    m_Sample = m_Dir.File("sample.FPJ");
    CArchive ar;
    auto project = test::Sample();
    ar.WriteObject(project.get());
    test::WriteFile(m_Sample, ar.Bytes());
  }
  void TearDown() override { unsetenv("KD820_LOCK_DIR"); }

  test::TempDir m_Dir;
  std::string m_Sample;
};

}  // namespace

TEST_F(CliTest, HelpVersionAndUsageErrors) {
  std::string out, err;
  EXPECT_EQ(test::RunProgram(kKD820, {"--help"}, &out, &err), 0);
  EXPECT_NE(out.find("save-as"), std::string::npos);
  EXPECT_EQ(test::RunProgram(kKD820, {"--version"}, &out, &err), 0);
  EXPECT_NE(out.find("KD820 "), std::string::npos);
  {
    // Without a subcommand the window opens; with no display to show it on, KD820 says so.
    test::NoDisplay noDisplay;
#if KD820_TEST_WINDOW
    EXPECT_EQ(test::RunProgram(kKD820, {}, &out, &err), 1);
    EXPECT_NE(err.find("no display"), std::string::npos) << err;
#else
    EXPECT_EQ(test::RunProgram(kKD820, {}, &out, &err), 2);
#endif
  }
  EXPECT_EQ(test::RunProgram(kKD820, {"frobnicate"}, &out, &err), 2);
  EXPECT_EQ(test::RunProgram(kKD820, {"info"}, &out, &err), 2);
  EXPECT_EQ(test::RunProgram(kKD820, {"save-as", "--yes", "--no", "a.FPJ", "b.FPJ"}, &out, &err), 2);
}

TEST_F(CliTest, AProjectFileAloneGoesToTheWindow) {
  test::NoDisplay noDisplay;
  std::string out, err;
  // Any case of the extension; the file need not exist, the window says so.
  for (const std::string& path : {m_Sample, m_Dir.File("missing.fpj")}) {
    SCOPED_TRACE(path);
#if KD820_TEST_WINDOW
    EXPECT_EQ(test::RunProgram(kKD820, {path}, &out, &err), 1);
    EXPECT_NE(err.find("no display"), std::string::npos) << err;
#else
    EXPECT_EQ(test::RunProgram(kKD820, {path}, &out, &err), 2);
    EXPECT_NE(err.find("no window"), std::string::npos) << err;
#endif
  }
  // Another word, or a project file with more arguments, stays a command-line error.
  EXPECT_EQ(test::RunProgram(kKD820, {"notes.txt"}, &out, &err), 2);
  EXPECT_NE(err.find("unknown subcommand"), std::string::npos) << err;
  EXPECT_EQ(test::RunProgram(kKD820, {m_Sample, "extra"}, &out, &err), 2);
  EXPECT_EQ(test::RunProgram(kKD820, {".FP"}, &out, &err), 2);
  // The subcommands run as before without a display.
  EXPECT_EQ(test::RunProgram(kKD820, {"info", m_Sample}, &out, &err), 0) << err;
}

TEST_F(CliTest, InfoSummarisesTheProject) {
  std::string out, err;
  ASSERT_EQ(test::RunProgram(kKD820, {"info", m_Sample}, &out, &err), 0) << err;
  for (const char* expected :
       {"file version 5, oldest reader version 5", "hardware model id 1", "COM0: protocol 1",
        "Languages: 3", "HMI1: number 1", "ST0  CStaticText  (0,0)-(", "EV0  CEventListGE",
        "Alarms: 2", "电机过热", "Transfers: 2", "id 2: 16 x 16, used 1 time(s)"}) {
    EXPECT_NE(out.find(expected), std::string::npos) << expected << "\n" << out;
  }
}

TEST_F(CliTest, InfoRefusesDamagedAndMissingFiles) {
  std::string out, err;
  auto bytes = test::ReadFile(m_Sample);
  bytes.resize(bytes.size() / 2);
  const std::string cut = m_Dir.File("cut.FPJ");
  test::WriteFile(cut, bytes);
  EXPECT_EQ(test::RunProgram(kKD820, {"info", cut}, &out, &err), 1);
  EXPECT_NE(err.find("打开工程失败"), std::string::npos) << err;
  EXPECT_EQ(test::RunProgram(kKD820, {"info", m_Dir.File("none.FPJ")}, &out, &err), 1);
  EXPECT_NE(err.find("none.FPJ"), std::string::npos) << err;
}

TEST_F(CliTest, SaveAsGivesIdenticalBytes) {
  std::string out, err;
  const std::string target = m_Dir.File("copy.FPJ");
  // Without --yes and without a terminal the replace question is refused.
  EXPECT_EQ(test::RunProgram(kKD820, {"save-as", m_Sample, target}, &out, &err), 1);
  EXPECT_NE(err.find("替换旧的工程吗"), std::string::npos) << err;
  EXPECT_FALSE(std::filesystem::exists(target));
  EXPECT_EQ(test::RunProgram(kKD820, {"save-as", "--no", m_Sample, target}, &out, &err), 1);

  ASSERT_EQ(test::RunProgram(kKD820, {"save-as", "--yes", m_Sample, target}, &out, &err), 0) << err;
  EXPECT_EQ(test::ReadFile(target), test::ReadFile(m_Sample));
  // A target without an extension gets ".FPJ".
  ASSERT_EQ(test::RunProgram(kKD820, {"save-as", "-y", m_Sample, m_Dir.File("bare")}, &out, &err), 0);
  EXPECT_EQ(test::ReadFile(m_Dir.File("bare.FPJ")), test::ReadFile(m_Sample));
}

TEST_F(CliTest, SaveAsTakesRelativePathsFromTheCallersDirectory) {
  std::filesystem::create_directories(m_Dir.Path() / "in" / "deeper");
  std::filesystem::copy_file(m_Sample, m_Dir.Path() / "in" / "deeper" / "p.FPJ");
  std::filesystem::create_directories(m_Dir.Path() / "out");
  std::string out, err;
  ASSERT_EQ(test::RunProgram(kKD820, {"save-as", "--yes", "in/deeper/p.FPJ", "out/q.FPJ"}, &out,
                             &err, m_Dir.Path().string()),
            0)
      << err;
  EXPECT_EQ(test::ReadFile(m_Dir.File("out/q.FPJ")), test::ReadFile(m_Sample));
}

TEST_F(CliTest, SaveAsRefusesAProjectHeldOpenElsewhere) {
  ScriptedInteraction ui;
  CKV410Doc holder(ui);
  ASSERT_TRUE(holder.OpenProject(m_Sample));
  std::string out, err;
  EXPECT_EQ(test::RunProgram(kKD820, {"save-as", "--yes", m_Sample, m_Dir.File("x.FPJ")}, &out, &err), 1);
  EXPECT_NE(err.find("工程已处于打开状态"), std::string::npos) << err;
  // Reading a summary does not need the project to be free.
  EXPECT_EQ(test::RunProgram(kKD820, {"info", m_Sample}, &out, &err), 0);
}

TEST_F(CliTest, CompileWritesTheImageBesideTheProject) {
  setenv("KD820_HOME", KD820_TEST_BINARY_DIR, 1);
  std::string out, err;
  ASSERT_EQ(test::RunProgram(kKD820, {"compile", m_Sample}, &out, &err), 0) << err;
  const auto image = test::ReadFile(m_Dir.File("sample.bin~"));
  ASSERT_GT(image.size(), 52u);
  EXPECT_NE(out.find("sample.bin~ (" + std::to_string(image.size()) + " bytes)"), std::string::npos) << out;
  const auto u32 = [&](std::size_t a_At) {
    return image[a_At] | (image[a_At + 1] << 8) | (image[a_At + 2] << 16) |
           (static_cast<uint32_t>(image[a_At + 3]) << 24);
  };
  EXPECT_EQ(u32(12), image.size());
  uint32_t sum = 0;
  for (std::size_t i = 24; i < image.size(); ++i) sum += image[i];
  EXPECT_EQ(u32(16), sum);
  // Compiling again gives the same bytes.
  ASSERT_EQ(test::RunProgram(kKD820, {"compile", m_Sample}, &out, &err), 0) << err;
  EXPECT_EQ(test::ReadFile(m_Dir.File("sample.bin~")), image);
}

TEST_F(CliTest, DumpAcceptsCompiledImagesAndFindsFaults) {
  setenv("KD820_HOME", KD820_TEST_BINARY_DIR, 1);
  std::string out, err;
  ASSERT_EQ(test::RunProgram(kKD820, {"compile", m_Sample}, &out, &err), 0) << err;
  const std::string image = m_Dir.File("sample.bin~");
  ASSERT_EQ(test::RunProgram(kKD820, {"dump", image}, &out, &err), 0) << out << err;
  EXPECT_NE(out.find("checksum"), std::string::npos);
  EXPECT_NE(out.find("(right)"), std::string::npos);
  EXPECT_NE(out.find("2 frames"), std::string::npos);
  EXPECT_NE(out.find("image is sound"), std::string::npos);

  auto bytes = test::ReadFile(image);
  bytes[bytes.size() - 1] ^= 0x55;
  const std::string damaged = m_Dir.File("damaged.bin~");
  test::WriteFile(damaged, bytes);
  EXPECT_EQ(test::RunProgram(kKD820, {"dump", damaged}, &out, &err), 1);
  EXPECT_NE(out.find("checksum does not match"), std::string::npos) << out;
  // An offset beyond the end is found, not followed.
  bytes = test::ReadFile(image);
  const std::size_t frames = bytes[24 + 12] | (bytes[24 + 13] << 8);
  bytes[frames + 4] = 0xFF;
  bytes[frames + 5] = 0xFF;
  bytes[frames + 6] = 0xFF;
  test::WriteFile(damaged, bytes);
  EXPECT_EQ(test::RunProgram(kKD820, {"dump", damaged}, &out, &err), 1);
  EXPECT_NE(out.find("beyond the image"), std::string::npos) << out;
  EXPECT_EQ(test::RunProgram(kKD820, {"dump", m_Sample}, &out, &err), 1);
}
