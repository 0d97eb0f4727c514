#include "editor/screens/ScreenClassTable.h"

#include <vector>

#include "editor/screens/DynamicText.h"
#include "editor/screens/ElementTypes.h"
#include "editor/screens/FunckeyGE.h"
#include "editor/screens/HMIFrame.h"

namespace kd820 {

std::span<const CRuntimeClass* const> ScreenArchiveClasses() {
  static const std::vector<const CRuntimeClass*> kClasses = [] {
    std::vector<const CRuntimeClass*> classes = {&CHMIFrame::classCHMIFrame};
    for (const CElementType& type : ElementTypes()) {
      if (type.m_Class != nullptr) classes.push_back(type.m_Class);
    }
    // The parts of elements that are persistent objects of their own.
    for (const CRuntimeClass* part : {&CTextItem::classCTextItem, &CJumpFrame::classCJumpFrame,
                                      &CBitSet::classCBitSet, &CWordSet::classCWordSet}) {
      classes.push_back(part);
    }
    return classes;
  }();
  return kClasses;
}

}  // namespace kd820
