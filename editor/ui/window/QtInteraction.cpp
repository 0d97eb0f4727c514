#include "editor/ui/window/QtInteraction.h"

#include <QMessageBox>
#include <QString>

namespace kd820 {

namespace {

QMessageBox::Icon IconOf(MessageIcon a_Icon) {
  switch (a_Icon) {
    case MessageIcon::Information: return QMessageBox::Information;
    case MessageIcon::Warning: return QMessageBox::Warning;
    case MessageIcon::Error: return QMessageBox::Critical;
    case MessageIcon::Question: return QMessageBox::Question;
  }
  return QMessageBox::NoIcon;
}

QMessageBox::StandardButton ButtonOf(Answer a_Answer) {
  switch (a_Answer) {
    case Answer::Yes: return QMessageBox::Yes;
    case Answer::No: return QMessageBox::No;
    case Answer::Cancel: return QMessageBox::Cancel;
  }
  return QMessageBox::NoButton;
}

}  // namespace

void CQtInteraction::ShowMessage(const std::string& a_Text, const std::string& a_Caption, MessageIcon a_Icon) {
  QMessageBox box(IconOf(a_Icon), QString::fromStdString(a_Caption), QString::fromStdString(a_Text),
                  QMessageBox::Ok, m_Parent);
  box.exec();
}

Answer CQtInteraction::Ask(const std::string& a_Question, const std::string& a_Caption, Choices a_Choices,
                           Answer a_Default) {
  QMessageBox::StandardButtons buttons = QMessageBox::Yes | QMessageBox::No;
  if (a_Choices == Choices::YesNoCancel) buttons |= QMessageBox::Cancel;
  QMessageBox box(QMessageBox::Question, QString::fromStdString(a_Caption), QString::fromStdString(a_Question),
                  buttons, m_Parent);
  box.setDefaultButton(ButtonOf(a_Default));
  // Closing the box with Esc or its close button answers Cancel where there is one, else No.
  box.setEscapeButton(a_Choices == Choices::YesNoCancel ? QMessageBox::Cancel : QMessageBox::No);
  switch (box.exec()) {
    case QMessageBox::Yes: return Answer::Yes;
    case QMessageBox::No: return Answer::No;
    default: return a_Choices == Choices::YesNoCancel ? Answer::Cancel : Answer::No;
  }
}

}  // namespace kd820
