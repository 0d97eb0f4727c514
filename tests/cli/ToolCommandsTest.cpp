// KD820 view and KD820 transfer, run with stand-in viewer and transfer programs in PATH.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <cstdlib>
#include <fstream>
#include <sstream>

#include "tests/LibraryTestSupport.h"
#include "tests/TestSupport.h"

namespace {

const std::string kKD820 = std::string(KD820_TEST_BINARY_DIR) + "/KD820";

class ToolCommandsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    setenv("KD820_LOCK_DIR", m_Dir.File("locks").c_str(), 1);
    if (const char* path = std::getenv("PATH")) m_Path = path;
    // Stand-ins that write their arguments, one a line, beside themselves and exit with 5.
    for (const char* name : {"KV410Spy", "KV415DownLoad"}) {
      const std::string script = m_Dir.File(std::string("bin/") + name);
      test::WriteText(script, "#!/bin/sh\nfor a in \"$@\"; do printf '%s\\n' \"$a\"; done > \"$(dirname \"$0\")/" +
                                  std::string(name) + ".args\"\nexit 5\n");
      chmod(script.c_str(), 0755);
    }
    setenv("PATH", (m_Dir.File("bin") + ":" + m_Path).c_str(), 1);
    kd820::CArchive ar;
    auto project = test::Sample();
    ar.WriteObject(project.get());
    m_Project = m_Dir.File("my projects/Sample.FPJ");
    test::WriteText(m_Project, "");
    test::WriteFile(m_Project, ar.Bytes());
  }
  void TearDown() override {
    setenv("PATH", m_Path.c_str(), 1);
    unsetenv("KD820_LOCK_DIR");
  }
  std::string Args(const char* a_Name) {
    std::ifstream in(m_Dir.File(std::string("bin/") + a_Name + ".args"));
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
  }

  test::TempDir m_Dir;
  std::string m_Path;
  std::string m_Project;
};

TEST_F(ToolCommandsTest, ViewCompilesAndStartsTheViewer) {
  std::string out, err;
  ASSERT_EQ(test::RunProgram(kKD820, {"view", "--wait", m_Project}, &out, &err), 5) << err;
  EXPECT_EQ(Args("KV410Spy"), "-o\n-f\n" + m_Dir.File("my projects/Sample.bin~") + "\n");
}

TEST_F(ToolCommandsTest, TransferRunsTheToolAndCreatesTheFile) {
  std::string out, err;
  const std::string file = m_Dir.File("data dir/up.dat");
  std::filesystem::create_directories(m_Dir.File("data dir"));
  ASSERT_EQ(test::RunProgram(kKD820, {"transfer", "download", file, "--port", "2"}, &out, &err), 5) << err;
  EXPECT_TRUE(std::filesystem::exists(file));
  EXPECT_EQ(Args("KV415DownLoad"), "-D\n-f\n" + file + "\n-s\n1\n-i\n6\n-v\n7\n-c\n2\n");
  ASSERT_EQ(test::RunProgram(kKD820, {"transfer", "upload", file, "--port", "1"}, &out, &err), 5) << err;
  EXPECT_EQ(Args("KV415DownLoad"), "-U\n-f\n" + file + "\n-c\n1\n");

  EXPECT_EQ(test::RunProgram(kKD820, {"transfer", "sideways", file, "--port", "1"}, &out, &err), 2);
  EXPECT_EQ(test::RunProgram(kKD820, {"transfer", "upload", m_Dir.File("no dir/x.dat"), "--port", "1"}, &out, &err), 1);
  setenv("PATH", "/nonexistent", 1);
  EXPECT_EQ(test::RunProgram(kKD820, {"transfer", "upload", file, "--port", "1"}, &out, &err), 1);
  EXPECT_NE(err.find("未能正常启动KV415DownLoad"), std::string::npos) << err;
}

}  // namespace
