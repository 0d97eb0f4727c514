// The export and import subcommands: files, replacing, refusing without writing.
#include <gtest/gtest.h>

#include <filesystem>

#include "editor/project/KV410Doc.h"
#include "editor/ui/JsonCommands.h"
#include "platform/NamedLock.h"
#include "tests/JsonTestSupport.h"

using namespace kd820;

namespace {

class JsonCommands : public ::testing::Test {
 protected:
  void SetUp() override {
    setenv("KD820_LOCK_DIR", m_Dir.File("locks").c_str(), 1);
    m_Project = m_Dir.File("plant.FPJ");
    auto sample = test::Sample();
    test::WriteFile(m_Project, test::StoreProject(*sample));
  }
  void TearDown() override { unsetenv("KD820_LOCK_DIR"); }

  // Runs a command and returns what it wrote to standard error.
  template <class F>
  std::string Stderr(F a_Command, int a_ExpectedStatus) {
    ::testing::internal::CaptureStderr();
    const int status = a_Command();
    const std::string err = ::testing::internal::GetCapturedStderr();
    EXPECT_EQ(status, a_ExpectedStatus) << err;
    return err;
  }

  test::ShippedLibrary m_Library;
  test::TempDir m_Dir;
  std::string m_Project;
};

}  // namespace

TEST_F(JsonCommands, ExportThenImportGivesTheSameFile) {
  const std::string json = m_Dir.File("plant.json");
  const std::string copy = m_Dir.File("copy.FPJ");
  EXPECT_EQ(Stderr([&] { return RunExportCommand(m_Project, json); }, 0), "");
  EXPECT_EQ(Stderr([&] { return RunImportCommand(json, copy, false); }, 0), "");
  EXPECT_EQ(test::ReadFile(copy), test::ReadFile(m_Project));

  ::testing::internal::CaptureStdout();
  EXPECT_EQ(RunExportCommand(m_Project, ""), 0);
  const std::string out = ::testing::internal::GetCapturedStdout();
  const auto bytes = test::ReadFile(json);
  EXPECT_EQ(out, std::string(bytes.begin(), bytes.end()));
}

TEST_F(JsonCommands, ImportReplacesOnlyWhenAskedAndNeverWritesARefusedDocument) {
  const std::string json = m_Dir.File("plant.json");
  ASSERT_EQ(RunExportCommand(m_Project, json), 0);
  const std::string target = m_Dir.File("target.FPJ");
  const std::vector<uint8_t> old = {1, 2, 3};
  test::WriteFile(target, old);

  EXPECT_NE(Stderr([&] { return RunImportCommand(json, target, false); }, 1).find("give --yes"),
            std::string::npos);
  EXPECT_EQ(test::ReadFile(target), old);

  const std::string bad = m_Dir.File("bad.json");
  const auto text = test::ReadFile(json);
  std::string broken(text.begin(), text.end());
  broken.replace(broken.find("\"电机过热\""), std::string("\"电机过热\"").size(), "\"\"");
  test::WriteFile(bad, std::vector<uint8_t>(broken.begin(), broken.end()));
  EXPECT_EQ(Stderr([&] { return RunImportCommand(bad, target, true); }, 1),
            "KD820: " + bad + ": alarms.items[0].text: 信息输入不能为空\n");
  EXPECT_EQ(test::ReadFile(target), old);
  EXPECT_FALSE(std::filesystem::exists(m_Dir.File("new.FPJ")));
  EXPECT_EQ(Stderr([&] { return RunImportCommand(bad, m_Dir.File("new.FPJ"), false); }, 1).empty(), false);
  EXPECT_FALSE(std::filesystem::exists(m_Dir.File("new.FPJ")));

  EXPECT_EQ(Stderr([&] { return RunImportCommand(json, target, true); }, 0), "");
  EXPECT_EQ(test::ReadFile(target), test::ReadFile(m_Project));
  // Nothing but the project file is left beside it.
  std::size_t files = 0;
  for (const auto& entry : std::filesystem::directory_iterator(m_Dir.Path())) files += entry.is_regular_file();
  EXPECT_EQ(files, 4u);  // plant.FPJ, plant.json, bad.json, target.FPJ
}

TEST_F(JsonCommands, ImportRefusesOtherTargetsAndOpenProjects) {
  const std::string json = m_Dir.File("plant.json");
  ASSERT_EQ(RunExportCommand(m_Project, json), 0);
  EXPECT_NE(Stderr([&] { return RunImportCommand(json, m_Dir.File("plant2.json"), true); }, 1)
                .find("请确定是否为FPJ文件!"),
            std::string::npos);
  // A project an editor holds open is not replaced.
  const auto lock = NamedLock::TryAcquire(CKV410Doc::LockNameFor(m_Project));
  ASSERT_TRUE(lock);
  const auto before = test::ReadFile(m_Project);
  EXPECT_NE(Stderr([&] { return RunImportCommand(json, m_Project, true); }, 1)
                .find("工程已处于打开状态"),
            std::string::npos);
  EXPECT_EQ(test::ReadFile(m_Project), before);

  EXPECT_NE(Stderr([&] { return RunImportCommand(m_Dir.File("none.json"), m_Dir.File("x.FPJ"), false); }, 1)
                .find("cannot read"),
            std::string::npos);
  EXPECT_NE(Stderr([&] { return RunExportCommand(m_Dir.File("none.FPJ"), json); }, 1).find("none.FPJ"),
            std::string::npos);
}

TEST_F(JsonCommands, NotesAreShownWithASuccessfulImport) {
  const std::string json = m_Dir.File("other-model.json");
  auto sample = test::Sample();
  sample->SetHardwareModelId(42);
  const std::string text = test::ExportJson(*sample);
  test::WriteFile(json, std::vector<uint8_t>(text.begin(), text.end()));
  EXPECT_EQ(Stderr([&] { return RunImportCommand(json, m_Dir.File("other.FPJ"), false); }, 0),
            "KD820: note: " + json +
                ": hardwareModel: the hardware library has no model 42; elements were not checked "
                "against its display\n");
}
