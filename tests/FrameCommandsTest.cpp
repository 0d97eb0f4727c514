// New frame, Copy frame and Delete frame with their questions.
#include <gtest/gtest.h>

#include "editor/project/EditMessages.h"
#include "tests/EditorFixture.h"

using namespace kd820;

namespace {

using FrameCommandsTest = test::EditorTest;

std::vector<uint16_t> Numbers(const CKV410Project& a_Project) {
  std::vector<uint16_t> out;
  for (const auto& f : a_Project.GetFrames()) out.push_back(f->GetNumber());
  return out;
}

TEST_F(FrameCommandsTest, NewFrameGetsItsKeyFramesAndAsksBeforeReplacing) {
  CKV410Project& project = *m_Doc.GetProject();
  ASSERT_TRUE(m_Editor.NewFrame(5, "five"));
  CHMIFrame* five = project.FindFrame(5);
  ASSERT_NE(five, nullptr);
  EXPECT_EQ(m_Editor.CurrentFrame(), five);
  EXPECT_EQ(five->GetName(), "HMI5");
  EXPECT_EQ(five->GetDescription(), "five");
  EXPECT_EQ(five->GetPrevious(), 4);
  EXPECT_EQ(five->GetNext(), 6);
  EXPECT_TRUE(m_Ui.Questions().empty());
  Add(1, 1);

  // Cancel leaves everything; OK replaces the frame and its elements.
  EXPECT_FALSE(m_Editor.NewFrame(5, "again"));
  EXPECT_EQ(m_Ui.Questions(), std::vector<std::string>{msg::kFrameExists});
  EXPECT_EQ(project.FindFrame(5), five);
  m_Ui.QueueAnswer(Answer::Yes);
  ASSERT_TRUE(m_Editor.NewFrame(5, "again"));
  EXPECT_EQ(project.FindFrame(5)->GetDescription(), "again");
  EXPECT_TRUE(project.FindFrame(5)->GetElements().empty());
  EXPECT_EQ(Numbers(project), (std::vector<uint16_t>{1, 5}));
  ASSERT_TRUE(m_Editor.Undo());
  EXPECT_EQ(project.FindFrame(5), five);
  EXPECT_EQ(five->GetElements().size(), 1u);
}

TEST_F(FrameCommandsTest, CopyFrameClonesTheCurrentFrame) {
  CKV410Project& project = *m_Doc.GetProject();
  CHMIFrame* source = m_Editor.CurrentFrame();
  Add(3, 4);
  Add(30, 4, 20, 10, kTypeBar);
  EXPECT_FALSE(m_Editor.CopyFrame(1));  // the same number does nothing
  EXPECT_TRUE(m_Ui.Questions().empty());
  ASSERT_TRUE(m_Editor.CopyFrame(3));
  const CHMIFrame* copy = project.FindFrame(3);
  ASSERT_NE(copy, nullptr);
  EXPECT_EQ(m_Editor.CurrentFrame(), source);
  EXPECT_EQ(copy->GetName(), "HMI3");
  EXPECT_EQ(copy->GetPrevious(), 2);
  EXPECT_EQ(copy->GetNext(), 4);
  ASSERT_EQ(copy->GetElements().size(), 2u);
  EXPECT_EQ(copy->GetElements()[1]->GetRect(), (CRect{30, 4, 50, 14}));
  EXPECT_EQ(copy->GetElements()[1]->GetName(), "BAR0");

  // The existing target is replaced only after the question (text and caption as shown).
  EXPECT_FALSE(m_Editor.CopyFrame(3));
  ASSERT_EQ(m_Ui.GetShown().size(), 1u);
  EXPECT_EQ(m_Ui.GetShown()[0].m_Text, msg::kCopyFrame);
  EXPECT_EQ(m_Ui.GetShown()[0].m_Caption, msg::kFrameExists);
  EXPECT_EQ(project.FindFrame(3), copy);
  m_Ui.QueueAnswer(Answer::Yes);
  ASSERT_TRUE(m_Editor.CopyFrame(3));
  EXPECT_NE(project.FindFrame(3), copy);
  EXPECT_EQ(Numbers(project), (std::vector<uint16_t>{1, 3}));
}

TEST_F(FrameCommandsTest, DeleteFrameAsksAndMovesToANeighbour) {
  CKV410Project& project = *m_Doc.GetProject();
  ASSERT_TRUE(m_Editor.NewFrame(4, ""));
  ASSERT_TRUE(m_Editor.NewFrame(7, ""));
  m_Editor.SetCurrentFrame(project.FindFrame(4));
  EXPECT_FALSE(m_Editor.DeleteFrame());
  ASSERT_EQ(m_Ui.GetShown().size(), 1u);
  EXPECT_EQ(m_Ui.GetShown()[0].m_Text, "删除画面 4?");
  EXPECT_EQ(m_Ui.GetShown()[0].m_Caption, msg::kDeleteFrame);
  m_Ui.QueueAnswer(Answer::Yes);
  ASSERT_TRUE(m_Editor.DeleteFrame());
  EXPECT_EQ(Numbers(project), (std::vector<uint16_t>{1, 7}));
  EXPECT_EQ(m_Editor.CurrentFrame(), project.FindFrame(7));
  m_Ui.QueueAnswer(Answer::Yes);
  ASSERT_TRUE(m_Editor.DeleteFrame());
  EXPECT_EQ(m_Editor.CurrentFrame(), project.FindFrame(1));
  m_Ui.QueueAnswer(Answer::Yes);
  ASSERT_TRUE(m_Editor.DeleteFrame());
  EXPECT_EQ(m_Editor.CurrentFrame(), nullptr);
  EXPECT_FALSE(m_Editor.IsAvailable(EditAction::DeleteFrame));
  EXPECT_TRUE(m_Editor.IsAvailable(EditAction::NewFrame));
  while (m_Editor.Undo()) {}
  EXPECT_EQ(Numbers(project), (std::vector<uint16_t>{1}));
}

}  // namespace
