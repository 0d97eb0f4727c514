// The project's files on disk: the single-open lock through symbolic links, between racing
// holders and when its directory cannot be used, what a failed or killed save leaves behind,
// why a file does not open, and what is refused before it is read.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <thread>

#include "editor/project/KV410Doc.h"
#include "editor/project/Messages.h"
#include "platform/FileOperations.h"
#include "platform/Files.h"
#include "platform/NamedLock.h"
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

// The file operations with one step made to fail, recording each step and its descriptor.
struct FaultyFiles {
  // kStalled: the write after the first makes no progress (returns 0).
  enum Step { kNone, kOpen, kWrite, kStalled, kSync, kClose, kRename };
  static inline Step failing = kNone;
  static inline std::vector<std::pair<Step, int>> steps;

  static FileOperations Table() {
    steps.clear();
    FileOperations ops = SystemFileOperations();
    ops.openFile = [](const char* a_Path, int a_Flags, mode_t a_Mode) {
      if (failing == kOpen) return Fail(kOpen, -1, EACCES);
      const int fd = SystemFileOperations().openFile(a_Path, a_Flags, a_Mode);
      steps.emplace_back(kOpen, fd);
      return fd;
    };
    ops.writeFile = [](int a_Fd, const void* a_Data, std::size_t a_Size) -> ssize_t {
      // The first write gets half of the bytes on disk, then the disk is full.
      const bool first = std::count_if(steps.begin(), steps.end(), [](auto s) { return s.first == kWrite; }) == 0;
      if (failing == kWrite && !first) return Fail(kWrite, a_Fd, ENOSPC);
      if (failing == kStalled && !first) {
        steps.emplace_back(kStalled, a_Fd);
        return 0;
      }
      steps.emplace_back(kWrite, a_Fd);
      const bool half = failing == kWrite || failing == kStalled;
      return SystemFileOperations().writeFile(a_Fd, a_Data, half ? (a_Size + 1) / 2 : a_Size);
    };
    ops.syncFile = [](int a_Fd) {
      if (failing == kSync) return Fail(kSync, a_Fd, EIO);
      steps.emplace_back(kSync, a_Fd);
      return SystemFileOperations().syncFile(a_Fd);
    };
    ops.closeFile = [](int a_Fd) {
      const int closed = SystemFileOperations().closeFile(a_Fd);  // closed even when it fails
      if (failing == kClose) return Fail(kClose, a_Fd, EIO);
      steps.emplace_back(kClose, a_Fd);
      return closed;
    };
    ops.renameFile = [](const char* a_From, const char* a_To, bool a_NoReplace) {
      if (failing == kRename) return Fail(kRename, -1, EXDEV);
      steps.emplace_back(kRename, -1);
      return SystemFileOperations().renameFile(a_From, a_To, a_NoReplace);
    };
    return ops;
  }
  static int Fail(Step a_Step, int a_Fd, int a_Errno) {
    steps.emplace_back(a_Step, a_Fd);
    errno = a_Errno;
    return -1;
  }
  static std::ptrdiff_t First(Step a_Step) {
    const auto it = std::find_if(steps.begin(), steps.end(), [&](auto s) { return s.first == a_Step; });
    return it == steps.end() ? -1 : it - steps.begin();
  }
};

// Takes the lock by a second holder the first time a lock is tried, after the lock file the
// first one opened was removed: as if the previous holder let go and another editor came in
// between the first one's open and its lock.
struct ReplacedLockFile {
  static inline std::string name;
  static inline std::unique_ptr<NamedLock> other;
  static inline bool armed = false;

  static FileOperations Table() {
    FileOperations ops = SystemFileOperations();
    ops.lockFile = [](int a_Fd, int a_Operation) {
      if (armed) {
        armed = false;
        unlink(NamedLock::FileFor(name).c_str());
        other = NamedLock::TryAcquire(name);
      }
      return SystemFileOperations().lockFile(a_Fd, a_Operation);
    };
    return ops;
  }
};

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

TEST_F(ProjectFiles, RacingHoldersNeverHoldTheLockTogether) {
  const std::string name = CKV410Doc::LockNameForFile(MakeProjectFile("plant.FPJ"));
  std::atomic<int> holders{0};
  std::atomic<int> most{0};
  std::atomic<int> taken{0};
  std::vector<std::thread> threads;
  for (int t = 0; t < 6; ++t) {
    threads.emplace_back([&] {
      for (int i = 0; i < 2000; ++i) {
        auto lock = NamedLock::TryAcquire(name);
        if (!lock) continue;
        const int now = holders.fetch_add(1) + 1;
        int seen = most.load();
        while (now > seen && !most.compare_exchange_weak(seen, now)) {
        }
        ++taken;
        // Held a while, so that a second holder would overlap.
        for (int k = 0; k < 20; ++k) std::this_thread::yield();
        holders.fetch_sub(1);
      }
    });
  }
  for (auto& thread : threads) thread.join();
  EXPECT_EQ(most.load(), 1);
  EXPECT_GT(taken.load(), 0);
  EXPECT_FALSE(NamedLock::IsHeld(name));
}

TEST_F(ProjectFiles, ALockFileReplacedBeforeItIsLockedDoesNotLetASecondEditorIn) {
  const std::string path = MakeProjectFile("plant.FPJ");
  ReplacedLockFile::name = CKV410Doc::LockNameForFile(path);
  const FileOperations ops = ReplacedLockFile::Table();
  {
    ScopedFileOperations scope(ops);
    ReplacedLockFile::armed = true;
    CKV410Doc doc(m_Ui);
    EXPECT_FALSE(doc.OpenProject(path));
    ASSERT_NE(ReplacedLockFile::other, nullptr);
    EXPECT_EQ(m_Ui.Messages(), std::vector<std::string>{msg::kAlreadyOpen});
  }
  EXPECT_TRUE(NamedLock::IsHeld(ReplacedLockFile::name));
  ReplacedLockFile::other.reset();
  CKV410Doc doc(m_Ui);
  EXPECT_TRUE(doc.OpenProject(path));
}

TEST_F(ProjectFiles, AFailedStepOfASaveKeepsTheOldFileAndLeavesNoTemporaryFile) {
  const std::string path = MakeProjectFile("plant.FPJ");
  const std::string target = m_Dir.File("target.FPJ");
  const std::vector<uint8_t> old = {'o', 'l', 'd'};
  CKV410Doc doc(m_Ui);
  ASSERT_TRUE(doc.OpenProject(path));
  const FileOperations ops = FaultyFiles::Table();
  using F = FaultyFiles;
  for (F::Step step : {F::kOpen, F::kWrite, F::kStalled, F::kSync, F::kClose, F::kRename}) {
    SCOPED_TRACE(step);
    test::WriteFile(target, old);
    m_Ui.Clear();
    F::steps.clear();
    F::failing = step;
    {
      ScopedFileOperations scope(ops);
      EXPECT_FALSE(doc.Store(target));
    }
    EXPECT_NE(F::First(step), -1);  // the step was reached
    EXPECT_EQ(test::ReadFile(target), old);
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(m_Dir.Path())) names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, (std::vector<std::string>{"locks", "plant.FPJ", "target.FPJ"}));
    ASSERT_EQ(m_Ui.Messages().size(), 1u);
    EXPECT_NE(m_Ui.Messages()[0].find(target), std::string::npos) << m_Ui.Messages()[0];
  }
  F::failing = F::kNone;
  {
    ScopedFileOperations scope(ops);
    EXPECT_TRUE(doc.Store(target));
  }
  EXPECT_EQ(test::ReadFile(target), test::ReadFile(path));
  // The written descriptor is flushed to disk before the rename.
  const std::ptrdiff_t sync = F::First(F::kSync);
  ASSERT_NE(sync, -1);
  EXPECT_EQ(F::steps[static_cast<std::size_t>(sync)].second, F::steps[static_cast<std::size_t>(F::First(F::kWrite))].second);
  EXPECT_LT(sync, F::First(F::kRename));
  EXPECT_LT(F::First(F::kClose), F::First(F::kRename));
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
