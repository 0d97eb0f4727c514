#include "editor/project/EditCommands.h"

#include <algorithm>

#include "editor/project/ClassTable.h"
#include "editor/project/ProjectModels.h"
#include "editor/screens/PictureGE.h"

namespace kd820 {

CElementBox CElementBox::Of(const CGraphElement& a_Element) {
  return {a_Element.GetLeft(), a_Element.GetTop(), a_Element.GetWidth(), a_Element.GetHeight()};
}

void CElementBox::ApplyTo(CGraphElement& a_Element) const {
  a_Element.SetPosition(m_Left, m_Top);
  a_Element.SetWidth(m_Width);
  a_Element.SetHeight(m_Height);
}

// --- geometry ---

CGeometryCommand::CGeometryCommand(const char* a_Name, CHMIFrame& a_Frame, std::vector<CEntry> a_Entries)
    : m_Name(a_Name), m_Frame(a_Frame), m_Entries(std::move(a_Entries)) {}

void CGeometryCommand::Set(bool a_After, CChangeList& a_Changes) {
  CChange change{ChangeKind::ElementsChanged, &m_Frame, {}};
  for (const CEntry& entry : m_Entries) {
    (a_After ? entry.m_After : entry.m_Before).ApplyTo(*entry.m_Element);
    change.m_Elements.push_back(entry.m_Element);
  }
  a_Changes.push_back(std::move(change));
}

void CGeometryCommand::Apply(CChangeList& a_Changes) { Set(true, a_Changes); }
void CGeometryCommand::Revert(CChangeList& a_Changes) { Set(false, a_Changes); }

// --- adding elements ---

CAddElementsCommand::CAddElementsCommand(const char* a_Name, CKV410Project& a_Project, CHMIFrame& a_Frame,
                                         CHMIFrame::ElementList a_Elements)
    : m_Name(a_Name), m_Project(a_Project), m_Frame(a_Frame), m_Detached(std::move(a_Elements)) {
  for (const auto& e : m_Detached) m_Pointers.push_back(e.get());
}

void CAddElementsCommand::SetBitmap(CGraphElement* a_Picture, int32_t a_Width, int32_t a_Height,
                                    std::vector<uint8_t> a_Pixels) {
  m_Picture = a_Picture;
  m_BitmapWidth = a_Width;
  m_BitmapHeight = a_Height;
  m_BitmapPixels = std::move(a_Pixels);
  m_HasBitmap = true;
}

void CAddElementsCommand::Apply(CChangeList& a_Changes) {
  CSingleColorBitmapLib& library = m_Project.GetBitmapLib();
  if (m_HasBitmap && !m_Numbered) {
    const std::size_t before = library.m_Items.size();
    const int32_t id = library.AddItem(m_BitmapWidth, m_BitmapHeight, std::move(m_BitmapPixels));
    m_AddedItem = library.m_Items.size() > before;
    if (auto* picture = dynamic_cast<CPictureGE*>(m_Picture)) picture->m_ItemId = id;
  } else if (m_Item) {
    library.m_Items.push_back(std::move(m_Item));
  }
  for (auto& e : m_Detached) {
    if (m_Numbered) {
      m_Frame.InsertElementAt(m_Frame.GetElements().size(), std::move(e));
    } else {
      m_Frame.AddElement(std::move(e));
    }
  }
  m_Detached.clear();
  m_Numbered = true;
  a_Changes.push_back({ChangeKind::ElementsAdded, &m_Frame, m_Pointers});
}

void CAddElementsCommand::Revert(CChangeList& a_Changes) {
  for (CGraphElement* e : m_Pointers) m_Detached.push_back(m_Frame.DetachElement(e));
  if (m_AddedItem) {
    auto& items = m_Project.GetBitmapLib().m_Items;
    m_Item = std::move(items.back());
    items.pop_back();
  }
  a_Changes.push_back({ChangeKind::ElementsRemoved, &m_Frame, m_Pointers});
}

// --- removing elements ---

CRemoveElementsCommand::CRemoveElementsCommand(const char* a_Name, CHMIFrame& a_Frame,
                                               std::vector<CGraphElement*> a_Elements)
    : m_Name(a_Name), m_Frame(a_Frame), m_Elements(std::move(a_Elements)) {}

void CRemoveElementsCommand::Apply(CChangeList& a_Changes) {
  std::vector<std::pair<std::size_t, CGraphElement*>> positions;
  for (CGraphElement* e : m_Elements) positions.emplace_back(m_Frame.IndexOf(e), e);
  std::sort(positions.begin(), positions.end());
  // Taken out from the back, so that the positions recorded stay those before the removal.
  m_Removed.clear();
  for (auto it = positions.rbegin(); it != positions.rend(); ++it) {
    if (auto element = m_Frame.DetachElement(it->second)) m_Removed.emplace_back(it->first, std::move(element));
  }
  std::reverse(m_Removed.begin(), m_Removed.end());
  a_Changes.push_back({ChangeKind::ElementsRemoved, &m_Frame, m_Elements});
}

void CRemoveElementsCommand::Revert(CChangeList& a_Changes) {
  for (auto& [index, element] : m_Removed) m_Frame.InsertElementAt(index, std::move(element));
  m_Removed.clear();
  a_Changes.push_back({ChangeKind::ElementsAdded, &m_Frame, m_Elements});
}

// --- drawing order ---

CReorderCommand::CReorderCommand(const char* a_Name, CHMIFrame& a_Frame, std::vector<CGraphElement*> a_Before,
                                 std::vector<CGraphElement*> a_After)
    : m_Name(a_Name), m_Frame(a_Frame), m_Before(std::move(a_Before)), m_After(std::move(a_After)) {}

void CReorderCommand::Apply(CChangeList& a_Changes) {
  m_Frame.Reorder(m_After);
  a_Changes.push_back({ChangeKind::ElementOrderChanged, &m_Frame, {}});
}

void CReorderCommand::Revert(CChangeList& a_Changes) {
  m_Frame.Reorder(m_Before);
  a_Changes.push_back({ChangeKind::ElementOrderChanged, &m_Frame, {}});
}

// --- archived states ---

std::vector<uint8_t> CArchivedState::Capture(const Serializer& a_Serialize) {
  CArchive ar;
  a_Serialize(ar);
  return ar.Bytes();
}

void CArchivedState::Restore(const Serializer& a_Serialize, const std::vector<uint8_t>& a_Bytes) {
  // The bytes were written by Capture from this very object: they load.
  CArchive ar(a_Bytes, FindArchiveClass);
  a_Serialize(ar);
}

CElementEditCommand::CElementEditCommand(CHMIFrame& a_Frame, CGraphElement& a_Element,
                                         std::vector<uint8_t> a_Before, std::vector<uint8_t> a_After)
    : m_Frame(a_Frame), m_Element(a_Element), m_Before(std::move(a_Before)), m_After(std::move(a_After)) {}

void CElementEditCommand::Set(const std::vector<uint8_t>& a_Bytes, CChangeList& a_Changes) {
  CArchivedState::Restore([&](CArchive& a_Ar) { m_Element.Serialize(a_Ar); }, a_Bytes);
  a_Changes.push_back({ChangeKind::ElementsChanged, &m_Frame, {&m_Element}});
}

void CElementEditCommand::Apply(CChangeList& a_Changes) { Set(m_After, a_Changes); }
void CElementEditCommand::Revert(CChangeList& a_Changes) { Set(m_Before, a_Changes); }

CSettingsEditCommand::CSettingsEditCommand(CKV410Project& a_Project, std::vector<uint8_t> a_Before,
                                           std::vector<uint8_t> a_After)
    : m_Project(a_Project), m_Before(std::move(a_Before)), m_After(std::move(a_After)) {}

void CSettingsEditCommand::SerializeSettings(CKV410Project& a_Project, CArchive& a_Ar) {
  int32_t labels = a_Project.GetStoredElementLabels();
  a_Ar.Io(labels);
  if (a_Ar.IsLoading()) a_Project.SetStoredElementLabels(labels);
  for (int port = 0; port < CKV410Project::kSerialPortCount; ++port) a_Project.GetPort(port)->Serialize(a_Ar);
  a_Project.GetCanPort().Serialize(a_Ar);
  a_Project.GetLangDefine().Serialize(a_Ar);
  a_Project.GetSettings().Serialize(a_Ar);
  a_Project.GetAlarms().Serialize(a_Ar);
  a_Project.GetTransfers().Serialize(a_Ar);
}

void CSettingsEditCommand::Apply(CChangeList& a_Changes) {
  CArchivedState::Restore([&](CArchive& a_Ar) { SerializeSettings(m_Project, a_Ar); }, m_After);
  a_Changes.push_back({ChangeKind::SettingsChanged, nullptr, {}});
}

void CSettingsEditCommand::Revert(CChangeList& a_Changes) {
  CArchivedState::Restore([&](CArchive& a_Ar) { SerializeSettings(m_Project, a_Ar); }, m_Before);
  a_Changes.push_back({ChangeKind::SettingsChanged, nullptr, {}});
}

CPortsEditCommand::CPortsEditCommand(CKV410Project& a_Project, CEditorContext& a_Context,
                                     std::vector<uint8_t> a_Before, std::vector<uint8_t> a_After,
                                     std::vector<CElementState> a_Elements)
    : m_Project(a_Project),
      m_Context(a_Context),
      m_Before(std::move(a_Before)),
      m_After(std::move(a_After)),
      m_Elements(std::move(a_Elements)) {}

void CPortsEditCommand::Set(bool a_After, CChangeList& a_Changes) {
  CArchivedState::Restore([&](CArchive& a_Ar) { CSettingsEditCommand::SerializeSettings(m_Project, a_Ar); },
                          a_After ? m_After : m_Before);
  for (CElementState& state : m_Elements) {
    CArchivedState::Restore([&](CArchive& a_Ar) { state.m_Element->Serialize(a_Ar); },
                            a_After ? state.m_After : state.m_Before);
  }
  // The addresses are read against the models of the ports as they are now.
  ReloadPortModels(m_Project, m_Context);
  a_Changes.push_back({ChangeKind::SettingsChanged, nullptr, {}});
  for (CElementState& state : m_Elements) {
    a_Changes.push_back({ChangeKind::ElementsChanged, state.m_Frame, {state.m_Element}});
  }
}

void CPortsEditCommand::Apply(CChangeList& a_Changes) { Set(true, a_Changes); }
void CPortsEditCommand::Revert(CChangeList& a_Changes) { Set(false, a_Changes); }

// --- frames ---

CFrameFields CFrameFields::Of(const CHMIFrame& a_Frame) {
  return {a_Frame.GetDescription(), a_Frame.GetPrevious(), a_Frame.GetNext()};
}

CFrameEditCommand::CFrameEditCommand(CHMIFrame& a_Frame, CFrameFields a_Before, CFrameFields a_After)
    : m_Frame(a_Frame), m_Before(std::move(a_Before)), m_After(std::move(a_After)) {}

void CFrameEditCommand::Set(const CFrameFields& a_Fields, CChangeList& a_Changes) {
  m_Frame.SetDescription(a_Fields.m_Description);
  m_Frame.SetPrevious(a_Fields.m_Previous);
  m_Frame.SetNext(a_Fields.m_Next);
  a_Changes.push_back({ChangeKind::FrameChanged, &m_Frame, {}});
}

void CFrameEditCommand::Apply(CChangeList& a_Changes) { Set(m_After, a_Changes); }
void CFrameEditCommand::Revert(CChangeList& a_Changes) { Set(m_Before, a_Changes); }

CAddFrameCommand::CAddFrameCommand(CKV410Project& a_Project, std::unique_ptr<CHMIFrame> a_Frame)
    : m_Project(a_Project), m_Frame(a_Frame.get()), m_Detached(std::move(a_Frame)) {}

void CAddFrameCommand::Apply(CChangeList& a_Changes) {
  m_Project.AddFrame(m_Detached);
  a_Changes.push_back({ChangeKind::FrameAdded, m_Frame, {}});
}

void CAddFrameCommand::Revert(CChangeList& a_Changes) {
  m_Detached = m_Project.DetachFrame(m_Frame);
  a_Changes.push_back({ChangeKind::FrameRemoved, m_Frame, {}});
}

CRemoveFrameCommand::CRemoveFrameCommand(CKV410Project& a_Project, CHMIFrame& a_Frame)
    : m_Project(a_Project), m_Frame(&a_Frame) {}

void CRemoveFrameCommand::Apply(CChangeList& a_Changes) {
  m_Detached = m_Project.DetachFrame(m_Frame);
  a_Changes.push_back({ChangeKind::FrameRemoved, m_Frame, {}});
}

void CRemoveFrameCommand::Revert(CChangeList& a_Changes) {
  m_Project.AddFrame(m_Detached);
  a_Changes.push_back({ChangeKind::FrameAdded, m_Frame, {}});
}

}  // namespace kd820
