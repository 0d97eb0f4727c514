// KD820 download: the package beside the project, and the message when it cannot be written.
#include <gtest/gtest.h>

#include <filesystem>

#include "common/PackageFormat.h"
#include "tests/LibraryTestSupport.h"
#include "tests/TestSupport.h"

namespace {

const std::string kKD820 = std::string(KD820_TEST_BINARY_DIR) + "/KD820";

class DownloadCommandTest : public ::testing::Test {
 protected:
  void SetUp() override {
    setenv("KD820_LOCK_DIR", m_Dir.File("locks").c_str(), 1);
    kd820::CArchive ar;
    auto project = test::Sample();
    ar.WriteObject(project.get());
    m_Project = m_Dir.File("my projects/Sample.FPJ");
    test::WriteText(m_Project, "");
    test::WriteFile(m_Project, ar.Bytes());
  }
  void TearDown() override { unsetenv("KD820_LOCK_DIR"); }
  test::TempDir m_Dir;
  std::string m_Project;
};

TEST_F(DownloadCommandTest, NoStartWritesThePackageWithTheCompiledImage) {
  std::string out, err;
  ASSERT_EQ(test::RunProgram(kKD820, {"download", "--no-start", m_Project}, &out, &err), 0) << err;
  const auto package = test::ReadFile(m_Dir.File("my projects/Sample.td"));
  const auto image = test::ReadFile(m_Dir.File("my projects/Sample.bin~"));
  ASSERT_GE(package.size(), pkg::kHeaderSize2);
  const auto user = pkg::SectionEntry::Decode(package.data() + pkg::kUserDataEntry);
  ASSERT_EQ(user.m_Offset, 148u);
  ASSERT_EQ(user.m_Size, (image.size() + 3) / 4 * 4);
  EXPECT_TRUE(std::equal(image.begin(), image.end(), package.begin() + 148));
  // COM0 is in use in the sample: its driver is there; COM1 is not.
  EXPECT_NE(pkg::SectionEntry::Decode(package.data() + 108).m_Size, 0u);
  EXPECT_EQ(pkg::SectionEntry::Decode(package.data() + 128), pkg::SectionEntry{});
  EXPECT_NE(out.find("Sample.td"), std::string::npos);
}

TEST_F(DownloadCommandTest, APackageThatCannotBeWrittenIsSaidSoAndNoLoaderStarts) {
  std::filesystem::create_directories(m_Dir.File("my projects/Sample.td/inside"));
  std::string out, err;
  EXPECT_EQ(test::RunProgram(kKD820, {"download", m_Project}, &out, &err), 1);
  EXPECT_NE(err.find("制作下载文件包失败！"), std::string::npos) << err;
  EXPECT_EQ(err.find("ND620Loader"), std::string::npos);
  EXPECT_EQ(test::RunProgram(kKD820, {"download", m_Dir.File("none.FPJ")}, &out, &err), 1);
}

}  // namespace
