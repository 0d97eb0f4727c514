#pragma once
// One screen of the panel with its ordered list of elements.
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "editor/base/Archive.h"
#include "editor/screens/GraphElement.h"

namespace kd820 {

class CHMIFrame : public CObject {
  KD_DECLARE_SERIAL(CHMIFrame)

 public:
  using ElementList = std::vector<std::unique_ptr<CGraphElement>>;

  CHMIFrame();
  explicit CHMIFrame(uint16_t a_Number);

  uint16_t GetNumber() const { return m_Number; }
  // Sets the number and the name "HMI<number>".
  void SetNumber(uint16_t a_Number);
  const std::string& GetName() const { return m_Name; }
  void SetName(const std::string& a_Name) { m_Name = a_Name; }
  const std::string& GetDescription() const { return m_Description; }
  void SetDescription(const std::string& a_Text) { m_Description = a_Text; }
  uint16_t GetPrevious() const { return m_Previous; }
  void SetPrevious(uint16_t a_Number) { m_Previous = a_Number; }
  uint16_t GetNext() const { return m_Next; }
  void SetNext(uint16_t a_Number) { m_Next = a_Number; }

  const ElementList& GetElements() const { return m_Elements; }
  // Appends a new or pasted element and gives it the smallest number that no element of its
  // type in the frame holds, the element itself counted with the number it carries. Returns
  // the element, or null when it is already in the list (it is then left to the caller).
  CGraphElement* AddElement(std::unique_ptr<CGraphElement> a_Element);
  // Appends a loaded or copied element. It keeps its number and name unless the number is
  // missing or already held by an element of its type; then it gets the smallest free one.
  void AddElementKeepingNumber(std::unique_ptr<CGraphElement> a_Element);
  // The same for many elements in turn, in time linear in their number (loading a frame).
  void AddElementsKeepingNumbers(ElementList a_Elements);
  bool Contains(const CGraphElement* a_Element) const;
  // Removes the element from the list and destroys it; false (and nothing destroyed) when
  // it is not in the list.
  bool RemoveElement(CGraphElement* a_Element);
  int CountTrends() const;
  // The position of the element in the list; the list's size when it is not in it.
  std::size_t IndexOf(const CGraphElement* a_Element) const;
  // Takes the element out of the list without destroying it; null when it is not in it.
  std::unique_ptr<CGraphElement> DetachElement(CGraphElement* a_Element);
  // Puts a detached element back at a_Index (at most the list's size) as it is: its number
  // and name are kept, so that an undone removal restores the frame exactly.
  void InsertElementAt(std::size_t a_Index, std::unique_ptr<CGraphElement> a_Element);
  // Rearranges the list into a_Order, which must hold every element of the frame once;
  // false (and nothing changed) otherwise.
  bool Reorder(const std::vector<CGraphElement*>& a_Order);

  void CopyFrom(const CHMIFrame& a_Other);
  std::unique_ptr<CHMIFrame> Clone() const;
  void Serialize(CArchive& a_Ar) override;
  // The frame's fields; its element list is a custom part (loading renumbers clashes).
  static const CFieldTable& Fields();

  void SwapPorts(int32_t a_A, int32_t a_B);

 private:
  // Smallest number n >= 0 that no element of the type holds, a_Self excepted when
  // a_CountSelf is false.
  uint16_t FreeNumber(int32_t a_TypeCode, const CGraphElement* a_Self, bool a_CountSelf) const;

  ElementList m_Elements;
  std::string m_Name;
  std::string m_Description;
  uint16_t m_Number = 1;
  uint16_t m_Previous = 1;
  uint16_t m_Next = 1;
};

}  // namespace kd820
