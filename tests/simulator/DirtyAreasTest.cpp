#include "simulator/DirtyAreas.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <random>
#include <vector>

namespace sim {
namespace {

long TotalArea(const DirtyAreas& a_Dirty) {
  long sum = 0;
  for (const Rect& r : a_Dirty.Areas()) sum += r.Area();
  return sum;
}

bool AnyOverlap(const DirtyAreas& a_Dirty) {
  auto areas = a_Dirty.Areas();
  for (std::size_t i = 0; i < areas.size(); ++i) {
    for (std::size_t j = i + 1; j < areas.size(); ++j) {
      if (areas[i].Overlaps(areas[j])) return true;
    }
  }
  return false;
}

bool Covered(const DirtyAreas& a_Dirty, Point a_Point) {
  for (const Rect& r : a_Dirty.Areas()) {
    if (r.Contains(a_Point)) return true;
  }
  return false;
}

TEST(DirtyAreasTest, OverlappingAreasAreStoredAsSeparatePieces) {
  DirtyAreas dirty;
  dirty.Add({0, 0, 9, 9});
  dirty.Add({5, 5, 14, 14});
  EXPECT_FALSE(AnyOverlap(dirty));
  EXPECT_EQ(TotalArea(dirty), 100 + 100 - 25);
  EXPECT_EQ(dirty.Areas()[0], (Rect{0, 0, 9, 9}));
  for (int y = 0; y <= 14; ++y) {
    for (int x = 0; x <= 14; ++x) {
      const bool inFirst = x <= 9 && y <= 9;
      const bool inSecond = x >= 5 && y >= 5;
      EXPECT_EQ(Covered(dirty, {x, y}), inFirst || inSecond) << x << "," << y;
    }
  }
}

TEST(DirtyAreasTest, ContainedRectangleAddsNothing) {
  DirtyAreas dirty;
  dirty.Add({0, 0, 9, 9});
  dirty.Add({2, 2, 9, 5});
  dirty.Add({0, 0, 9, 9});
  ASSERT_EQ(dirty.Areas().size(), 1u);
  EXPECT_EQ(dirty.Areas()[0], (Rect{0, 0, 9, 9}));
}

TEST(DirtyAreasTest, NeighboursThatFormOneRectangleMerge) {
  DirtyAreas dirty;
  dirty.Add({0, 0, 9, 7});
  dirty.Add({10, 0, 19, 7});  // side by side, same height
  ASSERT_EQ(dirty.Areas().size(), 1u);
  EXPECT_EQ(dirty.Areas()[0], (Rect{0, 0, 19, 7}));
  dirty.Add({0, 8, 19, 9});  // below, same width
  ASSERT_EQ(dirty.Areas().size(), 1u);
  EXPECT_EQ(dirty.Areas()[0], (Rect{0, 0, 19, 9}));
  dirty.Add({30, 0, 39, 8});  // not adjacent: stays apart
  dirty.Add({20, 0, 29, 8});  // joins the right one; the left one is a row taller
  EXPECT_EQ(dirty.Areas().size(), 2u);
  EXPECT_FALSE(AnyOverlap(dirty));
}

TEST(DirtyAreasTest, FullListTakesNothingMore) {
  DirtyAreas dirty(Rect{0, 0, 191, 63});
  EXPECT_FALSE(dirty.Any());
  for (int i = 0; i < DirtyAreas::kCapacity; ++i) {
    EXPECT_FALSE(dirty.Full());
    dirty.Add(Rect::FromSize(i * 20, i, 10, 5));  // neither overlapping nor mergeable
  }
  EXPECT_TRUE(dirty.Full());
  EXPECT_TRUE(dirty.Any());
  dirty.Add({180, 50, 189, 60});
  EXPECT_EQ(dirty.Areas().size(), static_cast<std::size_t>(DirtyAreas::kCapacity));
  dirty.Clear();
  EXPECT_FALSE(dirty.Any());
  EXPECT_FALSE(dirty.Full());
}

TEST(DirtyAreasTest, PiecesThatOverflowTheListMakeItFull) {
  DirtyAreas dirty;
  for (int i = 0; i < 6; ++i) dirty.Add(Rect::FromSize(100 + i * 20, 100 + i, 10, 5));
  dirty.Add({40, 40, 49, 49});
  dirty.Add({30, 30, 59, 59});  // four pieces around the previous area: only one fits
  EXPECT_TRUE(dirty.Full());
}

TEST(DirtyAreasTest, RectanglesAreClippedToTheScreen) {
  DirtyAreas dirty(Rect{0, 0, 127, 63});
  dirty.Add({-10, -10, 5, 5});
  dirty.Add({200, 0, 300, 10});
  dirty.Add({5, 5, 4, 10});
  dirty.Add({INT_MIN, INT_MIN, INT_MAX, INT_MAX});
  ASSERT_EQ(dirty.Areas().size(), 1u);
  EXPECT_EQ(dirty.Areas()[0], (Rect{0, 0, 127, 63}));
  DirtyAreas unbounded;
  unbounded.Add({INT_MIN, INT_MIN, INT_MAX, INT_MAX});
  unbounded.Add({INT_MIN, 0, 0, INT_MAX});
  EXPECT_EQ(unbounded.Areas().size(), 1u);
}

// Whatever is added, the list never overlaps and, until it is full, covers every added pixel
// and nothing else.
TEST(DirtyAreasTest, RandomAdditionsKeepCoverageExact) {
  std::mt19937 random(12345);
  std::uniform_int_distribution<int> coordinate(0, 23);
  for (int round = 0; round < 300; ++round) {
    DirtyAreas dirty(Rect{0, 0, 23, 23});
    std::vector<Rect> added;
    for (int n = 0; n < 6; ++n) {
      int a = coordinate(random), b = coordinate(random), c = coordinate(random), d = coordinate(random);
      const Rect r{std::min(a, b), std::min(c, d), std::max(a, b), std::max(c, d)};
      dirty.Add(r);
      added.push_back(r);
      ASSERT_FALSE(AnyOverlap(dirty));
      if (dirty.Full()) break;
      for (int y = 0; y < 24; ++y) {
        for (int x = 0; x < 24; ++x) {
          bool expected = false;
          for (const Rect& e : added) expected = expected || e.Contains(Point{x, y});
          ASSERT_EQ(Covered(dirty, {x, y}), expected) << round << ": " << x << "," << y;
        }
      }
    }
  }
}

}  // namespace
}  // namespace sim
