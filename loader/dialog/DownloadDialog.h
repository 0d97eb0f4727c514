#pragma once
// The loaders' dialog: the package path with "Select Project" (ND620Transfer), "Force Update
// GUI", the progress bar and "Download Project", over the same protocol as the terminal. The
// download runs on a worker thread; its progress and messages come back through queued calls.
// Closing the dialog while the worker runs stops the download and waits for the worker first.
#include <QDialog>
#include <atomic>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "loader/LoaderProtocol.h"

class QCheckBox;
class QLineEdit;
class QMessageBox;
class QPushButton;

namespace nd620 {

class ProgressWidget;

struct DialogSetup {
  std::string m_Program = "ND620Transfer";  // ND620Loader: one download, then the dialog closes
  std::string m_Caption = "KD820Transfer";
  bool m_OneShot = false;
  std::string m_Path;
  bool m_ForceGui = false;
  TransportSettings m_Transport;
  ProtocolTiming m_Timing;
};

class DownloadDialog : public QDialog, private ILoaderView {
  Q_OBJECT

 public:
  explicit DownloadDialog(const DialogSetup& a_Setup, QWidget* a_Parent = nullptr);
  ~DownloadDialog() override;

  // What the controls hold and what the last download gave.
  QPushButton* DownloadButton() const { return m_Download; }
  QPushButton* SelectButton() const { return m_Select; }
  QCheckBox* ForceBox() const { return m_Force; }
  QLineEdit* PathField() const { return m_PathField; }
  ProgressWidget* Bar() const { return m_Bar; }
  bool Running() const { return m_Running; }
  bool LastResult() const { return m_LastResult; }
  const std::vector<std::string>& Messages() const { return m_Messages; }
  // The About box's text.
  QString AboutText() const;

 public slots:
  void StartDownload();
  void ShowAbout();

 protected:
  void closeEvent(QCloseEvent* a_Event) override;
  void reject() override;
  void contextMenuEvent(QContextMenuEvent* a_Event) override;

 private:
  // ILoaderView, called on the worker thread.
  void ProgressChanged(const ProgressBar& a_Bar) override;
  void ShowError(const std::string& a_Text, const std::string& a_Detail) override;
  void Finished(bool a_Ok);
  void StopWorker();

  DialogSetup m_Setup;
  QLineEdit* m_PathField = nullptr;
  QPushButton* m_Select = nullptr;
  QCheckBox* m_Force = nullptr;
  ProgressWidget* m_Bar = nullptr;
  QPushButton* m_Download = nullptr;
  std::unique_ptr<LoaderProtocol> m_Protocol;
  std::thread m_Worker;
  bool m_Running = false;
  bool m_LastResult = false;
  std::vector<std::string> m_Messages;
};

// Runs the dialog as the program; its exit status (0 when the last download succeeded).
int RunDownloadDialog(int a_Argc, char** a_Argv, const DialogSetup& a_Setup);
// A display to open the dialog on.
bool DialogDisplayAvailable();

}  // namespace nd620
