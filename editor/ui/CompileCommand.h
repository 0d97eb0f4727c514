#pragma once
#include <string>
// KD820 compile PROJECT.FPJ: writes the project's user-data image <name>.bin~ beside it.

// 0 when the image was written, 1 otherwise (the reason on standard error).
int RunCompileCommand(const std::string& a_Project);
