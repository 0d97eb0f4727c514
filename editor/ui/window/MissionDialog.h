#pragma once
// The data upload/download task ("Mission"): upload or download, the target file with its
// "<<" browse button, the COM port and the communication-parameter lists. "确定" runs the
// transfer tool through the core's launcher and waits for it; the dialog stays open until
// "退出".
#include <QDialog>
#include <string>

#include "editor/compiler/ToolLaunch.h"

class QComboBox;
class QLineEdit;
class QPushButton;
class QRadioButton;

namespace kd820 {

class CMissionDialog : public QDialog {
  Q_OBJECT

 public:
  // The tool is started through a_Starter in a_WorkingDirectory (the project's), which also
  // holds the initial target file.
  CMissionDialog(IProgramStarter& a_Starter, const std::string& a_WorkingDirectory, QWidget* a_Parent = nullptr);

  CMissionValues Values() const;
  // The browse step for a chosen file: false (the choice dropped) when it cannot be opened
  // or created for writing.
  bool ChooseFile(const std::string& a_Path);
  // "确定": runs the task and waits for the tool.
  CTransferResult Run();
  const CTransferResult& LastResult() const { return m_Last; }

  QRadioButton& UploadButton() { return *m_Upload; }
  QRadioButton& DownloadButton() { return *m_Download; }
  QLineEdit& FileBox() { return *m_File; }
  QComboBox& PortBox() { return *m_Port; }
  QComboBox& BaudBox() { return *m_Baud; }
  QPushButton& OkButton() { return *m_Ok; }
  QPushButton& QuitButton() { return *m_Quit; }

  // Enter runs the task (the dialog stays open), as "确定" does.
  void accept() override;

 private:
  void Browse();

  IProgramStarter& m_Starter;
  std::string m_WorkingDirectory;
  CTransferResult m_Last;
  QRadioButton* m_Upload = nullptr;
  QRadioButton* m_Download = nullptr;
  QLineEdit* m_File = nullptr;
  QComboBox* m_Port = nullptr;
  QComboBox* m_Baud = nullptr;
  QComboBox* m_DataBits = nullptr;
  QComboBox* m_StopBits = nullptr;
  QComboBox* m_Parity = nullptr;
  QComboBox* m_Option = nullptr;
  QPushButton* m_Ok = nullptr;
  QPushButton* m_Quit = nullptr;
};

}  // namespace kd820
