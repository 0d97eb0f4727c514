#include "simulator/BasicElements.h"

namespace sim {

void StaticTextElement::Load() {
  if (m_Context.image.U32(m_KindRecord) & (1u << 12)) m_DrawFlags |= kInvertText;
}

}  // namespace sim
