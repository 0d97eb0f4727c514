#pragma once
// The commands that change a project: element geometry, adding and removing elements, their
// drawing order, element properties, frame fields, adding and removing frames, and the
// project's settings. Each holds what it needs to revert exactly, including the elements and
// frames it took out of the project.
#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

#include "editor/project/EditCommand.h"
#include "editor/project/KV410Project.h"

namespace kd820 {

class CEditorContext;

// Position and size of an element.
struct CElementBox {
  int32_t m_Left = 0, m_Top = 0, m_Width = 0, m_Height = 0;
  static CElementBox Of(const CGraphElement& a_Element);
  void ApplyTo(CGraphElement& a_Element) const;
  bool operator==(const CElementBox&) const = default;
};

// Moves or resizes elements of a frame.
class CGeometryCommand : public CEditCommand {
 public:
  struct CEntry {
    CGraphElement* m_Element;
    CElementBox m_Before;
    CElementBox m_After;
  };
  CGeometryCommand(const char* a_Name, CHMIFrame& a_Frame, std::vector<CEntry> a_Entries);
  void Apply(CChangeList& a_Changes) override;
  void Revert(CChangeList& a_Changes) override;
  const char* Name() const override { return m_Name; }

 private:
  void Set(bool a_After, CChangeList& a_Changes);
  const char* m_Name;
  CHMIFrame& m_Frame;
  std::vector<CEntry> m_Entries;
};

// Adds new elements at the end of a frame (insert, paste). The first apply numbers them as
// new elements; later ones put the same elements back as they were numbered. A picture
// inserted from a file brings its bitmap, which joins the project's library with it.
class CAddElementsCommand : public CEditCommand {
 public:
  CAddElementsCommand(const char* a_Name, CKV410Project& a_Project, CHMIFrame& a_Frame,
                      CHMIFrame::ElementList a_Elements);
  // The picture (one of the elements) shows the bitmap a_Bitmap (pixels in library layout).
  void SetBitmap(CGraphElement* a_Picture, int32_t a_Width, int32_t a_Height, std::vector<uint8_t> a_Pixels);
  // The elements, in the order they are added.
  const std::vector<CGraphElement*>& Elements() const { return m_Pointers; }
  void Apply(CChangeList& a_Changes) override;
  void Revert(CChangeList& a_Changes) override;
  const char* Name() const override { return m_Name; }

 private:
  const char* m_Name;
  CKV410Project& m_Project;
  CHMIFrame& m_Frame;
  CHMIFrame::ElementList m_Detached;
  std::vector<CGraphElement*> m_Pointers;
  bool m_Numbered = false;
  // The bitmap of a picture: before the first apply its pixels, then the library item the
  // apply created (held here while reverted), or none when the library had an identical one.
  CGraphElement* m_Picture = nullptr;
  int32_t m_BitmapWidth = 0, m_BitmapHeight = 0;
  std::vector<uint8_t> m_BitmapPixels;
  bool m_HasBitmap = false;
  bool m_AddedItem = false;
  std::unique_ptr<CSingleColorBitmapLibItem> m_Item;
};

// Takes elements out of a frame (delete, cut); reverting puts them back where they were.
class CRemoveElementsCommand : public CEditCommand {
 public:
  CRemoveElementsCommand(const char* a_Name, CHMIFrame& a_Frame, std::vector<CGraphElement*> a_Elements);
  void Apply(CChangeList& a_Changes) override;
  void Revert(CChangeList& a_Changes) override;
  const char* Name() const override { return m_Name; }

 private:
  const char* m_Name;
  CHMIFrame& m_Frame;
  std::vector<CGraphElement*> m_Elements;
  // While applied: the removed elements with their positions, ascending.
  std::vector<std::pair<std::size_t, std::unique_ptr<CGraphElement>>> m_Removed;
};

// Changes the drawing order of a frame.
class CReorderCommand : public CEditCommand {
 public:
  CReorderCommand(const char* a_Name, CHMIFrame& a_Frame, std::vector<CGraphElement*> a_Before,
                  std::vector<CGraphElement*> a_After);
  void Apply(CChangeList& a_Changes) override;
  void Revert(CChangeList& a_Changes) override;
  const char* Name() const override { return m_Name; }

 private:
  const char* m_Name;
  CHMIFrame& m_Frame;
  std::vector<CGraphElement*> m_Before, m_After;
};

// An object's state as its archive form: captured before and after an edit, restored in place.
class CArchivedState {
 public:
  using Serializer = std::function<void(CArchive&)>;
  static std::vector<uint8_t> Capture(const Serializer& a_Serialize);
  static void Restore(const Serializer& a_Serialize, const std::vector<uint8_t>& a_Bytes);
};

// Any edit of one element's fields, kept as its archive form before and after.
class CElementEditCommand : public CEditCommand {
 public:
  CElementEditCommand(CHMIFrame& a_Frame, CGraphElement& a_Element, std::vector<uint8_t> a_Before,
                      std::vector<uint8_t> a_After);
  void Apply(CChangeList& a_Changes) override;
  void Revert(CChangeList& a_Changes) override;
  const char* Name() const override { return "properties"; }

 private:
  void Set(const std::vector<uint8_t>& a_Bytes, CChangeList& a_Changes);
  CHMIFrame& m_Frame;
  CGraphElement& m_Element;
  std::vector<uint8_t> m_Before, m_After;
};

// Any edit of the project's settings: the element-label switch, ports, languages, global
// settings, alarms and data transfers, kept in their archive form before and after.
class CSettingsEditCommand : public CEditCommand {
 public:
  CSettingsEditCommand(CKV410Project& a_Project, std::vector<uint8_t> a_Before, std::vector<uint8_t> a_After);
  // The settings of a project in their archive form.
  static void SerializeSettings(CKV410Project& a_Project, CArchive& a_Ar);
  void Apply(CChangeList& a_Changes) override;
  void Revert(CChangeList& a_Changes) override;
  const char* Name() const override { return "settings"; }

 private:
  CKV410Project& m_Project;
  std::vector<uint8_t> m_Before, m_After;
};

// A change of the ports together with what their change reset elsewhere: the settings and
// the elements whose addresses were reset, each in its archive form before and after. The
// port models of the context follow the ports after every apply and revert.
class CPortsEditCommand : public CEditCommand {
 public:
  struct CElementState {
    CHMIFrame* m_Frame;
    CGraphElement* m_Element;
    std::vector<uint8_t> m_Before, m_After;
  };
  CPortsEditCommand(CKV410Project& a_Project, CEditorContext& a_Context, std::vector<uint8_t> a_Before,
                    std::vector<uint8_t> a_After, std::vector<CElementState> a_Elements);
  void Apply(CChangeList& a_Changes) override;
  void Revert(CChangeList& a_Changes) override;
  const char* Name() const override { return "communication"; }

 private:
  void Set(bool a_After, CChangeList& a_Changes);
  CKV410Project& m_Project;
  CEditorContext& m_Context;
  std::vector<uint8_t> m_Before, m_After;
  std::vector<CElementState> m_Elements;
};

// The description and key frames of a frame.
struct CFrameFields {
  std::string m_Description;
  uint16_t m_Previous = 0;
  uint16_t m_Next = 0;
  static CFrameFields Of(const CHMIFrame& a_Frame);
  bool operator==(const CFrameFields&) const = default;
};

class CFrameEditCommand : public CEditCommand {
 public:
  CFrameEditCommand(CHMIFrame& a_Frame, CFrameFields a_Before, CFrameFields a_After);
  void Apply(CChangeList& a_Changes) override;
  void Revert(CChangeList& a_Changes) override;
  const char* Name() const override { return "frame properties"; }

 private:
  void Set(const CFrameFields& a_Fields, CChangeList& a_Changes);
  CHMIFrame& m_Frame;
  CFrameFields m_Before, m_After;
};

// Adds a frame to the project (its number must be free when applied).
class CAddFrameCommand : public CEditCommand {
 public:
  CAddFrameCommand(CKV410Project& a_Project, std::unique_ptr<CHMIFrame> a_Frame);
  CHMIFrame* Frame() const { return m_Frame; }
  void Apply(CChangeList& a_Changes) override;
  void Revert(CChangeList& a_Changes) override;
  const char* Name() const override { return "add frame"; }

 private:
  CKV410Project& m_Project;
  CHMIFrame* m_Frame;
  std::unique_ptr<CHMIFrame> m_Detached;
};

// Takes a frame out of the project, with its elements.
class CRemoveFrameCommand : public CEditCommand {
 public:
  CRemoveFrameCommand(CKV410Project& a_Project, CHMIFrame& a_Frame);
  void Apply(CChangeList& a_Changes) override;
  void Revert(CChangeList& a_Changes) override;
  const char* Name() const override { return "remove frame"; }

 private:
  CKV410Project& m_Project;
  CHMIFrame* m_Frame;
  std::unique_ptr<CHMIFrame> m_Detached;
};

}  // namespace kd820
