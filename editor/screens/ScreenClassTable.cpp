#include "editor/project/ClassTable.h"
#include "editor/screens/HMIFrame.h"

std::span<const CRuntimeClass* const> ScreenArchiveClasses() {
  static const CRuntimeClass* const kClasses[] = {
      &CHMIFrame::classCHMIFrame,
  };
  return kClasses;
}
