#include "editor/ui/window/MainWindow.h"

#include <QAction>
#include <QClipboard>
#include <QCloseEvent>
#include <QDir>
#include <QFileDialog>
#include <QGuiApplication>
#include <QInputDialog>
#include <QLabel>
#include <QMenuBar>
#include <QSessionManager>
#include <QSplitter>
#include <QStatusBar>
#include <QToolBar>
#include <filesystem>

#include "editor/compiler/CompileProject.h"
#include "editor/compiler/ToolLaunch.h"
#include "editor/project/EditMessages.h"
#include "editor/project/EditRules.h"
#include "editor/project/Messages.h"
#include "editor/project/NewProjectWizard.h"
#include "common/ImageFormat.h"
#include "editor/screens/HMIFrame.h"
#include "editor/ui/SimulateCommand.h"
#include "editor/ui/window/QtText.h"
#include "editor/ui/window/FrameCanvas.h"
#include "editor/ui/window/AlarmDialog.h"
#include "editor/ui/window/CommDialog.h"
#include "editor/ui/window/ElementDialog.h"
#include "editor/ui/window/LanguageDialog.h"
#include "editor/ui/window/MissionDialog.h"
#include "editor/ui/window/SettingsDialog.h"
#include "editor/ui/window/SettingsTexts.h"
#include "editor/ui/window/TransferDialog.h"
#include "editor/ui/window/FrameDialog.h"
#include "editor/ui/window/FrameTree.h"
#include "editor/ui/window/NewProjectDialog.h"
#include "editor/ui/window/ElementTexts.h"
#include "editor/ui/window/WindowTexts.h"
#include "platform/ProgramDirectory.h"

namespace kd820 {

namespace {

QString FileFilter() { return Text(wintext::kFilterFormat).arg(Text(msg::kAppTitle), Text(msg::kProjectFile)); }

}  // namespace

void CWindowProblems::Report(const CProblem& a_Problem) {
  const std::string key = a_Problem.m_Where.m_Frame + "\n" + a_Problem.m_Where.m_Element + "\n" +
                          a_Problem.m_Where.m_Field + "\n" + a_Problem.m_Text;
  if (!m_Seen.insert(key).second) return;
  m_Problems.push_back(a_Problem);
  if (m_OnReport) m_OnReport(a_Problem);
}

CMainWindow::CMainWindow(IUserInteraction& a_Ui, QWidget* a_Parent)
    : CMainWindow(a_Ui, CRecentFiles::DefaultFile(), a_Parent) {}

CMainWindow::CMainWindow(IUserInteraction& a_Ui, const std::string& a_RecentFile, QWidget* a_Parent)
    : QMainWindow(a_Parent),
      m_Ui(a_Ui),
      m_Doc(a_Ui, m_Problems),
      m_Editor(m_Doc, m_Clipboard),
      m_Recent(a_RecentFile) {
  m_Canvas = new CFrameCanvas(m_Doc, m_Editor);
  m_Tree = new CFrameTree(m_Doc, m_Editor);
  auto* splitter = new QSplitter;
  splitter->addWidget(m_Tree);
  splitter->addWidget(m_Canvas);
  splitter->setStretchFactor(1, 1);
  splitter->setSizes({160, 460});
  setCentralWidget(splitter);

  m_CursorLabel = new QLabel;
  m_SelectionLabel = new QLabel;
  m_CursorLabel->setMinimumWidth(90);
  m_SelectionLabel->setMinimumWidth(160);
  statusBar()->addPermanentWidget(m_CursorLabel);
  statusBar()->addPermanentWidget(m_SelectionLabel);
  connect(m_Canvas, &CFrameCanvas::CursorMoved, this, [this](int a_X, int a_Y) {
    m_CursorLabel->setText(Text(wintext::kCursorFormat).arg(a_X).arg(a_Y));
  });
  // A double click on a frame opens its properties.
  connect(m_Tree, &QTreeWidget::itemDoubleClicked, this, [this](QTreeWidgetItem* a_Item) {
    if (a_Item->parent() == nullptr) EditFrameProperties();
  });
  connect(m_Canvas, &CFrameCanvas::ElementDoubleClicked, this,
          [this](CGraphElement* a_Element) { EditElementProperties(*a_Element); });
  connect(m_Tree, &QTreeWidget::itemDoubleClicked, this, [this](QTreeWidgetItem* a_Item) {
    if (a_Item->parent() == nullptr) return;
    if (CGraphElement* element = m_Editor.Selection().Reference()) EditElementProperties(*element);
  });
  connect(m_Canvas, &CFrameCanvas::CursorLeft, this, [this] { m_CursorLabel->clear(); });
  m_Problems.m_OnReport = [this](const CProblem& a_Problem) {
    statusBar()->showMessage(QString::fromStdString(a_Problem.m_Text), 10000);
  };

  BuildMenus();
  UpdateRecentMenu();
  m_Editor.AddListener(*this);
  // Paste follows what the clipboard holds, put there by this window or another.
  connect(QGuiApplication::clipboard(), &QClipboard::dataChanged, this, [this] { UpdateActions(); });
  // The session manager asks before the session ends: unsaved changes are asked about then too.
  connect(qGuiApp, &QGuiApplication::commitDataRequest, this, [this](QSessionManager& a_Manager) {
    if (!a_Manager.allowsInteraction() || !m_Doc.SaveModified()) a_Manager.cancel();
    a_Manager.release();
  });
  ShowProject();
}

CMainWindow::~CMainWindow() { m_Editor.RemoveListener(*this); }

QAction* CMainWindow::Action(const char* a_Name) const {
  auto it = m_Actions.find(a_Name);
  return it == m_Actions.end() ? nullptr : it->second;
}

QAction* CMainWindow::AddAction(QMenu* a_Menu, const char* a_Name, const char* a_Text, const QKeySequence& a_Key,
                                std::function<void()> a_Run) {
  auto* action = new QAction(Text(a_Text), this);
  action->setObjectName(a_Name);
  action->setShortcut(a_Key);
  // Some commands change what is available without a change event (Copy fills the clipboard).
  connect(action, &QAction::triggered, this, [this, run = std::move(a_Run)] {
    run();
    UpdateActions();
  });
  a_Menu->addAction(action);
  m_Actions[a_Name] = action;
  return action;
}

QAction* CMainWindow::AddAction(QMenu* a_Menu, const char* a_Name, const char* a_Text, const QKeySequence& a_Key,
                                std::function<void()> a_Run, EditAction a_Availability) {
  QAction* action = AddAction(a_Menu, a_Name, a_Text, a_Key, std::move(a_Run));
  m_EditActions.emplace_back(action, a_Availability);
  return action;
}

void CMainWindow::BuildMenus() {
  QMenu* file = menuBar()->addMenu(Text(wintext::kMenuFile));
  QAction* newProject = AddAction(file, "new", wintext::kNewProject, QKeySequence(Qt::CTRL | Qt::Key_N),
                                  [this] { AskNewProject(); });
  QAction* open = AddAction(file, "open", wintext::kOpenProject, QKeySequence(Qt::CTRL | Qt::Key_O),
                            [this] { ChooseAndOpen(); });
  QAction* save = AddAction(file, "save", wintext::kSaveProject, QKeySequence(Qt::CTRL | Qt::Key_S),
                            [this] { SaveProject(); });
  m_ProjectActions.push_back(save);
  m_ProjectActions.push_back(AddAction(file, "saveAs", wintext::kSaveProjectAs, {}, [this] { ChooseAndSaveAs(); }));
  m_ProjectActions.push_back(
      AddAction(file, "close", wintext::kCloseProject, QKeySequence(Qt::CTRL | Qt::Key_E), [this] { CloseProject(); }));
  file->addSeparator();
  for (std::size_t i = 0; i < CRecentFiles::kMaxEntries; ++i) {
    const std::string name = "recent" + std::to_string(i);
    QAction* recent = AddAction(file, name.c_str(), "", {}, [this, i] {
      const std::vector<std::string> offered = m_Recent.Offered();
      if (i < offered.size()) OpenProject(CRecentFiles::FileOf(offered[i]));
    });
    m_RecentActions.push_back(recent);
  }
  file->addSeparator();
  AddAction(file, "exit", wintext::kExit, {}, [this] { close(); });

  QMenu* edit = menuBar()->addMenu(Text(wintext::kMenuEdit));
  QAction* undo = AddAction(edit, "undo", wintext::kUndo, QKeySequence::Undo, [this] { m_Editor.Undo(); },
                            EditAction::Undo);
  QAction* redo = AddAction(edit, "redo", wintext::kRedo, QKeySequence(Qt::CTRL | Qt::Key_Y),
                            [this] { m_Editor.Redo(); }, EditAction::Redo);
  edit->addSeparator();
  QAction* cut = AddAction(edit, "cut", wintext::kCut, QKeySequence::Cut, [this] { m_Editor.Cut(); }, EditAction::Cut);
  QAction* copy =
      AddAction(edit, "copy", wintext::kCopy, QKeySequence::Copy, [this] { m_Editor.Copy(); }, EditAction::Copy);
  QAction* paste =
      AddAction(edit, "paste", wintext::kPaste, QKeySequence::Paste, [this] { m_Editor.Paste(); }, EditAction::Paste);
  QAction* remove = AddAction(edit, "delete", wintext::kDelete, QKeySequence(Qt::Key_Delete),
                              [this] { m_Editor.Delete(); }, EditAction::Delete);
  edit->addSeparator();
  AddAction(edit, "selectAll", wintext::kSelectAll, QKeySequence::SelectAll, [this] { m_Editor.SelectAll(); },
            EditAction::SelectAll);
  AddAction(edit, "selectNone", wintext::kSelectNone, QKeySequence(Qt::Key_Escape), [this] {
    m_Canvas->Arm(std::nullopt);
    m_Editor.SelectNone();
  }, EditAction::SelectNone);
  edit->addSeparator();
  QAction* front = AddAction(edit, "bringToFront", wintext::kBringToFront, {}, [this] { m_Editor.BringToFront(); },
                             EditAction::BringToFront);
  QAction* back = AddAction(edit, "sendToBack", wintext::kSendToBack, {}, [this] { m_Editor.SendToBack(); },
                            EditAction::SendToBack);
  AddAction(edit, "elementProperties", elemtext::kElementProperties, QKeySequence(Qt::ALT | Qt::Key_Return), [this] {
    if (CGraphElement* element = m_Editor.Selection().Reference()) EditElementProperties(*element);
  }, EditAction::Delete);
  QMenu* align = edit->addMenu(Text(wintext::kMenuAlign));
  const std::pair<const char*, std::pair<const char*, AlignMode>> modes[] = {
      {"alignLeft", {wintext::kAlignLeft, AlignMode::Left}},
      {"alignHCentres", {wintext::kAlignHCentres, AlignMode::HorizontalCentres}},
      {"alignRight", {wintext::kAlignRight, AlignMode::Right}},
      {"alignTop", {wintext::kAlignTop, AlignMode::Top}},
      {"alignVMiddles", {wintext::kAlignVMiddles, AlignMode::VerticalMiddles}},
      {"alignBottom", {wintext::kAlignBottom, AlignMode::Bottom}},
  };
  for (const auto& [name, textAndMode] : modes) {
    const AlignMode mode = textAndMode.second;
    AddAction(align, name, textAndMode.first, {}, [this, mode] { m_Editor.Align(mode); }, EditAction::Align);
  }
  align->addSeparator();
  AddAction(align, "spaceHorizontally", wintext::kSpaceHorizontally, {}, [this] { m_Editor.SpaceEqually(true); },
            EditAction::SpaceEqually);
  AddAction(align, "spaceVertically", wintext::kSpaceVertically, {}, [this] { m_Editor.SpaceEqually(false); },
            EditAction::SpaceEqually);
  QMenu* centre = edit->addMenu(Text(wintext::kMenuCentre));
  AddAction(centre, "centreHorizontally", wintext::kCentreHorizontally, {},
            [this] { m_Editor.Centre(true, false); }, EditAction::Centre);
  AddAction(centre, "centreVertically", wintext::kCentreVertically, {}, [this] { m_Editor.Centre(false, true); },
            EditAction::Centre);
  AddAction(centre, "centreBoth", wintext::kCentreBoth, {}, [this] { m_Editor.Centre(true, true); },
            EditAction::Centre);

  QMenu* insert = menuBar()->addMenu(Text(wintext::kMenuInsert));
  const std::pair<const char*, std::pair<const char*, int32_t>> kinds[] = {
      {"insertLed", {wintext::kInsertLed, kTypeLed}},
      {"insertFunckey", {wintext::kInsertFunckey, kTypeFunckey}},
      {"insertStaticText", {wintext::kInsertStaticText, kTypeStaticText}},
      {"insertDynamicText", {wintext::kInsertDynamicText, kTypeDynamicText}},
      {"insertRegister", {wintext::kInsertRegister, kTypeRegister}},
      {"insertBar", {wintext::kInsertBar, kTypeBar}},
      {"insertTrend", {wintext::kInsertTrend, kTypeTrend}},
      {"insertAscii", {wintext::kInsertAscii, kTypeAscii}},
      {"insertEventList", {wintext::kInsertEventList, kTypeEventList}},
  };
  for (const auto& [name, textAndType] : kinds) {
    const int32_t type = textAndType.second;
    AddAction(insert, name, textAndType.first, {}, [this, type] { ArmInsert(type); }, EditAction::Insert);
  }
  AddAction(insert, "insertPicture", wintext::kInsertPicture, {}, [this] { ChoosePicture(); }, EditAction::Insert);

  QMenu* frames = menuBar()->addMenu(Text(wintext::kMenuFrame));
  AddAction(frames, "newFrame", wintext::kNewFrame, {}, [this] {
    CFrameDialog dialog(m_Doc.GetProject()->NextFreeFrameNumber(), this);
    if (dialog.exec() == QDialog::Accepted) m_Editor.NewFrame(dialog.Number(), dialog.Fields().m_Description);
  }, EditAction::NewFrame);
  m_ProjectActions.push_back(AddAction(frames, "frameProperties", wintext::kFrameProperties, {},
                                       [this] { EditFrameProperties(); }));
  AddAction(frames, "copyFrame", msg::kCopyFrame, {}, [this] {
    bool ok = false;
    const int number = QInputDialog::getInt(this, Text(msg::kCopyFrame), Text(wintext::kFrame),
                                            m_Doc.GetProject()->NextFreeFrameNumber(), 1, 65535, 1, &ok);
    if (ok) m_Editor.CopyFrame(static_cast<uint16_t>(number));
  }, EditAction::CopyFrame);
  AddAction(frames, "deleteFrame", msg::kDeleteFrame, {}, [this] { m_Editor.DeleteFrame(); },
            EditAction::DeleteFrame);

  QMenu* view = menuBar()->addMenu(Text(wintext::kMenuView));
  QAction* zoomIn = AddAction(view, "zoomIn", wintext::kZoomIn, QKeySequence::ZoomIn,
                              [this] { m_Canvas->SetZoom(m_Canvas->Zoom() + 1); });
  QAction* zoomOut = AddAction(view, "zoomOut", wintext::kZoomOut, QKeySequence::ZoomOut,
                               [this] { m_Canvas->SetZoom(m_Canvas->Zoom() - 1); });
  AddAction(view, "zoomDefault", wintext::kZoomDefault, QKeySequence(Qt::CTRL | Qt::Key_0),
            [this] { m_Canvas->SetZoom(CFrameCanvas::kDefaultZoom); });
  // The element-label switch is kept in the project without marking it modified.
  QAction* labels = AddAction(view, "elementLabels", wintext::kElementLabels, {}, [this] {
    m_Doc.ToggleElementLabels();
    m_Canvas->update();
  });
  labels->setCheckable(true);
  m_ProjectActions.push_back(labels);
  QAction* grid = AddAction(view, "grid", wintext::kDotGrid, {}, [this] {
    m_Canvas->SetGridVisible(Action("grid")->isChecked());
  });
  grid->setCheckable(true);
  grid->setChecked(m_Canvas->GridVisible());

  QMenu* tools = menuBar()->addMenu(Text(wintext::kMenuTools));
  QAction* compile = AddAction(tools, "compile", wintext::kCompile, QKeySequence(Qt::Key_F7), [this] { Compile(); });
  QAction* simulate = AddAction(tools, "simulate", wintext::kSimulate, QKeySequence(Qt::Key_F5), [this] { Simulate(); });
  m_ProjectActions.push_back(compile);
  m_ProjectActions.push_back(simulate);
  m_ProjectActions.push_back(AddAction(tools, "compileAndView", wintext::kCompileAndView, QKeySequence(Qt::ALT | Qt::Key_C),
                                       [this] { CompileAndViewData(); }));

  QMenu* settings = menuBar()->addMenu(Text(settext::kMenuSettings));
  const std::pair<const char*, std::pair<const char*, std::function<void()>>> dialogs[] = {
      {"globalSettings", {settext::kGlobalCommand, [this] { EditGlobalSettings(); }}},
      {"alarmSettings", {settext::kAlarmCommand, [this] { EditAlarms(); }}},
      {"commSettings", {settext::kCommCommand, [this] { EditCommunication(); }}},
      {"transferSettings", {settext::kTransferCommand, [this] { EditTransfers(); }}},
      {"languageSettings", {settext::kLanguageCommand, [this] { EditLanguages(); }}},
  };
  for (const auto& [name, textAndRun] : dialogs) {
    m_ProjectActions.push_back(AddAction(settings, name, textAndRun.first, {}, textAndRun.second));
  }
  settings->addSeparator();
  m_ProjectActions.push_back(
      AddAction(settings, "mission", settext::kMissionCommand, QKeySequence(Qt::CTRL | Qt::Key_U), [this] { RunMission(); }));

  QToolBar* bar = addToolBar(Text(wintext::kMenuFile));
  bar->setObjectName("mainToolBar");
  bar->setToolButtonStyle(Qt::ToolButtonTextOnly);
  for (QAction* a : {newProject, open, save}) bar->addAction(a);
  bar->addSeparator();
  for (QAction* a : {undo, redo}) bar->addAction(a);
  bar->addSeparator();
  for (QAction* a : {cut, copy, paste, remove, front, back}) bar->addAction(a);
  bar->addSeparator();
  for (QAction* a : {zoomIn, zoomOut}) bar->addAction(a);
  bar->addSeparator();
  for (QAction* a : {compile, simulate}) bar->addAction(a);
}

void CMainWindow::ShowProject() {
  m_Editor.Reset();
  m_Tree->Rebuild();
  m_Canvas->Refresh();
  UpdateTitle();
  UpdateActions();
  UpdateSelectionText();
}

void CMainWindow::OnChange(const CChange& a_Change) {
  m_Canvas->OnChange(a_Change);
  m_Tree->OnChange(a_Change);
  UpdateTitle();
  UpdateActions();
  UpdateSelectionText();
}

void CMainWindow::UpdateTitle() { setWindowTitle(QString::fromStdString(m_Doc.GetTitle())); }

void CMainWindow::UpdateActions() {
  for (auto& [action, availability] : m_EditActions) action->setEnabled(m_Editor.IsAvailable(availability));
  const bool project = m_Doc.GetProject() != nullptr;
  for (QAction* action : m_ProjectActions) action->setEnabled(project);
  Action("elementLabels")->setChecked(m_Doc.GetElementLabels());
}

QString CMainWindow::CursorText() const { return m_CursorLabel->text(); }
QString CMainWindow::SelectionText() const { return m_SelectionLabel->text(); }

void CMainWindow::UpdateSelectionText() {
  const CSelection& selection = m_Editor.Selection();
  if (selection.IsEmpty()) {
    m_SelectionLabel->clear();
    return;
  }
  const CRect r = UnionRect(selection.Elements());
  m_SelectionLabel->setText(Text(wintext::kSelectionFormat)
                                .arg(r.m_Left)
                                .arg(r.m_Top)
                                .arg(r.m_Right)
                                .arg(r.m_Bottom)
                                .arg(r.m_Right - r.m_Left)
                                .arg(r.m_Bottom - r.m_Top));
}

bool CMainWindow::OpenProject(const std::string& a_Path) {
  const bool opened = m_Doc.OpenProject(a_Path);
  // A failed open has closed the previous project too.
  ShowProject();
  if (opened) RememberProject();
  return opened;
}

void CMainWindow::RememberProject() {
  if (!m_Doc.GetPathName().empty()) m_Recent.Add(m_Doc.GetPathName());
  UpdateRecentMenu();
}

void CMainWindow::UpdateRecentMenu() {
  const std::vector<std::string> offered = m_Recent.Offered();
  for (std::size_t i = 0; i < m_RecentActions.size(); ++i) {
    QAction* action = m_RecentActions[i];
    action->setVisible(i < offered.size());
    if (i < offered.size()) action->setText(QString("&%1 %2").arg(i + 1).arg(QString::fromStdString(offered[i])));
  }
}

bool CMainWindow::SaveProject() {
  if (m_Doc.GetProject() == nullptr) return false;
  if (m_Doc.GetPathName().empty()) {
    ChooseAndSaveAs();
    return !m_Doc.IsModified();
  }
  const bool saved = m_Editor.Save();
  UpdateTitle();
  return saved;
}

bool CMainWindow::SaveProjectAs(const std::string& a_Path) {
  if (m_Doc.GetProject() == nullptr) return false;
  const bool saved = m_Editor.SaveAs(a_Path);
  UpdateTitle();
  if (saved) RememberProject();
  return saved;
}

bool CMainWindow::CloseProject() {
  if (!m_Doc.CloseProject()) return false;
  m_Clipboard.Clear();
  ShowProject();
  return true;
}

bool CMainWindow::NewProject(const std::string& a_Name, const std::string& a_Parent) {
  if (!m_Doc.CloseProject()) return false;
  ShowProject();
  CNewProjectWizard wizard(m_Doc.Context());
  wizard.NamePage().SetParentFolder(a_Parent);
  wizard.NamePage().SetName(a_Name);
  if (auto problem = wizard.NamePage().NameProblem()) {
    m_Ui.ShowMessage(*problem, msg::kAppTitle, MessageIcon::Error);
    return false;
  }
  const bool made = wizard.Finish(m_Doc, m_Ui);
  ShowProject();
  return made;
}

bool CMainWindow::EditElementProperties(CGraphElement& a_Element) {
  if (m_Doc.GetProject() == nullptr || m_Editor.CurrentFrame() == nullptr) return false;
  CElementDialog dialog(m_Doc.Context(), *m_Doc.GetProject(), a_Element, m_Ui, this);
  if (m_PrepareElementDialog) m_PrepareElementDialog(dialog);
  if (dialog.exec() != QDialog::Accepted) return false;
  return m_Editor.EditElement(a_Element, [&](CGraphElement& a_Target) { dialog.ApplyTo(a_Target); });
}

namespace {

// Runs a settings dialog: the test hook first, then modally; true after OK.
bool RunDialog(QDialog& a_Dialog, const std::function<void(QDialog&)>& a_Prepare) {
  if (a_Prepare) a_Prepare(a_Dialog);
  return a_Dialog.exec() == QDialog::Accepted;
}

}  // namespace

bool CMainWindow::EditGlobalSettings() {
  if (m_Doc.GetProject() == nullptr) return false;
  CSettingsDialog dialog(m_Doc.Context(), *m_Doc.GetProject(), m_Ui, this);
  if (!RunDialog(dialog, m_PrepareSettingsDialog)) return false;
  return m_Editor.EditSettings([&](CKV410Project& a_Project) { ApplySettingsDialog(a_Project.GetSettings(), dialog.Edited()); });
}

bool CMainWindow::EditAlarms() {
  if (m_Doc.GetProject() == nullptr) return false;
  CAlarmDialog dialog(m_Doc.Context(), *m_Doc.GetProject(), m_Ui, this);
  if (!RunDialog(dialog, m_PrepareSettingsDialog)) return false;
  return m_Editor.EditSettings(
      [&](CKV410Project& a_Project) { ApplyAlarmDialog(a_Project.GetAlarms(), dialog.Edited(), m_Doc.Context()); });
}

bool CMainWindow::EditCommunication() {
  if (m_Doc.GetProject() == nullptr) return false;
  const std::size_t steps = m_Editor.History().UndoCount();
  // The dialog's OK records the change itself: its question may keep it open.
  CCommDialog dialog(m_Doc, m_Editor, this);
  if (!RunDialog(dialog, m_PrepareSettingsDialog)) return false;
  return m_Editor.History().UndoCount() != steps;
}

bool CMainWindow::EditTransfers() {
  if (m_Doc.GetProject() == nullptr) return false;
  CTransferDialog dialog(m_Doc.Context(), *m_Doc.GetProject(), m_Ui, this);
  if (!RunDialog(dialog, m_PrepareSettingsDialog)) return false;
  return m_Editor.EditSettings([&](CKV410Project& a_Project) { a_Project.GetTransfers() = dialog.Edited(); });
}

bool CMainWindow::EditLanguages() {
  if (m_Doc.GetProject() == nullptr) return false;
  CLanguageDialog dialog(*m_Doc.GetProject(), m_Ui, this);
  if (!RunDialog(dialog, m_PrepareSettingsDialog)) return false;
  return m_Editor.EditSettings([&](CKV410Project& a_Project) {
    ApplyLanguageDialog(a_Project, dialog.Count(), dialog.Rows(), dialog.MessagesInFirstLanguage());
  });
}

void CMainWindow::RunMission() {
  CKV410Project* project = m_Doc.GetProject();
  if (project == nullptr) return;
  CMissionDialog dialog(*m_Starter, std::filesystem::path(project->GetPath()).parent_path().string(), this);
  RunDialog(dialog, m_PrepareSettingsDialog);
}

void CMainWindow::EditFrameProperties() {
  CHMIFrame* frame = m_Editor.CurrentFrame();
  if (frame == nullptr) return;
  CFrameDialog dialog(frame->GetNumber(), CFrameFields::Of(*frame), this);
  if (dialog.exec() == QDialog::Accepted) m_Editor.EditFrame(*frame, dialog.Fields());
}

bool CMainWindow::ArmInsert(int32_t a_TypeCode) {
  std::optional<CInsertTool> tool = m_Editor.IsAvailable(EditAction::Insert) ? m_Editor.ArmInsert(a_TypeCode) : std::nullopt;
  m_Canvas->Arm(tool);
  if (tool) m_Canvas->setFocus();
  return tool.has_value();
}

bool CMainWindow::ArmPicture(const std::string& a_BmpPath) {
  std::optional<CInsertTool> tool =
      m_Editor.IsAvailable(EditAction::Insert) ? m_Editor.ArmPicture(a_BmpPath) : std::nullopt;
  m_Canvas->Arm(tool);
  if (tool) m_Canvas->setFocus();
  return tool.has_value();
}

void CMainWindow::ChoosePicture() {
  // The dialog does not change the current directory, which stays the project's.
  const QString path =
      QFileDialog::getOpenFileName(this, Text(wintext::kInsertPicture), QString(), Text(wintext::kBitmapFilter));
  if (!path.isEmpty()) ArmPicture(path.toStdString());
}

void CMainWindow::ChooseAndOpen() {
  const QString path = QFileDialog::getOpenFileName(this, Text(wintext::kOpenProject), QString(), FileFilter());
  if (!path.isEmpty()) OpenProject(path.toStdString());
}

void CMainWindow::ChooseAndSaveAs() {
  if (m_Doc.GetProject() == nullptr) return;
  QString start = QString::fromStdString(m_Doc.SaveAsDefaultName());
  if (!m_Doc.GetPathName().empty()) {
    start = QDir(QString::fromStdString(std::filesystem::path(m_Doc.GetPathName()).parent_path().string()))
                .filePath(start);
  }
  QString path = QFileDialog::getSaveFileName(this, Text(wintext::kSaveProjectAs), start, FileFilter());
  if (path.isEmpty()) return;
  if (!path.endsWith(".FPJ", Qt::CaseInsensitive)) path += ".FPJ";
  SaveProjectAs(path.toStdString());
}

void CMainWindow::AskNewProject() { RunNewProjectWizard(); }

bool CMainWindow::RunNewProjectWizard() {
  if (!m_Doc.CloseProject()) return false;
  m_Clipboard.Clear();
  ShowProject();
  CNewProjectDialog wizard(m_Doc, m_Ui, this);
  if (m_PrepareNewProjectDialog) m_PrepareNewProjectDialog(wizard);
  const bool made = wizard.exec() == QDialog::Accepted && m_Doc.GetProject() != nullptr;
  ShowProject();
  if (!made || !m_Editor.Save()) return false;
  RememberProject();
  return true;
}

bool CMainWindow::CompileAndViewData() {
  if (m_Doc.GetProject() == nullptr) return false;
  const CViewResult result = CompileAndView(m_Doc, *m_Starter);
  for (const CProblem& p : result.m_Compile.m_Problems.Problems()) m_Problems.Report(p);
  if (!result.m_Compile.Ok()) {
    m_Ui.ShowMessage(result.m_Compile.m_Problems.Texts().empty() ? wintext::kCompileFailed
                                                                 : result.m_Compile.m_Problems.Texts().front(),
                     msg::kAppTitle, MessageIcon::Error);
    return false;
  }
  return result.m_Started;
}

void CMainWindow::Compile() {
  if (m_Doc.GetProject() == nullptr) return;
  const CCompileResult result = CompileProjectToFile(*m_Doc.GetProject(), m_Doc.Context());
  for (const CProblem& p : result.m_Problems.Problems()) m_Problems.Report(p);
  if (!result.Ok()) {
    m_Ui.ShowMessage(result.m_Problems.Texts().empty() ? wintext::kCompileFailed : result.m_Problems.Texts().front(),
                     msg::kAppTitle, MessageIcon::Error);
    return;
  }
  statusBar()->showMessage(QString::fromStdString(m_Doc.GetProject()->GetImagePath()), 10000);
}

void CMainWindow::Simulate() {
  CKV410Project* project = m_Doc.GetProject();
  if (project == nullptr) return;
  CHardwareModel model;
  m_Doc.Context().GetHardwareLibrary().LoadModelById(model, project->GetHardwareModelId());
  // The simulator starts whatever the compile gave: it shows "no user data" for a bad image.
  const CCompileResult result = CompileProjectToFile(*project, m_Doc.Context());
  for (const CProblem& p : result.m_Problems.Problems()) m_Problems.Report(p);
  CProgramCall call;
  call.m_Program = "PanSim";
  call.m_Arguments =
      SimulatorArguments(project->GetHardwareModelId(), project->GetImagePath(), model.m_Encoder, model.m_Name);
  call.m_WorkingDirectory = std::filesystem::path(project->GetPath()).parent_path().string();
  int exitCode = 0;
  std::string error;
  if (!m_Starter->Start(call, exitCode, error)) m_Ui.ShowMessage(std::string(Tr(kStartFailed)) + "PanSim", msg::kAppTitle, MessageIcon::Error);
}

void CMainWindow::closeEvent(QCloseEvent* a_Event) {
  // Closing the window closes the project, with the question about unsaved changes.
  if (m_Doc.GetProject() != nullptr && !m_Doc.CloseProject()) {
    a_Event->ignore();
    return;
  }
  ShowProject();
  a_Event->accept();
}

}  // namespace kd820
