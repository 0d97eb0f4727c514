#include "editor/screens/RecordWriter.h"

#include "platform/ProgramDirectory.h"

namespace kd820 {

std::string ComponentPath(const std::string& a_Name) {
  return (ProgramDirectory() / "lib" / "component" / a_Name).string();
}

}  // namespace kd820
