#pragma once
// Helpers of the window's tests: project files made from the repository's JSON projects and
// the demo's sample.
#include <filesystem>
#include <string>

#include "editor/project/KV410Doc.h"

namespace test {

// Writes the JSON project at a_Json (relative to the source tree) as a project file a_Fpj;
// false when it does not import.
bool WriteProjectFromJson(const std::string& a_Json, const std::string& a_Fpj);
// Writes the demo's sample project (every element kind) as a project file.
void WriteSampleProject(const std::string& a_Fpj);

}  // namespace test
