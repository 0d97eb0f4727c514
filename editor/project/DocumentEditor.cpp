#include "editor/project/DocumentEditor.h"

#include <algorithm>

#include "editor/project/EditMessages.h"
#include "editor/project/ElementClip.h"
#include "editor/project/Messages.h"
#include "editor/screens/DynamicText.h"
#include "editor/screens/ElementTypes.h"
#include "editor/screens/PictureGE.h"
#include "editor/screens/SingleColorBmp.h"
#include "editor/screens/StaticText.h"

namespace kd820 {

// A command of the history together with the view around it: the current frame and the
// selection before and after, restored with each undo and redo.
class CDocumentEditor::CStep : public CEditCommand {
 public:
  CStep(CDocumentEditor& a_Editor, std::unique_ptr<CEditCommand> a_Command)
      : m_Editor(a_Editor), m_Command(std::move(a_Command)) {}
  void Apply(CChangeList& a_Changes) override {
    m_Command->Apply(a_Changes);
    m_Editor.ShowState(m_FrameAfter, m_SelectionAfter, a_Changes);
  }
  void Revert(CChangeList& a_Changes) override {
    m_Command->Revert(a_Changes);
    m_Editor.ShowState(m_FrameBefore, m_SelectionBefore, a_Changes);
  }
  const char* Name() const override { return m_Command->Name(); }

  CHMIFrame* m_FrameBefore = nullptr;
  CHMIFrame* m_FrameAfter = nullptr;
  std::vector<CGraphElement*> m_SelectionBefore, m_SelectionAfter;

 private:
  CDocumentEditor& m_Editor;
  std::unique_ptr<CEditCommand> m_Command;
};

namespace {

// Default sizes of new elements that do not depend on the panel or a text.
struct CDefaultSize {
  int32_t m_TypeCode, m_Width, m_Height;
};
constexpr CDefaultSize kDefaultSizes[] = {
    {kTypeLed, 16, 16},  {kTypeFunckey, 16, 16}, {kTypeRegister, 40, 16},
    {kTypeBar, 16, 48},  {kTypeTrend, 96, 48},   {kTypeAscii, 24, 16},
};

std::vector<CGraphElement*> Pointers(const CHMIFrame::ElementList& a_List) {
  std::vector<CGraphElement*> out;
  for (const auto& e : a_List) out.push_back(e.get());
  return out;
}

}  // namespace

CDocumentEditor::CDocumentEditor(CKV410Doc& a_Doc, IClipboard& a_Clipboard)
    : m_Doc(a_Doc), m_Clipboard(a_Clipboard) {
  Reset();
}

void CDocumentEditor::AddListener(IChangeListener& a_Listener) { m_Listeners.push_back(&a_Listener); }

void CDocumentEditor::RemoveListener(IChangeListener& a_Listener) { std::erase(m_Listeners, &a_Listener); }

void CDocumentEditor::Notify(const CChange& a_Change) {
  for (IChangeListener* listener : std::vector<IChangeListener*>(m_Listeners)) listener->OnChange(a_Change);
}

void CDocumentEditor::Reset() {
  m_Project = m_Doc.GetProject();
  m_Selection = CSelection();
  if (CHMIFrame* frame = m_Doc.GetCurrentFrame()) {
    for (const auto& e : frame->GetElements()) e->SetSelected(false);
  }
  m_History.Clear(!m_Doc.IsModified());
  m_PasteOffset = {};
}

bool CDocumentEditor::Sync() {
  if (m_Doc.GetProject() != m_Project) Reset();
  return m_Project != nullptr;
}

CRect CDocumentEditor::Screen() const {
  const CHardwareModel& model = m_Doc.Context().CurrentHardwareModel();
  return {0, 0, model.m_ResolutionX > 0 ? model.m_ResolutionX : 192,
          model.m_ResolutionY > 0 ? model.m_ResolutionY : 64};
}

bool CDocumentEditor::IsAvailable(EditAction a_Action) const {
  const bool project = m_Doc.GetProject() != nullptr && m_Doc.GetProject() == m_Project;
  const CHMIFrame* frame = project ? CurrentFrame() : nullptr;
  const std::size_t selected = project ? m_Selection.Size() : 0;
  switch (a_Action) {
    case EditAction::Insert: return frame != nullptr;
    case EditAction::SelectAll:
    case EditAction::SelectNone: return frame != nullptr && !frame->GetElements().empty();
    case EditAction::Cut:
    case EditAction::Copy:
    case EditAction::Delete:
    case EditAction::Move:
    case EditAction::BringToFront:
    case EditAction::SendToBack:
    case EditAction::Centre: return selected >= 1;
    case EditAction::Align: return selected >= 2;
    case EditAction::SpaceEqually: return selected >= 3;
    case EditAction::Paste: return frame != nullptr && m_Clipboard.HasFormat(kGraphElementFormat);
    case EditAction::Undo: return project && m_History.CanUndo();
    case EditAction::Redo: return project && m_History.CanRedo();
    case EditAction::NewFrame: return project;
    case EditAction::CopyFrame:
    case EditAction::DeleteFrame: return frame != nullptr;
  }
  return false;
}

// --- view state ---

void CDocumentEditor::ShowState(CHMIFrame* a_Frame, const std::vector<CGraphElement*>& a_Selection,
                                CChangeList& a_Changes) {
  if (a_Frame != m_Doc.GetCurrentFrame()) {
    m_Doc.SetCurrentFrame(a_Frame);
    a_Changes.push_back({ChangeKind::CurrentFrameChanged, a_Frame, {}});
  }
  const std::vector<CGraphElement*> before = m_Selection.Elements();
  // Elements put back by an undo may still carry the flag of an earlier selection.
  if (a_Frame != nullptr) {
    for (const auto& e : a_Frame->GetElements()) e->SetSelected(false);
  }
  m_Selection = CSelection();
  for (CGraphElement* e : a_Selection) {
    if (a_Frame != nullptr && a_Frame->Contains(e)) m_Selection.Add(e);
  }
  if (m_Selection.Elements() != before) a_Changes.push_back({ChangeKind::SelectionChanged, a_Frame, m_Selection.Elements()});
}

void CDocumentEditor::Finish(CChangeList& a_Changes) {
  const bool modified = !m_History.IsClean();
  if (modified != m_Doc.IsModified()) {
    m_Doc.SetModifiedFlag(modified);
    a_Changes.push_back({ChangeKind::ModifiedChanged, nullptr, {}});
  }
  for (const CChange& change : a_Changes) Notify(change);
}

void CDocumentEditor::Run(std::unique_ptr<CEditCommand> a_Command, CHMIFrame* a_FrameAfter,
                          std::vector<CGraphElement*> a_SelectionAfter) {
  auto step = std::make_unique<CStep>(*this, std::move(a_Command));
  step->m_FrameBefore = m_Doc.GetCurrentFrame();
  step->m_SelectionBefore = m_Selection.Elements();
  step->m_FrameAfter = a_FrameAfter;
  step->m_SelectionAfter = std::move(a_SelectionAfter);
  CChangeList changes;
  m_History.Execute(std::move(step), changes);
  Finish(changes);
}

void CDocumentEditor::SetCurrentFrame(CHMIFrame* a_Frame) {
  if (!Sync()) return;
  CChangeList changes;
  ShowState(a_Frame, {}, changes);
  for (const CChange& change : changes) Notify(change);
}

// --- selection ---

void CDocumentEditor::Select(CGraphElement* a_Element, bool a_Add) {
  if (!Sync() || CurrentFrame() == nullptr || !CurrentFrame()->Contains(a_Element)) return;
  std::vector<CGraphElement*> selection = a_Add ? m_Selection.Elements() : std::vector<CGraphElement*>{};
  selection.push_back(a_Element);
  CChangeList changes;
  ShowState(CurrentFrame(), selection, changes);
  for (const CChange& change : changes) Notify(change);
}

void CDocumentEditor::SelectAll() {
  if (!Sync() || !IsAvailable(EditAction::SelectAll)) return;
  CChangeList changes;
  ShowState(CurrentFrame(), Pointers(CurrentFrame()->GetElements()), changes);
  for (const CChange& change : changes) Notify(change);
}

void CDocumentEditor::SelectNone() {
  if (!Sync()) return;
  CChangeList changes;
  ShowState(CurrentFrame(), {}, changes);
  for (const CChange& change : changes) Notify(change);
}

CGraphElement* CDocumentEditor::SelectInBand(const CRect& a_Band) {
  if (!Sync() || CurrentFrame() == nullptr) return nullptr;
  const std::vector<CGraphElement*> added = ElementsInBand(*CurrentFrame(), a_Band, m_Selection.Elements());
  if (added.empty()) return nullptr;
  std::vector<CGraphElement*> selection = m_Selection.Elements();
  selection.insert(selection.end(), added.begin(), added.end());
  CChangeList changes;
  ShowState(CurrentFrame(), selection, changes);
  for (const CChange& change : changes) Notify(change);
  return added.back();
}

// --- insertion ---

std::optional<CInsertTool> CDocumentEditor::ArmInsert(int32_t a_TypeCode) {
  if (!Sync()) return std::nullopt;
  CInsertTool tool{a_TypeCode, 0, 0, {}};
  for (const CDefaultSize& size : kDefaultSizes) {
    if (size.m_TypeCode == a_TypeCode) {
      tool.m_Width = size.m_Width;
      tool.m_Height = size.m_Height;
      return tool;
    }
  }
  switch (a_TypeCode) {
    case kTypeStaticText:
    case kTypeDynamicText: {
      // The extent of the type's default string in the default font of a new text element.
      const char* text = a_TypeCode == kTypeStaticText ? Tr(msg::kStaticTextDefault) : Tr(msg::kDynamicTextDefault);
      tool.m_Width = TextWidth(m_Doc.Context(), text, kDefaultTextSizeIndex,
                               UsesBuiltinFont(kDefaultTextSizeIndex, 0), m_Project->DefaultTextFace());
      tool.m_Height = FontPixelSize(kDefaultTextSizeIndex);
      return tool;
    }
    case kTypeEventList: {
      const CRect screen = Screen();
      tool.m_Width = screen.m_Right;
      tool.m_Height = screen.m_Bottom;
      return tool;
    }
    default: return std::nullopt;
  }
}

std::optional<CInsertTool> CDocumentEditor::ArmPicture(const std::string& a_BmpPath) {
  if (!Sync()) return std::nullopt;
  SingleColorBitmap bitmap;
  switch (ReadSingleColorBmpFile(a_BmpPath, bitmap)) {
    case BmpStatus::kOk: break;
    case BmpStatus::kNotBmp:
    case BmpStatus::kNotSingleColor:
      m_Doc.Ui().ShowMessage(Tr(msg::kOnlySingleColorBitmaps), msg::kAppTitle, MessageIcon::Warning);
      return std::nullopt;
    case BmpStatus::kCannotOpen:
      m_Doc.Ui().ShowMessage(Tr(msg::kLoadPictureFailed), msg::kAppTitle, MessageIcon::Warning);
      return std::nullopt;
  }
  const CRect screen = Screen();
  if (bitmap.m_Width > screen.m_Right || bitmap.m_Height > screen.m_Bottom) {
    m_Doc.Ui().ShowMessage(Tr(msg::kPictureTooLarge), msg::kAppTitle, MessageIcon::Warning);
    return std::nullopt;
  }
  return CInsertTool{kTypePicture, bitmap.m_Width, bitmap.m_Height, std::move(bitmap.m_Pixels)};
}

CGraphElement* CDocumentEditor::Insert(const CInsertTool& a_Tool, int32_t a_X, int32_t a_Y) {
  if (!Sync() || CurrentFrame() == nullptr) return nullptr;
  const CElementType* type = FindElementType(a_Tool.m_TypeCode);
  if (type == nullptr || type->m_Create == nullptr) return nullptr;
  std::unique_ptr<CGraphElement> element = type->m_Create();
  m_Project->ApplyElementDefaults(*element);
  if (auto* text = dynamic_cast<CStaticText*>(element.get())) text->SetText(Tr(msg::kStaticTextDefault));
  element->SetPosition(a_X, a_Y);
  element->SetWidth(a_Tool.m_Width);
  element->SetHeight(a_Tool.m_Height);
  CGraphElement* inserted = element.get();
  CHMIFrame::ElementList list;
  list.push_back(std::move(element));
  auto command = std::make_unique<CAddElementsCommand>("insert", *m_Project, *CurrentFrame(), std::move(list));
  if (a_Tool.m_TypeCode == kTypePicture && !a_Tool.m_Pixels.empty()) {
    command->SetBitmap(inserted, a_Tool.m_Width, a_Tool.m_Height, a_Tool.m_Pixels);
  }
  Run(std::move(command), CurrentFrame(), {inserted});
  return inserted;
}

// --- commands on the selection ---

bool CDocumentEditor::Delete() {
  if (!Sync() || !IsAvailable(EditAction::Delete)) return false;
  Run(std::make_unique<CRemoveElementsCommand>("delete", *CurrentFrame(), m_Selection.Elements()),
      CurrentFrame(), {});
  return true;
}

bool CDocumentEditor::Copy() {
  if (!Sync() || !IsAvailable(EditAction::Copy)) return false;
  m_Clipboard.SetData(kGraphElementFormat,
                      WriteElementClip(m_Project->GetPath(), CurrentFrame()->GetNumber(), m_Selection.Elements()));
  m_PasteOffset = {};
  return true;
}

bool CDocumentEditor::Cut() {
  if (!Copy()) return false;
  Run(std::make_unique<CRemoveElementsCommand>("cut", *CurrentFrame(), m_Selection.Elements()), CurrentFrame(), {});
  return true;
}

bool CDocumentEditor::Paste() {
  if (!Sync() || !IsAvailable(EditAction::Paste)) return false;
  const std::optional<std::vector<uint8_t>> bytes = m_Clipboard.GetData(kGraphElementFormat);
  if (!bytes) return false;
  std::optional<CElementClip> clip = ReadElementClip(*bytes);
  if (!clip || clip->m_Elements.empty()) return false;
  std::vector<CRect> rects;
  for (const auto& e : clip->m_Elements) rects.push_back(e->GetRect());
  const bool sameFrame = clip->m_Identity == m_Project->GetPath() && clip->m_FrameNumber == CurrentFrame()->GetNumber();
  const CRect screen = Screen();
  const std::optional<COffset> offset = PasteOffset(rects, m_PasteOffset, sameFrame, screen.m_Right, screen.m_Bottom);
  if (!offset) return false;
  m_PasteOffset = *offset;
  for (const auto& e : clip->m_Elements) e->SetPosition(e->GetLeft() + offset->m_X, e->GetTop() + offset->m_Y);
  std::vector<CGraphElement*> pasted = Pointers(clip->m_Elements);
  Run(std::make_unique<CAddElementsCommand>("paste", *m_Project, *CurrentFrame(), std::move(clip->m_Elements)),
      CurrentFrame(), pasted);
  return true;
}

bool CDocumentEditor::Place(const char* a_Name, const std::vector<CPlacement>& a_Placements) {
  std::vector<CGeometryCommand::CEntry> entries;
  for (const CPlacement& p : a_Placements) {
    const CElementBox before = CElementBox::Of(*p.m_Element);
    CElementBox after = before;
    after.m_Left = p.m_Left;
    after.m_Top = p.m_Top;
    if (after != before) entries.push_back({p.m_Element, before, after});
  }
  if (entries.empty()) return false;
  Run(std::make_unique<CGeometryCommand>(a_Name, *CurrentFrame(), std::move(entries)), CurrentFrame(),
      m_Selection.Elements());
  return true;
}

bool CDocumentEditor::MoveByPixel(int32_t a_Dx, int32_t a_Dy) {
  if (!Sync() || !IsAvailable(EditAction::Move)) return false;
  return Place("move", kd820::MoveByPixel(m_Selection.Elements(), a_Dx, a_Dy, Screen()));
}

bool CDocumentEditor::Align(AlignMode a_Mode) {
  if (!Sync() || !IsAvailable(EditAction::Align)) return false;
  const std::vector<CPlacement> placements = kd820::Align(m_Selection.Elements(), a_Mode);
  if (!Place("align", placements)) return false;
  // Alignment makes no bound check: say which elements it left outside the screen.
  const CRect screen = Screen();
  for (const CPlacement& p : placements) {
    if (LiesWithin(p.m_Element->GetRect(), screen)) continue;
    m_Doc.Context().Problems().Warn(
        "warning: " + CurrentFrame()->GetName() + " " + p.m_Element->GetName() + ": lies outside the screen",
        {CurrentFrame()->GetName(), p.m_Element->GetName(), ""});
  }
  return true;
}

bool CDocumentEditor::SpaceEqually(bool a_Horizontal) {
  if (!Sync() || !IsAvailable(EditAction::SpaceEqually)) return false;
  return Place("equal spacing", kd820::SpaceEqually(m_Selection.Elements(), a_Horizontal));
}

bool CDocumentEditor::Centre(bool a_Horizontal, bool a_Vertical) {
  if (!Sync() || !IsAvailable(EditAction::Centre)) return false;
  return Place("centre", CentreOnScreen(m_Selection.Elements(), Screen(), a_Horizontal, a_Vertical));
}

bool CDocumentEditor::Restack(const char* a_Name, bool a_ToFront) {
  CHMIFrame& frame = *CurrentFrame();
  const std::vector<CGraphElement*> before = Pointers(frame.GetElements());
  std::vector<CGraphElement*> selected, others;
  for (CGraphElement* e : before) (m_Selection.Contains(e) ? selected : others).push_back(e);
  if (selected.empty()) return false;
  std::vector<CGraphElement*> after = a_ToFront ? others : selected;
  const std::vector<CGraphElement*>& tail = a_ToFront ? selected : others;
  after.insert(after.end(), tail.begin(), tail.end());
  if (after == before) return false;
  Run(std::make_unique<CReorderCommand>(a_Name, frame, before, after), &frame, m_Selection.Elements());
  return true;
}

bool CDocumentEditor::BringToFront() {
  if (!Sync() || !IsAvailable(EditAction::BringToFront)) return false;
  return Restack("bring to front", true);
}

bool CDocumentEditor::SendToBack() {
  if (!Sync() || !IsAvailable(EditAction::SendToBack)) return false;
  return Restack("send to back", false);
}

// --- edits of the front-ends ---

bool CDocumentEditor::SetGeometry(CGraphElement& a_Element, const CElementBox& a_Box) {
  if (!Sync() || CurrentFrame() == nullptr || !CurrentFrame()->Contains(&a_Element)) return false;
  const CElementBox before = CElementBox::Of(a_Element);
  if (before == a_Box) return false;
  Run(std::make_unique<CGeometryCommand>("resize", *CurrentFrame(),
                                         std::vector<CGeometryCommand::CEntry>{{&a_Element, before, a_Box}}),
      CurrentFrame(), m_Selection.Elements());
  return true;
}

bool CDocumentEditor::EditElement(CGraphElement& a_Element, const std::function<void(CGraphElement&)>& a_Edit) {
  if (!Sync() || CurrentFrame() == nullptr || !CurrentFrame()->Contains(&a_Element)) return false;
  const auto serialize = [&](CArchive& a_Ar) { a_Element.Serialize(a_Ar); };
  std::vector<uint8_t> before = CArchivedState::Capture(serialize);
  a_Edit(a_Element);
  std::vector<uint8_t> after = CArchivedState::Capture(serialize);
  if (after == before) return false;
  Run(std::make_unique<CElementEditCommand>(*CurrentFrame(), a_Element, std::move(before), std::move(after)),
      CurrentFrame(), m_Selection.Elements());
  return true;
}

bool CDocumentEditor::EditSettings(const std::function<void(CKV410Project&)>& a_Edit) {
  if (!Sync()) return false;
  const auto serialize = [&](CArchive& a_Ar) { CSettingsEditCommand::SerializeSettings(*m_Project, a_Ar); };
  std::vector<uint8_t> before = CArchivedState::Capture(serialize);
  a_Edit(*m_Project);
  std::vector<uint8_t> after = CArchivedState::Capture(serialize);
  if (after == before) return false;
  Run(std::make_unique<CSettingsEditCommand>(*m_Project, std::move(before), std::move(after)), CurrentFrame(),
      m_Selection.Elements());
  return true;
}

bool CDocumentEditor::EditCommunication(const CNewProjectPlc& a_Page) {
  if (!Sync()) return false;
  const auto serialize = [&](CArchive& a_Ar) { CSettingsEditCommand::SerializeSettings(*m_Project, a_Ar); };
  std::vector<uint8_t> before = CArchivedState::Capture(serialize);
  std::vector<CPortsEditCommand::CElementState> elements;
  for (const auto& frame : m_Project->GetFrames()) {
    for (const auto& element : frame->GetElements()) {
      elements.push_back({frame.get(), element.get(),
                          CArchivedState::Capture([&](CArchive& a_Ar) { element->Serialize(a_Ar); }), {}});
    }
  }
  if (!ApplyCommunicationSettings(*m_Project, a_Page, m_Doc.Ui(), m_Doc.Context())) return false;
  std::vector<uint8_t> after = CArchivedState::Capture(serialize);
  // Only the elements the reset changed are kept.
  std::vector<CPortsEditCommand::CElementState> changed;
  for (auto& state : elements) {
    state.m_After = CArchivedState::Capture([&](CArchive& a_Ar) { state.m_Element->Serialize(a_Ar); });
    if (state.m_After != state.m_Before) changed.push_back(std::move(state));
  }
  if (after == before && changed.empty()) return true;
  Run(std::make_unique<CPortsEditCommand>(*m_Project, m_Doc.Context(), std::move(before), std::move(after),
                                          std::move(changed)),
      CurrentFrame(), m_Selection.Elements());
  return true;
}

bool CDocumentEditor::EditFrame(CHMIFrame& a_Frame, const CFrameFields& a_Fields) {
  if (!Sync()) return false;
  const CFrameFields before = CFrameFields::Of(a_Frame);
  if (before == a_Fields) return false;
  Run(std::make_unique<CFrameEditCommand>(a_Frame, before, a_Fields), CurrentFrame(), m_Selection.Elements());
  return true;
}

// --- frames ---

bool CDocumentEditor::NewFrame(uint16_t a_Number, const std::string& a_Description) {
  if (!Sync()) return false;
  auto command = std::make_unique<CCompositeCommand>("new frame");
  if (CHMIFrame* existing = m_Project->FindFrame(a_Number)) {
    if (m_Doc.Ui().Ask(Tr(msg::kFrameExists), msg::kAppTitle, Choices::YesNo, Answer::No) != Answer::Yes) return false;
    command->Add(std::make_unique<CRemoveFrameCommand>(*m_Project, *existing));
  }
  auto frame = std::make_unique<CHMIFrame>(a_Number);
  frame->SetDescription(a_Description);
  frame->SetPrevious(static_cast<uint16_t>(a_Number - 1));
  frame->SetNext(static_cast<uint16_t>(a_Number + 1));
  CHMIFrame* added = frame.get();
  command->Add(std::make_unique<CAddFrameCommand>(*m_Project, std::move(frame)));
  Run(std::move(command), added, {});
  return true;
}

bool CDocumentEditor::CopyFrame(uint16_t a_Target) {
  if (!Sync() || CurrentFrame() == nullptr) return false;
  CHMIFrame& source = *CurrentFrame();
  if (a_Target == source.GetNumber()) return false;
  auto command = std::make_unique<CCompositeCommand>("copy frame");
  if (CHMIFrame* existing = m_Project->FindFrame(a_Target)) {
    if (m_Doc.Ui().Ask(Tr(msg::kCopyFrame), Tr(msg::kFrameExists), Choices::YesNo, Answer::No) != Answer::Yes) return false;
    command->Add(std::make_unique<CRemoveFrameCommand>(*m_Project, *existing));
  }
  std::unique_ptr<CHMIFrame> copy = source.Clone();
  copy->SetNumber(a_Target);
  copy->SetPrevious(static_cast<uint16_t>(a_Target - 1));
  copy->SetNext(static_cast<uint16_t>(a_Target + 1));
  for (const auto& e : copy->GetElements()) e->SetSelected(false);
  command->Add(std::make_unique<CAddFrameCommand>(*m_Project, std::move(copy)));
  Run(std::move(command), &source, m_Selection.Elements());
  return true;
}

bool CDocumentEditor::DeleteFrame() {
  if (!Sync() || CurrentFrame() == nullptr) return false;
  CHMIFrame& frame = *CurrentFrame();
  const std::string question = std::string(Tr(msg::kDeleteFrame)) + " " + std::to_string(frame.GetNumber()) + "?";
  if (m_Doc.Ui().Ask(question, Tr(msg::kDeleteFrame), Choices::YesNo, Answer::No) != Answer::Yes) return false;
  CHMIFrame* next = m_Project->GetFrameAfter(&frame);
  if (next == nullptr) next = m_Project->GetFrameBefore(&frame);
  Run(std::make_unique<CRemoveFrameCommand>(*m_Project, frame), next, {});
  return true;
}

// --- history ---

bool CDocumentEditor::Undo() {
  if (!Sync()) return false;
  CChangeList changes;
  if (!m_History.Undo(changes)) return false;
  Finish(changes);
  return true;
}

bool CDocumentEditor::Redo() {
  if (!Sync()) return false;
  CChangeList changes;
  if (!m_History.Redo(changes)) return false;
  Finish(changes);
  return true;
}

bool CDocumentEditor::Save() {
  if (!Sync() || !m_Doc.Save()) return false;
  m_History.MarkClean();
  return true;
}

bool CDocumentEditor::SaveAs(const std::string& a_Path) {
  if (!Sync() || !m_Doc.SaveAs(a_Path)) return false;
  m_History.MarkClean();
  return true;
}

}  // namespace kd820
