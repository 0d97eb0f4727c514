#pragma once
// The editing side of a document: the canvas's selection and every command of the frame
// canvas and the frame tree, each run through the command history so that it can be undone
// and redone, with change events for the front-ends. The modified flag of the document follows
// the history. Front-ends keep one per document and call Reset after the document opened,
// created or closed a project.
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "editor/project/Clipboard.h"
#include "editor/project/EditCommands.h"
#include "editor/project/KV410Doc.h"
#include "editor/project/NewProjectPlc.h"
#include "editor/screens/CanvasGeometry.h"
#include "editor/screens/Selection.h"

namespace kd820 {

enum class EditAction {
  Insert,  // every element type
  SelectAll, SelectNone,
  Cut, Copy, Delete, Move, BringToFront, SendToBack, Centre,
  Align, SpaceEqually,
  Paste,
  Undo, Redo,
  NewFrame, CopyFrame, DeleteFrame,
};

// An armed insertion: the element kind and its default size, and for a picture the bitmap
// read from its file.
struct CInsertTool {
  int32_t m_TypeCode = 0;
  int32_t m_Width = 0;
  int32_t m_Height = 0;
  std::vector<uint8_t> m_Pixels;  // pictures only, in library layout
};

class CDocumentEditor {
 public:
  CDocumentEditor(CKV410Doc& a_Doc, IClipboard& a_Clipboard);
  CDocumentEditor(const CDocumentEditor&) = delete;
  CDocumentEditor& operator=(const CDocumentEditor&) = delete;

  void AddListener(IChangeListener& a_Listener);
  void RemoveListener(IChangeListener& a_Listener);

  // Forgets the history and the selection, and takes the document's project and frame as
  // saved. Also done by every command when the document holds another project than before.
  void Reset();

  bool IsAvailable(EditAction a_Action) const;
  const CSelection& Selection() const { return m_Selection; }
  CHMIFrame* CurrentFrame() const { return m_Doc.GetCurrentFrame(); }
  // Shows another frame of the project; the selection is emptied.
  void SetCurrentFrame(CHMIFrame* a_Frame);
  // (0, 0, panel width, panel height) of the project's panel model.
  CRect Screen() const;
  COffset PasteOffsetValue() const { return m_PasteOffset; }

  // --- selection (not recorded in the history) ---
  // Selects an element of the current frame; with a_Add the selection grows, else it is
  // replaced.
  void Select(CGraphElement* a_Element, bool a_Add = false);
  void SelectAll();
  void SelectNone();
  // Appends the elements lying inside the band; returns the last one added, or null.
  CGraphElement* SelectInBand(const CRect& a_Band);

  // --- insertion ---
  // The tool for an element type (not for pictures: ArmPicture); null for an unknown type.
  std::optional<CInsertTool> ArmInsert(int32_t a_TypeCode);
  // The tool for a picture of a single-colour BMP file; null after telling the user why the
  // file cannot be imported.
  std::optional<CInsertTool> ArmPicture(const std::string& a_BmpPath);
  // Creates the armed element with its top-left corner at (a_X, a_Y) of the current frame
  // and selects it; null when no frame is open.
  CGraphElement* Insert(const CInsertTool& a_Tool, int32_t a_X, int32_t a_Y);

  // --- the commands on the selection; each returns whether it changed anything ---
  bool Delete();
  bool Cut();
  bool Copy();
  bool Paste();
  bool MoveByPixel(int32_t a_Dx, int32_t a_Dy);
  bool BringToFront();
  bool SendToBack();
  // Elements that end up outside the screen are reported to the context's problem sink.
  bool Align(AlignMode a_Mode);
  bool SpaceEqually(bool a_Horizontal);
  bool Centre(bool a_Horizontal, bool a_Vertical);

  // --- the edits of the front-ends' mouse tools and property displays ---
  bool SetGeometry(CGraphElement& a_Element, const CElementBox& a_Box);
  // Runs a_Edit on an element of the current frame and records what it changed.
  bool EditElement(CGraphElement& a_Element, const std::function<void(CGraphElement&)>& a_Edit);
  // Runs a_Edit on the project's settings (ports, languages, global settings, alarms, data
  // transfers, the element-label switch) and records what it changed.
  bool EditSettings(const std::function<void(CKV410Project&)>& a_Edit);
  bool EditFrame(CHMIFrame& a_Frame, const CFrameFields& a_Fields);
  // The communication settings of a PLC page (the page's rules: the question before the
  // configuration tied to changed ports is reset, and the reset), recorded with everything
  // the reset changed as one step. False when the user said no (nothing changed); true when
  // the settings were taken, whether they changed anything or not.
  bool EditCommunication(const CNewProjectPlc& a_Page);

  // --- frames ---
  // A new frame a_Number (previous a_Number - 1, next a_Number + 1), which becomes the current
  // one; an existing frame of that number is replaced after the user agreed.
  bool NewFrame(uint16_t a_Number, const std::string& a_Description);
  // A copy of the current frame as frame a_Target; an existing target is replaced after the
  // user agreed.
  bool CopyFrame(uint16_t a_Target);
  // Deletes the current frame after the user agreed; the next frame (else the previous one)
  // becomes current.
  bool DeleteFrame();

  // --- history ---
  bool Undo();
  bool Redo();
  const CCommandHistory& History() const { return m_History; }
  // Save and Save As of the document; a successful one makes the current state the saved one.
  bool Save();
  bool SaveAs(const std::string& a_Path);

 private:
  class CStep;
  friend class CStep;

  bool Sync();
  // Runs a command as one step; afterwards a_FrameAfter is current and a_SelectionAfter the
  // selection.
  void Run(std::unique_ptr<CEditCommand> a_Command, CHMIFrame* a_FrameAfter,
           std::vector<CGraphElement*> a_SelectionAfter);
  bool Place(const char* a_Name, const std::vector<CPlacement>& a_Placements);
  bool Restack(const char* a_Name, bool a_ToFront);
  void ShowState(CHMIFrame* a_Frame, const std::vector<CGraphElement*>& a_Selection, CChangeList& a_Changes);
  void Finish(CChangeList& a_Changes);
  void Notify(const CChange& a_Change);

  CKV410Doc& m_Doc;
  IClipboard& m_Clipboard;
  CKV410Project* m_Project = nullptr;
  CSelection m_Selection;
  CCommandHistory m_History;
  COffset m_PasteOffset;
  std::vector<IChangeListener*> m_Listeners;
};

}  // namespace kd820
