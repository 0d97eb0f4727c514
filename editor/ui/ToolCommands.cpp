#include "editor/ui/ToolCommands.h"

#include <filesystem>
#include <iostream>

#include "editor/compiler/ToolLaunch.h"
#include "editor/project/KV410Doc.h"
#include "platform/TerminalInteraction.h"

namespace kd820 {

namespace {

// The editor's dialogs say nothing when the viewer or the transfer tool does not start; a
// terminal user is told on standard error and by the exit code.
void ReportStartFailure(const char* a_Program, const std::string& a_Error) {
  std::cerr << "KD820: " << Tr(kStartFailed) << a_Program << "\n" << a_Error << "\n";
}

// Starts the viewer as the editor does, but waits for it when asked and keeps its exit code.
class CWaitingStarter : public IProgramStarter {
 public:
  CWaitingStarter(IProgramStarter& a_Inner, bool a_Wait, int& a_ExitCode)
      : m_Inner(a_Inner), m_Wait(a_Wait), m_ExitCode(a_ExitCode) {}
  bool Start(const CProgramCall& a_Call, int& a_ExitCode, std::string& a_Error) override {
    CProgramCall call = a_Call;
    call.m_Wait = m_Wait;
    const bool started = m_Inner.Start(call, a_ExitCode, a_Error);
    m_ExitCode = a_ExitCode;
    return started;
  }

 private:
  IProgramStarter& m_Inner;
  bool m_Wait;
  int& m_ExitCode;
};

}  // namespace

int RunViewCommand(const ViewOptions& a_Options, IProgramStarter& a_Starter) {
  TerminalInteraction ui;
  CKV410Doc doc(ui);
  if (!doc.OpenProject(a_Options.project)) return 1;
  int exitCode = 0;
  CWaitingStarter starter(a_Starter, a_Options.wait, exitCode);
  std::cout.flush();
  const CViewResult result = CompileAndView(doc, starter);
  for (const CProblem& problem : result.m_Compile.m_Problems.Problems()) std::cerr << "KD820: " << problem.m_Text << "\n";
  if (!result.m_Compile.Ok()) return 1;
  std::cout << "image: " << doc.GetProject()->GetImagePath() << " (" << result.m_Compile.m_Image.size() << " bytes)\n";
  if (!result.m_Started) {
    ReportStartFailure(kViewerProgram, result.m_Error);
    return 1;
  }
  return a_Options.wait ? exitCode : 0;
}

int RunTransferCommand(const TransferOptions& a_Options, IProgramStarter& a_Starter) {
  CMissionValues values = InitialMissionValues(std::filesystem::current_path().string());
  values.m_Task = a_Options.task == "download" ? CMissionValues::kDownload : CMissionValues::kUpload;
  values.m_PortIndex = a_Options.port - 1;
  values.m_File = std::filesystem::absolute(a_Options.file).lexically_normal().string();
  // As the dialog's browse step does: the file is opened for writing, or created empty.
  if (!PrepareTargetFile(values.m_File)) {
    std::cerr << "KD820: cannot open or create " << values.m_File << "\n";
    return 1;
  }
  std::cout.flush();
  const CTransferResult result = RunTransferTask(values, a_Starter);
  if (!result.m_Started) {
    ReportStartFailure(kTransferProgram, result.m_Error);
    return 1;
  }
  return result.m_ExitCode;
}

}  // namespace kd820
