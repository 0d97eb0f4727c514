#include "editor/project/NewProjectWizard.h"

#include <filesystem>
#include <system_error>

#include "editor/project/KV410Doc.h"
#include "editor/project/Messages.h"
#include "editor/project/ProjectModels.h"
#include "platform/ProgramDirectory.h"

namespace kd820 {

namespace fs = std::filesystem;

namespace {

std::string Trim(const std::string& a_Text) {
  const auto first = a_Text.find_first_not_of(" \t\r\n");
  if (first == std::string::npos) return std::string();
  const auto last = a_Text.find_last_not_of(" \t\r\n");
  return a_Text.substr(first, last - first + 1);
}

std::string WithArg(const char* a_Format, const std::string& a_Arg) {
  std::string text = a_Format;
  text.replace(text.find("%s"), 2, a_Arg);
  return text;
}

}  // namespace

CNewProjectName::CNewProjectName() {
  m_Directory = (WritableDirectory(ProgramDirectory()) / "projects").string() + "/";
}

std::string CNewProjectName::GetParent() const {
  const std::size_t slash = m_Directory.rfind('/');
  return slash == std::string::npos ? std::string() : m_Directory.substr(0, slash + 1);
}

void CNewProjectName::SetName(const std::string& a_Name) {
  m_Name = Trim(a_Name);
  m_Directory = GetParent() + m_Name;
}

std::optional<std::string> CNewProjectName::NameProblem() const {
  bool plain = m_Name != "." && m_Name != "..";
  std::string shown;
  for (const char c : m_Name) {
    const auto u = static_cast<unsigned char>(c);
    if (c == '/' || c == '\\' || u < 0x20 || u == 0x7F) plain = false;
    if (u < 0x20 || u == 0x7F) {
      static const char* const kHex = "0123456789ABCDEF";
      shown += std::string("\\x") + kHex[u >> 4] + kHex[u & 15];
    } else {
      shown += c;
    }
  }
  if (plain) return std::nullopt;
  return "the project name \"" + shown +
         "\" is not a plain name: it may not hold \"/\", \"\\\" or a control character, "
         "nor be \".\" or \"..\"";
}

void CNewProjectName::SetParentFolder(const std::string& a_Folder) {
  std::string parent = a_Folder;
  if (parent.empty() || parent.back() != '/') parent += '/';
  m_Directory = parent + m_Name;
}

CNewProjectHmi::CNewProjectHmi(CEditorContext& a_Context) : m_Context(&a_Context) { Select(0); }

bool CNewProjectHmi::Select(std::size_t a_Index) {
  return m_Context->GetHardwareLibrary().LoadModelByIndex(m_Model, a_Index);
}

bool CNewProjectHmi::SelectById(int32_t a_Id) {
  return m_Context->GetHardwareLibrary().LoadModelById(m_Model, a_Id);
}

CNewProjectWizard::CNewProjectWizard(CEditorContext& a_Context)
    : m_Context(a_Context), m_Hmi(a_Context) {}

CNewProjectPlc& CNewProjectWizard::PlcPage() {
  if (!m_Plc || m_PlcModelId != m_Hmi.GetModel().m_Id) {
    m_Plc.emplace(m_Hmi.GetModel(), m_Context);
    m_PlcModelId = m_Hmi.GetModel().m_Id;
  }
  return *m_Plc;
}

bool CNewProjectWizard::Finish(CKV410Doc& a_Doc, IUserInteraction& a_Ui) {
  if (!m_Name.CanFinish() || !m_Hmi.HasModel()) return false;
  if (m_Context.GetHardwareLibrary().Index().size() > 1 &&
      a_Ui.Ask(Tr(msg::kConfirmModel), msg::kAppTitle, Choices::YesNo, Answer::Yes) != Answer::Yes) {
    return false;
  }
  if (const auto problem = m_Name.NameProblem()) {
    a_Ui.ShowMessage(*problem, msg::kAppTitle, MessageIcon::Error);
    return false;
  }
  const std::string dir = m_Name.GetDirectory();
  std::error_code ec;
  if (fs::exists(dir, ec) &&
      a_Ui.Ask(WithArg(Tr(msg::kDirectoryExists), dir), msg::kAppTitle, Choices::YesNo, Answer::No) !=
          Answer::Yes) {
    return false;
  }
  const std::string parent = m_Name.GetParent();
  if (!fs::is_directory(parent, ec)) {
    a_Ui.ShowMessage(WithArg(Tr(msg::kDirectoryMissing), parent), msg::kAppTitle, MessageIcon::Error);
    return false;
  }
  const std::string projectFile = dir + "/" + m_Name.GetName() + ".FPJ";
  const CNewProjectPlc& plc = PlcPage();

  const fs::path templateFile =
      ProgramDirectory() / "lib" / "hardware" / (m_Hmi.GetModel().m_Name + ".SFP");
  if (fs::is_regular_file(templateFile, ec)) {
    fs::create_directories(dir, ec);
    if (!a_Doc.CloseProject()) return false;
    fs::copy_file(templateFile, projectFile, fs::copy_options::overwrite_existing, ec);
    if (ec) {
      a_Ui.ShowMessage(WithArg(Tr(msg::kCannotCreateDirectory), dir), msg::kAppTitle, MessageIcon::Error);
      return false;
    }
    if (!a_Doc.OpenProject(projectFile)) return false;
    plc.Apply(*a_Doc.GetProject());
    ReloadPortModels(*a_Doc.GetProject(), a_Doc.Context());
    return a_Doc.Save();
  }

  auto project = std::make_unique<CKV410Project>();
  project->SetPath(projectFile);
  project->SetHardwareModelId(m_Hmi.GetModel().m_Id);
  plc.Apply(*project);
  const bool existed = fs::is_directory(dir, ec);
  fs::create_directories(dir, ec);
  if (!fs::is_directory(dir, ec)) {
    a_Ui.ShowMessage(WithArg(Tr(msg::kCannotCreateDirectory), dir), msg::kAppTitle, MessageIcon::Error);
    return false;
  }
  if (!a_Doc.CloseProject()) return false;
  if (!a_Doc.AdoptProject(std::move(project))) {
    // Only a directory made here is removed again.
    if (!existed && !fs::remove(dir, ec)) {
      a_Ui.ShowMessage(WithArg(Tr(msg::kCannotRemoveDirectory), dir), msg::kAppTitle, MessageIcon::Error);
    }
    return false;
  }
  ReloadPortModels(*a_Doc.GetProject(), a_Doc.Context());
  return true;
}

}  // namespace kd820
