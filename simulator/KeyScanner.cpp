#include "simulator/KeyScanner.h"

#include <bit>

namespace sim {

KeyEvent KeyScanner::Scan(uint32_t a_Mask) {
  KeyEvent event;
  uint32_t changed = a_Mask ^ m_Previous;
  if (changed != 0) {
    uint32_t pressed = changed & a_Mask;
    if (pressed != 0) {
      event.type = KeyEvent::kPress;
      event.key = std::countr_zero(pressed) + 1;
    } else {
      event.type = KeyEvent::kRelease;
      event.key = std::countr_zero(changed) + 1;
    }
  }
  m_Previous = a_Mask;
  return event;
}

}  // namespace sim
