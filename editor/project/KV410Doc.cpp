#include "editor/project/KV410Doc.h"

#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <system_error>

#include "editor/project/ProjectModels.h"
#include "editor/project/ClassTable.h"
#include "editor/project/Messages.h"
#include "platform/Files.h"
#include "platform/ProgramDirectory.h"
#include "editor/base/TextCase.h"

namespace kd820 {

namespace fs = std::filesystem;

namespace {

std::string FormatText(const char* a_Format, const std::string& a_Arg) {
  std::string out = a_Format;
  const std::size_t at = out.find("%s");
  if (at != std::string::npos) out.replace(at, 2, a_Arg);
  return out;
}

std::string AbsolutePath(const std::string& a_Path) {
  std::error_code ec;
  fs::path p = fs::absolute(a_Path, ec);
  if (ec) return a_Path;
  return p.lexically_normal().string();
}

std::string DirectoryOf(const std::string& a_Path) {
  const std::size_t slash = a_Path.rfind('/');
  return slash == std::string::npos ? std::string(".") : a_Path.substr(0, slash == 0 ? 1 : slash);
}

std::string FileNameOf(const std::string& a_Path) {
  const std::size_t slash = a_Path.rfind('/');
  return slash == std::string::npos ? a_Path : a_Path.substr(slash + 1);
}

}  // namespace

CKV410Doc::CKV410Doc(IUserInteraction& a_Ui, IProblemSink& a_Problems)
    : m_Ui(a_Ui), m_Context(a_Problems) {}

CKV410Doc::~CKV410Doc() = default;

std::string CKV410Doc::LockNameFor(const std::string& a_Path) {
  std::string name = AsciiLower(a_Path);
  for (char& c : name)
    if (c == '\\') c = '/';
  return name;
}

std::string CKV410Doc::LockNameForFile(const std::string& a_Path) {
  std::error_code ec;
  const fs::path canonical = fs::weakly_canonical(fs::absolute(a_Path, ec), ec);
  return LockNameFor(ec ? AbsolutePath(a_Path) : canonical.string());
}

std::unique_ptr<NamedLock> CKV410Doc::AcquireLock(const std::string& a_Path, std::string& a_Message) {
  std::string error;
  NamedLock::Failure failure = NamedLock::Failure::kNone;
  auto lock = NamedLock::TryAcquire(LockNameForFile(a_Path), &error, &failure);
  if (lock) return lock;
  a_Message = failure == NamedLock::Failure::kHeld
                  ? std::string(Tr(msg::kAlreadyOpen))
                  : "the lock directory " + NamedLock::Directory() + " cannot be used (" + error +
                        "); set KD820_LOCK_DIR to a directory the editor can write";
  return nullptr;
}

std::string CKV410Doc::GetTitle() const {
  if (!m_Project || m_Project->GetPath().empty()) return msg::kAppTitle;
  const std::string& path = m_Project->GetPath();
  return path + " - [" + FileNameOf(path) + (m_Modified ? " *" : "") + "]";
}

std::string CKV410Doc::SaveAsDefaultName() const {
  return m_Project ? m_Project->GetName() + "_1" : std::string();
}

std::vector<uint8_t> CKV410Doc::StoreToBytes() { return ProjectFileBytes(*m_Project); }

std::vector<uint8_t> CKV410Doc::ProjectFileBytes(CKV410Project& a_Project) {
  CArchive ar;
  a_Project.SortFrames();
  ar.WriteObject(&a_Project);
  return ar.Bytes();
}

std::unique_ptr<CKV410Project> CKV410Doc::LoadFromBytes(const std::vector<uint8_t>& a_Bytes) {
  CArchive ar(a_Bytes, FindArchiveClass);
  auto project = ar.ReadOwned<CKV410Project>();
  return project;
}

std::unique_ptr<CKV410Project> CKV410Doc::ReadProjectFile(const std::string& a_Path,
                                                          IUserInteraction& a_Ui) {
  std::string error;
  const auto bytes = ReadWholeFile(a_Path, error, kMaxProjectFileBytes, true);
  if (!bytes) {
    a_Ui.ShowMessage(FormatText(Tr(msg::kCannotOpenFile), a_Path) + "\n" + error, msg::kAppTitle,
                     MessageIcon::Error);
    return nullptr;
  }
  try {
    auto project = LoadFromBytes(*bytes);
    project->SetPath(AbsolutePath(a_Path));
    return project;
  } catch (const ProjectVersionError& e) {
    a_Ui.ShowMessage(e.what(), msg::kAppTitle, MessageIcon::Error);
  } catch (const ArchiveError& e) {
    // The document's message, then where the reader stopped and why.
    a_Ui.ShowMessage(std::string(Tr(msg::kOpenFailed)) + "\n" + a_Path + ": " + e.what(), msg::kAppTitle,
                     MessageIcon::Error);
  }
  return nullptr;
}

bool CKV410Doc::WriteProject(const std::string& a_Path) {
  const std::vector<uint8_t> bytes = StoreToBytes();
  std::string error;
  if (!WriteFileAtomically(a_Path, bytes, error)) {
    m_Ui.ShowMessage(FormatText(Tr(msg::kCannotSaveFile), a_Path) + "\n" + error, msg::kAppTitle,
                     MessageIcon::Error);
    return false;
  }
  return true;
}

bool CKV410Doc::Store(const std::string& a_Path) {
  if (!m_Project) return false;
  const std::string path = AbsolutePath(a_Path);
  if (!WriteProject(path)) return false;
  m_Project->SetPath(path);
  m_PathName = path;
  m_Modified = false;
  return true;
}

bool CKV410Doc::Save() {
  if (!m_Project || m_Project->GetPath().empty()) return false;
  return Store(m_Project->GetPath());
}

bool CKV410Doc::SaveAs(const std::string& a_Path) {
  if (!m_Project) return false;
  const std::string path = AbsolutePath(a_Path);
  const std::string dir = DirectoryOf(path);
  std::error_code ec;
  if (fs::is_directory(dir, ec) &&
      m_Ui.Ask(Tr(msg::kReplaceProject), msg::kAppTitle, Choices::YesNo, Answer::No) != Answer::Yes) {
    return false;
  }
  // Never write over a project that another editor has open.
  std::unique_ptr<NamedLock> newLock;
  if (!m_Lock || m_Lock->GetName() != LockNameForFile(path)) {
    std::string message;
    newLock = AcquireLock(path, message);
    if (!newLock) {
      m_Ui.ShowMessage(message, msg::kAppTitle, MessageIcon::Error);
      return false;
    }
  }
  if (!Store(path)) return false;
  if (newLock) m_Lock = std::move(newLock);
  return true;
}

bool CKV410Doc::SaveModified() {
  if (!m_Modified) {
    if (m_PathName.empty() || !m_Project) return true;
    // Compare what the project would store now with its file, through a temporary copy.
    const fs::path tempDir = WritableDirectory(ProgramDirectory());
    const std::string temp = (tempDir / (FileNameOf(m_PathName) + "~")).string();
    std::string error;
    if (!WriteFileAtomically(temp, StoreToBytes(), error)) {
      m_Ui.ShowMessage(FormatText(Tr(msg::kCannotSaveFile), temp) + "\n" + error, msg::kAppTitle,
                       MessageIcon::Error);
      return false;
    }
    const bool equal = FilesEqual(temp, m_PathName);
    unlink(temp.c_str());
    if (equal) return true;
  }
  const std::string name = !m_PathName.empty() ? m_PathName : Tr(msg::kUntitled);
  switch (m_Ui.Ask(FormatText(Tr(msg::kSaveChanges), name), msg::kAppTitle, Choices::YesNoCancel,
                   Answer::Yes)) {
    case Answer::Cancel:
      return false;
    case Answer::Yes:
      return !m_PathName.empty() && Store(m_PathName);
    case Answer::No:
      return true;
  }
  return false;
}

void CKV410Doc::ResetContents() {
  m_Project.reset();
  m_CurrentFrame = nullptr;
  m_PathName.clear();
  m_Modified = false;
  m_ElementLabels = true;
  m_Lock.reset();
}

bool CKV410Doc::CloseProject() {
  if (!SaveModified()) return false;
  ResetContents();
  return true;
}

void CKV410Doc::ShowProject() {
  m_ElementLabels = m_Project->GetElementLabels();
  LoadProjectModels(*m_Project, m_Context);
}

bool CKV410Doc::OpenProject(const std::string& a_Path) {
  if (a_Path.empty()) return false;
  if (!CloseProject()) return false;
  const std::string path = AbsolutePath(a_Path);
  if (!HasFpjExtension(path)) {
    m_Ui.ShowMessage(Tr(msg::kNotFpjFile), Tr(msg::kFileFormatError), MessageIcon::Error);
    return false;
  }
  std::string message;
  auto lock = AcquireLock(path, message);
  if (!lock) {
    m_Ui.ShowMessage(message, msg::kAppTitle, MessageIcon::Error);
    return false;
  }
  std::unique_ptr<CKV410Project> project = ReadProjectFile(path, m_Ui);
  if (!project) return false;
  m_Project = std::move(project);
  m_Project->SetPath(path);
  m_CurrentFrame = m_Project->GetFrames().empty() ? nullptr : m_Project->GetFrames().front().get();
  m_PathName = path;
  m_Modified = false;
  ShowProject();
  m_Lock = std::move(lock);
  return true;
}

bool CKV410Doc::AdoptProject(std::unique_ptr<CKV410Project> a_Project) {
  if (!a_Project) return false;
  const std::string path = AbsolutePath(a_Project->GetPath());
  // A new project is guarded against a second opener like an opened one.
  std::string message;
  auto lock = AcquireLock(path, message);
  if (!lock) {
    m_Ui.ShowMessage(message, msg::kAppTitle, MessageIcon::Error);
    return false;
  }
  m_Project = std::move(a_Project);
  m_PathName = path;
  if (!Store(path)) {
    ResetContents();
    return false;
  }
  auto first = std::make_unique<CHMIFrame>(1);
  first->SetPrevious(0);
  first->SetNext(2);
  m_Project->AddFrame(first);
  m_CurrentFrame = m_Project->FindFrame(1);
  ShowProject();
  m_Lock = std::move(lock);
  return true;
}

void CKV410Doc::ToggleElementLabels() {
  m_ElementLabels = !m_ElementLabels;
  if (m_Project) m_Project->SetElementLabels(m_ElementLabels);
}

bool CKV410Doc::SwapPorts(int a_A, int a_B) {
  if (!m_Project) return false;
  std::string error;
  if (!m_Project->SwapPorts(a_A, a_B, &error)) {
    m_Ui.ShowMessage(error, msg::kAppTitle, MessageIcon::Error);
    return false;
  }
  if (a_A != a_B) m_Modified = true;
  return true;
}

}  // namespace kd820
