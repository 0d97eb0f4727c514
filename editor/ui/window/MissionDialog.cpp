#include "editor/ui/window/MissionDialog.h"

#include <QComboBox>
#include <QFileDialog>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "editor/ui/window/DialogParts.h"
#include "editor/ui/window/SettingsTexts.h"

namespace kd820 {

using dialogparts::Text;

namespace {

// The serial ports offered: COM1 and up (the port number is the list index + 1).
constexpr int kComPorts = 16;

QComboBox* List(const QStringList& a_Items, int a_Index, const char* a_Name) {
  auto* box = new QComboBox;
  box->setObjectName(a_Name);
  box->addItems(a_Items);
  box->setCurrentIndex(a_Index);
  return box;
}

}  // namespace

CMissionDialog::CMissionDialog(IProgramStarter& a_Starter, const std::string& a_WorkingDirectory, QWidget* a_Parent)
    : QDialog(a_Parent), m_Starter(a_Starter), m_WorkingDirectory(a_WorkingDirectory) {
  setWindowTitle(Text(settext::kMissionTitle));
  const CMissionValues initial = InitialMissionValues(a_WorkingDirectory);

  auto* task = new QGroupBox(Text(settext::kTaskMode));
  auto* taskLayout = new QHBoxLayout(task);
  m_Upload = new QRadioButton(Text(settext::kUpload));
  m_Upload->setObjectName("upload");
  m_Download = new QRadioButton(Text(settext::kDownload));
  m_Download->setObjectName("download");
  (initial.m_Task == CMissionValues::kDownload ? m_Download : m_Upload)->setChecked(true);
  taskLayout->addWidget(m_Upload);
  taskLayout->addWidget(m_Download);

  auto* target = new QGroupBox(Text(settext::kTargetFile));
  auto* targetLayout = new QHBoxLayout(target);
  m_File = new QLineEdit(QString::fromStdString(initial.m_File));
  m_File->setObjectName("targetFile");
  m_File->setMinimumWidth(320);
  auto* browse = new QPushButton(Text(settext::kBrowseFile));
  browse->setObjectName("browse");
  browse->setAutoDefault(false);
  targetLayout->addWidget(m_File, 1);
  targetLayout->addWidget(browse);
  connect(browse, &QPushButton::clicked, this, [this] { Browse(); });

  QStringList ports;
  for (int i = 1; i <= kComPorts; ++i) ports << QString("COM%1").arg(i);
  m_Port = List(ports, initial.m_PortIndex, "comPort");
  auto* portForm = new QFormLayout;
  portForm->addRow(Text(settext::kComPort), m_Port);

  auto* parameters = new QGroupBox(Text(settext::kCommParameters));
  auto* form = new QFormLayout(parameters);
  m_Baud = List({"1200", "2400", "4800", "9600", "19200", "38400", "57600", "115200"}, initial.m_BaudRateIndex, "baud");
  m_DataBits = List({"8", "7"}, initial.m_DataBitsIndex, "dataBits");
  m_StopBits = List({"1", "2"}, initial.m_StopBitsIndex, "stopBits");
  m_Parity = List({Text("无"), Text("奇"), Text("偶")}, initial.m_ParityIndex, "parity");
  m_Option = List({Text("无")}, initial.m_OptionIndex, "option");
  form->addRow(Text(settext::kMissionBaud), m_Baud);
  form->addRow(Text(settext::kMissionDataBits), m_DataBits);
  form->addRow(Text(settext::kMissionStopBits), m_StopBits);
  form->addRow(Text(settext::kMissionParity), m_Parity);
  form->addRow(Text(settext::kMissionOption), m_Option);

  m_Ok = new QPushButton(Text(settext::kOk));
  m_Ok->setObjectName("ok");
  m_Ok->setDefault(true);
  m_Quit = new QPushButton(Text(settext::kQuit));
  m_Quit->setObjectName("quit");
  m_Quit->setAutoDefault(false);
  connect(m_Ok, &QPushButton::clicked, this, [this] { Run(); });
  connect(m_Quit, &QPushButton::clicked, this, &QDialog::reject);
  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  buttons->addWidget(m_Ok);
  buttons->addWidget(m_Quit);

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(task);
  layout->addWidget(target);
  layout->addLayout(portForm);
  layout->addWidget(parameters);
  layout->addLayout(buttons);
}

CMissionValues CMissionDialog::Values() const {
  CMissionValues values;
  values.m_Task = m_Download->isChecked() ? CMissionValues::kDownload : CMissionValues::kUpload;
  values.m_File = m_File->text().toStdString();
  values.m_PortIndex = m_Port->currentIndex();
  values.m_BaudRateIndex = m_Baud->currentIndex();
  values.m_DataBitsIndex = m_DataBits->currentIndex();
  values.m_StopBitsIndex = m_StopBits->currentIndex();
  values.m_ParityIndex = m_Parity->currentIndex();
  values.m_OptionIndex = m_Option->currentIndex();
  return values;
}

bool CMissionDialog::ChooseFile(const std::string& a_Path) {
  if (!PrepareTargetFile(a_Path)) return false;
  m_File->setText(QString::fromStdString(a_Path));
  return true;
}

void CMissionDialog::Browse() {
  QFileDialog dialog(this, Text(settext::kTargetFile), QString::fromStdString(m_WorkingDirectory),
                     QString("%1").arg(Text(settext::kMissionFileKind)));
  dialog.setAcceptMode(QFileDialog::AcceptSave);
  dialog.setDefaultSuffix("dat");
  dialog.selectFile(kMissionFileDefault);
  dialog.setOption(QFileDialog::ReadOnly, false);
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return;
  ChooseFile(dialog.selectedFiles().front().toStdString());
}

CTransferResult CMissionDialog::Run() {
  m_Last = RunTransferTask(Values(), m_Starter, m_WorkingDirectory);
  return m_Last;
}

void CMissionDialog::accept() { Run(); }

}  // namespace kd820
