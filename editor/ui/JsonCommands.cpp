#include "editor/ui/JsonCommands.h"

#include <chrono>
#include <filesystem>
#include <iostream>
#include <system_error>
#include <thread>

#include "editor/project/KV410Doc.h"
#include "editor/project/Messages.h"
#include "editor/project/ProjectJson.h"
#include "platform/Files.h"
#include "platform/NamedLock.h"
#include "platform/UserInteraction.h"
#include "editor/base/TextCase.h"
#include "platform/TerminalInteraction.h"

namespace kd820 {

namespace {

constexpr int kExitOk = 0;
constexpr int kExitFailure = 1;
// A JSON project larger than this is not a project of a text-display panel.
constexpr std::size_t kMaxJsonBytes = std::size_t{64} << 20;

}  // namespace

int RunExportCommand(const std::string& a_Project, const std::string& a_OutJson) {
  TerminalInteraction ui;
  // The project is read, not opened: exporting works while an editor has it open.
  const auto project = CKV410Doc::ReadProjectFile(a_Project, ui);
  if (!project) return kExitFailure;
  const CKV410Doc doc(ui);
  const std::string json = ExportProjectJson(*project, doc.Context());
  if (a_OutJson.empty()) {
    std::cout << json << std::flush;
    return std::cout ? kExitOk : kExitFailure;
  }
  std::string error;
  if (!WriteFileAtomically(a_OutJson, std::vector<uint8_t>(json.begin(), json.end()), error)) {
    std::cerr << "KD820: cannot write " << a_OutJson << ": " << error << "\n";
    return kExitFailure;
  }
  return kExitOk;
}

int RunImportCommand(const std::string& a_Json, const std::string& a_OutProject, bool a_Yes) {
  std::error_code ec;
  const std::filesystem::path target = std::filesystem::absolute(a_OutProject, ec).lexically_normal();
  if (ec || a_OutProject.empty()) {
    std::cerr << "KD820: no project file to write\n";
    return kExitFailure;
  }
  if (!HasFpjExtension(target.string())) {
    std::cerr << "KD820: " << a_OutProject << ": " << Tr(msg::kNotFpjFile) << " (the project file needs the extension .FPJ)\n";
    return kExitFailure;
  }
  const auto exists = [&] {
    std::error_code e;
    return std::filesystem::exists(std::filesystem::symlink_status(target, e));
  };
  const auto refuseExisting = [&] {
    std::cerr << "KD820: " << a_OutProject << " exists; give --yes to replace it\n";
    return kExitFailure;
  };
  if (!a_Yes && exists()) return refuseExisting();

  std::string error;
  const auto text = ReadWholeFile(a_Json, error, kMaxJsonBytes);
  if (!text) {
    std::cerr << "KD820: cannot read " << a_Json << ": " << error << "\n";
    return kExitFailure;
  }
  TerminalInteraction ui;
  CKV410Doc doc(ui);
  ProjectJsonImport result = ImportProjectJson(
      std::string_view(reinterpret_cast<const char*>(text->data()), text->size()), doc.Context());
  for (const std::string& note : result.m_Notes) std::cerr << "KD820: note: " << a_Json << ": " << note << "\n";
  if (!result) {
    std::cerr << "KD820: " << a_Json << ": " << result.m_Error << "\n";
    return kExitFailure;
  }

  // Never write over a project that an editor has open. Another import of the same file
  // holds the lock only while it writes: without --yes, wait for it, then the file exists.
  std::string message;
  auto lock = CKV410Doc::AcquireLock(target.string(), message);
  for (int wait = 0; !lock && !a_Yes && message == Tr(msg::kAlreadyOpen) && wait < 200 && !exists(); ++wait) {
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
    lock = CKV410Doc::AcquireLock(target.string(), message);
  }
  if (!lock && !a_Yes && exists()) return refuseExisting();
  if (!lock) {
    std::cerr << "KD820: " << a_OutProject << ": " << message << "\n";
    return kExitFailure;
  }
  if (!a_Yes && exists()) return refuseExisting();
  CKV410Project& project = *result.m_Project;
  project.SetPath(target.string());
  const std::vector<uint8_t> bytes = CKV410Doc::ProjectFileBytes(project);
  // What is written must open again.
  try {
    (void)CKV410Doc::LoadFromBytes(bytes);
  } catch (const std::exception& e) {
    std::cerr << "KD820: " << a_Json << ": the project would not open again (" << e.what() << ")\n";
    return kExitFailure;
  }
  // Without --yes the file is only created, never replaced, even by a writer that takes no lock.
  bool existed = false;
  if (!WriteFileAtomically(target.string(), bytes, error,
                           a_Yes ? ReplaceMode::kReplace : ReplaceMode::kNoReplace, &existed)) {
    if (existed) return refuseExisting();
    std::cerr << "KD820: cannot write " << a_OutProject << ": " << error << "\n";
    return kExitFailure;
  }
  return kExitOk;
}

}  // namespace kd820
