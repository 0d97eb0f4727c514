#pragma once
#include <string>

namespace kd820 {
// KD820 compile PROJECT.FPJ: writes the project's user-data image <name>.bin~ beside it.

class CKV410Doc;

// Compiles the document's open project and writes its image; 0 when written, 1 otherwise.
int CompileOpenProject(CKV410Doc& a_Doc);
// 0 when the image was written, 1 otherwise (the reason on standard error).
int RunCompileCommand(const std::string& a_Project);

}  // namespace kd820
