#pragma once
// The loaders' command line. The program's own forms follow the token rule: the tokens count
// only when there are at least 4 of them (program, -D, -f, path); "-D"/"-d" asks for a
// download, "-U"/"-u" for an upload (recorded, never acted on), "-f"/"-F" takes the next token
// as the package path, anything else is ignored. The transport and timing options are long
// options taken out before the rule is applied.
#include <string>
#include <vector>

#include "loader/TransportSettings.h"

namespace nd620 {

struct LoaderCommandLine {
  bool m_Upload = false;     // recorded only: the program downloads
  bool m_HasPath = false;
  std::string m_Path;
  bool m_ForceGui = false;
  TransportSettings m_Transport;
  ProtocolTiming m_Timing;
  bool m_NoWindow = false;  // stay on the terminal even where the dialog could open
  bool m_Help = false;
  bool m_Version = false;
};

// The token rule alone, on tokens whose first is the program.
void ApplyTokenRule(const std::vector<std::string>& a_Tokens, LoaderCommandLine& a_Line);
// The whole command line; false with a_Error set on a usage error.
bool ParseLoaderCommandLine(const std::vector<std::string>& a_Arguments, LoaderCommandLine& a_Line,
                            std::string& a_Error);
// The help text for a program name.
std::string LoaderUsage(const std::string& a_Program);

}  // namespace nd620
