#pragma once
// The common base of every element placed on a frame: its rectangle, number and name, the
// shared flags and the common part of its archive form.
#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "common/ImageFormat.h"
#include "editor/base/Archive.h"
#include "editor/base/FieldTable.h"

namespace kd820 {

class CAddr;
class CEditorContext;
class CImageBuffer;
class CRecordWriter;

// Name prefix of a type code ("LED", "FK", ...); "" for an unknown code.
const char* ElementTypePrefix(int32_t a_TypeCode);

// Rectangle with exclusive right and bottom.
struct CRect {
  int32_t m_Left = 0, m_Top = 0, m_Right = 0, m_Bottom = 0;
  bool operator==(const CRect&) const = default;
};

class CGraphElement : public CObject {
  KD_DECLARE_SERIAL(CGraphElement)

 public:
  static constexpr uint16_t kNoNumber = 0xFFFF;
  static constexpr uint32_t kNotInFocusOrder = 0xFFFF;

  ~CGraphElement() override = default;

  // The base fields (the type code is archived but follows from the class: it is not copied,
  // and its JSON form "type" is the element type's name).
  static const CFieldTable& Fields();

  // A new element of the same class holding a copy of this one.
  virtual std::unique_ptr<CGraphElement> Clone() const { return nullptr; }
  // Copies every base field but the type code, which follows from the class; element types
  // override to copy their own fields too.
  virtual void CopyFrom(const CGraphElement& a_Other);
  void Serialize(CArchive& a_Ar) override;
  // Appends the element's record to the image being compiled; the base writes nothing.
  virtual void Compile(CRecordWriter& a_Writer) const { (void)a_Writer; }
  // Sizes an element that takes its size from its contents (texts, number formats) to them;
  // the others keep their size. Setters do not resize: call this after changing what counts.
  virtual void UpdateSize(CEditorContext& a_Context) { (void)a_Context; }
  // Appends the common start of every element record: the rectangle, the register
  // descriptors (each with its bit in the register mask) and the resource mask with one
  // zero offset slot per set bit. Returns the positions of those slots, in bit order.
  std::vector<std::size_t> CompilePrefix(
      CRecordWriter& a_Writer, const std::vector<std::pair<int, const CAddr*>>& a_Registers,
      uint32_t a_ResourceMask) const;
  // A limit of a value display: an IEEE single for the floating-point data types 3 and 4,
  // else the value truncated toward zero to a 32-bit integer.
  static void CompileLimit(CImageBuffer& a_Image, double a_Value, int32_t a_DataType);

  // Calls a_Visit for every register address the element holds.
  virtual void VisitAddresses(const std::function<void(CAddr&)>& a_Visit) { (void)a_Visit; }
  // Exchanges references to ports a and b in every address of the element.
  void SwapPorts(int32_t a_A, int32_t a_B);
  // Resets every address on a port marked in a_Changed to the default internal address.
  void ResetChangedPorts(const std::array<bool, 4>& a_Changed);

  virtual uint32_t GetInputOrder() const { return m_InputOrder; }
  virtual void SetInputOrder(uint32_t a_Order) { m_InputOrder = a_Order; }

  int32_t GetTypeCode() const { return m_TypeCode; }
  const char* GetPrefix() const { return ElementTypePrefix(m_TypeCode); }
  uint16_t GetNumber() const { return static_cast<uint16_t>(m_Number); }
  // Stores the number and names the element after its type prefix and the number.
  void SetNumber(uint16_t a_Number);
  const std::string& GetName() const { return m_Name; }

  int32_t GetLeft() const { return m_Left; }
  int32_t GetTop() const { return m_Top; }
  int32_t GetWidth() const { return m_Width; }
  int32_t GetHeight() const { return m_Height; }
  void SetLeft(int32_t a_Value) { m_Left = a_Value; }
  void SetTop(int32_t a_Value) { m_Top = a_Value; }
  void SetWidth(int32_t a_Value) { m_Width = a_Value; }
  void SetHeight(int32_t a_Value) { m_Height = a_Value; }
  void SetPosition(int32_t a_Left, int32_t a_Top) { m_Left = a_Left; m_Top = a_Top; }
  CRect GetRect() const { return {m_Left, m_Top, m_Left + m_Width, m_Top + m_Height}; }
  // True for a point inside the rectangle enlarged by one pixel on every side.
  bool HitTest(int32_t a_X, int32_t a_Y) const;

  bool IsDoubleSize() const { return m_DoubleSize != 0; }
  // Doubles (or halves) the size, then moves the rectangle back inside the display.
  void SetDoubleSize(bool a_On, int32_t a_DisplayWidth, int32_t a_DisplayHeight);
  // Marks an element of the canvas's selection for its drawing; neither stored nor copied.
  bool IsSelected() const { return m_Selected; }
  void SetSelected(bool a_On) { m_Selected = a_On; }

  bool IsReverse() const { return m_Reverse != 0; }
  void SetReverse(bool a_On) { m_Reverse = a_On ? 1 : 0; }

  // Two words kept and persisted for the element types; the base gives them no meaning.
  int32_t m_StoredWord1 = 0;
  int32_t m_StoredWord2 = 0;

 protected:
  explicit CGraphElement(int32_t a_TypeCode) : m_TypeCode(a_TypeCode) {}
  CGraphElement() = default;

 private:
  int16_t m_Number = -1;
  int32_t m_Left = 0;
  int32_t m_Top = 0;
  int32_t m_Width = 0;
  int32_t m_Height = 0;
  int32_t m_DoubleSize = 0;
  int32_t m_Reverse = 0;
  std::string m_Name;
  int32_t m_TypeCode = kTypeCache;
  uint32_t m_InputOrder = kNotInFocusOrder;
  bool m_Selected = false;
};

// Copies the fields of T's own table when a_From is a T (element classes' CopyFrom).
template <class T>
void CopyOwnFields(T& a_To, const CGraphElement& a_From) {
  if (const auto* from = dynamic_cast<const T*>(&a_From)) CopyFields(T::Fields(), &a_To, from);
}

// Implements Clone for an element class from its default constructor and CopyFrom.
template <class T>
std::unique_ptr<CGraphElement> CloneElement(const T& a_Element) {
  auto copy = std::make_unique<T>();
  copy->CopyFrom(a_Element);
  return copy;
}

}  // namespace kd820
