#pragma once
// Starting other programs of the suite: an argument vector, no shell.
#include <string>
#include <vector>

// Where a bare program name is found: the running program's own directory first, then the
// directories of PATH. A name with a '/' is taken as it stands. Empty when not found.
std::string FindProgram(const std::string& a_Name);

// Starts a_Program with a_Arguments (what follows argv[0]) in a_WorkingDirectory (empty: this
// program's). With a_Wait set, waits for it and stores its exit code in a_ExitCode (128 +
// signal number when it was killed). False with a_Error set when it cannot be started.
bool StartProgram(const std::string& a_Program, const std::vector<std::string>& a_Arguments,
                  const std::string& a_WorkingDirectory, bool a_Wait, int& a_ExitCode,
                  std::string& a_Error);
