// The canvas's selection and its commands: availability, insertion, moving, stacking,
// alignment, equal spacing, centring and the rubber band.
#include <gtest/gtest.h>

#include "editor/project/EditMessages.h"
#include "editor/screens/PictureGE.h"
#include "editor/screens/StaticText.h"
#include "editor/screens/TextMetrics.h"
#include "tests/BmpTestSupport.h"
#include "tests/EditorFixture.h"

using namespace kd820;

namespace {

using CanvasCommandsTest = test::EditorTest;

TEST_F(CanvasCommandsTest, CommandsAreAvailableByFrameAndSelectionSize) {
  EXPECT_TRUE(m_Editor.IsAvailable(EditAction::Insert));
  EXPECT_FALSE(m_Editor.IsAvailable(EditAction::SelectAll));
  EXPECT_FALSE(m_Editor.IsAvailable(EditAction::Paste));
  EXPECT_FALSE(m_Editor.IsAvailable(EditAction::Undo));
  CGraphElement* a = Add(0, 0);
  CGraphElement* b = Add(20, 0);
  CGraphElement* c = Add(40, 0);
  EXPECT_TRUE(m_Editor.IsAvailable(EditAction::SelectAll));
  EXPECT_TRUE(m_Editor.IsAvailable(EditAction::Undo));

  SelectInOrder({a});
  EXPECT_TRUE(m_Editor.IsAvailable(EditAction::Move));
  EXPECT_TRUE(m_Editor.IsAvailable(EditAction::Centre));
  EXPECT_FALSE(m_Editor.IsAvailable(EditAction::Align));
  EXPECT_FALSE(m_Editor.Align(AlignMode::Left));
  SelectInOrder({a, b});
  EXPECT_TRUE(m_Editor.IsAvailable(EditAction::Align));
  EXPECT_FALSE(m_Editor.IsAvailable(EditAction::SpaceEqually));
  SelectInOrder({a, b, c});
  EXPECT_TRUE(m_Editor.IsAvailable(EditAction::SpaceEqually));
  m_Editor.SelectNone();
  EXPECT_FALSE(m_Editor.IsAvailable(EditAction::Delete));
  EXPECT_FALSE(m_Editor.Delete());

  SelectInOrder({a});
  ASSERT_TRUE(m_Editor.Copy());
  EXPECT_TRUE(m_Editor.IsAvailable(EditAction::Paste));
  m_Editor.SetCurrentFrame(nullptr);
  EXPECT_FALSE(m_Editor.IsAvailable(EditAction::Paste));
  EXPECT_FALSE(m_Editor.IsAvailable(EditAction::Insert));
}

TEST_F(CanvasCommandsTest, SelectionKeepsItsOrderAndFlags) {
  CGraphElement* a = Add(0, 0);
  CGraphElement* b = Add(20, 0);
  CGraphElement* c = Add(40, 0);
  SelectInOrder({c, a});
  EXPECT_EQ(m_Editor.Selection().Elements(), (std::vector<CGraphElement*>{c, a}));
  EXPECT_EQ(m_Editor.Selection().Reference(), a);
  EXPECT_TRUE(c->IsSelected());
  EXPECT_FALSE(b->IsSelected());
  m_Editor.SelectAll();
  EXPECT_EQ(m_Editor.Selection().Elements(), (std::vector<CGraphElement*>{a, b, c}));
  m_Editor.SelectNone();
  EXPECT_FALSE(a->IsSelected());
  EXPECT_TRUE(m_Changes.Saw(ChangeKind::SelectionChanged));

  // The band appends, in frame order, what lies wholly inside it and is not yet selected.
  CGraphElement* d = Add(60, 0);
  SelectInOrder({b});
  EXPECT_EQ(m_Editor.SelectInBand({77, 17, 0, 0}), d);  // dragged right to left, bottom up
  EXPECT_EQ(m_Editor.Selection().Elements(), (std::vector<CGraphElement*>{b, a, c, d}));
  EXPECT_EQ(m_Editor.SelectInBand({0, 0, 30, 15}), nullptr);  // nothing lies wholly inside
}

TEST_F(CanvasCommandsTest, InsertionGivesTheDefaultSizes) {
  const std::pair<int32_t, std::pair<int, int>> sizes[] = {
      {kTypeLed, {16, 16}},   {kTypeFunckey, {16, 16}}, {kTypeRegister, {40, 16}}, {kTypeBar, {16, 48}},
      {kTypeTrend, {96, 48}}, {kTypeAscii, {24, 16}},   {kTypeEventList, {192, 64}},
  };
  for (const auto& [type, size] : sizes) {
    SCOPED_TRACE(type);
    const auto tool = m_Editor.ArmInsert(type);
    ASSERT_TRUE(tool);
    CGraphElement* e = m_Editor.Insert(*tool, 3, 4);
    ASSERT_NE(e, nullptr);
    EXPECT_EQ(e->GetTypeCode(), type);
    EXPECT_EQ(Rect(e), (CRect{3, 4, 3 + size.first, 4 + size.second}));
    EXPECT_EQ(m_Editor.Selection().Elements(), std::vector<CGraphElement*>{e});
  }
  const auto text = m_Editor.ArmInsert(kTypeStaticText);
  ASSERT_TRUE(text);
  const int32_t width = TextWidth(m_Doc.Context(), msg::kStaticTextDefault, kDefaultTextSizeIndex, false,
                                  m_Doc.GetProject()->DefaultTextFace());
  EXPECT_GT(width, 0);
  EXPECT_EQ(text->m_Width, width);
  EXPECT_EQ(text->m_Height, 16);
  auto* st = dynamic_cast<CStaticText*>(m_Editor.Insert(*text, 0, 0));
  ASSERT_NE(st, nullptr);
  EXPECT_EQ(st->GetText(), msg::kStaticTextDefault);
  EXPECT_EQ(st->GetName(), "ST0");
  const auto dynamic = m_Editor.ArmInsert(kTypeDynamicText);
  ASSERT_TRUE(dynamic);
  EXPECT_GT(dynamic->m_Width, width);  // "动态文字串" is two characters longer
  EXPECT_FALSE(m_Editor.ArmInsert(kTypeCache));
}

TEST_F(CanvasCommandsTest, PictureImportChecksTheFileAndItsSize) {
  using namespace test::bmp;
  const Bytes rows(2, 0x00);
  test::WriteFile(m_Dir.File("ok.bmp"), MakeBmp(10, 3, {rows, rows, rows}));
  test::WriteFile(m_Dir.File("wide.bmp"), MakeBmp(200, 1, {Bytes(25, 0)}));
  test::WriteFile(m_Dir.File("colour.bmp"), MakeBmp(2, 1, {Bytes(6, 0)}, 24));
  const auto tool = m_Editor.ArmPicture(m_Dir.File("ok.bmp"));
  ASSERT_TRUE(tool);
  EXPECT_EQ(tool->m_Width, 10);
  EXPECT_EQ(tool->m_Height, 3);
  auto* picture = dynamic_cast<CPictureGE*>(m_Editor.Insert(*tool, 5, 5));
  ASSERT_NE(picture, nullptr);
  EXPECT_EQ(m_Doc.GetProject()->GetBitmapLib().m_Items.size(), 1u);
  EXPECT_EQ(picture->m_ItemId, m_Doc.GetProject()->GetBitmapLib().m_Items[0]->m_Id);
  EXPECT_TRUE(m_Ui.Messages().empty());

  EXPECT_FALSE(m_Editor.ArmPicture(m_Dir.File("colour.bmp")));
  EXPECT_FALSE(m_Editor.ArmPicture(m_Dir.File("missing.bmp")));
  EXPECT_FALSE(m_Editor.ArmPicture(m_Dir.File("wide.bmp")));
  EXPECT_EQ(m_Ui.Messages(), (std::vector<std::string>{msg::kOnlySingleColorBitmaps, msg::kLoadPictureFailed,
                                                        msg::kPictureTooLarge}));

  // Undoing the insertion takes the bitmap out of the library again.
  ASSERT_TRUE(m_Editor.Undo());
  EXPECT_TRUE(m_Doc.GetProject()->GetBitmapLib().m_Items.empty());
  ASSERT_TRUE(m_Editor.Redo());
  EXPECT_EQ(m_Doc.GetProject()->GetBitmapLib().m_Items.size(), 1u);
}

TEST_F(CanvasCommandsTest, MovingIsAllOrNothingWithinTheScreen) {
  CGraphElement* inner = Add(100, 10);
  CGraphElement* edge = Add(176, 10);  // its right edge is the screen's
  SelectInOrder({inner, edge});
  EXPECT_FALSE(m_Editor.MoveByPixel(1, 0));
  EXPECT_EQ(Rect(inner), (CRect{100, 10, 116, 26}));
  EXPECT_EQ(Rect(edge), (CRect{176, 10, 192, 26}));
  EXPECT_FALSE(m_Editor.MoveByPixel(0, 0));
  EXPECT_TRUE(m_Editor.MoveByPixel(-1, 0));
  EXPECT_TRUE(m_Editor.MoveByPixel(0, 1));
  EXPECT_EQ(Rect(inner), (CRect{99, 11, 115, 27}));
  EXPECT_EQ(Rect(edge), (CRect{175, 11, 191, 27}));
  EXPECT_TRUE(m_Changes.Saw(ChangeKind::ElementsChanged));
}

TEST_F(CanvasCommandsTest, AlignmentMovesAllButTheLastSelected) {
  CGraphElement* a = Add(10, 5, 10, 6);
  CGraphElement* r = Add(50, 20, 20, 10);
  SelectInOrder({a, r});
  ASSERT_TRUE(m_Editor.Align(AlignMode::Left));
  EXPECT_EQ(Rect(a), (CRect{50, 5, 60, 11}));
  EXPECT_EQ(Rect(r), (CRect{50, 20, 70, 30}));
  const std::pair<AlignMode, CRect> modes[] = {
      {AlignMode::HorizontalCentres, {55, 5, 65, 11}}, {AlignMode::Right, {60, 5, 70, 11}},
      {AlignMode::Top, {60, 20, 70, 26}},               {AlignMode::VerticalMiddles, {60, 22, 70, 28}},
      {AlignMode::Bottom, {60, 24, 70, 30}},
  };
  for (const auto& [mode, rect] : modes) {
    ASSERT_TRUE(m_Editor.Align(mode));
    EXPECT_EQ(Rect(a), rect);
  }
  EXPECT_EQ(Rect(r), (CRect{50, 20, 70, 30}));
  EXPECT_FALSE(m_Editor.Align(AlignMode::Bottom));  // already there: nothing to record
}

TEST_F(CanvasCommandsTest, AlignmentReportsElementsLeftOutsideTheScreen) {
  CGraphElement* wide = Add(0, 0, 60, 10);
  CGraphElement* r = Add(170, 30, 20, 10);
  SelectInOrder({wide, r});
  ASSERT_TRUE(m_Editor.Align(AlignMode::Left));
  EXPECT_EQ(Rect(wide), (CRect{170, 0, 230, 10}));  // the result is kept
  EXPECT_EQ(m_Problems.Messages(), std::vector<std::string>{"warning: HMI1 LED0: lies outside the screen"});
  m_Problems.Clear();
  ASSERT_TRUE(m_Editor.Align(AlignMode::Top));
  EXPECT_EQ(m_Problems.Messages().size(), 1u);
  ASSERT_TRUE(m_Editor.Undo());
  ASSERT_TRUE(m_Editor.Undo());
  m_Problems.Clear();
  ASSERT_TRUE(m_Editor.Align(AlignMode::Bottom));
  EXPECT_TRUE(m_Problems.Messages().empty());
}

TEST_F(CanvasCommandsTest, EqualSpacingPlacesTheInnerElementsBetweenTheOuterOnes) {
  CGraphElement* a = Add(0, 0, 10, 5);
  CGraphElement* b = Add(12, 3, 10, 5);
  CGraphElement* c = Add(70, 9, 10, 5);
  CGraphElement* d = Add(30, 1, 4, 5);
  SelectInOrder({c, b, d, a});
  // span 80, widths 34: gap (80 - 34) / 3 = 15; b (left 12) before d (left 30)
  ASSERT_TRUE(m_Editor.SpaceEqually(true));
  EXPECT_EQ(Rect(a), (CRect{0, 0, 10, 5}));
  EXPECT_EQ(Rect(b), (CRect{25, 3, 35, 8}));
  EXPECT_EQ(Rect(d), (CRect{50, 1, 54, 6}));
  EXPECT_EQ(Rect(c), (CRect{70, 9, 80, 14}));

  // Vertically: the tops a 0, d 1, b 3, c 9; span 14, heights 20: the gap is not positive.
  EXPECT_FALSE(m_Editor.SpaceEqually(false));
  EXPECT_EQ(Rect(b), (CRect{25, 3, 35, 8}));
}

TEST_F(CanvasCommandsTest, EqualSpacingThatDoesNotFitOrTiesFollowsTheRules) {
  CGraphElement* a = Add(0, 0, 30, 5);
  CGraphElement* b = Add(20, 0, 30, 5);
  CGraphElement* c = Add(40, 0, 30, 5);
  SelectInOrder({a, b, c});
  EXPECT_FALSE(m_Editor.SpaceEqually(true));  // widths 90 > span 70
  EXPECT_EQ(Rect(b), (CRect{20, 0, 50, 5}));

  // Three equal left edges: the first selected stays first; the last selected with the
  // largest right edge stays last; the rest follows in selection order.
  CGraphElement* p = Add(0, 20, 4, 4);
  CGraphElement* q = Add(0, 30, 4, 4);
  CGraphElement* s = Add(0, 40, 4, 4);
  CGraphElement* t = Add(60, 50, 4, 4);
  CGraphElement* u = Add(60, 60, 4, 4);
  SelectInOrder({q, p, s, u, t});
  // span 64, widths 20: gap 11; first q, last t; inner p, s, u
  ASSERT_TRUE(m_Editor.SpaceEqually(true));
  EXPECT_EQ(Rect(q).m_Left, 0);
  EXPECT_EQ(Rect(p).m_Left, 15);
  EXPECT_EQ(Rect(s).m_Left, 30);
  EXPECT_EQ(Rect(u).m_Left, 45);
  EXPECT_EQ(Rect(t).m_Left, 60);
}

TEST_F(CanvasCommandsTest, CentringMovesTheSelectionAsAWhole) {
  CGraphElement* a = Add(0, 0, 10, 10);
  CGraphElement* b = Add(30, 20, 11, 5);
  SelectInOrder({a, b});
  // union (0, 0, 41, 25): dx = 96 - 20 = 76, dy = 32 - 12 = 20
  ASSERT_TRUE(m_Editor.Centre(true, false));
  EXPECT_EQ(Rect(a), (CRect{76, 0, 86, 10}));
  ASSERT_TRUE(m_Editor.Centre(false, true));
  EXPECT_EQ(Rect(b), (CRect{106, 40, 117, 45}));
  EXPECT_FALSE(m_Editor.Centre(true, true));
}

TEST_F(CanvasCommandsTest, StackingKeepsTheRelativeOrderOfTheSelected) {
  CGraphElement* a = Add(0, 0);
  CGraphElement* b = Add(0, 0);
  CGraphElement* c = Add(0, 0);
  CGraphElement* d = Add(0, 0);
  const auto order = [&] {
    std::vector<CGraphElement*> out;
    for (const auto& e : Frame().GetElements()) out.push_back(e.get());
    return out;
  };
  SelectInOrder({c, a});
  ASSERT_TRUE(m_Editor.BringToFront());
  EXPECT_EQ(order(), (std::vector<CGraphElement*>{b, d, a, c}));
  EXPECT_FALSE(m_Editor.BringToFront());
  ASSERT_TRUE(m_Editor.SendToBack());
  EXPECT_EQ(order(), (std::vector<CGraphElement*>{a, c, b, d}));
  EXPECT_TRUE(m_Changes.Saw(ChangeKind::ElementOrderChanged));
}

TEST_F(CanvasCommandsTest, DeleteRemovesTheSelection) {
  CGraphElement* a = Add(0, 0);
  CGraphElement* b = Add(20, 0);
  SelectInOrder({a});
  ASSERT_TRUE(m_Editor.Delete());
  ASSERT_EQ(Frame().GetElements().size(), 1u);
  EXPECT_EQ(Frame().GetElements()[0].get(), b);
  EXPECT_TRUE(m_Editor.Selection().IsEmpty());
  EXPECT_TRUE(m_Changes.Saw(ChangeKind::ElementsRemoved));
}

}  // namespace
