#pragma once
// The document that owns the open project: open, store, save, save as, the close-time check
// for unsaved changes, close, the title and the single-open guard.
#include <memory>
#include <string>
#include <vector>

#include "editor/devices/EditorContext.h"
#include "editor/project/KV410Project.h"
#include "platform/NamedLock.h"
#include "platform/UserInteraction.h"

namespace kd820 {

class CKV410Doc {
 public:
  // Problems (library files that do not load, texts a compile cuts, ...) go to a_Problems,
  // which must outlive the document.
  explicit CKV410Doc(IUserInteraction& a_Ui, IProblemSink& a_Problems = StderrProblems());
  ~CKV410Doc();
  CKV410Doc(const CKV410Doc&) = delete;
  CKV410Doc& operator=(const CKV410Doc&) = delete;

  // Closes the current project (with the close-time check), then opens a_Path. False when
  // nothing was opened; the user has been told why.
  bool OpenProject(const std::string& a_Path);
  // Takes over a project made by the new-project wizard and stores it to its path at once.
  bool AdoptProject(std::unique_ptr<CKV410Project> a_Project);
  // Save: to the document path; without one, false (the caller asks for a path: SaveAs).
  bool Save();
  // Save As with a chosen path, including the replace question.
  bool SaveAs(const std::string& a_Path);
  // Writes the project to a_Path, which then becomes the project's path.
  bool Store(const std::string& a_Path);
  // The close-time check: true to proceed, false when the user cancelled or saving failed.
  bool SaveModified();
  // Close: the close-time check, then the project is destroyed. False when cancelled.
  bool CloseProject();

  // The project file bytes of the current project, as Store writes them.
  std::vector<uint8_t> StoreToBytes();
  // The project file bytes of any project, as Store writes them (its frames sorted first).
  static std::vector<uint8_t> ProjectFileBytes(CKV410Project& a_Project);
  // Loads a project from project-file bytes; throws ArchiveError or ProjectVersionError.
  static std::unique_ptr<CKV410Project> LoadFromBytes(const std::vector<uint8_t>& a_Bytes);
  // Reads a project file without opening it in a document (no guard, no close-time check);
  // null after telling a_Ui why it could not be read. Only a regular file of at most
  // kMaxProjectFileBytes is read.
  static std::unique_ptr<CKV410Project> ReadProjectFile(const std::string& a_Path,
                                                        IUserInteraction& a_Ui);
  // The largest project file that is read. Far above any project the editor makes: the
  // largest an import can write (64 MiB of JSON text: every character of it one UTF-16 unit,
  // 32768 dynamic texts with their 256 states) stays below 300 MiB.
  static constexpr std::size_t kMaxProjectFileBytes = std::size_t{512} << 20;

  // The main window title: "KD820", or "<path> - [<file name>]" with " *" when modified.
  std::string GetTitle() const;
  bool IsModified() const { return m_Modified; }
  void SetModifiedFlag(bool a_Modified = true) { m_Modified = a_Modified; }
  const std::string& GetPathName() const { return m_PathName; }

  CKV410Project* GetProject() const { return m_Project.get(); }
  // The libraries, the shown project's models and the rasterizer.
  CEditorContext& Context() { return m_Context; }
  const CEditorContext& Context() const { return m_Context; }
  IUserInteraction& Ui() const { return m_Ui; }
  CHMIFrame* GetCurrentFrame() const { return m_CurrentFrame; }
  void SetCurrentFrame(CHMIFrame* a_Frame) { m_CurrentFrame = a_Frame; }

  // Element labels on the canvas: toggled here and kept in the project without marking it
  // modified.
  bool GetElementLabels() const { return m_ElementLabels; }
  void ToggleElementLabels();
  // Exchanges serial ports a and b throughout the project.
  bool SwapPorts(int a_A, int a_B);

  // The name of the single-open lock of a project path: lower case, "\" as "/".
  static std::string LockNameFor(const std::string& a_Path);
  // The lock name of the file a path leads to: LockNameFor of its canonical path (symbolic
  // links and "." and ".." resolved; for a file not made yet, its directory's canonical path).
  static std::string LockNameForFile(const std::string& a_Path);
  // Takes the single-open lock of a project file; null, with a_Message set to what the user
  // is told, when another editor holds it or the lock directory cannot be used.
  static std::unique_ptr<NamedLock> AcquireLock(const std::string& a_Path, std::string& a_Message);
  // The default file name Save As proposes: the project name followed by "_1".
  std::string SaveAsDefaultName() const;

 private:
  bool WriteProject(const std::string& a_Path);
  void ShowProject();
  void ResetContents();

  IUserInteraction& m_Ui;
  CEditorContext m_Context;
  std::unique_ptr<CKV410Project> m_Project;
  CHMIFrame* m_CurrentFrame = nullptr;
  std::string m_PathName;
  bool m_Modified = false;
  bool m_ElementLabels = true;
  std::unique_ptr<NamedLock> m_Lock;
};

}  // namespace kd820
