#pragma once
// Where the suite's shipped data lives and where it may write.
#include <filesystem>

// The directory of the running executable (empty when it cannot be told).
std::filesystem::path ExecutableDirectory();
// $KD820_HOME when set; else the directory of the running executable when it holds lib/;
// else the installed data directory.
std::filesystem::path ProgramDirectory();
// a_Preferred when a file can be created in it, else the system's temporary directory.
std::filesystem::path WritableDirectory(const std::filesystem::path& a_Preferred);
