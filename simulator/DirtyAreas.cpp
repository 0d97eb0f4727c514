#include "simulator/DirtyAreas.h"

#include <algorithm>

namespace sim {

void DirtyAreas::Add(Rect a_Rect) {
  a_Rect = a_Rect.Intersect(m_Screen);
  if (!a_Rect.Valid() || Full()) return;
  Insert(a_Rect);
  if (!Full()) Merge();
}

void DirtyAreas::Insert(const Rect& a_Rect) {
  if (Full()) return;  // the whole screen is dirty now
  for (int i = 0; i < m_Count; ++i) {
    const Rect area = m_Areas[i];
    if (!area.Overlaps(a_Rect)) continue;
    if (area.Contains(a_Rect)) return;
    // The parts of a_Rect outside this area: the band above it, the band below it, and the
    // pieces left and right of it between them. Each may still overlap later areas.
    const int top = std::max(a_Rect.top, area.top);
    const int bottom = std::min(a_Rect.bottom, area.bottom);
    const Rect parts[] = {
        {a_Rect.left, a_Rect.top, a_Rect.right, area.top - 1},
        {a_Rect.left, area.bottom + 1, a_Rect.right, a_Rect.bottom},
        {a_Rect.left, top, area.left - 1, bottom},
        {area.right + 1, top, a_Rect.right, bottom},
    };
    for (const Rect& part : parts) {
      if (part.Valid()) Insert(part);
    }
    return;
  }
  m_Areas[m_Count++] = a_Rect;
}

void DirtyAreas::Merge() {
  bool merged = true;
  while (merged) {
    merged = false;
    for (int i = 0; i < m_Count && !merged; ++i) {
      for (int j = i + 1; j < m_Count && !merged; ++j) {
        const Rect& a = m_Areas[i];
        const Rect& b = m_Areas[j];
        // Two areas that do not overlap and fill their union exactly form one rectangle.
        const Rect united = a.Union(b);
        if (!a.Overlaps(b) && united.Area() == a.Area() + b.Area()) {
          m_Areas[i] = united;
          m_Areas[j] = m_Areas[--m_Count];
          merged = true;
        }
      }
    }
  }
  int kept = 0;
  for (int i = 0; i < m_Count; ++i) {
    if (m_Areas[i].Valid()) m_Areas[kept++] = m_Areas[i];
  }
  m_Count = kept;
}

}  // namespace sim
