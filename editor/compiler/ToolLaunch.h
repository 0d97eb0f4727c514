#pragma once
// Handing the compiled project to outside programs: the viewer (compile and view data) and
// the transfer tool of the data upload/download task. Programs are started by bare name
// (found beside KD820, then in PATH), without a shell, with an argument vector.
#include <string>
#include <vector>

#include "editor/compiler/CompileProject.h"
#include "platform/Translate.h"

namespace kd820 {

class CKV410Doc;
class CKV410Project;

inline constexpr const char* kViewerProgram = "KV410Spy";
inline constexpr const char* kTransferProgram = "KV415DownLoad";
// Said when a program of the suite cannot start, followed directly by the program's name.
inline constexpr const char* kStartFailed = N_("未能正常启动");

// One start of a program.
struct CProgramCall {
  std::string m_Program;
  std::vector<std::string> m_Arguments;  // after the program name
  std::string m_WorkingDirectory;        // empty: the editor's own
  bool m_Wait = false;
  bool operator==(const CProgramCall&) const = default;
};

class IProgramStarter {
 public:
  virtual ~IProgramStarter() = default;
  // False with a_Error set when the program cannot start; a_ExitCode is set when waited for.
  virtual bool Start(const CProgramCall& a_Call, int& a_ExitCode, std::string& a_Error) = 0;
};

// Starts real processes.
class CProcessStarter : public IProgramStarter {
 public:
  bool Start(const CProgramCall& a_Call, int& a_ExitCode, std::string& a_Error) override;
};

// The viewer on the project's image, in the project directory, not waited for.
CProgramCall ViewerCall(const CKV410Project& a_Project);

struct CViewResult {
  CCompileResult m_Compile;
  bool m_Started = false;  // the viewer started (a failure is not reported to the user)
  std::string m_Error;
};
// Compiles the document's project to its image; when that succeeded, starts the viewer.
CViewResult CompileAndView(CKV410Doc& a_Doc, IProgramStarter& a_Starter);

// The values of the data upload/download dialog. The communication-parameter lists take no
// part in the command lines.
struct CMissionValues {
  static constexpr int kUpload = 0;
  static constexpr int kDownload = 1;
  int m_Task = kUpload;
  std::string m_File;
  int m_PortIndex = 0;  // the COM port number is the index + 1
  int m_BaudRateIndex = 7;
  int m_DataBitsIndex = 0;
  int m_StopBitsIndex = 0;
  int m_ParityIndex = 0;
  int m_OptionIndex = 0;
};

// The dialog's file dialog: default extension and initial name, and its filter.
inline constexpr const char* kMissionFileDefault = "*.dat";
inline constexpr const char* kMissionFileFilter = "KV410 Upload(*.dat)|*.dat||";

// The dialog's initial values: the file upload.dat in a_CurrentDirectory, task upload.
CMissionValues InitialMissionValues(const std::string& a_CurrentDirectory);
// The browse step for a chosen file: opened for writing without truncating it, or created
// empty. False when neither works (the choice is then dropped).
bool PrepareTargetFile(const std::string& a_Path);
// The transfer tool's command line for the task, waited for.
CProgramCall TransferCall(const CMissionValues& a_Values, const std::string& a_WorkingDirectory = {});

struct CTransferResult {
  bool m_Started = false;
  int m_ExitCode = 0;  // read, and of no further consequence
  std::string m_Error;
};
// Runs the transfer tool for the dialog's values and waits until it ends.
CTransferResult RunTransferTask(const CMissionValues& a_Values, IProgramStarter& a_Starter,
                                const std::string& a_WorkingDirectory = {});

}  // namespace kd820
