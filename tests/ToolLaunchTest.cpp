// The viewer and transfer tool command lines, compile-and-view and the data task.
#include <gtest/gtest.h>

#include <filesystem>

#include "editor/compiler/ToolLaunch.h"
#include "editor/project/KV410Doc.h"
#include "tests/LibraryTestSupport.h"
#include "tests/ScriptedInteraction.h"
#include "tests/TestSupport.h"

using namespace kd820;

namespace {

// Records the calls and answers them as told.
class RecordingStarter : public IProgramStarter {
 public:
  bool Start(const CProgramCall& a_Call, int& a_ExitCode, std::string& a_Error) override {
    m_Calls.push_back(a_Call);
    a_ExitCode = m_ExitCode;
    if (!m_Starts) a_Error = "not found";
    return m_Starts;
  }
  std::vector<CProgramCall> m_Calls;
  bool m_Starts = true;
  int m_ExitCode = 0;
};

class ToolLaunchTest : public ::testing::Test {
 protected:
  void SetUp() override {
    setenv("KD820_LOCK_DIR", m_Dir.File("locks").c_str(), 1);
    std::filesystem::create_directories(m_ProjectDir);
    auto project = test::Sample();
    project->SetPath((m_ProjectDir / "Pump Panel.FPJ").string());
    ASSERT_TRUE(m_Doc.AdoptProject(std::move(project)));
  }
  void TearDown() override { unsetenv("KD820_LOCK_DIR"); }

  test::TempDir m_Dir;
  std::filesystem::path m_ProjectDir = m_Dir.Path() / "my projects" / "pump";
  ScriptedInteraction m_Ui;
  test::DiagnosticCapture m_Problems;
  CKV410Doc m_Doc{m_Ui, m_Problems};
  RecordingStarter m_Starter;
};

TEST_F(ToolLaunchTest, CompileAndViewStartsTheViewerOnTheImage) {
  const CViewResult result = CompileAndView(m_Doc, m_Starter);
  ASSERT_TRUE(result.m_Compile.Ok());
  EXPECT_TRUE(result.m_Started);
  const std::string image = (m_ProjectDir / "Pump Panel.bin~").string();
  EXPECT_TRUE(std::filesystem::exists(image));
  ASSERT_EQ(m_Starter.m_Calls.size(), 1u);
  // The spaced image path is one argument; nothing is quoted or split.
  EXPECT_EQ(m_Starter.m_Calls[0], (CProgramCall{"KV410Spy", {"-o", "-f", image}, m_ProjectDir.string(), false}));

  // A viewer that does not start is not reported to the user.
  m_Starter.m_Starts = false;
  EXPECT_FALSE(CompileAndView(m_Doc, m_Starter).m_Started);
  EXPECT_TRUE(m_Ui.GetShown().empty());
}

TEST_F(ToolLaunchTest, AFailedCompileStartsNoViewer) {
  std::filesystem::remove_all(m_ProjectDir);  // the image cannot be written
  const CViewResult result = CompileAndView(m_Doc, m_Starter);
  EXPECT_FALSE(result.m_Compile.Ok());
  EXPECT_FALSE(result.m_Started);
  EXPECT_TRUE(m_Starter.m_Calls.empty());
}

TEST_F(ToolLaunchTest, TransferCommandLinesTakeTheTaskFileAndPort) {
  CMissionValues values = InitialMissionValues("/data/my dir");
  EXPECT_EQ(values.m_File, "/data/my dir/upload.dat");
  EXPECT_EQ(values.m_Task, CMissionValues::kUpload);
  EXPECT_EQ(values.m_PortIndex, 0);
  EXPECT_EQ(values.m_BaudRateIndex, 7);
  EXPECT_EQ(TransferCall(values),
            (CProgramCall{"KV415DownLoad", {"-U", "-f", "/data/my dir/upload.dat", "-c", "1"}, "", true}));

  // Download always passes -s 1 -i 6 -v 7, whatever the communication lists show.
  values.m_Task = CMissionValues::kDownload;
  values.m_PortIndex = 3;
  values.m_BaudRateIndex = 2;
  values.m_DataBitsIndex = 1;
  values.m_StopBitsIndex = 1;
  values.m_ParityIndex = 2;
  const std::vector<std::string> download = {"-D", "-f", "/data/my dir/upload.dat", "-s", "1", "-i", "6",
                                             "-v", "7", "-c", "4"};
  EXPECT_EQ(TransferCall(values).m_Arguments, download);

  // The task waits for the tool; its exit code is read, a start failure is only returned.
  m_Starter.m_ExitCode = 3;
  const CTransferResult result = RunTransferTask(values, m_Starter);
  EXPECT_TRUE(result.m_Started);
  EXPECT_EQ(result.m_ExitCode, 3);
  ASSERT_EQ(m_Starter.m_Calls.size(), 1u);
  EXPECT_TRUE(m_Starter.m_Calls[0].m_Wait);
  m_Starter.m_Starts = false;
  EXPECT_FALSE(RunTransferTask(values, m_Starter).m_Started);
}

TEST_F(ToolLaunchTest, TheBrowseStepCreatesTheTargetFileAndKeepsAnExistingOne) {
  const std::string fresh = m_Dir.File("new data.dat");
  ASSERT_TRUE(PrepareTargetFile(fresh));
  EXPECT_TRUE(std::filesystem::exists(fresh));
  EXPECT_EQ(std::filesystem::file_size(fresh), 0u);

  const std::string kept = m_Dir.File("kept.dat");
  test::WriteFile(kept, {1, 2, 3});
  ASSERT_TRUE(PrepareTargetFile(kept));
  EXPECT_EQ(test::ReadFile(kept), (std::vector<uint8_t>{1, 2, 3}));

  EXPECT_FALSE(PrepareTargetFile(m_Dir.File("missing dir/x.dat")));
}

}  // namespace
