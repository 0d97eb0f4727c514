#include "editor/ui/Cli.h"

#include <CLI/CLI.hpp>
#include <filesystem>
#include <iostream>
#include <optional>
#include <string>

#include "Version.h"
#include "editor/project/KV410Doc.h"
#include "editor/ui/ProjectInfo.h"
#include "platform/UserInteraction.h"

namespace {

constexpr int kExitOk = 0;
constexpr int kExitFailure = 1;
constexpr int kExitUsage = 2;

int RunInfo(const std::string& a_Path) {
  TerminalInteraction ui;
  auto project = CKV410Doc::ReadProjectFile(a_Path, ui);
  if (!project) return kExitFailure;
  PrintProjectInfo(*project, std::cout);
  return kExitOk;
}

int RunSaveAs(const std::string& a_Source, std::string a_Target, std::optional<Answer> a_Preset) {
  TerminalInteraction ui(a_Preset);
  // As the file dialog does, a target without an extension gets ".FPJ".
  const auto slash = a_Target.rfind('/');
  const auto dot = a_Target.rfind('.');
  if (dot == std::string::npos || (slash != std::string::npos && dot < slash)) a_Target += ".FPJ";

  // Opening makes the project directory current; relative paths mean the caller's directory.
  const std::string target = std::filesystem::absolute(a_Target).lexically_normal().string();
  CKV410Doc doc(ui);
  if (!doc.OpenProject(a_Source)) return kExitFailure;
  if (!doc.SaveAs(target)) {
    std::cerr << "KD820: project not saved as " << a_Target << "\n";
    return kExitFailure;
  }
  std::cout << "saved " << doc.GetPathName() << "\n";
  return kExitOk;
}

}  // namespace

int RunKD820(int a_Argc, char** a_Argv) {
  CLI::App app{"KD820: configuration editor for text-display operator panels (command line)",
               "KD820"};
  app.set_version_flag("--version", std::string("KD820 ") + KD820_VERSION_STRING);
  app.require_subcommand(1);

  std::string infoPath;
  auto* info = app.add_subcommand("info", "Print a readable summary of a project file");
  info->add_option("PROJECT.FPJ", infoPath, "Project file")->required();

  std::string source, target;
  bool yes = false, no = false;
  auto* saveAs = app.add_subcommand(
      "save-as", "Open a project and save it under another name (replaces as asked)");
  saveAs->add_option("SOURCE.FPJ", source, "Project file to open")->required();
  saveAs->add_option("TARGET.FPJ", target, "New project file")->required();
  auto* yesFlag = saveAs->add_flag("--yes,-y", yes, "Answer yes to the replace question");
  saveAs->add_flag("--no,-n", no, "Answer no to the replace question")->excludes(yesFlag);

  try {
    app.parse(a_Argc, a_Argv);
  } catch (const CLI::ParseError& e) {
    const int rc = app.exit(e);
    return rc == 0 ? kExitOk : kExitUsage;
  }

  if (info->parsed()) return RunInfo(infoPath);
  if (saveAs->parsed()) {
    std::optional<Answer> preset;
    if (yes) preset = Answer::Yes;
    if (no) preset = Answer::No;
    return RunSaveAs(source, target, preset);
  }
  return kExitUsage;
}
