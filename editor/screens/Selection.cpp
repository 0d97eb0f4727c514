#include "editor/screens/Selection.h"

#include <algorithm>

#include "editor/screens/HMIFrame.h"

namespace kd820 {

bool CSelection::Contains(const CGraphElement* a_Element) const {
  return std::find(m_Elements.begin(), m_Elements.end(), a_Element) != m_Elements.end();
}

bool CSelection::Add(CGraphElement* a_Element) {
  if (a_Element == nullptr || Contains(a_Element)) return false;
  m_Elements.push_back(a_Element);
  a_Element->SetSelected(true);
  return true;
}

bool CSelection::Remove(CGraphElement* a_Element) {
  auto it = std::find(m_Elements.begin(), m_Elements.end(), a_Element);
  if (it == m_Elements.end()) return false;
  (*it)->SetSelected(false);
  m_Elements.erase(it);
  return true;
}

void CSelection::Clear() {
  for (CGraphElement* e : m_Elements) e->SetSelected(false);
  m_Elements.clear();
}

void CSelection::Set(const std::vector<CGraphElement*>& a_Elements) {
  Clear();
  for (CGraphElement* e : a_Elements) Add(e);
}

void CSelection::KeepOnly(const CHMIFrame* a_Frame) {
  // Elements no longer in the frame may have been destroyed: they are dropped untouched.
  std::erase_if(m_Elements, [&](CGraphElement* a_E) { return a_Frame == nullptr || !a_Frame->Contains(a_E); });
}

}  // namespace kd820
