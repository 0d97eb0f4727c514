#include "editor/ui/Cli.h"

#include <CLI/CLI.hpp>
#include <cctype>
#include <filesystem>
#include <iostream>
#include <optional>
#include <string>

#include "Version.h"
#include "editor/project/KV410Doc.h"
#include "editor/ui/CompileCommand.h"
#include "editor/ui/SimulateCommand.h"
#include "editor/ui/ToolCommands.h"
#include "editor/compiler/ToolLaunch.h"
#include "editor/ui/DownloadCommand.h"
#include "editor/ui/DumpCommand.h"
#include "editor/ui/JsonCommands.h"
#include "editor/ui/LibraryCommands.h"
#include "editor/ui/ProjectCommands.h"
#include "editor/ui/ProjectInfo.h"
#include "platform/UserInteraction.h"
#include "platform/TerminalInteraction.h"
#include "platform/Translate.h"

namespace kd820 {

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

// A project file given alone on the command line: its name ends in ".FPJ", in any case.
bool IsProjectFileName(const std::string& a_Word) {
  if (a_Word.size() < 4 || a_Word[0] == '-') return false;
  std::string ext = a_Word.substr(a_Word.size() - 4);
  for (char& c : ext) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return ext == ".fpj";
}

}  // namespace

int RunKD820(int a_Argc, char** a_Argv, WindowStarter a_Window) {
  InitTranslation();
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

  std::string compilePath;
  auto* compile = app.add_subcommand("compile", "Compile a project into its user-data image (<name>.bin~)");
  compile->add_option("PROJECT.FPJ", compilePath, "Project file")->required();

  SimulateOptions simulateOptions;
  auto* simulate = app.add_subcommand(
      "simulate", "Compile a project and start the simulator PanSim on its image");
  simulate->add_option("PROJECT.FPJ", simulateOptions.project, "Project file")->required();
  simulate->add_flag("--wait", simulateOptions.wait, "Wait for PanSim and return its exit code");
  simulate->add_option("pansim-options", simulateOptions.simulatorOptions,
                       "Options for PanSim, after --, e.g. -- --headless --script FILE");

  DownloadOptions downloadOptions;
  auto* download = app.add_subcommand(
      "download", "Compile a project, write its package (<name>.td) and start the loader KD820Loader on it");
  download->add_option("PROJECT.FPJ", downloadOptions.project, "Project file")->required();
  download->add_flag("--wait", downloadOptions.wait, "Wait for the loader and return its exit code");
  download->add_flag("--no-start", downloadOptions.noStart, "Write the package only");
  download->add_option("loader-options", downloadOptions.loaderOptions,
                       "Options for the loader, after --, e.g. -- --udp 127.0.0.1:5000");

  std::string dumpPath;
  ViewOptions viewOptions;
  auto* view = app.add_subcommand("view", "Compile a project and start the viewer KV410Spy on its image");
  view->add_option("PROJECT.FPJ", viewOptions.project, "Project file")->required();
  view->add_flag("--wait", viewOptions.wait, "Wait for the viewer and return its exit code");
  TransferOptions transferOptions;
  auto* transfer = app.add_subcommand("transfer", "Upload or download data with the transfer tool KV415DownLoad");
  transfer->add_option("TASK", transferOptions.task, "upload or download")
      ->required()->check(CLI::IsMember({"upload", "download"}));
  transfer->add_option("FILE", transferOptions.file, "Data file (created empty when missing)")->required();
  transfer->add_option("--port", transferOptions.port, "COM port number")->required()->check(CLI::Range(1, 255));

  auto* dump = app.add_subcommand("dump", "Print the structure of a user-data image and check its offsets");
  dump->add_option("IMAGE.bin~", dumpPath, "Image file")->required();

  auto* models = app.add_subcommand("models", "List the panel models of the hardware library");
  auto* plcs = app.add_subcommand("plcs", "List the PLC protocols and their register types");

  std::string exportPath, exportOut;
  auto* exportCmd = app.add_subcommand("export", "Write a project as JSON");
  exportCmd->add_option("PROJECT.FPJ", exportPath, "Project file")->required();
  exportCmd->add_option("-o,--output", exportOut, "JSON file (default: standard output)");

  std::string importPath, importOut;
  bool importYes = false;
  auto* importCmd = app.add_subcommand("import", "Check a JSON project and write it as a project file");
  importCmd->add_option("FILE.json", importPath, "JSON project")->required();
  importCmd->add_option("-o,--output", importOut, "Project file to write")->required();
  importCmd->add_flag("--yes,-y", importYes, "Replace an existing project file");

  CliNewOptions newOptions;
  std::string newParent;
  int newModel = 0;
  auto* newCmd = app.add_subcommand("new", "Create a new project (the new-project wizard)");
  newCmd->add_option("NAME", newOptions.m_Name, "Project name")->required();
  auto* parentOpt = newCmd->add_option(
      "--dir", newParent, "Parent directory of the project directory (default: projects/)");
  auto* modelOpt = newCmd->add_option("--model", newModel, "Panel model id (default: the first; see models)");
  bool newYes = false, newNo = false;
  auto* newYesFlag = newCmd->add_flag("--yes,-y", newYes, "Answer yes to the wizard's questions");
  newCmd->add_flag("--no,-n", newNo, "Answer no to the wizard's questions")->excludes(newYesFlag);

  std::string commPath;
  std::array<CliPortOptions, 3> commPorts;
  bool commYes = false, commNo = false;
  auto* comm = app.add_subcommand("comm", "Change the communication settings of a project");
  comm->add_option("PROJECT.FPJ", commPath, "Project file")->required();
  auto* commYesFlag = comm->add_flag("--yes,-y", commYes, "Confirm the reset of changed ports");
  comm->add_flag("--no,-n", commNo, "Refuse the reset of changed ports")->excludes(commYesFlag);

  const auto addPortOptions = [](CLI::App* a_Cmd, std::array<CliPortOptions, 3>& a_Ports) {
    for (int i = 0; i < 3; ++i) {
      const std::string p = "--com" + std::to_string(i);
      CliPortOptions& o = a_Ports[static_cast<std::size_t>(i)];
      const std::string group = "COM" + std::to_string(i);
      a_Cmd->add_option(p, o.m_Plc, "PLC on COM" + std::to_string(i) +
                                        ": none, a protocol id, or MANUFACTURER/NAME")->group(group);
      a_Cmd->add_option(p + "-type", o.m_SerialType, "RS232, RS485 or RS422")->group(group);
      a_Cmd->add_option(p + "-baud", o.m_Baud, "Baud rate in bit/s")->group(group);
      a_Cmd->add_option(p + "-data", o.m_DataBits, "Data bits: 7 or 8")->group(group);
      a_Cmd->add_option(p + "-parity", o.m_Parity, "none, odd or even")->group(group);
      a_Cmd->add_option(p + "-stop", o.m_StopBits, "Stop bits: 1 or 2")->group(group);
      a_Cmd->add_option(p + "-station", o.m_Station, "Station number of the PLC")->group(group);
    }
  };
  addPortOptions(newCmd, newOptions.m_Ports);
  addPortOptions(comm, commPorts);

  // No subcommand, or a project file alone: the windowed editor.
  const auto isSubcommand = [&app](const std::string& a_Word) {
    for (const CLI::App* sub : app.get_subcommands({})) {
      if (sub->check_name(a_Word)) return true;
    }
    return false;
  };
  const bool windowCall =
      a_Argc == 1 || (a_Argc == 2 && IsProjectFileName(a_Argv[1]) && !isSubcommand(a_Argv[1]));
  if (windowCall) {
    if (a_Window != nullptr) return a_Window(a_Argc, a_Argv, a_Argc == 2 ? a_Argv[1] : "");
    if (a_Argc == 2) {
      std::cerr << "KD820: this build has no window to open " << a_Argv[1]
                << " in; use a subcommand (see KD820 --help)\n";
      return kExitUsage;
    }
  }

  // The first word that is not an option names the subcommand; CLI11 would only say that one
  // is required.
  for (int i = 1; i < a_Argc; ++i) {
    const std::string word = a_Argv[i];
    if (word.empty() || word[0] == '-') continue;
    std::string known;
    bool found = false;
    for (const CLI::App* sub : app.get_subcommands({})) {
      found = found || sub->check_name(word);
      known += (known.empty() ? "" : ", ") + sub->get_name();
    }
    if (found) break;
    std::cerr << "KD820: unknown subcommand \"" << word << "\"; the subcommands are " << known
              << " (see KD820 --help)\n";
    return kExitUsage;
  }

  try {
    app.parse(a_Argc, a_Argv);
  } catch (const CLI::ParseError& e) {
    const int rc = app.exit(e);
    return rc == 0 ? kExitOk : kExitUsage;
  }

  const auto preset = [](bool a_Yes, bool a_No) -> std::optional<Answer> {
    if (a_Yes) return Answer::Yes;
    if (a_No) return Answer::No;
    return std::nullopt;
  };
  if (info->parsed()) return RunInfo(infoPath);
  if (compile->parsed()) return RunCompileCommand(compilePath);
  if (simulate->parsed()) return RunSimulateCommand(simulateOptions);
  if (view->parsed() || transfer->parsed() || download->parsed()) {
    CProcessStarter starter;
    if (download->parsed()) return RunDownloadCommand(downloadOptions, starter);
    return view->parsed() ? RunViewCommand(viewOptions, starter) : RunTransferCommand(transferOptions, starter);
  }
  if (dump->parsed()) return RunDumpCommand(dumpPath, std::cout);
  if (models->parsed()) return RunModelsCommand(std::cout);
  if (plcs->parsed()) return RunPlcsCommand(std::cout);
  if (exportCmd->parsed()) return RunExportCommand(exportPath, exportOut);
  if (importCmd->parsed()) return RunImportCommand(importPath, importOut, importYes);
  if (newCmd->parsed()) {
    if (parentOpt->count() > 0) newOptions.m_Parent = newParent;
    if (modelOpt->count() > 0) newOptions.m_Model = newModel;
    newOptions.m_Preset = preset(newYes, newNo);
    return RunNewCommand(newOptions);
  }
  if (comm->parsed()) return RunCommCommand(commPath, commPorts, preset(commYes, commNo));
  if (saveAs->parsed()) {
    std::optional<Answer> preset;
    if (yes) preset = Answer::Yes;
    if (no) preset = Answer::No;
    return RunSaveAs(source, target, preset);
  }
  return kExitUsage;
}

}  // namespace kd820
