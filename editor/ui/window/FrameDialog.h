#pragma once
// The frame-properties dialog: the number (chosen only for a new frame), the description and
// the frames the up and down keys lead to (0: the key does nothing). For a new frame the keys
// follow the number (number - 1 and number + 1), as the new frame is given them.
#include <QDialog>
#include <cstdint>
#include <string>

#include "editor/project/EditCommands.h"

class QLineEdit;
class QSpinBox;

namespace kd820 {

class CFrameDialog : public QDialog {
  Q_OBJECT

 public:
  // A new frame, offered the number a_Number.
  CFrameDialog(uint16_t a_Number, QWidget* a_Parent = nullptr);
  // An existing frame's properties; its number is shown and kept.
  CFrameDialog(uint16_t a_Number, const CFrameFields& a_Fields, QWidget* a_Parent = nullptr);

  uint16_t Number() const;
  CFrameFields Fields() const;
  QSpinBox& NumberBox() { return *m_Number; }
  QLineEdit& DescriptionBox() { return *m_Description; }
  QSpinBox& UpBox() { return *m_Up; }
  QSpinBox& DownBox() { return *m_Down; }

 private:
  void Build(bool a_New);

  QSpinBox* m_Number = nullptr;
  QLineEdit* m_Description = nullptr;
  QSpinBox* m_Up = nullptr;
  QSpinBox* m_Down = nullptr;
};

}  // namespace kd820
