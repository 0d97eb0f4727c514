#pragma once
// The new-project wizard as operations: the name page, the hardware page and the PLC page,
// and Finish, which makes the project (from the model's template when there is one) and
// hands it to the document.
#include <memory>
#include <optional>
#include <string>

#include "editor/devices/HardwareLibrary.h"
#include "editor/project/NewProjectPlc.h"

namespace kd820 {

class CKV410Doc;

// Project name and directory.
class CNewProjectName {
 public:
  // Starts with the default parent: the program directory's "projects/".
  CNewProjectName();
  // Trims the name and sets the directory to its parent part followed by the name.
  void SetName(const std::string& a_Name);
  // A chosen parent folder; the name is appended to it.
  void SetParentFolder(const std::string& a_Folder);
  const std::string& GetName() const { return m_Name; }
  const std::string& GetDirectory() const { return m_Directory; }
  // The directory up to and including its last "/".
  std::string GetParent() const;
  bool CanFinish() const { return !m_Name.empty(); }
  // Why the name cannot name a project directory and file: it must be a plain name, without
  // a path separator ("/", or the "\" of the Windows editor) or a control character, and
  // not "." or "..". Nothing when it can.
  std::optional<std::string> NameProblem() const;

 private:
  std::string m_Name;
  std::string m_Directory;
};

// The hardware models by description, in ascending id order; the first is selected.
class CNewProjectHmi {
 public:
  // The models of the library of a_Context, which must outlive the page.
  explicit CNewProjectHmi(CEditorContext& a_Context);
  std::size_t Count() const { return m_Context->GetHardwareLibrary().Index().size(); }
  bool Select(std::size_t a_Index);
  // Selects the model of that id; false when the library has none.
  bool SelectById(int32_t a_Id);
  const CHardwareModel& GetModel() const { return m_Model; }
  bool HasModel() const { return m_Model.m_Id >= 0; }

 private:
  CEditorContext* m_Context;
  CHardwareModel m_Model;
};

class CNewProjectWizard {
 public:
  // Pages over the libraries of a_Context (the document's, usually), which must outlive the
  // wizard.
  explicit CNewProjectWizard(CEditorContext& a_Context);

  CNewProjectName& NamePage() { return m_Name; }
  CNewProjectHmi& HmiPage() { return m_Hmi; }
  // The PLC page of the selected model (made again when another model is selected).
  CNewProjectPlc& PlcPage();

  // Finish: true when the document holds the new project; false when the wizard stays open
  // (a question answered No, a validation message, or a failure).
  bool Finish(CKV410Doc& a_Doc, IUserInteraction& a_Ui);

 private:
  CEditorContext& m_Context;
  CNewProjectName m_Name;
  CNewProjectHmi m_Hmi;
  std::optional<CNewProjectPlc> m_Plc;
  int32_t m_PlcModelId = -1;
};

}  // namespace kd820
