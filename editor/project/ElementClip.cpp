#include "editor/project/ElementClip.h"

#include "editor/project/ClassTable.h"
#include "editor/screens/ElementTypes.h"

namespace kd820 {

namespace {

// Elements are placed on displays of at most 256 pixels a side; anything far beyond comes
// from a damaged archive, and keeping the values small keeps the geometry free of overflow.
constexpr int32_t kMaxCoordinate = 0xFFFF;

bool IsPlaceable(const CGraphElement& a_Element) {
  const CElementType* type = ElementTypeOf(a_Element);
  if (type == nullptr || type->m_TypeCode != a_Element.GetTypeCode()) return false;
  const auto within = [](int32_t a_V, int32_t a_Min) { return a_V >= a_Min && a_V <= kMaxCoordinate; };
  return within(a_Element.GetLeft(), -kMaxCoordinate) && within(a_Element.GetTop(), -kMaxCoordinate) &&
         within(a_Element.GetWidth(), 0) && within(a_Element.GetHeight(), 0);
}

}  // namespace

std::vector<uint8_t> WriteElementClip(const std::string& a_Identity, uint16_t a_FrameNumber,
                                      const std::vector<CGraphElement*>& a_Elements) {
  CArchive ar;
  ar.WriteU16(kElementClipVersion);
  ar.WriteString(a_Identity);
  ar.WriteU16(a_FrameNumber);
  ar.WriteCount(static_cast<uint32_t>(a_Elements.size()));
  for (const CGraphElement* e : a_Elements) ar.WriteObject(e);
  return ar.Bytes();
}

std::optional<CElementClip> ReadElementClip(std::span<const uint8_t> a_Bytes) {
  CElementClip clip;
  try {
    CArchive ar(a_Bytes, FindArchiveClass);
    if (ar.ReadU16() != kElementClipVersion) return std::nullopt;
    clip.m_Identity = ar.ReadString();
    clip.m_FrameNumber = ar.ReadU16();
    const uint32_t count = ar.ReadCount(2);
    for (uint32_t i = 0; i < count; ++i) {
      auto element = ar.ReadOwned<CGraphElement>();
      if (!IsPlaceable(*element)) return std::nullopt;
      clip.m_Elements.push_back(std::move(element));
    }
  } catch (const ArchiveError&) {
    return std::nullopt;
  }
  return clip;
}

}  // namespace kd820
