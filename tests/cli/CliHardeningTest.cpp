// The command line against hostile and careless use: project names that leave their
// directory, imports racing for one path or reaching an open project through a link, what the
// editor writes read back, unknown subcommands, refusals printed as errors, devices as files.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>

#include "editor/project/KV410Doc.h"
#include "editor/screens/RegisterGE.h"
#include "tests/LibraryFixture.h"
#include "tests/ScriptedInteraction.h"
#include "tests/TestSupport.h"

extern char** environ;

using namespace kd820;

namespace {

namespace fs = std::filesystem;

const std::string kKD820 = std::string(KD820_TEST_BINARY_DIR) + "/KD820";

class CliHardening : public ::testing::Test {
 protected:
  void SetUp() override { setenv("KD820_LOCK_DIR", m_Work.File("locks").c_str(), 1); }
  void TearDown() override { unsetenv("KD820_LOCK_DIR"); }

  int Run(const std::vector<std::string>& a_Args) {
    m_Out.clear();
    m_Err.clear();
    return test::RunProgram(kKD820, a_Args, &m_Out, &m_Err);
  }

  // A new project "plant" with protocol 11 on COM0 in the work directory; its path.
  std::string NewProject() {
    EXPECT_EQ(Run({"new", "plant", "--dir", m_Work.Path().string(), "--com0", "11", "--yes"}), 0) << m_Err;
    return m_Work.File("plant/plant.FPJ");
  }

  // The names in a directory (none for a missing one).
  static std::vector<std::string> Names(const fs::path& a_Dir) {
    std::vector<std::string> names;
    std::error_code ec;
    for (const auto& entry : fs::directory_iterator(a_Dir, ec)) names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
  }

  test::LibraryFixture m_Lib;
  test::TempDir m_Work;
  std::string m_Out, m_Err;
};

// Starts KD820 with its standard error going to a_ErrFile.
pid_t Start(const std::vector<std::string>& a_Args, const std::string& a_ErrFile) {
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
  posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
  posix_spawn_file_actions_addopen(&actions, 2, a_ErrFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
  std::vector<std::string> args = {kKD820};
  args.insert(args.end(), a_Args.begin(), a_Args.end());
  std::vector<char*> argv;
  for (auto& a : args) argv.push_back(a.data());
  argv.push_back(nullptr);
  pid_t pid = 0;
  const int rc = posix_spawn(&pid, kKD820.c_str(), &actions, nullptr, argv.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  EXPECT_EQ(rc, 0);
  return pid;
}

int Wait(pid_t a_Pid) {
  int status = 0;
  waitpid(a_Pid, &status, 0);
  return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
}

std::string Text(const std::string& a_File) {
  const auto bytes = test::ReadFile(a_File);
  return std::string(bytes.begin(), bytes.end());
}

}  // namespace

// Fault 1: whatever the editor itself writes, import accepts.
TEST_F(CliHardening, ExportAfterRemovingAPortsPlcImportsAgain) {
  const std::string path = NewProject();
  {
    // A double-word register on COM0.
    ScriptedInteraction ui;
    CKV410Doc doc(ui);
    ASSERT_TRUE(doc.OpenProject(path));
    auto value = std::make_unique<CRegisterGE>();
    value->m_Reg = CAddr(CAddr::kDoubleWord);
    value->m_Reg.m_Port = 0;
    value->m_Reg.m_Station = 1;
    value->m_Reg.m_TypeName = "DD";
    value->m_Reg.m_Address = 100;
    doc.GetProject()->FindFrame(1)->AddElement(std::move(value));
    ASSERT_TRUE(doc.Save());
  }
  ASSERT_EQ(Run({"comm", path, "--com0", "none", "--yes"}), 0) << m_Err;
  const std::string json = m_Work.File("plant.json");
  ASSERT_EQ(Run({"export", path, "-o", json}), 0) << m_Err;
  const std::string copy = m_Work.File("copy.FPJ");
  EXPECT_EQ(Run({"import", json, "-o", copy}), 0) << m_Err;
  ASSERT_TRUE(fs::exists(copy));
  EXPECT_EQ(test::ReadFile(copy), test::ReadFile(path));
}

// Fault 3: the project name is a plain name; nothing is written outside the chosen directory.
TEST_F(CliHardening, NewRefusesANameThatIsNotAPlainName) {
  const fs::path parent = m_Work.Path() / "parent";
  fs::create_directories(parent);
  fs::create_directories(m_Work.Path() / "locks");
  const auto before = Names(m_Work.Path());
  for (const std::string name : {"../escaped", "..", ".", "a/b", "sub/..", "tab\there", "bell\x07", "back\\slash"}) {
    SCOPED_TRACE(name);
    EXPECT_EQ(Run({"new", name, "--dir", parent.string(), "--com0", "11", "--yes"}), 1) << m_Out;
    EXPECT_NE(m_Err.find("is not a plain name"), std::string::npos) << m_Err;
    EXPECT_EQ(Names(parent), std::vector<std::string>{});
    EXPECT_EQ(Names(m_Work.Path()), before);
  }
  // Blanks, dots inside and other characters are plain.
  EXPECT_EQ(Run({"new", " pump.station 2 ", "--dir", parent.string(), "--com0", "11", "--yes"}), 0) << m_Err;
  EXPECT_TRUE(fs::exists(parent / "pump.station 2" / "pump.station 2.FPJ"));
}

// Fault 6: of two imports to the same new path, exactly one writes; the other says the file
// exists.
TEST_F(CliHardening, TwoImportsToTheSameNewPathLeaveExactlyOneWinner) {
  const std::string path = NewProject();
  const std::string json = m_Work.File("plant.json");
  ASSERT_EQ(Run({"export", path, "-o", json}), 0) << m_Err;
  for (int round = 0; round < 20; ++round) {
    SCOPED_TRACE(round);
    const std::string target = m_Work.File("race" + std::to_string(round) + ".FPJ");
    const std::string err1 = m_Work.File("err1"), err2 = m_Work.File("err2");
    const pid_t a = Start({"import", json, "-o", target}, err1);
    const pid_t b = Start({"import", json, "-o", target}, err2);
    const int rcA = Wait(a), rcB = Wait(b);
    const std::string textA = Text(err1), textB = Text(err2);
    ASSERT_EQ((rcA == 0) + (rcB == 0), 1) << textA << textB;
    const std::string& loser = rcA == 0 ? textB : textA;
    EXPECT_NE(loser.find(" exists; give --yes to replace it"), std::string::npos) << loser;
    EXPECT_EQ(test::ReadFile(target), test::ReadFile(path));
  }
  // Nothing but the targets is left: no temporary file of the loser.
  for (const std::string& name : Names(m_Work.Path())) EXPECT_EQ(name.find(".tmp-"), std::string::npos) << name;
}

// Fault 7: an import through a symbolic link does not replace a project an editor has open.
TEST_F(CliHardening, ImportThroughASymbolicLinkDoesNotReplaceAnOpenProject) {
  const std::string path = NewProject();
  const std::string json = m_Work.File("plant.json");
  ASSERT_EQ(Run({"export", path, "-o", json}), 0) << m_Err;
  fs::create_directory_symlink(m_Work.File("plant"), m_Work.File("linked-dir"));
  fs::create_symlink(path, m_Work.File("linked.FPJ"));
  ScriptedInteraction ui;
  CKV410Doc holder(ui);
  ASSERT_TRUE(holder.OpenProject(path));
  const auto before = test::ReadFile(path);
  test::WriteFile(path, {1, 2, 3});  // so that any write shows
  for (const std::string& target : {m_Work.File("linked-dir/plant.FPJ"), m_Work.File("linked.FPJ")}) {
    SCOPED_TRACE(target);
    EXPECT_EQ(Run({"import", json, "-o", target, "--yes"}), 1);
    EXPECT_NE(m_Err.find("工程已处于打开状态"), std::string::npos) << m_Err;
    EXPECT_EQ(test::ReadFile(path), std::vector<uint8_t>({1, 2, 3}));
  }
  EXPECT_TRUE(fs::is_symlink(m_Work.File("linked.FPJ")));
  test::WriteFile(path, before);
}

TEST_F(CliHardening, AnUnknownSubcommandIsNamedWithTheKnownOnes) {
  EXPECT_EQ(Run({"bogus"}), 2);
  EXPECT_NE(m_Err.find("unknown subcommand \"bogus\""), std::string::npos) << m_Err;
  for (const char* known : {"info", "save-as", "compile", "new", "comm", "export", "import"}) {
    EXPECT_NE(m_Err.find(known), std::string::npos) << known << "\n" << m_Err;
  }
  EXPECT_EQ(m_Err.find("A subcommand is required"), std::string::npos) << m_Err;
  // Without any subcommand the window opens; with no display KD820 fails with its own message.
  test::NoDisplay noDisplay;
#if KD820_TEST_WINDOW
  EXPECT_EQ(Run({}), 1);
  EXPECT_NE(m_Err.find("no display"), std::string::npos) << m_Err;
#else
  EXPECT_EQ(Run({}), 2);
#endif
}

TEST_F(CliHardening, ARefusalThatEndsWithExit1IsPrintedAsAnError) {
  const std::string path = NewProject();
  ScriptedInteraction ui;
  CKV410Doc holder(ui);
  ASSERT_TRUE(holder.OpenProject(path));
  EXPECT_EQ(Run({"save-as", "--yes", path, m_Work.File("copy.FPJ")}), 1);
  EXPECT_NE(m_Err.find("KD820: error: 工程已处于打开状态"), std::string::npos) << m_Err;
  EXPECT_EQ(m_Err.find("warning"), std::string::npos) << m_Err;
  EXPECT_EQ(Run({"comm", path, "--com0", "none", "--yes"}), 1);
  EXPECT_NE(m_Err.find("KD820: error: 工程已处于打开状态"), std::string::npos) << m_Err;
}

TEST_F(CliHardening, InfoRefusesWhatIsNotARegularFile) {
  EXPECT_EQ(Run({"info", "/dev/zero"}), 1);
  EXPECT_NE(m_Err.find("/dev/zero: not a regular file"), std::string::npos) << m_Err;
  EXPECT_EQ(Run({"info", m_Work.Path().string()}), 1);
  EXPECT_NE(m_Err.find(m_Work.Path().string() + ": not a regular file"), std::string::npos) << m_Err;
}
