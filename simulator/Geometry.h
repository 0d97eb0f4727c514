#pragma once
// Points and inclusive rectangles in LCD pixels, as the image and the panel firmware use them.
#include <algorithm>
#include <cstdint>

namespace sim {

struct Point {
  int x = 0;
  int y = 0;
  bool operator==(const Point&) const = default;
};

// left, top, right, bottom, all inclusive. The empty rectangle is (0, 0, -1, -1).
struct Rect {
  int left = 0;
  int top = 0;
  int right = -1;
  int bottom = -1;

  bool operator==(const Rect&) const = default;
  bool Valid() const { return right >= left && bottom >= top; }
  int Width() const { return right - left + 1; }
  int Height() const { return bottom - top + 1; }
  long Area() const { return Valid() ? long{Width()} * Height() : 0; }
  Rect Intersect(const Rect& a_Other) const {
    Rect r{std::max(left, a_Other.left), std::max(top, a_Other.top),
           std::min(right, a_Other.right), std::min(bottom, a_Other.bottom)};
    return r.Valid() ? r : Rect{};
  }
  bool Overlaps(const Rect& a_Other) const { return Intersect(a_Other).Valid(); }
  bool Contains(const Rect& a_Other) const {
    return a_Other.left >= left && a_Other.right <= right && a_Other.top >= top &&
           a_Other.bottom <= bottom;
  }
  bool Contains(Point a_Point) const {
    return a_Point.x >= left && a_Point.x <= right && a_Point.y >= top && a_Point.y <= bottom;
  }
  Rect Union(const Rect& a_Other) const {
    return {std::min(left, a_Other.left), std::min(top, a_Other.top),
            std::max(right, a_Other.right), std::max(bottom, a_Other.bottom)};
  }
  static Rect FromSize(int a_Left, int a_Top, int a_Width, int a_Height) {
    return {a_Left, a_Top, a_Left + a_Width - 1, a_Top + a_Height - 1};
  }
};

}  // namespace sim
