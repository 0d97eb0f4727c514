#include "editor/screens/ScreenClassTable.h"

#include "editor/screens/AsciiGE.h"
#include "editor/screens/BarGE.h"
#include "editor/screens/DynamicText.h"
#include "editor/screens/EventListGE.h"
#include "editor/screens/FunckeyGE.h"
#include "editor/screens/HMIFrame.h"
#include "editor/screens/LedGE.h"
#include "editor/screens/PictureGE.h"
#include "editor/screens/RegisterGE.h"
#include "editor/screens/StaticText.h"
#include "editor/screens/TrendGE.h"

namespace kd820 {

std::span<const CRuntimeClass* const> ScreenArchiveClasses() {
  static const CRuntimeClass* const kClasses[] = {
      &CHMIFrame::classCHMIFrame,
      &CLedGE::classCLedGE,
      &CFunckeyGE::classCFunckeyGE,
      &CStaticText::classCStaticText,
      &CDynamicText::classCDynamicText,
      &CRegisterGE::classCRegisterGE,
      &CBarGE::classCBarGE,
      &CTrendGE::classCTrendGE,
      &CPictureGE::classCPictureGE,
      &CAsciiGE::classCAsciiGE,
      &CEventListGE::classCEventListGE,
      &CTextItem::classCTextItem,
      &CJumpFrame::classCJumpFrame,
      &CBitSet::classCBitSet,
      &CWordSet::classCWordSet,
  };
  return kClasses;
}

}  // namespace kd820
