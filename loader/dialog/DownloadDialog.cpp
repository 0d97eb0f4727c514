#include "loader/dialog/DownloadDialog.h"

#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QContextMenuEvent>
#include <QFileDialog>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>
#include <QVBoxLayout>
#include <cstdlib>

#include "Version.h"
#include "loader/dialog/ProgressWidget.h"

namespace nd620 {

DownloadDialog::DownloadDialog(const DialogSetup& a_Setup, QWidget* a_Parent) : QDialog(a_Parent), m_Setup(a_Setup) {
  setWindowTitle(QString::fromStdString(m_Setup.m_Caption));
  m_Force = new QCheckBox(tr("Force Update GUI"), this);
  m_Force->setChecked(m_Setup.m_ForceGui);
  m_Bar = new ProgressWidget(this);
  m_Download = new QPushButton(tr("Download Project"), this);
  auto* layout = new QVBoxLayout(this);
  if (!m_Setup.m_OneShot) {
    // ND620Transfer: the path field with its button, then the bar.
    auto* settings = new QGroupBox(tr("Download Setting"), this);
    auto* grid = new QGridLayout(settings);
    m_PathField = new QLineEdit(QString::fromStdString(m_Setup.m_Path), settings);
    m_PathField->setMinimumWidth(280);
    m_Select = new QPushButton(tr("Select Project"), settings);
    grid->addWidget(m_PathField, 0, 0);
    grid->addWidget(m_Select, 0, 1);
    grid->addWidget(m_Force, 1, 0);
    auto* download = new QGroupBox(tr("Download"), this);
    auto* row = new QVBoxLayout(download);
    row->addWidget(m_Bar);
    row->addWidget(m_Download, 0, Qt::AlignRight);
    layout->addWidget(settings);
    layout->addWidget(download);
    connect(m_Select, &QPushButton::clicked, this, [this] {
      const QString path = QFileDialog::getOpenFileName(this, tr("Select Project"), m_PathField->text(),
                                                        tr("User Data Files (*.td)"), nullptr,
                                                        QFileDialog::ReadOnly);
      if (!path.isEmpty()) m_PathField->setText(path);
    });
  } else {
    // ND620Loader: the bar with the button beside it, the box below.
    auto* progress = new QGroupBox(tr("Progress"), this);
    auto* grid = new QGridLayout(progress);
    grid->addWidget(m_Bar, 0, 0);
    grid->addWidget(m_Download, 0, 1);
    grid->addWidget(m_Force, 1, 0);
    m_Bar->setMinimumWidth(260);
    layout->addWidget(progress);
  }
  connect(m_Download, &QPushButton::clicked, this, &DownloadDialog::StartDownload);
}

DownloadDialog::~DownloadDialog() { StopWorker(); }

QString DownloadDialog::AboutText() const {
  return QString::fromStdString(m_Setup.m_Caption + " version " + KD820_VERSION_STRING);
}

void DownloadDialog::ShowAbout() {
  auto* box = new QMessageBox(QMessageBox::Information, tr("About %1").arg(QString::fromStdString(m_Setup.m_Caption)),
                              AboutText(), QMessageBox::Ok, this);
  box->setAttribute(Qt::WA_DeleteOnClose);
  box->open();
}

void DownloadDialog::contextMenuEvent(QContextMenuEvent* a_Event) {
  // The window menu's About entry.
  QMenu menu(this);
  menu.addAction(tr("About %1...").arg(QString::fromStdString(m_Setup.m_Caption)), this, &DownloadDialog::ShowAbout);
  menu.exec(a_Event->globalPos());
}

void DownloadDialog::StartDownload() {
  if (m_Running) return;
  StopWorker();
  m_Running = true;
  m_Download->setEnabled(false);
  m_Messages.clear();
  m_Protocol = std::make_unique<LoaderProtocol>(static_cast<ILoaderView&>(*this));
  m_Protocol->SetTransportSettings(m_Setup.m_Transport);
  m_Protocol->SetTiming(m_Setup.m_Timing);
  m_Protocol->SetPackagePath(m_PathField != nullptr ? m_PathField->text().toStdString() : m_Setup.m_Path);
  m_Protocol->SetForceGui(m_Force->isChecked());
  m_Protocol->Bar().SetClientWidth(m_Bar->width());
  LoaderProtocol* protocol = m_Protocol.get();
  m_Worker = std::thread([this, protocol] {
    const bool ok = protocol->DownloadProject();
    QMetaObject::invokeMethod(this, [this, ok] { Finished(ok); }, Qt::QueuedConnection);
  });
}

void DownloadDialog::Finished(bool a_Ok) {
  StopWorker();
  m_Running = false;
  m_LastResult = a_Ok;
  m_Download->setEnabled(true);
  if (m_Setup.m_OneShot) accept();
}

void DownloadDialog::StopWorker() {
  if (m_Protocol != nullptr) m_Protocol->Cancel();
  if (m_Worker.joinable()) m_Worker.join();
}

void DownloadDialog::ProgressChanged(const ProgressBar& a_Bar) {
  // A copy goes to the user-interface thread, which draws it.
  const ProgressBar copy = a_Bar;
  QMetaObject::invokeMethod(this, [this, copy] { m_Bar->SetState(copy); }, Qt::QueuedConnection);
}

void DownloadDialog::ShowError(const std::string& a_Text, const std::string& a_Detail) {
  if (a_Text.empty()) return;
  QMetaObject::invokeMethod(
      this,
      [this, a_Text, a_Detail] {
        m_Messages.push_back(a_Text);
        auto* box = new QMessageBox(QMessageBox::Critical, QString::fromStdString(m_Setup.m_Program),
                                    QString::fromStdString(a_Text), QMessageBox::Ok, this);
        if (!a_Detail.empty()) box->setDetailedText(QString::fromStdString(a_Detail));
        box->setAttribute(Qt::WA_DeleteOnClose);
        box->setObjectName("LoaderMessage");
        box->open();
      },
      Qt::QueuedConnection);
}

void DownloadDialog::closeEvent(QCloseEvent* a_Event) {
  // The worker refers to the dialog: it is stopped and waited for before the dialog goes.
  StopWorker();
  m_Running = false;
  QDialog::closeEvent(a_Event);
}

void DownloadDialog::reject() {
  StopWorker();
  m_Running = false;
  QDialog::reject();
}

bool DialogDisplayAvailable() {
  for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"}) {
    const char* value = std::getenv(name);
    if (value != nullptr && *value != '\0') return true;
  }
  return false;
}

int RunDownloadDialog(int a_Argc, char** a_Argv, const DialogSetup& a_Setup) {
  QApplication app(a_Argc, a_Argv);
  QApplication::setApplicationName(QString::fromStdString(a_Setup.m_Program));
  QApplication::setApplicationVersion(KD820_VERSION_STRING);
  DownloadDialog dialog(a_Setup);
  dialog.show();
  const int result = QApplication::exec();
  (void)result;
  return dialog.LastResult() ? 0 : 1;
}

}  // namespace nd620
