// Undo and redo of the editing commands, the modified flag that follows the history, the
// change events, and long random command sequences that undo back to the saved bytes.
#include <gtest/gtest.h>

#include <functional>
#include <random>

#include "editor/screens/StaticText.h"
#include "tests/EditorFixture.h"

using namespace kd820;

namespace {

// The sample project (two frames, every element type, bitmaps, settings), adopted and saved.
class EditHistoryTest : public test::EditorTest {
 protected:
  void SetUp() override {
    auto project = test::Sample();
    project->SetPath(m_Dir.File("sample.FPJ"));
    ASSERT_TRUE(m_Doc.AdoptProject(std::move(project)));
    ASSERT_TRUE(m_Doc.Save());
    m_Editor.Reset();
    m_Editor.AddListener(m_Changes);
  }

  std::vector<CGraphElement*> Elements() {
    std::vector<CGraphElement*> out;
    for (const auto& e : Frame().GetElements()) out.push_back(e.get());
    return out;
  }
};

TEST_F(EditHistoryTest, EveryCommandKindUndoesAndRedoesExactly) {
  const std::vector<std::pair<const char*, std::function<bool()>>> commands = {
      {"insert", [&] { return Add(3, 3) != nullptr; }},
      {"delete", [&] { m_Editor.SelectAll(); return m_Editor.Delete(); }},
      {"cut", [&] { m_Editor.Select(Elements()[1]); return m_Editor.Cut(); }},
      {"paste", [&] { m_Editor.SelectAll(); return m_Editor.Copy() && m_Editor.Paste(); }},
      {"move", [&] { m_Editor.Select(Elements()[0]); return m_Editor.MoveByPixel(1, 1); }},
      {"front", [&] { m_Editor.Select(Elements()[0]); return m_Editor.BringToFront(); }},
      {"back", [&] { m_Editor.Select(Elements().back()); return m_Editor.SendToBack(); }},
      {"align", [&] { SelectInOrder({Elements()[0], Elements()[2]}); return m_Editor.Align(AlignMode::Right); }},
      {"spacing", [&] {
         auto e = Elements();
         SelectInOrder({e[0], e[1], e[2]});
         return m_Editor.SpaceEqually(false) || m_Editor.SpaceEqually(true) || m_Editor.Centre(true, true);
       }},
      {"centre", [&] { m_Editor.Select(Elements()[0]); return m_Editor.Centre(true, true); }},
      {"resize", [&] { return m_Editor.SetGeometry(*Elements()[0], {1, 2, 3, 4}); }},
      {"properties", [&] {
         return m_Editor.EditElement(*Elements()[0], [](CGraphElement& a_E) { a_E.SetReverse(!a_E.IsReverse()); });
       }},
      {"settings", [&] {
         return m_Editor.EditSettings([](CKV410Project& a_P) {
           a_P.GetSettings().m_ScreenSaverMinutes = 9;
           a_P.SetElementLabels(false);
         });
       }},
      {"frame", [&] { return m_Editor.EditFrame(Frame(), {"changed", 7, 8}); }},
      {"new frame", [&] { return m_Editor.NewFrame(9, "nine"); }},
      {"copy frame", [&] { return m_Editor.CopyFrame(12); }},
      {"delete frame", [&] { m_Ui.QueueAnswer(Answer::Yes); return m_Editor.DeleteFrame(); }},
  };
  const std::vector<uint8_t> original = Stored();
  for (const auto& [name, command] : commands) {
    SCOPED_TRACE(name);
    ASSERT_TRUE(command());
    EXPECT_TRUE(m_Doc.IsModified());
    const std::vector<uint8_t> edited = Stored();
    EXPECT_NE(edited, original);
    ASSERT_TRUE(m_Editor.Undo());
    EXPECT_EQ(Stored(), original);
    EXPECT_FALSE(m_Doc.IsModified());
    ASSERT_TRUE(m_Editor.Redo());
    EXPECT_EQ(Stored(), edited);
    ASSERT_TRUE(m_Editor.Undo());
    m_Editor.SelectNone();
  }
}

TEST_F(EditHistoryTest, ModifiedFlagFollowsTheSavedState) {
  CGraphElement* e = Add(0, 0);
  m_Editor.Select(e);
  ASSERT_TRUE(m_Editor.MoveByPixel(1, 0));
  EXPECT_TRUE(m_Doc.IsModified());
  ASSERT_TRUE(m_Editor.Save());
  EXPECT_FALSE(m_Doc.IsModified());
  ASSERT_TRUE(m_Editor.Undo());
  EXPECT_TRUE(m_Doc.IsModified());
  ASSERT_TRUE(m_Editor.Redo());
  EXPECT_FALSE(m_Doc.IsModified());
  EXPECT_TRUE(m_Changes.Saw(ChangeKind::ModifiedChanged));

  // A new command after undoing past the saved state makes it unreachable.
  ASSERT_TRUE(m_Editor.Undo());
  ASSERT_TRUE(m_Editor.Undo());
  Add(5, 5);
  EXPECT_FALSE(m_Editor.IsAvailable(EditAction::Redo));
  while (m_Editor.Undo()) EXPECT_TRUE(m_Doc.IsModified());
}

TEST_F(EditHistoryTest, HistoryHoldsAtLeastAHundredSteps) {
  const std::vector<uint8_t> original = Stored();
  CGraphElement* e = Add(0, 0);
  m_Editor.Select(e);
  for (int i = 0; i < 150; ++i) ASSERT_TRUE(m_Editor.MoveByPixel(i % 2 == 0 ? 1 : -1, 0));
  int undone = 0;
  while (m_Editor.Undo()) ++undone;
  EXPECT_EQ(undone, 151);
  EXPECT_EQ(Stored(), original);

  CCommandHistory small(3);
  CChangeList changes;
  for (int i = 0; i < 5; ++i) {
    small.Execute(std::make_unique<CCompositeCommand>("nothing"), changes);
  }
  EXPECT_EQ(small.UndoCount(), 3u);
  EXPECT_FALSE(small.IsClean());
  while (small.Undo(changes)) {}
  EXPECT_FALSE(small.IsClean());  // the saved state was forgotten with the oldest steps
}

TEST_F(EditHistoryTest, UndoRestoresTheSelectionAndTheCurrentFrame) {
  CHMIFrame* first = &Frame();
  auto e = Elements();
  SelectInOrder({e[1], e[0]});
  ASSERT_TRUE(m_Editor.Delete());
  EXPECT_TRUE(m_Editor.Selection().IsEmpty());
  ASSERT_TRUE(m_Editor.Undo());
  EXPECT_EQ(m_Editor.Selection().Elements(), (std::vector<CGraphElement*>{e[1], e[0]}));
  EXPECT_TRUE(e[1]->IsSelected());

  ASSERT_TRUE(m_Editor.NewFrame(20, ""));
  EXPECT_EQ(Frame().GetNumber(), 20);
  EXPECT_TRUE(m_Changes.Saw(ChangeKind::FrameAdded));
  EXPECT_TRUE(m_Changes.Saw(ChangeKind::CurrentFrameChanged));
  ASSERT_TRUE(m_Editor.Undo());
  EXPECT_EQ(&Frame(), first);
  EXPECT_EQ(m_Editor.Selection().Size(), 2u);
  EXPECT_TRUE(m_Changes.Saw(ChangeKind::FrameRemoved));
}

TEST_F(EditHistoryTest, RandomCommandSequencesUndoToTheSavedBytes) {
  const std::vector<uint8_t> original = test::ReadFile(m_Doc.GetPathName());
  ASSERT_EQ(Stored(), original);
  for (unsigned seed = 1; seed <= 4; ++seed) {
    SCOPED_TRACE(seed);
    std::mt19937 random(seed);
    const auto pick = [&](int a_Count) { return static_cast<int>(random() % static_cast<unsigned>(a_Count)); };
    for (int step = 0; step < 150; ++step) {
      CKV410Project& project = *m_Doc.GetProject();
      if (m_Editor.CurrentFrame() == nullptr) {
        if (project.GetFrames().empty()) {
          m_Editor.NewFrame(static_cast<uint16_t>(1 + pick(5)), "");
        } else {
          m_Editor.SetCurrentFrame(project.GetFrames()[static_cast<std::size_t>(pick(static_cast<int>(project.GetFrames().size())))].get());
        }
        continue;
      }
      // A random selection of the current frame's elements, in random order.
      std::vector<CGraphElement*> elements;
      for (const auto& e : Frame().GetElements()) elements.push_back(e.get());
      std::shuffle(elements.begin(), elements.end(), random);
      elements.resize(static_cast<std::size_t>(pick(static_cast<int>(std::min<std::size_t>(elements.size(), 5)) + 1)));
      m_Editor.SelectNone();
      for (CGraphElement* e : elements) m_Editor.Select(e, true);
      const uint16_t number = static_cast<uint16_t>(1 + pick(8));
      switch (pick(17)) {
        case 0: Add(pick(180), pick(50), 1 + pick(30), 1 + pick(20), pick(2) ? kTypeLed : kTypeBar); break;
        case 1: m_Editor.MoveByPixel(pick(3) - 1, pick(3) - 1); break;
        case 2: m_Editor.Align(static_cast<AlignMode>(pick(6))); break;
        case 3: m_Editor.SpaceEqually(pick(2) == 0); break;
        case 4: m_Editor.Centre(pick(2) == 0, pick(2) == 0); break;
        case 5: m_Editor.Delete(); break;
        case 6: m_Editor.Cut(); break;
        case 7: m_Editor.Copy(); break;
        case 8: m_Editor.Paste(); break;
        case 9: pick(2) ? m_Editor.BringToFront() : m_Editor.SendToBack(); break;
        case 10:
          if (project.FindFrame(number) != nullptr) m_Ui.QueueAnswer(Answer::Yes);
          m_Editor.NewFrame(number, "n");
          break;
        case 11:
          if (project.FindFrame(number) != nullptr && number != Frame().GetNumber()) m_Ui.QueueAnswer(Answer::Yes);
          m_Editor.CopyFrame(number);
          break;
        case 12:
          m_Ui.QueueAnswer(pick(3) == 0 ? Answer::Yes : Answer::No);
          m_Editor.DeleteFrame();
          break;
        case 13:
          if (!elements.empty()) {
            m_Editor.EditElement(*elements[0], [&](CGraphElement& a_E) {
              a_E.SetReverse(!a_E.IsReverse());
              a_E.SetInputOrder(static_cast<uint32_t>(pick(4)));
            });
          }
          break;
        case 14:
          m_Editor.EditSettings([&](CKV410Project& a_P) { a_P.GetSettings().m_StartFrame = number; });
          break;
        case 15:
          if (!elements.empty()) m_Editor.SetGeometry(*elements[0], {pick(100), pick(40), 1 + pick(40), 1 + pick(20)});
          break;
        case 16: m_Editor.SetCurrentFrame(project.GetFrames().front().get()); break;
      }
    }
    const std::vector<uint8_t> edited = Stored();
    const std::size_t steps = m_Editor.History().UndoCount();
    EXPECT_GT(steps, 60u);
    EXPECT_NE(edited, original);
    while (m_Editor.Undo()) {}
    EXPECT_EQ(Stored(), original);
    EXPECT_FALSE(m_Doc.IsModified());
    while (m_Editor.Redo()) {}
    EXPECT_EQ(Stored(), edited);
    EXPECT_EQ(m_Editor.History().UndoCount(), steps);
    while (m_Editor.Undo()) {}
    m_Editor.Reset();
  }
}

}  // namespace
