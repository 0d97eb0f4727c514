// The project's files on disk: the single-open lock through symbolic links and when its
// directory cannot be used, what a killed save leaves behind, why a file does not open, and
// what is refused before it is read.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>

#include "editor/project/KV410Doc.h"
#include "editor/project/Messages.h"
#include "platform/Files.h"
#include "tests/ScriptedInteraction.h"
#include "tests/TestSupport.h"

using namespace kd820;

namespace {

namespace fs = std::filesystem;

class ProjectFiles : public ::testing::Test {
 protected:
  void SetUp() override {
    setenv("KD820_LOCK_DIR", m_Dir.File("locks").c_str(), 1);
    setenv("KD820_HOME", m_Dir.Path().c_str(), 1);
  }
  void TearDown() override {
    unsetenv("KD820_LOCK_DIR");
    unsetenv("KD820_HOME");
  }

  // A project file with one frame at a_Relative in the test directory.
  std::string MakeProjectFile(const std::string& a_Relative) {
    CKV410Project project;
    auto frame = std::make_unique<CHMIFrame>(1);
    project.AddFrame(frame);
    const std::string path = m_Dir.File(a_Relative);
    fs::create_directories(fs::path(path).parent_path());
    test::WriteFile(path, CKV410Doc::ProjectFileBytes(project));
    return path;
  }

  test::TempDir m_Dir;
  ScriptedInteraction m_Ui;
};

// The id of a process that has ended.
pid_t EndedProcess() {
  const pid_t pid = fork();
  if (pid == 0) _exit(0);
  int status = 0;
  waitpid(pid, &status, 0);
  return pid;
}

}  // namespace

// Fault 7: the lock is named after the file the path leads to, not after the path as written.
TEST_F(ProjectFiles, TheSingleOpenLockIsNamedAfterTheCanonicalPath) {
  const std::string path = MakeProjectFile("real/plant.FPJ");
  fs::create_directory_symlink(m_Dir.File("real"), m_Dir.File("linked-dir"));
  fs::create_symlink(path, m_Dir.File("linked.FPJ"));
  CKV410Doc holder(m_Ui);
  ASSERT_TRUE(holder.OpenProject(path));
  for (const std::string& other : {m_Dir.File("linked-dir/plant.FPJ"), m_Dir.File("linked.FPJ"),
                                   m_Dir.File("real/../real/plant.FPJ")}) {
    SCOPED_TRACE(other);
    ScriptedInteraction ui;
    CKV410Doc second(ui);
    EXPECT_FALSE(second.OpenProject(other));
    EXPECT_EQ(ui.Messages(), std::vector<std::string>{msg::kAlreadyOpen});
  }
}

// Fault 8: a lock directory that cannot be used is not a project that is open elsewhere.
TEST_F(ProjectFiles, AnUnusableLockDirectoryIsReportedAsSuch) {
  const std::string path = MakeProjectFile("plant.FPJ");
  const std::string file = m_Dir.File("a-file");
  test::WriteFile(file, {1});
  for (const std::string& dir : {file, m_Dir.File("missing/locks")}) {
    SCOPED_TRACE(dir);
    setenv("KD820_LOCK_DIR", dir.c_str(), 1);
    m_Ui.Clear();
    CKV410Doc doc(m_Ui);
    EXPECT_FALSE(doc.OpenProject(path));
    ASSERT_EQ(m_Ui.Messages().size(), 1u);
    const std::string message = m_Ui.Messages()[0];
    EXPECT_EQ(message.find(msg::kAlreadyOpen), std::string::npos) << message;
    EXPECT_NE(message.find("the lock directory " + dir + " cannot be used"), std::string::npos) << message;
    EXPECT_NE(message.find("KD820_LOCK_DIR"), std::string::npos) << message;
  }
}

TEST_F(ProjectFiles, OpenFailedIsFollowedByTheFileAndTheReason) {
  const std::string path = MakeProjectFile("plant.FPJ");
  auto bytes = test::ReadFile(path);
  bytes.resize(bytes.size() / 2);
  const std::string cut = m_Dir.File("cut.FPJ");
  test::WriteFile(cut, bytes);
  CKV410Doc doc(m_Ui);
  EXPECT_FALSE(doc.OpenProject(cut));
  ASSERT_EQ(m_Ui.Messages().size(), 1u);
  const std::string message = m_Ui.Messages()[0];
  const std::string head = std::string(msg::kOpenFailed) + "\n" + cut + ": ";
  EXPECT_EQ(message.substr(0, head.size()), head) << message;
  EXPECT_NE(message.find("unexpected end of archive (at byte "), std::string::npos) << message;
}

TEST_F(ProjectFiles, ASaveRemovesTheTemporaryFilesOfEndedSaves) {
  const std::string path = MakeProjectFile("plant.FPJ");
  const std::string ended = path + ".tmp-" + std::to_string(EndedProcess());
  const std::string other = m_Dir.File("other.FPJ.tmp-") + std::to_string(EndedProcess());
  const std::string running = path + ".tmp-" + std::to_string(getppid());  // a live process
  const std::string notOurs = m_Dir.File("notes.tmp-later");
  for (const std::string& file : {ended, other, running, notOurs}) test::WriteFile(file, {1, 2, 3});
  CKV410Doc doc(m_Ui);
  ASSERT_TRUE(doc.OpenProject(path));
  ASSERT_TRUE(doc.Store(path));
  EXPECT_FALSE(fs::exists(ended));
  EXPECT_FALSE(fs::exists(other));
  EXPECT_TRUE(fs::exists(running));
  EXPECT_TRUE(fs::exists(notOurs));
}

TEST_F(ProjectFiles, WhatIsNotARegularFileOrTooLargeIsRefusedBeforeItIsRead) {
  // A device without end, a pipe without a writer (not waited for) and a directory.
  const std::string pipe = m_Dir.File("pipe.FPJ");
  ASSERT_EQ(mkfifo(pipe.c_str(), 0600), 0);
  for (const std::string& other : {std::string("/dev/zero"), pipe, m_Dir.Path().string()}) {
    m_Ui.Clear();
    EXPECT_EQ(CKV410Doc::ReadProjectFile(other, m_Ui), nullptr);
    ASSERT_EQ(m_Ui.Messages().size(), 1u);
    EXPECT_NE(m_Ui.Messages()[0].find(other + ": not a regular file"), std::string::npos) << m_Ui.Messages()[0];
  }
  // Larger than any project file (512 MiB): refused by its size, without reading it. The file
  // is sparse, so it takes no room.
  const std::string huge = m_Dir.File("huge.FPJ");
  test::WriteFile(huge, {});
  fs::resize_file(huge, (std::uintmax_t{512} << 20) + 1);
  m_Ui.Clear();
  EXPECT_EQ(CKV410Doc::ReadProjectFile(huge, m_Ui), nullptr);
  ASSERT_EQ(m_Ui.Messages().size(), 1u);
  EXPECT_NE(m_Ui.Messages()[0].find(huge + ": 536870913 bytes, larger than the 536870912 bytes a file of its kind may have"),
            std::string::npos)
      << m_Ui.Messages()[0];

  std::string error;
  EXPECT_FALSE(ReadWholeFile(huge, error, 100));
  EXPECT_EQ(error, huge + ": 536870913 bytes, larger than the 100 bytes a file of its kind may have");
}
