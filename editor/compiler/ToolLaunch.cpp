#include "editor/compiler/ToolLaunch.h"

#include <fcntl.h>
#include <unistd.h>

#include <filesystem>

#include "editor/project/KV410Doc.h"
#include "platform/Process.h"

namespace kd820 {

bool CProcessStarter::Start(const CProgramCall& a_Call, int& a_ExitCode, std::string& a_Error) {
  return StartProgram(a_Call.m_Program, a_Call.m_Arguments, a_Call.m_WorkingDirectory, a_Call.m_Wait,
                      a_ExitCode, a_Error);
}

CProgramCall ViewerCall(const CKV410Project& a_Project) {
  const std::string directory = std::filesystem::path(a_Project.GetPath()).parent_path().string();
  return {kViewerProgram, {"-o", "-f", a_Project.GetImagePath()}, directory, false};
}

CViewResult CompileAndView(CKV410Doc& a_Doc, IProgramStarter& a_Starter) {
  CViewResult result;
  const CKV410Project* project = a_Doc.GetProject();
  if (project == nullptr) return result;
  result.m_Compile = CompileProjectToFile(*project, a_Doc.Context());
  if (!result.m_Compile.Ok()) return result;
  int exitCode = 0;
  result.m_Started = a_Starter.Start(ViewerCall(*project), exitCode, result.m_Error);
  return result;
}

CMissionValues InitialMissionValues(const std::string& a_CurrentDirectory) {
  CMissionValues values;
  values.m_File = (std::filesystem::path(a_CurrentDirectory) / "upload.dat").string();
  return values;
}

bool PrepareTargetFile(const std::string& a_Path) {
  // Open for writing without truncating; when that fails, create it empty.
  int fd = ::open(a_Path.c_str(), O_WRONLY | O_CLOEXEC);
  if (fd < 0) fd = ::open(a_Path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
  if (fd < 0) return false;
  ::close(fd);
  return true;
}

CProgramCall TransferCall(const CMissionValues& a_Values, const std::string& a_WorkingDirectory) {
  const std::string port = std::to_string(a_Values.m_PortIndex + 1);
  if (a_Values.m_Task == CMissionValues::kDownload) {
    return {kTransferProgram, {"-D", "-f", a_Values.m_File, "-s", "1", "-i", "6", "-v", "7", "-c", port},
            a_WorkingDirectory, true};
  }
  return {kTransferProgram, {"-U", "-f", a_Values.m_File, "-c", port}, a_WorkingDirectory, true};
}

CTransferResult RunTransferTask(const CMissionValues& a_Values, IProgramStarter& a_Starter,
                                const std::string& a_WorkingDirectory) {
  CTransferResult result;
  result.m_Started = a_Starter.Start(TransferCall(a_Values, a_WorkingDirectory), result.m_ExitCode, result.m_Error);
  return result;
}

}  // namespace kd820
