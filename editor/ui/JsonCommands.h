#pragma once
// The KD820 subcommands for the project's JSON form:
//   KD820 export PROJECT.FPJ [-o FILE.json]
//   KD820 import FILE.json -o PROJECT.FPJ [--yes]
// Both return 0 on success and 1 on failure; messages go to standard error.
#include <string>

namespace kd820 {

// Writes the JSON form of a project file to a_OutJson (atomically), or to standard output
// when a_OutJson is empty.
int RunExportCommand(const std::string& a_Project, const std::string& a_OutJson);

// Reads a JSON project and writes it as a project file. An existing file is replaced only with
// a_Yes, and never while an editor has it open; a refused document writes nothing.
int RunImportCommand(const std::string& a_Json, const std::string& a_OutProject, bool a_Yes);

}  // namespace kd820
