#include "editor/compiler/SingleColorBitmapLib.h"
#include "editor/project/ClassTable.h"
#include "editor/project/LangDefine.h"
#include "editor/project/PortCom.h"

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
