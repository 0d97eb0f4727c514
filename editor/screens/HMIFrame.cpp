#include "editor/screens/HMIFrame.h"

#include <algorithm>
#include <set>

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
               for (auto& e : loaded) frame->AddElementKeepingNumber(std::move(e));
             },
             [](void* a_Frame, const void* a_From) {
               auto* frame = static_cast<CHMIFrame*>(a_Frame);
               for (const auto& e : static_cast<const CHMIFrame*>(a_From)->m_Elements) {
                 if (auto copy = e->Clone()) frame->AddElementKeepingNumber(std::move(copy));
               }
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
  CGraphElement* element = a_Element.get();
  const bool clash =
      element->GetNumber() == CGraphElement::kNoNumber ||
      std::any_of(m_Elements.begin(), m_Elements.end(), [&](const auto& other) {
        return other->GetTypeCode() == element->GetTypeCode() &&
               other->GetNumber() == element->GetNumber();
      });
  m_Elements.push_back(std::move(a_Element));
  if (clash) element->SetNumber(FreeNumber(element->GetTypeCode(), element, false));
}

}  // namespace kd820
