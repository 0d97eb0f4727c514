#include "editor/screens/HMIFrame.h"

#include <algorithm>
#include <set>
#include <unordered_map>
#include <unordered_set>

namespace kd820 {

KD_IMPLEMENT_SERIAL(CHMIFrame, nullptr, 0)

CHMIFrame::CHMIFrame() { SetNumber(1); }

CHMIFrame::CHMIFrame(uint16_t a_Number) { SetNumber(a_Number); }

void CHMIFrame::SetNumber(uint16_t a_Number) {
  m_Number = a_Number;
  m_Name = "HMI" + std::to_string(a_Number);
}

uint16_t CHMIFrame::FreeNumber(int32_t a_TypeCode, const CGraphElement* a_Self,
                               bool a_CountSelf) const {
  std::set<uint16_t> used;
  for (const auto& e : m_Elements) {
    if (e->GetTypeCode() != a_TypeCode) continue;
    if (e.get() == a_Self && !a_CountSelf) continue;
    used.insert(e->GetNumber());
  }
  uint16_t n = 0;
  while (used.count(n) != 0) ++n;
  return n;
}

CGraphElement* CHMIFrame::AddElement(std::unique_ptr<CGraphElement> a_Element) {
  if (!a_Element || Contains(a_Element.get())) {
    (void)a_Element.release();  // already owned by this frame
    return nullptr;
  }
  CGraphElement* e = a_Element.get();
  m_Elements.push_back(std::move(a_Element));
  e->SetNumber(FreeNumber(e->GetTypeCode(), e, true));
  return e;
}

bool CHMIFrame::Contains(const CGraphElement* a_Element) const {
  return std::any_of(m_Elements.begin(), m_Elements.end(),
                     [&](const auto& e) { return e.get() == a_Element; });
}

bool CHMIFrame::RemoveElement(CGraphElement* a_Element) {
  auto it = std::find_if(m_Elements.begin(), m_Elements.end(),
                         [&](const auto& e) { return e.get() == a_Element; });
  if (it == m_Elements.end()) return false;  // not ours: the caller keeps it
  m_Elements.erase(it);
  return true;
}

std::size_t CHMIFrame::IndexOf(const CGraphElement* a_Element) const {
  for (std::size_t i = 0; i < m_Elements.size(); ++i) {
    if (m_Elements[i].get() == a_Element) return i;
  }
  return m_Elements.size();
}

std::unique_ptr<CGraphElement> CHMIFrame::DetachElement(CGraphElement* a_Element) {
  const std::size_t index = IndexOf(a_Element);
  if (index == m_Elements.size()) return nullptr;
  std::unique_ptr<CGraphElement> element = std::move(m_Elements[index]);
  m_Elements.erase(m_Elements.begin() + static_cast<std::ptrdiff_t>(index));
  return element;
}

void CHMIFrame::InsertElementAt(std::size_t a_Index, std::unique_ptr<CGraphElement> a_Element) {
  if (!a_Element || Contains(a_Element.get())) return;
  a_Index = std::min(a_Index, m_Elements.size());
  m_Elements.insert(m_Elements.begin() + static_cast<std::ptrdiff_t>(a_Index), std::move(a_Element));
}

bool CHMIFrame::Reorder(const std::vector<CGraphElement*>& a_Order) {
  if (a_Order.size() != m_Elements.size()) return false;
  std::unordered_map<const CGraphElement*, std::size_t> index;
  for (std::size_t i = 0; i < m_Elements.size(); ++i) index.emplace(m_Elements[i].get(), i);
  ElementList reordered;
  reordered.reserve(m_Elements.size());
  std::vector<bool> taken(m_Elements.size(), false);
  for (CGraphElement* e : a_Order) {
    auto it = index.find(e);
    if (it == index.end() || taken[it->second]) return false;
    taken[it->second] = true;
  }
  for (CGraphElement* e : a_Order) reordered.push_back(std::move(m_Elements[index[e]]));
  m_Elements = std::move(reordered);
  return true;
}

int CHMIFrame::CountTrends() const {
  return static_cast<int>(std::count_if(m_Elements.begin(), m_Elements.end(), [](const auto& e) {
    return e->GetTypeCode() == kTypeTrend;
  }));
}

const CFieldTable& CHMIFrame::Fields() {
  static const CField kFields[] = {
      Field<&CHMIFrame::m_Name>("name").JsonAt(1),
      Field<&CHMIFrame::m_Description>("description").JsonAt(2),
      Field<&CHMIFrame::m_Number>("number").JsonAt(0),
      Field<&CHMIFrame::m_Next>("next").JsonAt(4),
      Field<&CHMIFrame::m_Previous>("previous").JsonAt(3),
      Custom("elements",
             [](CArchive& a_Ar, void* a_Frame) {
               auto* frame = static_cast<CHMIFrame*>(a_Frame);
               if (a_Ar.IsStoring()) {
                 a_Ar.WriteCount(static_cast<uint32_t>(frame->m_Elements.size()));
                 for (const auto& e : frame->m_Elements) a_Ar.WriteObject(e.get());
                 return;
               }
               const uint32_t count = a_Ar.ReadCount(2);
               ElementList loaded;
               loaded.reserve(count);
               for (uint32_t i = 0; i < count; ++i) loaded.push_back(a_Ar.ReadOwned<CGraphElement>());
               frame->m_Elements.clear();
               frame->AddElementsKeepingNumbers(std::move(loaded));
             },
             [](void* a_Frame, const void* a_From) {
               auto* frame = static_cast<CHMIFrame*>(a_Frame);
               ElementList copies;
               for (const auto& e : static_cast<const CHMIFrame*>(a_From)->m_Elements) {
                 if (auto copy = e->Clone()) copies.push_back(std::move(copy));
               }
               frame->AddElementsKeepingNumbers(std::move(copies));
             }),
  };
  static const CFieldTable kTable{1, kFields};
  return kTable;
}

void CHMIFrame::CopyFrom(const CHMIFrame& a_Other) { CopyFields(Fields(), this, &a_Other); }

std::unique_ptr<CHMIFrame> CHMIFrame::Clone() const {
  auto copy = std::make_unique<CHMIFrame>();
  copy->CopyFrom(*this);
  return copy;
}

void CHMIFrame::SwapPorts(int32_t a_A, int32_t a_B) {
  for (auto& e : m_Elements) e->SwapPorts(a_A, a_B);
}

void CHMIFrame::Serialize(CArchive& a_Ar) { SerializeFields(a_Ar, Fields(), this); }

void CHMIFrame::AddElementKeepingNumber(std::unique_ptr<CGraphElement> a_Element) {
  ElementList one;
  one.push_back(std::move(a_Element));
  AddElementsKeepingNumbers(std::move(one));
}

void CHMIFrame::AddElementsKeepingNumbers(ElementList a_Elements) {
  // The numbers each type holds. Numbers are only added, so the smallest free one only grows:
  // its search goes on where it stopped.
  struct Held {
    std::unordered_set<uint16_t> m_Numbers;
    uint32_t m_SmallestFree = 0;
  };
  std::unordered_map<int32_t, Held> held;
  for (const auto& e : m_Elements) held[e->GetTypeCode()].m_Numbers.insert(e->GetNumber());
  m_Elements.reserve(m_Elements.size() + a_Elements.size());
  for (auto& element : a_Elements) {
    Held& type = held[element->GetTypeCode()];
    if (element->GetNumber() == CGraphElement::kNoNumber || type.m_Numbers.count(element->GetNumber()) != 0) {
      while (type.m_SmallestFree < CGraphElement::kNoNumber &&
             type.m_Numbers.count(static_cast<uint16_t>(type.m_SmallestFree)) != 0) {
        ++type.m_SmallestFree;
      }
      element->SetNumber(static_cast<uint16_t>(type.m_SmallestFree));
    }
    type.m_Numbers.insert(element->GetNumber());
    m_Elements.push_back(std::move(element));
  }
}

}  // namespace kd820
