#pragma once
// The canvas's selection: elements of the current frame in the order they were selected. The
// last one is the reference of the alignments. Every element in it carries the selected flag.
#include <cstddef>
#include <vector>

namespace kd820 {

class CGraphElement;
class CHMIFrame;

class CSelection {
 public:
  const std::vector<CGraphElement*>& Elements() const { return m_Elements; }
  std::size_t Size() const { return m_Elements.size(); }
  bool IsEmpty() const { return m_Elements.empty(); }
  bool Contains(const CGraphElement* a_Element) const;
  // The last selected element; null when nothing is selected.
  CGraphElement* Reference() const { return m_Elements.empty() ? nullptr : m_Elements.back(); }

  // Appends an element not yet selected; false when it already is.
  bool Add(CGraphElement* a_Element);
  bool Remove(CGraphElement* a_Element);
  void Clear();
  // Replaces the selection (duplicates dropped, first occurrence kept).
  void Set(const std::vector<CGraphElement*>& a_Elements);
  // Drops the elements that a_Frame (null: none) does not hold, without touching them.
  void KeepOnly(const CHMIFrame* a_Frame);

 private:
  std::vector<CGraphElement*> m_Elements;
};

}  // namespace kd820
