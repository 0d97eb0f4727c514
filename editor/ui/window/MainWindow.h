#pragma once
// The editor's main window: menus and toolbar, the frame tree beside the frame canvas, and a
// status bar with the cursor's panel pixel and the selection's rectangle. It owns the
// document and its editor; the title and the commands' states follow their change events.
#include <QMainWindow>
#include <functional>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "editor/project/DocumentEditor.h"
#include "editor/compiler/ToolLaunch.h"
#include "editor/ui/window/QtClipboard.h"
#include "editor/ui/window/RecentFiles.h"

class QAction;
class QDialog;
class QLabel;

namespace kd820 {

class CFrameCanvas;
class CFrameTree;

// Problems the document reports while the window runs, each kept and shown once: the canvas
// compiles the project after every change, which reports the same warnings again.
class CWindowProblems : public IProblemSink {
 public:
  void Report(const CProblem& a_Problem) override;
  const std::vector<CProblem>& Problems() const { return m_Problems; }
  // Told of each problem not reported before.
  std::function<void(const CProblem&)> m_OnReport;

 private:
  std::vector<CProblem> m_Problems;
  std::set<std::string> m_Seen;
};

class CMainWindow : public QMainWindow, public IChangeListener {
  Q_OBJECT

 public:
  // Messages and questions go to a_Ui, which must outlive the window.
  explicit CMainWindow(IUserInteraction& a_Ui, QWidget* a_Parent = nullptr);
  // The same with the recent-project list kept in a_RecentFile.
  CMainWindow(IUserInteraction& a_Ui, const std::string& a_RecentFile, QWidget* a_Parent = nullptr);
  ~CMainWindow() override;

  CKV410Doc& Doc() { return m_Doc; }
  CDocumentEditor& Editor() { return m_Editor; }
  CFrameCanvas& Canvas() { return *m_Canvas; }
  CFrameTree& Tree() { return *m_Tree; }
  // The action of a command by its object name ("open", "undo", "delete", ...); null for none.
  QAction* Action(const char* a_Name) const;
  QString CursorText() const;
  QString SelectionText() const;

  // The file commands without their dialogs; each runs the close-time check where the
  // command does, and returns whether it was done.
  bool OpenProject(const std::string& a_Path);
  bool SaveProject();
  bool SaveProjectAs(const std::string& a_Path);
  bool CloseProject();
  // A new project a_Name in a_Parent/a_Name with the first panel model of the library.
  bool NewProject(const std::string& a_Name, const std::string& a_Parent);

  // Arms the creation tool of an element kind (not pictures) or of a picture of a .bmp file;
  // false when nothing was armed (the user was told why for a file).
  bool ArmInsert(int32_t a_TypeCode);
  bool ArmPicture(const std::string& a_BmpPath);

  // Opens the properties dialog of an element of the current frame; what is entered there is
  // one undoable step on OK. a_Prepare (tests) sees the dialog before it runs.
  bool EditElementProperties(CGraphElement& a_Element);
  std::function<void(class CElementDialog&)> m_PrepareElementDialog;
  // New project through the wizard (after the current project was closed); the new project is
  // saved, as KD820 new saves it. a_Prepare (tests) sees the wizard before it runs.
  bool RunNewProjectWizard();
  std::function<void(class CNewProjectDialog&)> m_PrepareNewProjectDialog;

  // The project settings dialogs of the Settings menu; what OK takes is one undoable step
  // (none when nothing changed), Cancel changes nothing. Each returns whether the project
  // changed. a_Prepare (tests) sees each dialog before it runs.
  bool EditGlobalSettings();
  bool EditAlarms();
  bool EditCommunication();
  bool EditTransfers();
  bool EditLanguages();
  // The data upload/download task, in the project directory.
  void RunMission();
  std::function<void(QDialog&)> m_PrepareSettingsDialog;

  // The recent projects offered in the File menu, latest first.
  const CRecentFiles& Recent() const { return m_Recent; }
  // Outside programs (simulator, viewer) are started through a_Starter, which must outlive
  // the window (tests); by default real processes.
  void SetProgramStarter(IProgramStarter& a_Starter) { m_Starter = &a_Starter; }
  // Compiles the project and starts the viewer on its image; false when the compile failed
  // (the user was told) or the viewer did not start.
  bool CompileAndViewData();

  void OnChange(const CChange& a_Change) override;

 protected:
  void closeEvent(QCloseEvent* a_Event) override;

 private:
  QAction* AddAction(QMenu* a_Menu, const char* a_Name, const char* a_Text, const QKeySequence& a_Key,
                     std::function<void()> a_Run, EditAction a_Availability);
  QAction* AddAction(QMenu* a_Menu, const char* a_Name, const char* a_Text, const QKeySequence& a_Key,
                     std::function<void()> a_Run);
  void BuildMenus();
  // After another project, or none, was shown.
  void ShowProject();
  void UpdateTitle();
  void UpdateActions();
  void UpdateSelectionText();
  void ChooseAndOpen();
  void ChoosePicture();
  void EditFrameProperties();
  void ChooseAndSaveAs();
  void AskNewProject();
  void Compile();
  void Simulate();
  // After a project was opened or saved under a path: it leads the recent list.
  void RememberProject();
  void UpdateRecentMenu();

  IUserInteraction& m_Ui;
  CWindowProblems m_Problems;
  CKV410Doc m_Doc;
  CQtClipboard m_Clipboard;
  CDocumentEditor m_Editor;
  CFrameCanvas* m_Canvas = nullptr;
  CFrameTree* m_Tree = nullptr;
  QLabel* m_CursorLabel = nullptr;
  QLabel* m_SelectionLabel = nullptr;
  // The actions whose availability the editor decides; the others need a project.
  std::vector<std::pair<QAction*, EditAction>> m_EditActions;
  std::vector<QAction*> m_ProjectActions;
  std::map<std::string, QAction*> m_Actions;
  CRecentFiles m_Recent;
  std::vector<QAction*> m_RecentActions;
  CProcessStarter m_ProcessStarter;
  IProgramStarter* m_Starter = &m_ProcessStarter;
};

}  // namespace kd820
