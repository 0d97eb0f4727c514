// Cut, copy and paste through the "GraphElement" clipboard archive: the paste offsets, and
// archives that are damaged or come from elsewhere.
#include <gtest/gtest.h>

#include "editor/project/ElementClip.h"
#include "fuzz/FuzzTargets.h"
#include "tests/EditorFixture.h"

using namespace kd820;

namespace {

using ClipboardTest = test::EditorTest;

TEST_F(ClipboardTest, PastesIntoTheSameFrameStepUntilTheTopLeftCorner) {
  CGraphElement* a = Add(100, 20, 20, 10);
  CGraphElement* b = Add(150, 30, 10, 10);
  SelectInOrder({a, b});
  ASSERT_TRUE(m_Editor.Copy());
  const std::vector<uint8_t> clip = *m_Clipboard.GetData(kGraphElementFormat);
  EXPECT_EQ(clip[0], 5);
  EXPECT_EQ(clip[1], 0);

  for (int32_t step : {4, 8, 12}) {
    ASSERT_TRUE(m_Editor.Paste());
    const auto& pasted = m_Editor.Selection().Elements();
    ASSERT_EQ(pasted.size(), 2u);
    EXPECT_EQ(Rect(pasted[0]), (CRect{100 + step, 20 + step, 120 + step, 30 + step}));
    EXPECT_EQ(Rect(pasted[1]), (CRect{150 + step, 30 + step, 160 + step, 40 + step}));
    EXPECT_EQ(pasted[0]->GetName(), "LED" + std::to_string(step / 2));
  }
  // The union ends at (160, 40); the next offset (16, 16) would end at x 176, y 56: still in.
  ASSERT_TRUE(m_Editor.Paste());
  EXPECT_EQ(m_Editor.PasteOffsetValue(), (COffset{16, 16}));
  // (20, 20) ends at (180, 60); (24, 24) at (184, 64); (28, 28) would reach 68 > 64.
  ASSERT_TRUE(m_Editor.Paste());
  ASSERT_TRUE(m_Editor.Paste());
  ASSERT_TRUE(m_Editor.Paste());
  EXPECT_EQ(m_Editor.PasteOffsetValue(), (COffset{-100, -20}));
  EXPECT_EQ(Rect(m_Editor.Selection().Elements()[0]), (CRect{0, 0, 20, 10}));
  EXPECT_EQ(Rect(m_Editor.Selection().Elements()[1]), (CRect{50, 10, 60, 20}));

  // Copying again starts over.
  ASSERT_TRUE(m_Editor.Copy());
  EXPECT_EQ(m_Editor.PasteOffsetValue(), (COffset{0, 0}));
}

TEST_F(ClipboardTest, AnotherFrameOrProjectKeepsTheCopiedPositions) {
  CGraphElement* a = Add(100, 20, 20, 10);
  m_Editor.Select(a);
  ASSERT_TRUE(m_Editor.Copy());
  ASSERT_TRUE(m_Editor.NewFrame(2, ""));
  ASSERT_TRUE(m_Editor.Paste());
  EXPECT_EQ(Rect(m_Editor.Selection().Elements()[0]), (CRect{100, 20, 120, 30}));
  EXPECT_EQ(Frame().GetElements().size(), 1u);

  // Elements from another project that would leave the screen land in the corner.
  auto bar = FindElementType(kTypeBar)->m_Create();
  bar->SetPosition(180, 30);
  bar->SetWidth(16);
  bar->SetHeight(20);
  m_Clipboard.SetData(kGraphElementFormat, WriteElementClip("/elsewhere/other.FPJ", 2, {bar.get()}));
  ASSERT_TRUE(m_Editor.Paste());
  EXPECT_EQ(Rect(m_Editor.Selection().Elements()[0]), (CRect{0, 0, 16, 20}));
}

TEST_F(ClipboardTest, CutCopiesAndDeletesAsOneStep) {
  CGraphElement* a = Add(10, 10);
  Add(30, 10);
  m_Editor.Select(a);
  ASSERT_TRUE(m_Editor.Cut());
  EXPECT_EQ(Frame().GetElements().size(), 1u);
  EXPECT_TRUE(m_Editor.IsAvailable(EditAction::Paste));
  ASSERT_TRUE(m_Editor.Undo());
  EXPECT_EQ(Frame().GetElements().size(), 2u);
  EXPECT_EQ(Frame().GetElements()[0].get(), a);
  // The cut elements came from this frame: the paste steps aside.
  ASSERT_TRUE(m_Editor.Paste());
  EXPECT_EQ(Rect(m_Editor.Selection().Elements()[0]), (CRect{14, 14, 30, 30}));
}

TEST_F(ClipboardTest, DamagedOrForeignArchivesPasteNothing) {
  CGraphElement* a = Add(10, 10);
  m_Editor.Select(a);
  ASSERT_TRUE(m_Editor.Copy());
  const std::vector<uint8_t> good = *m_Clipboard.GetData(kGraphElementFormat);
  const std::vector<uint8_t> before = Stored();

  std::vector<std::vector<uint8_t>> bad;
  std::vector<uint8_t> version = good;
  version[0] = 4;
  bad.push_back(version);
  for (std::size_t cut : {std::size_t{0}, std::size_t{1}, std::size_t{3}, good.size() / 2, good.size() - 1}) {
    bad.emplace_back(good.begin(), good.begin() + static_cast<std::ptrdiff_t>(cut));
  }
  // A frame where an element belongs, and an element whose size is beyond any display.
  CHMIFrame frame(3);
  CArchive notElement;
  notElement.WriteU16(5);
  notElement.WriteString("x");
  notElement.WriteU16(1);
  notElement.WriteCount(1);
  notElement.WriteObject(&frame);
  bad.push_back(notElement.Bytes());
  auto huge = a->Clone();
  huge->SetWidth(0x7FFFFFF0);
  bad.push_back(WriteElementClip("x", 1, {huge.get()}));
  huge->SetWidth(16);
  huge->SetLeft(-0x7FFFFFF0);
  bad.push_back(WriteElementClip("x", 1, {huge.get()}));

  for (const auto& bytes : bad) {
    SCOPED_TRACE(bytes.size());
    EXPECT_FALSE(ReadElementClip(bytes));
    m_Clipboard.SetData(kGraphElementFormat, bytes);
    EXPECT_FALSE(m_Editor.Paste());
    EXPECT_EQ(FuzzElementClip(bytes.data(), bytes.size()), 0);
  }
  EXPECT_EQ(Stored(), before);
  EXPECT_EQ(FuzzElementClip(good.data(), good.size()), 0);
}

}  // namespace
