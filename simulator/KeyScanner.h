#pragma once
// Turns the key mask of each cycle into at most one key event.
#include <cstdint>

namespace sim {

struct KeyEvent {
  enum Type { kNone = 0, kPress = 1, kRelease = 2 };
  Type type = kNone;
  int key = 0;  // 1..32
};

class KeyScanner {
 public:
  // Compares a_Mask with the previous cycle's mask: a newly set bit is a press of the key of
  // the lowest such bit, else the lowest changed bit is a release. Stores a_Mask.
  KeyEvent Scan(uint32_t a_Mask);
  // True when the mask differs from the previous one (any press or release).
  bool Changed(uint32_t a_Mask) const { return a_Mask != m_Previous; }

 private:
  uint32_t m_Previous = 0;
};

}  // namespace sim
