#include "editor/ui/DownloadCommand.h"

#include <filesystem>
#include <iostream>

#include "editor/compiler/PackageWriter.h"
#include "editor/compiler/ToolLaunch.h"
#include "editor/project/KV410Doc.h"
#include "editor/ui/CompileCommand.h"
#include "platform/TerminalInteraction.h"

namespace kd820 {

int RunDownloadCommand(const DownloadOptions& a_Options, IProgramStarter& a_Starter) {
  TerminalInteraction ui;
  CKV410Doc doc(ui);
  if (!doc.OpenProject(a_Options.project)) return 1;
  const CKV410Project& project = *doc.GetProject();
  // The compile's result is not consulted: a failed compile leaves the image of an earlier
  // one, or none, and then the package writer fails.
  CompileOpenProject(doc);

  const std::string package = PackageWriter::PackagePath(project);
  CProblemList problems;
  const CPackageSources sources = PackageWriter::SourcesFor(project, doc.Context(), problems);
  const bool written = !problems.HasErrors() && PackageWriter::Write(sources, package, problems);
  for (const CProblem& problem : problems.Problems()) std::cerr << "KD820: " << problem.m_Text << "\n";
  if (!written) {
    std::cerr << "KD820: " << Tr(kPackageFailed) << "\n";
    return 1;
  }
  std::cout << "package: " << package << " (" << std::filesystem::file_size(package) << " bytes)\n";
  if (a_Options.noStart) return 0;

  CProgramCall call{kLoaderProgram, {"-D", "-f", package}, {}, a_Options.wait};
  call.m_Arguments.insert(call.m_Arguments.end(), a_Options.loaderOptions.begin(), a_Options.loaderOptions.end());
  std::cout.flush();
  int exitCode = 0;
  std::string error;
  if (!a_Starter.Start(call, exitCode, error)) {
    std::cerr << "KD820: " << kStartFailed << kLoaderProgram << "\n" << error << "\n";
    return 1;
  }
  return a_Options.wait ? exitCode : 0;
}

}  // namespace kd820
