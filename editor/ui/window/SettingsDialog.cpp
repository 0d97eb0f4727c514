#include "editor/ui/window/SettingsDialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QRegularExpressionValidator>
#include <QVBoxLayout>
#include <cstdlib>

#include "editor/devices/EditorContext.h"
#include "editor/project/EditRules.h"
#include "editor/project/KV410Project.h"
#include "editor/ui/window/AddrEditor.h"
#include "editor/ui/window/DialogParts.h"
#include "editor/ui/window/SettingsTexts.h"
#include "platform/UserInteraction.h"

namespace kd820 {

using dialogparts::FrameCombo;
using dialogparts::FrameOf;
using dialogparts::Text;

CSettingsDialog::CSettingsDialog(const CEditorContext& a_Context, const CKV410Project& a_Project,
                                 IUserInteraction& a_Ui, QWidget* a_Parent)
    : QDialog(a_Parent), m_Context(a_Context), m_Ui(a_Ui), m_Edited(a_Project.GetSettings()) {
  setWindowTitle(Text(settext::kGlobalTitle));
  const CGlobalSettings& s = m_Edited;

  auto* frames = new QFormLayout;
  m_StartFrame = FrameCombo(a_Project, s.m_StartFrame, "startFrame");
  frames->addRow(Text(settext::kStartFrame), m_StartFrame);
  m_PasswordFrame = FrameCombo(a_Project, s.m_PasswordFrame, "passwordFrame");
  frames->addRow(Text(settext::kPasswordFrame), m_PasswordFrame);
  m_CommonUsed = new QCheckBox(Text(settext::kCommonFrame));
  m_CommonUsed->setObjectName("commonFrameUsed");
  m_CommonUsed->setChecked((s.m_Flags & CGlobalSettings::kCommonFrameUsed) != 0);
  m_CommonFrame = FrameCombo(a_Project, s.m_CommonFrame, "commonFrame");
  frames->addRow(m_CommonUsed, m_CommonFrame);

  // The screen saver: its delay, then what it does.
  auto* saver = new QGroupBox(Text(settext::kScreenSaver));
  auto* saverForm = new QFormLayout(saver);
  m_SaverMinutes = new QComboBox;
  m_SaverMinutes->setObjectName("screenSaverMinutes");
  for (const auto& [text, minutes] : ScreenSaverChoices()) m_SaverMinutes->addItem(Text(text.c_str()), minutes);
  // A stored delay that is none of the choices leaves the combo without a selection, and OK
  // keeps that delay unless another one is chosen.
  const std::optional<std::size_t> minutes = ScreenSaverChoiceIndex(s.m_ScreenSaverMinutes);
  m_SaverMinutes->setCurrentIndex(minutes ? static_cast<int>(*minutes) : -1);
  saverForm->addRow(Text(settext::kScreenSaver), m_SaverMinutes);
  m_ShowFrame = new QRadioButton(Text(settext::kSaverShowFrame));
  m_ShowFrame->setObjectName("saverShowsFrame");
  m_BacklightOnly = new QRadioButton(Text(settext::kSaverBacklightOnly));
  m_BacklightOnly->setObjectName("saverBacklightOnly");
  ((s.m_Flags & CGlobalSettings::kBacklightOnly) != 0 ? m_BacklightOnly : m_ShowFrame)->setChecked(true);
  m_SaverFrame = FrameCombo(a_Project, s.m_ScreenSaverFrame, "screenSaverFrame");
  saverForm->addRow(m_ShowFrame, m_SaverFrame);
  saverForm->addRow(m_BacklightOnly, new QWidget);
  m_PasswordToWake = new QCheckBox(Text(settext::kPasswordToWake));
  m_PasswordToWake->setObjectName("passwordToWake");
  m_PasswordToWake->setChecked((s.m_Flags & CGlobalSettings::kPasswordToWake) != 0);
  saverForm->addRow(m_PasswordToWake);
  m_PasswordLevel = new QComboBox;
  m_PasswordLevel->setObjectName("passwordLevel");
  for (int level = 1; level <= 8; ++level) m_PasswordLevel->addItem(QString::number(level));
  m_PasswordLevel->setCurrentIndex(s.m_PasswordLevel < 8 ? s.m_PasswordLevel : 0);
  saverForm->addRow(Text(settext::kPasswordLevel), m_PasswordLevel);

  auto* switches = new QFormLayout;
  m_BuzzerOff = new QCheckBox(Text(settext::kBuzzerOff));
  m_BuzzerOff->setObjectName("buzzerOff");
  m_BuzzerOff->setChecked((s.m_Flags & CGlobalSettings::kBuzzerOff) != 0);
  switches->addRow(m_BuzzerOff);
  m_SwapWords = new QCheckBox(Text(settext::kSwapWords));
  m_SwapWords->setObjectName("swapWords");
  m_SwapWords->setChecked((s.m_Flags & CGlobalSettings::kSwapWords) != 0);
  switches->addRow(m_SwapWords);
  m_Focus = new QComboBox;
  m_Focus->setObjectName("focus");
  m_Focus->addItem(Text(settext::kFocusInverse));
  m_Focus->addItem(Text(settext::kFocusBlink));
  m_Focus->setCurrentIndex(((s.m_Flags & CGlobalSettings::kFocusMask) >> 4) == 1 ? 1 : 0);
  switches->addRow(Text(settext::kFocus), m_Focus);

  // The passwords: digits only, at most nine of them.
  auto* passwords = new QGroupBox(Text(settext::kPasswords));
  auto* grid = new QGridLayout(passwords);
  const QRegularExpression digits("[0-9]{0,9}");
  for (int level = 0; level < 8; ++level) {
    auto* box = new QLineEdit(QString::number(s.m_Passwords[static_cast<std::size_t>(level)]));
    box->setObjectName(QString("password%1").arg(level + 1));
    box->setValidator(new QRegularExpressionValidator(digits, box));
    m_Passwords[static_cast<std::size_t>(level)] = box;
    grid->addWidget(new QLabel(Text(settext::kPasswordFormat).arg(level + 1)), level % 4, (level / 4) * 2);
    grid->addWidget(box, level % 4, (level / 4) * 2 + 1);
  }

  auto* control = new QGroupBox(Text(settext::kControl));
  auto* controlLayout = new QVBoxLayout(control);
  m_PlcSelectsFrame = new QCheckBox(Text(settext::kPlcSelectsFrame));
  m_PlcSelectsFrame->setObjectName("plcSelectsFrame");
  m_PlcSelectsFrame->setChecked((s.m_ControlFlags & CGlobalSettings::kPlcSelectsFrame) != 0);
  m_ReportFrame = new QCheckBox(Text(settext::kReportFrame));
  m_ReportFrame->setObjectName("reportFrame");
  m_ReportFrame->setChecked((s.m_ControlFlags & CGlobalSettings::kReportFrame) != 0);
  controlLayout->addWidget(m_PlcSelectsFrame);
  controlLayout->addWidget(m_ReportFrame);
  controlLayout->addWidget(new QLabel(Text(settext::kControlAddress)));
  m_ControlAddress = new CAddrEditor(a_Context, false);
  m_ControlAddress->setObjectName("controlAddress");
  m_ControlAddress->SetAddress(s.m_ControlAddress);
  controlLayout->addWidget(m_ControlAddress);
  controlLayout->addStretch();

  auto* left = new QVBoxLayout;
  left->addLayout(frames);
  left->addWidget(saver);
  left->addLayout(switches);
  left->addWidget(passwords);
  left->addStretch();
  auto* columns = new QHBoxLayout;
  columns->addLayout(left);
  columns->addWidget(control);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(columns);
  layout->addWidget(dialogparts::OkCancel(this));

  for (QCheckBox* box : {m_CommonUsed, m_PasswordToWake, m_PlcSelectsFrame, m_ReportFrame}) {
    connect(box, &QCheckBox::toggled, this, [this] { UpdateEnabled(); });
  }
  connect(m_ShowFrame, &QRadioButton::toggled, this, [this] { UpdateEnabled(); });
  UpdateEnabled();
}

CGlobalSettings CSettingsDialog::Collect() const {
  CGlobalSettings s = m_Edited;
  uint32_t flags = s.m_Flags & ~(CGlobalSettings::kBacklightOnly | CGlobalSettings::kPasswordToWake |
                                 CGlobalSettings::kBuzzerOff | CGlobalSettings::kSwapWords |
                                 CGlobalSettings::kFocusMask | CGlobalSettings::kCommonFrameUsed);
  if (m_BacklightOnly->isChecked()) flags |= CGlobalSettings::kBacklightOnly;
  if (m_PasswordToWake->isChecked()) flags |= CGlobalSettings::kPasswordToWake;
  if (m_BuzzerOff->isChecked()) flags |= CGlobalSettings::kBuzzerOff;
  if (m_SwapWords->isChecked()) flags |= CGlobalSettings::kSwapWords;
  flags |= static_cast<uint32_t>(m_Focus->currentIndex()) << 4;
  if (m_CommonUsed->isChecked()) flags |= CGlobalSettings::kCommonFrameUsed;
  s.m_Flags = flags;
  s.m_StartFrame = static_cast<uint16_t>(FrameOf(m_StartFrame));
  s.m_ScreenSaverFrame = static_cast<uint16_t>(FrameOf(m_SaverFrame));
  if (m_SaverMinutes->currentIndex() >= 0) {
    s.m_ScreenSaverMinutes = static_cast<uint16_t>(m_SaverMinutes->currentData().toInt());
  }
  s.m_PasswordLevel = static_cast<uint8_t>(m_PasswordLevel->currentIndex());
  s.m_PasswordFrame = static_cast<uint16_t>(FrameOf(m_PasswordFrame));
  s.m_CommonFrame = static_cast<uint16_t>(FrameOf(m_CommonFrame));
  for (std::size_t i = 0; i < m_Passwords.size(); ++i) {
    // The usual string-to-integer conversion: an empty field is 0.
    s.m_Passwords[i] = static_cast<int32_t>(std::atol(m_Passwords[i]->text().toStdString().c_str()));
  }
  int32_t control = s.m_ControlFlags & ~(CGlobalSettings::kPlcSelectsFrame | CGlobalSettings::kReportFrame);
  if (m_PlcSelectsFrame->isChecked()) control |= CGlobalSettings::kPlcSelectsFrame;
  if (m_ReportFrame->isChecked()) control |= CGlobalSettings::kReportFrame;
  s.m_ControlFlags = control;
  return s;
}

void CSettingsDialog::UpdateEnabled() {
  const CGlobalSettings s = Collect();
  m_SaverFrame->setEnabled(ScreenSaverFrameEnabled(s));
  m_PasswordLevel->setEnabled(PasswordLevelEnabled(s));
  m_CommonFrame->setEnabled(CommonFrameEnabled(s));
  m_ControlAddress->setEnabled(ControlAddressEnabled(s));
}

void CSettingsDialog::accept() {
  CGlobalSettings s = Collect();
  // The control address is taken only while a control register uses it.
  if (ControlAddressEnabled(s)) {
    std::string problem;
    std::optional<CAddr> address = m_ControlAddress->Address(&problem);
    if (!address) {
      m_Ui.ShowMessage(problem, settext::kGlobalTitle, MessageIcon::Warning);
      return;
    }
    s.m_ControlAddress = *address;
    if (!s.ControlRegisterStep(m_Context)) {
      m_Ui.ShowMessage(s.ControlAddressProblem(), settext::kGlobalTitle, MessageIcon::Warning);
      return;
    }
  }
  m_Edited = s;
  QDialog::accept();
}

}  // namespace kd820
