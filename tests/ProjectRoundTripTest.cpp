// Whole projects through the project file: every element type, languages, alarms, transfers
// and bitmap items come back byte for byte.
#include <gtest/gtest.h>

#include "demo/SampleProject.h"
#include "tests/ScriptedInteraction.h"
#include "tests/LibraryTestSupport.h"
#include "editor/project/KV410Doc.h"
#include "editor/screens/PictureGE.h"
#include "fuzz/FuzzTargets.h"
#include "tests/TestSupport.h"

using namespace kd820;

namespace {

std::vector<uint8_t> Store(CKV410Project& a_Project) {
  CArchive ar;
  a_Project.SortFrames();
  ar.WriteObject(&a_Project);
  return ar.Bytes();
}

}  // namespace

TEST(ProjectRoundTrip, SampleStoresLoadsAndStoresIdentically) {
  auto project = test::Sample();
  const auto first = Store(*project);
  auto loaded = CKV410Doc::LoadFromBytes(first);
  EXPECT_EQ(Store(*loaded), first);

  ASSERT_EQ(loaded->GetFrames().size(), 2u);
  EXPECT_EQ(loaded->GetLangDefine().m_Items.size(), 3u);
  EXPECT_EQ(loaded->GetAlarms().m_Alarms.size(), 2u);
  EXPECT_EQ(loaded->GetTransfers().m_Items.size(), 2u);
  EXPECT_EQ(loaded->GetBitmapLib().m_Items.size(), 2u);
  // Every element type is present, with its stored name.
  std::set<std::string> classes;
  for (const auto& f : loaded->GetFrames()) {
    for (const auto& e : f->GetElements()) classes.insert(e->GetRuntimeClass()->m_ClassName);
  }
  EXPECT_EQ(classes.size(), 10u);
  EXPECT_EQ(loaded->FindFrame(1)->GetElements()[1]->GetName(), "ST1");
}

TEST(ProjectRoundTrip, UnusedBitmapsAreLeftOutAndUseCountsRecomputed) {
  auto project = test::Sample();
  const int32_t unused = project->GetBitmapLib().AddItem(8, 1, {0x5A});
  ASSERT_GT(unused, 0);
  // A second picture of item 1 counts twice.
  auto extra = std::make_unique<CPictureGE>();
  extra->m_ItemId = 1;
  project->FindFrame(2)->AddElement(std::move(extra));
  auto loaded = CKV410Doc::LoadFromBytes(Store(*project));
  const auto& items = loaded->GetBitmapLib().m_Items;
  ASSERT_EQ(items.size(), 2u);
  EXPECT_EQ(loaded->GetBitmapLib().FindItem(unused), nullptr);
  EXPECT_EQ(loaded->GetBitmapLib().FindItem(1)->m_UseCount, 2);
  EXPECT_EQ(loaded->GetBitmapLib().FindItem(2)->m_UseCount, 1);
}

TEST(ProjectRoundTrip, OpenedUnchangedSampleDoesNotAskToSave) {
  test::TempDir dir;
  setenv("KD820_LOCK_DIR", dir.File("locks").c_str(), 1);
  const std::string path = dir.File("sample.FPJ");
  test::WriteFile(path, Store(*test::Sample()));
  ScriptedInteraction ui;
  {
    CKV410Doc doc(ui);
    ASSERT_TRUE(doc.OpenProject(path));
    EXPECT_TRUE(doc.CloseProject());
  }
  EXPECT_TRUE(ui.GetShown().empty());
  unsetenv("KD820_LOCK_DIR");
}

TEST(ProjectRoundTrip, SampleIsAcceptedByTheFuzzInvariant) {
  const auto bytes = Store(*test::Sample());
  EXPECT_EQ(FuzzProjectLoad(bytes.data(), bytes.size()), 0);
}

TEST(ProjectRoundTrip, SwapPortsReachesEveryAddress) {
  auto project = test::Sample();
  std::string error;
  ASSERT_TRUE(project->SwapPorts(0, 2, &error));
  int onPort2 = 0, onPort0 = 0;
  const auto count = [&](const CAddr& a_Addr) {
    onPort2 += a_Addr.m_Port == 2;
    onPort0 += a_Addr.m_Port == 0;
  };
  for (const auto& f : project->GetFrames()) {
    for (const auto& e : f->GetElements()) e->VisitAddresses([&](CAddr& a) { count(a); });
  }
  for (const auto& a : project->GetAlarms().m_Alarms) count(a.m_Register);
  for (const auto& t : project->GetTransfers().m_Items) {
    count(t.m_Source);
    count(t.m_Destination);
    count(t.m_Trigger);
  }
  EXPECT_EQ(onPort0, 0);
  EXPECT_GT(onPort2, 10);
  EXPECT_TRUE(project->GetPort(2)->IsEnabled());
  EXPECT_FALSE(project->GetPort(0)->IsEnabled());
  EXPECT_EQ(project->GetPort(2)->m_PortNumber, 2);
}
