#include "editor/project/ClassTable.h"

#include <cstring>

#include "editor/devices/Addr.h"
#include "editor/project/KV410Project.h"

namespace kd820 {

const CRuntimeClass* FindArchiveClass(const std::string& a_Name) {
  static const CRuntimeClass* const kOwn[] = {&CKV410Project::classCKV410Project, &CAddr::classCAddr};
  for (const auto& group : {std::span<const CRuntimeClass* const>(kOwn), ComponentArchiveClasses(),
                            ScreenArchiveClasses()}) {
    for (const CRuntimeClass* cls : group) {
      if (a_Name == cls->m_ClassName) return cls;
    }
  }
  return nullptr;
}

}  // namespace kd820
