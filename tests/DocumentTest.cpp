// The project document: open, store, save as, the close-time check, the single-open guard.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>

#include "editor/project/KV410Doc.h"
#include "editor/project/Messages.h"
#include "tests/ScriptedInteraction.h"
#include "tests/TestSupport.h"

using namespace kd820;

namespace {

using Bytes = std::vector<uint8_t>;

// Project-file bytes of a_Project written as file version a_Version (oldest reader a_Oldest),
// with exactly the fields that version has; the frames in a_Order when given.
Bytes ProjectFileBytes(CKV410Project& a_Project, int32_t a_Version, int32_t a_Oldest,
                       std::vector<const CHMIFrame*> a_Order = {}) {
  if (a_Order.empty()) {
    for (const auto& f : a_Project.GetFrames()) a_Order.push_back(f.get());
  }
  a_Project.CountBitmapUses();
  CArchive ar;
  ar.WriteObjectHeader(&a_Project);
  ar.Io(a_Version);
  if (a_Version > 2) ar.Io(a_Oldest);
  int32_t model = a_Project.GetHardwareModelId();
  ar.Io(model);
  if (a_Version >= 2) {
    int32_t labels = a_Project.GetElementLabels() ? 1 : 0;
    ar.Io(labels);
  }
  for (int i = 0; i < 3; ++i) a_Project.GetPort(i)->Serialize(ar);
  a_Project.GetCanPort().Serialize(ar);
  a_Project.GetLangDefine().Serialize(ar);
  ar.WriteCount(static_cast<uint32_t>(a_Order.size()));
  for (const CHMIFrame* f : a_Order) ar.WriteObject(f);
  a_Project.GetSettings().Serialize(ar);
  a_Project.GetAlarms().Serialize(ar);
  if (a_Version > 3) a_Project.GetBitmapLib().Serialize(ar);
  if (a_Version > 4) a_Project.GetTransfers().Serialize(ar);
  return ar.Bytes();
}

std::unique_ptr<CKV410Project> ProjectWithFrames(std::initializer_list<uint16_t> a_Numbers) {
  auto project = std::make_unique<CKV410Project>();
  project->SetHardwareModelId(2);
  for (uint16_t n : a_Numbers) {
    auto frame = std::make_unique<CHMIFrame>(n);
    project->AddFrame(frame);
  }
  return project;
}

class DocumentTest : public ::testing::Test {
 protected:
  void SetUp() override {
    setenv("KD820_LOCK_DIR", m_Dir.File("locks").c_str(), 1);
    setenv("KD820_HOME", m_Dir.Path().c_str(), 1);
  }
  void TearDown() override {
    unsetenv("KD820_LOCK_DIR");
    unsetenv("KD820_HOME");
  }

  // Writes a project file with frames 1 and 2 and returns its path.
  std::string MakeProjectFile(const std::string& a_Name = "plant.FPJ") {
    auto project = ProjectWithFrames({1, 2});
    const std::string path = m_Dir.File(a_Name);
    test::WriteFile(path, ProjectFileBytes(*project, 5, 5));
    return path;
  }

  test::TempDir m_Dir;
  ScriptedInteraction m_Ui;
};

}  // namespace

TEST_F(DocumentTest, OpenChecksTheExtension) {
  const std::string path = MakeProjectFile();
  CKV410Doc doc(m_Ui);
  const std::string xml = m_Dir.File("plant.xml");
  std::filesystem::copy_file(path, xml);
  EXPECT_FALSE(doc.OpenProject(xml));
  ASSERT_EQ(m_Ui.GetShown().size(), 1u);
  EXPECT_EQ(m_Ui.GetShown()[0].m_Text, msg::kNotFpjFile);
  EXPECT_EQ(m_Ui.GetShown()[0].m_Caption, msg::kFileFormatError);

  const std::string lower = m_Dir.File("lower.fpj");
  std::filesystem::copy_file(path, lower);
  ASSERT_TRUE(doc.OpenProject(lower)) << ::testing::PrintToString(m_Ui.Messages());
  EXPECT_EQ(doc.GetProject()->GetName(), "lower");
  EXPECT_EQ(doc.GetProject()->GetImagePath(), m_Dir.File("lower.bin~"));
  EXPECT_EQ(doc.GetProject()->GetImageDirectory(), m_Dir.File("image"));
  EXPECT_EQ(doc.GetCurrentFrame()->GetNumber(), 1);
}

TEST_F(DocumentTest, VersionCases) {
  auto project = ProjectWithFrames({1});
  project->GetTransfers().m_Items.resize(1);  // stored from version 5 on
  const struct {
    int32_t m_Version, m_Oldest;
    bool m_Opens;
  } cases[] = {{5, 5, true}, {6, 5, true}, {3, 6, false}, {4, 4, true}, {1, 0, true}, {2, 0, true}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.m_Version * 10 + c.m_Oldest);
    const std::string path = m_Dir.File("v" + std::to_string(c.m_Version) + ".FPJ");
    test::WriteFile(path, ProjectFileBytes(*project, c.m_Version, c.m_Oldest));
    m_Ui.Clear();
    CKV410Doc doc(m_Ui);
    EXPECT_EQ(doc.OpenProject(path), c.m_Opens);
    if (!c.m_Opens) {
      EXPECT_EQ(m_Ui.Messages(), std::vector<std::string>{msg::kNewerVersion});
      EXPECT_EQ(doc.GetProject(), nullptr);
      continue;
    }
    EXPECT_TRUE(m_Ui.GetShown().empty());
    EXPECT_EQ(doc.GetProject()->GetHardwareModelId(), 2);
    EXPECT_EQ(doc.GetProject()->GetLoadedFileVersion(), c.m_Version);
    EXPECT_EQ(doc.GetProject()->GetFrames().size(), 1u);
    EXPECT_EQ(doc.GetProject()->GetTransfers().m_Items.size(), c.m_Version >= 5 ? 1u : 0u);
  }
}

TEST_F(DocumentTest, VersionOneHasNoLabelSwitchBitmapsOrTransfers) {
  auto project = ProjectWithFrames({1});
  project->SetElementLabels(false);
  const std::string path = m_Dir.File("old.FPJ");
  test::WriteFile(path, ProjectFileBytes(*project, 1, 0));
  CKV410Doc doc(m_Ui);
  ASSERT_TRUE(doc.OpenProject(path)) << ::testing::PrintToString(m_Ui.Messages());
  EXPECT_TRUE(doc.GetProject()->GetElementLabels());
  EXPECT_TRUE(doc.GetProject()->GetBitmapLib().m_Items.empty());
  EXPECT_TRUE(doc.GetProject()->GetTransfers().m_Items.empty());

  // Stored again, it is a current file.
  ASSERT_TRUE(doc.Save());
  const Bytes stored = test::ReadFile(path);
  EXPECT_EQ(stored[19], 5);  // file version after the 19-byte class header
}

TEST_F(DocumentTest, DamagedFilesAreRefused) {
  const std::string path = MakeProjectFile();
  Bytes bytes = test::ReadFile(path);
  for (std::size_t keep : {std::size_t{0}, std::size_t{10}, bytes.size() / 2, bytes.size() - 1}) {
    SCOPED_TRACE(keep);
    const std::string cut = m_Dir.File("cut.FPJ");
    test::WriteFile(cut, Bytes(bytes.begin(), bytes.begin() + static_cast<long>(keep)));
    m_Ui.Clear();
    CKV410Doc doc(m_Ui);
    EXPECT_FALSE(doc.OpenProject(cut));
    // The document's message, then the file and where the reader stopped.
    ASSERT_EQ(m_Ui.Messages().size(), 1u);
    EXPECT_EQ(m_Ui.Messages()[0].rfind(std::string(msg::kOpenFailed) + "\n" + cut + ": ", 0), 0u)
        << m_Ui.Messages()[0];
    EXPECT_EQ(doc.GetProject(), nullptr);
  }
  m_Ui.Clear();
  CKV410Doc doc(m_Ui);
  EXPECT_FALSE(doc.OpenProject(m_Dir.File("missing.FPJ")));
  ASSERT_EQ(m_Ui.Messages().size(), 1u);
  EXPECT_NE(m_Ui.Messages()[0].find("missing.FPJ"), std::string::npos);
}

TEST_F(DocumentTest, FramesAreStoredInAscendingOrder) {
  // A file whose frames are out of order comes back sorted once stored.
  const std::string path = m_Dir.File("order.FPJ");
  auto project = ProjectWithFrames({1, 5, 3});
  std::vector<uint16_t> order;
  for (const auto& f : project->GetFrames()) order.push_back(f->GetNumber());
  EXPECT_EQ(order, (std::vector<uint16_t>{1, 3, 5}));
  test::WriteFile(path, ProjectFileBytes(*project, 5, 5,
                                         {project->FindFrame(5), project->FindFrame(1),
                                          project->FindFrame(3)}));
  CKV410Doc doc(m_Ui);
  ASSERT_TRUE(doc.OpenProject(path)) << ::testing::PrintToString(m_Ui.Messages());
  auto frame = std::make_unique<CHMIFrame>(4);
  EXPECT_TRUE(doc.GetProject()->AddFrame(frame));
  auto dup = std::make_unique<CHMIFrame>(3);
  EXPECT_FALSE(doc.GetProject()->AddFrame(dup));
  EXPECT_NE(dup, nullptr);
  ASSERT_TRUE(doc.Save());
  auto back = CKV410Doc::LoadFromBytes(test::ReadFile(path));
  std::vector<uint16_t> numbers;
  for (const auto& f : back->GetFrames()) numbers.push_back(f->GetNumber());
  EXPECT_EQ(numbers, (std::vector<uint16_t>{1, 3, 4, 5}));
  EXPECT_EQ(back->NextFreeFrameNumber(), 2);
  EXPECT_EQ(back->GetFrameAfter(back->FindFrame(4))->GetNumber(), 5);
  EXPECT_EQ(back->GetFrameAfter(back->FindFrame(5)), nullptr);
  EXPECT_EQ(back->GetFrameBefore(back->FindFrame(1)), nullptr);
}

TEST_F(DocumentTest, UnchangedProjectClosesWithoutAsking) {
  const std::string path = MakeProjectFile();
  CKV410Doc doc(m_Ui);
  ASSERT_TRUE(doc.OpenProject(path)) << ::testing::PrintToString(m_Ui.Messages());
  EXPECT_EQ(doc.GetTitle(), path + " - [plant.FPJ]");
  EXPECT_TRUE(doc.CloseProject());
  EXPECT_TRUE(m_Ui.GetShown().empty());
  EXPECT_EQ(doc.GetTitle(), "KD820");
  // The temporary copy is gone again.
  EXPECT_FALSE(std::filesystem::exists(m_Dir.File("plant.FPJ~")));
}

TEST_F(DocumentTest, ChangedContentAsksEvenWithoutTheModifiedFlag) {
  const std::string path = MakeProjectFile();
  CKV410Doc doc(m_Ui);
  ASSERT_TRUE(doc.OpenProject(path)) << ::testing::PrintToString(m_Ui.Messages());
  doc.GetProject()->FindFrame(2)->SetDescription("changed");
  EXPECT_FALSE(doc.IsModified());

  m_Ui.QueueAnswer(Answer::Cancel);
  EXPECT_FALSE(doc.CloseProject());
  ASSERT_EQ(m_Ui.Questions().size(), 1u);
  EXPECT_EQ(m_Ui.Questions()[0], "是否保存对 " + path + " 的更改?");
  EXPECT_NE(doc.GetProject(), nullptr);

  m_Ui.QueueAnswer(Answer::Yes);
  EXPECT_TRUE(doc.CloseProject());
  EXPECT_EQ(doc.GetProject(), nullptr);
  auto back = CKV410Doc::LoadFromBytes(test::ReadFile(path));
  EXPECT_EQ(back->FindFrame(2)->GetDescription(), "changed");
}

TEST_F(DocumentTest, ModifiedFlagAsksAndNoDiscards) {
  const std::string path = MakeProjectFile();
  const Bytes before = test::ReadFile(path);
  CKV410Doc doc(m_Ui);
  ASSERT_TRUE(doc.OpenProject(path)) << ::testing::PrintToString(m_Ui.Messages());
  doc.GetProject()->FindFrame(1)->SetDescription("discard me");
  doc.SetModifiedFlag();
  EXPECT_EQ(doc.GetTitle(), path + " - [plant.FPJ *]");
  m_Ui.QueueAnswer(Answer::No);
  EXPECT_TRUE(doc.CloseProject());
  EXPECT_EQ(m_Ui.Questions().size(), 1u);
  EXPECT_EQ(test::ReadFile(path), before);
}

TEST_F(DocumentTest, TemporaryCopyFallsBackWhenTheProgramDirectoryIsMissing) {
  setenv("KD820_HOME", m_Dir.File("no-such-directory").c_str(), 1);
  const std::string path = MakeProjectFile();
  CKV410Doc doc(m_Ui);
  ASSERT_TRUE(doc.OpenProject(path)) << ::testing::PrintToString(m_Ui.Messages());
  EXPECT_TRUE(doc.CloseProject());
  EXPECT_TRUE(m_Ui.GetShown().empty());
}

TEST_F(DocumentTest, FailedStoreLeavesThePreviousFileUntouched) {
  const std::string path = MakeProjectFile();
  const Bytes before = test::ReadFile(path);
  CKV410Doc doc(m_Ui);
  ASSERT_TRUE(doc.OpenProject(path)) << ::testing::PrintToString(m_Ui.Messages());
  doc.GetProject()->FindFrame(1)->SetDescription("new");
  doc.SetModifiedFlag();
  // Block the side file the store writes first.
  std::filesystem::create_directory(path + ".tmp-" + std::to_string(getpid()));
  EXPECT_FALSE(doc.Save());
  EXPECT_EQ(m_Ui.Messages().size(), 1u);
  EXPECT_TRUE(doc.IsModified());
  EXPECT_EQ(test::ReadFile(path), before);
  std::filesystem::remove(path + ".tmp-" + std::to_string(getpid()));
  EXPECT_TRUE(doc.Save());
  EXPECT_NE(test::ReadFile(path), before);
}

TEST_F(DocumentTest, SaveAsAsksBeforeReplacingAndMovesTheGuard) {
  const std::string path = MakeProjectFile();
  CKV410Doc doc(m_Ui);
  ASSERT_TRUE(doc.OpenProject(path)) << ::testing::PrintToString(m_Ui.Messages());
  EXPECT_EQ(doc.SaveAsDefaultName(), "plant_1");

  const std::string target = m_Dir.File("copy.FPJ");
  m_Ui.QueueAnswer(Answer::No);
  EXPECT_FALSE(doc.SaveAs(target));
  EXPECT_EQ(m_Ui.Questions(), std::vector<std::string>{msg::kReplaceProject});
  EXPECT_FALSE(std::filesystem::exists(target));

  m_Ui.QueueAnswer(Answer::Yes);
  ASSERT_TRUE(doc.SaveAs(target));
  EXPECT_EQ(test::ReadFile(target), test::ReadFile(path));
  EXPECT_EQ(doc.GetProject()->GetName(), "copy");
  EXPECT_EQ(doc.GetPathName(), target);
  EXPECT_FALSE(NamedLock::IsHeld(CKV410Doc::LockNameFor(path)));
  EXPECT_TRUE(NamedLock::IsHeld(CKV410Doc::LockNameFor(target)));

  // Saving over a project another document holds open is refused.
  ScriptedInteraction otherUi;
  CKV410Doc other(otherUi);
  ASSERT_TRUE(other.OpenProject(path));
  m_Ui.QueueAnswer(Answer::Yes);
  EXPECT_FALSE(doc.SaveAs(path));
  EXPECT_EQ(m_Ui.Messages().back(), msg::kAlreadyOpen);
}

TEST_F(DocumentTest, SecondOpenerIsRefusedWhileTheFirstHoldsTheProject) {
  const std::string path = MakeProjectFile();
  CKV410Doc first(m_Ui);
  ASSERT_TRUE(first.OpenProject(path));
  ScriptedInteraction otherUi;
  CKV410Doc second(otherUi);
  EXPECT_FALSE(second.OpenProject(path));
  EXPECT_EQ(otherUi.Messages(), std::vector<std::string>{msg::kAlreadyOpen});
  // The guard's name ignores letter case.
  EXPECT_EQ(CKV410Doc::LockNameFor("C:\\Data\\Plant.FPJ"), "c:/data/plant.fpj");
  EXPECT_TRUE(first.CloseProject());
  EXPECT_TRUE(second.OpenProject(path));
}

TEST_F(DocumentTest, GuardIsFreedWhenTheHolderDies) {
  const std::string path = MakeProjectFile();
  int ready[2];
  ASSERT_EQ(pipe(ready), 0);
  const pid_t child = fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    ScriptedInteraction ui;
    CKV410Doc doc(ui);
    const char ok = doc.OpenProject(path) ? '1' : '0';
    (void)!write(ready[1], &ok, 1);
    pause();
    _exit(0);
  }
  char ok = 0;
  const bool started = read(ready[0], &ok, 1) == 1 && ok == '1';
  if (started) {
    CKV410Doc doc(m_Ui);
    EXPECT_FALSE(doc.OpenProject(path));
    EXPECT_EQ(m_Ui.Messages(), std::vector<std::string>{msg::kAlreadyOpen});
  }
  kill(child, SIGKILL);  // as abrupt an end as there is
  waitpid(child, nullptr, 0);
  close(ready[0]);
  close(ready[1]);
  ASSERT_TRUE(started);
  CKV410Doc doc(m_Ui);
  EXPECT_TRUE(doc.OpenProject(path));
}

TEST_F(DocumentTest, SwapPortsAndElementLabels) {
  const std::string path = MakeProjectFile();
  CKV410Doc doc(m_Ui);
  ASSERT_TRUE(doc.OpenProject(path)) << ::testing::PrintToString(m_Ui.Messages());
  EXPECT_FALSE(doc.SwapPorts(0, 3));
  EXPECT_EQ(m_Ui.Messages(), std::vector<std::string>{msg::kOnlyComRange});
  EXPECT_TRUE(doc.SwapPorts(1, 1));
  EXPECT_FALSE(doc.IsModified());

  doc.GetProject()->GetPort(0)->m_Enabled = 1;
  doc.GetProject()->GetPort(0)->m_ProtocolId = 7;
  EXPECT_TRUE(doc.SwapPorts(0, 1));
  EXPECT_TRUE(doc.IsModified());
  EXPECT_EQ(doc.GetProject()->GetPort(1)->m_ProtocolId, 7);
  EXPECT_EQ(doc.GetProject()->GetPort(1)->m_PortNumber, 1);

  doc.SetModifiedFlag(false);
  doc.ToggleElementLabels();
  EXPECT_FALSE(doc.GetElementLabels());
  EXPECT_FALSE(doc.GetProject()->GetElementLabels());
  EXPECT_FALSE(doc.IsModified());
}

TEST_F(DocumentTest, AdoptedProjectIsStoredAndGetsAFirstFrame) {
  auto project = std::make_unique<CKV410Project>();
  project->SetPath(m_Dir.File("fresh.FPJ"));
  project->SetHardwareModelId(1);
  CKV410Doc doc(m_Ui);
  ASSERT_TRUE(doc.AdoptProject(std::move(project)));
  ASSERT_TRUE(std::filesystem::exists(m_Dir.File("fresh.FPJ")));
  const CHMIFrame* first = doc.GetCurrentFrame();
  ASSERT_NE(first, nullptr);
  EXPECT_EQ(first->GetNumber(), 1);
  EXPECT_EQ(first->GetPrevious(), 0);
  EXPECT_EQ(first->GetNext(), 2);
  EXPECT_EQ(first->GetName(), "HMI1");
  EXPECT_TRUE(NamedLock::IsHeld(CKV410Doc::LockNameFor(m_Dir.File("fresh.FPJ"))));
}
