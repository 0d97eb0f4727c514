#include "editor/screens/SingleColorBitmapLib.h"
#include "editor/project/ClassTable.h"
#include "editor/project/LangDefine.h"
#include "editor/project/PortCom.h"

namespace kd820 {

std::span<const CRuntimeClass* const> ComponentArchiveClasses() {
  static const CRuntimeClass* const kClasses[] = {
      &CPortCom::classCPortCom,
      &CPortCan::classCPortCan,
      &CLangDefine::classCLangDefine,
      &CLangDefineItem::classCLangDefineItem,
      &CSingleColorBitmapLibItem::classCSingleColorBitmapLibItem,
  };
  return kClasses;
}

}  // namespace kd820
