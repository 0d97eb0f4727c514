#pragma once
// The "GraphElement" clipboard archive: WORD 5, the identity of the project copied from (its
// project file path), WORD the frame number, then the elements as an object list.
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "editor/screens/HMIFrame.h"

namespace kd820 {

inline constexpr uint16_t kElementClipVersion = 5;

struct CElementClip {
  std::string m_Identity;
  uint16_t m_FrameNumber = 0;
  CHMIFrame::ElementList m_Elements;
};

std::vector<uint8_t> WriteElementClip(const std::string& a_Identity, uint16_t a_FrameNumber,
                                      const std::vector<CGraphElement*>& a_Elements);
// Reads a clipboard archive another program may have written. Null when the leading WORD is
// not 5, the archive is damaged, or an element is not one the canvas can place (unknown
// class, a type code that is not its class's, a position or size beyond the display's range).
std::optional<CElementClip> ReadElementClip(std::span<const uint8_t> a_Bytes);

}  // namespace kd820
