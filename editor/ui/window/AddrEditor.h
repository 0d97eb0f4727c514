#pragma once
// The register-address editor: port, station, register type, address, bit number, index,
// BCD and the type's byte order, with the type's range hint. The ranges and their check are
// the address's own (CAddr); the editor only collects what the user typed.
#include <QWidget>
#include <optional>
#include <string>

#include "editor/devices/Addr.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QSpinBox;

namespace kd820 {

class CEditorContext;

class CAddrEditor : public QWidget {
  Q_OBJECT

 public:
  // a_Bits: the address names a bit (the bit types are offered), else a word or double word.
  CAddrEditor(const CEditorContext& a_Context, bool a_Bits, QWidget* a_Parent = nullptr);

  void SetAddress(const CAddr& a_Addr);
  // Offers the bit types or the word types from now on; the address is reset when its type
  // is not of that kind.
  void SetBits(bool a_Bits);
  // The address as typed; nullopt with the reason in a_Problem when it does not convert or
  // lies outside its type's range.
  std::optional<CAddr> Address(std::string* a_Problem = nullptr) const;

  QComboBox& PortBox() { return *m_Port; }
  QSpinBox& StationBox() { return *m_Station; }
  QComboBox& TypeBox() { return *m_Type; }
  QLineEdit& AddressBox() { return *m_Address; }
  QLineEdit& SubAddressBox() { return *m_SubAddress; }
  QLineEdit& IndexBox() { return *m_Index; }
  QCheckBox& BcdBox() { return *m_Bcd; }
  QString RangeHint() const;
  QString ByteOrder() const;

 private:
  void FillTypes();
  void TypeChosen();
  // The address with port, station and type as chosen (the numbers as last set).
  CAddr Chosen() const;

  const CEditorContext& m_Context;
  bool m_Bits;
  CAddr m_Addr;
  QComboBox* m_Port = nullptr;
  QSpinBox* m_Station = nullptr;
  QComboBox* m_Type = nullptr;
  QLineEdit* m_Address = nullptr;
  QLineEdit* m_SubAddress = nullptr;
  QLineEdit* m_Index = nullptr;
  QCheckBox* m_Bcd = nullptr;
  QLineEdit* m_Note = nullptr;
  QLabel* m_Range = nullptr;
  QLabel* m_Order = nullptr;
  bool m_Filling = false;
};

}  // namespace kd820
