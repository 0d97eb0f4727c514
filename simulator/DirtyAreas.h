#pragma once
// The screen areas that must be redrawn in the next paint step: up to eight rectangles that
// never overlap. When the list is full the whole screen counts as dirty.
#include <array>
#include <span>

#include "simulator/Geometry.h"

namespace sim {

class DirtyAreas {
 public:
  static constexpr int kCapacity = 8;

  // Added rectangles are clipped to a_Screen; without one, to the panel's 16-bit coordinate
  // range, which keeps all edge arithmetic inside int.
  DirtyAreas() = default;
  explicit DirtyAreas(Rect a_Screen) : m_Screen(a_Screen.Intersect(kCoordinateRange)) {}

  // Marks a_Rect dirty. The parts already covered by a listed area are left out, so the list
  // stays free of overlaps; areas that together form one rectangle are merged. A full list
  // takes nothing more.
  void Add(Rect a_Rect);
  void Clear() { m_Count = 0; }
  bool Full() const { return m_Count >= kCapacity; }
  bool Any() const { return m_Count > 0; }
  std::span<const Rect> Areas() const { return {m_Areas.data(), static_cast<std::size_t>(m_Count)}; }

 private:
  void Insert(const Rect& a_Rect);
  void Merge();

  static constexpr Rect kCoordinateRange{-32768, -32768, 32767, 32767};
  Rect m_Screen = kCoordinateRange;
  std::array<Rect, kCapacity> m_Areas{};
  int m_Count = 0;
};

}  // namespace sim
