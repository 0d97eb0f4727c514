#include "simulator/ElementComposition.h"

#include <gtest/gtest.h>

#include <climits>
#include <functional>

namespace sim {
namespace {

int CountDark(const LcdCanvas& a_Canvas, Rect a_Rect) {
  int n = 0;
  for (int y = a_Rect.top; y <= a_Rect.bottom; ++y) {
    for (int x = a_Rect.left; x <= a_Rect.right; ++x) n += a_Canvas.GetPixel(x, y);
  }
  return n;
}

// An element that fills its left half and counts its paints.
struct HalfFilled {
  int paints = 0;
  void operator()(LcdCanvas& a_Canvas) {
    ++paints;
    a_Canvas.DrawRect({0, 0, a_Canvas.Width() / 2 - 1, a_Canvas.Height() - 1}, true, 0);
  }
};

TEST(CompositionTest, TransparentElementLetsTheLowerOneShow) {
  LcdCanvas screen(64, 32);
  DirtyAreas dirty(screen.Bounds());
  dirty.Add(screen.Bounds());
  const Rect rect{10, 4, 29, 13};
  // The lower element is dark in its left half; the upper one is dark in its right column only.
  const auto lower = [](LcdCanvas& a_Canvas) { a_Canvas.DrawRect({0, 0, 9, 9}, true, 0); };
  const auto upper = [](LcdCanvas& a_Canvas) { a_Canvas.DrawRect({19, 0, 19, 9}, true, 0); };
  ComposeElement(screen, dirty, rect, false, lower);
  ComposeElement(screen, dirty, rect, true, upper);
  EXPECT_EQ(CountDark(screen, screen.Bounds()), 100 + 10);
  EXPECT_TRUE(screen.GetPixel(10, 4));
  EXPECT_TRUE(screen.GetPixel(29, 13));
  // The same element composed opaquely hides the lower one.
  ComposeElement(screen, dirty, rect, false, upper);
  EXPECT_EQ(CountDark(screen, screen.Bounds()), 10);
}

TEST(CompositionTest, ElementPaintsOnceAndOnlyDirtyPartsChange) {
  LcdCanvas screen(64, 32);
  DirtyAreas dirty(screen.Bounds());
  dirty.Add({0, 0, 11, 31});   // touches the element's left part
  dirty.Add({40, 0, 63, 5});   // touches its top right corner
  dirty.Add({50, 20, 63, 31}); // misses it
  HalfFilled element;
  const Rect rect{8, 2, 47, 9};  // dark in 8..27
  EXPECT_TRUE(ComposeElement(screen, dirty, rect, false, std::ref(element)));
  EXPECT_EQ(element.paints, 1);
  EXPECT_EQ(CountDark(screen, screen.Bounds()), 4 * 8);  // columns 8..11 only
  EXPECT_EQ(CountDark(screen, {8, 2, 11, 9}), 32);

  // A fully dirty screen composes the whole element.
  LcdCanvas full(64, 32);
  DirtyAreas overflowing(full.Bounds());
  for (int i = 0; i < DirtyAreas::kCapacity; ++i) overflowing.Add(Rect::FromSize(i * 8, 30, 4, 1));
  ASSERT_TRUE(overflowing.Full());
  HalfFilled again;
  ComposeElement(full, overflowing, rect, false, std::ref(again));
  EXPECT_EQ(again.paints, 1);
  EXPECT_EQ(CountDark(full, full.Bounds()), 20 * 8);
}

TEST(CompositionTest, UntouchedElementIsNotPainted) {
  LcdCanvas screen(64, 32);
  DirtyAreas dirty(screen.Bounds());
  HalfFilled element;
  EXPECT_FALSE(ComposeElement(screen, dirty, {0, 0, 63, 31}, false, std::ref(element)));
  dirty.Add({0, 0, 5, 5});
  EXPECT_FALSE(ComposeElement(screen, dirty, {10, 10, 20, 20}, false, std::ref(element)));
  EXPECT_FALSE(ComposeElement(screen, dirty, {3, 3, 2, 2}, false, std::ref(element)));
  EXPECT_FALSE(ComposeElement(screen, dirty, {INT_MIN, 0, INT_MAX, 5}, false, std::ref(element)));
  EXPECT_EQ(element.paints, 0);
}

TEST(CompositionTest, ElementPartlyOffScreenPaintsAtItsOwnSize) {
  LcdCanvas screen(32, 16);
  DirtyAreas dirty(screen.Bounds());
  dirty.Add(screen.Bounds());
  int width = 0;
  ComposeElement(screen, dirty, {-10, 0, 9, 3}, false, [&](LcdCanvas& a_Canvas) {
    width = a_Canvas.Width();
    a_Canvas.DrawRect({8, 0, 12, 3}, true, 0);  // element columns 8..12 = screen -2..2
  });
  EXPECT_EQ(width, 20);
  EXPECT_EQ(CountDark(screen, screen.Bounds()), 3 * 4);
  EXPECT_TRUE(screen.GetPixel(2, 3));
}

TEST(CompositionTest, DirtyAreasAreClearedBeforeComposition) {
  LcdCanvas screen(32, 16);
  screen.DrawRect(screen.Bounds(), true, 0);
  DirtyAreas dirty(screen.Bounds());
  dirty.Add({0, 0, 3, 3});
  dirty.Add({10, 10, 11, 15});
  ClearDirtyAreas(screen, dirty);
  EXPECT_EQ(CountDark(screen, screen.Bounds()), 32 * 16 - 16 - 12);
  for (int i = 0; i < DirtyAreas::kCapacity; ++i) dirty.Add(Rect::FromSize(i * 4, 14, 2, 1));
  ASSERT_TRUE(dirty.Full());
  ClearDirtyAreas(screen, dirty);
  EXPECT_EQ(CountDark(screen, screen.Bounds()), 0);
}

}  // namespace
}  // namespace sim
