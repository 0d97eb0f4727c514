#pragma once
// The frame tree: the project's frames by number, each with its elements in drawing order.
// Choosing a frame shows it; choosing elements selects them on the canvas, and the canvas's
// selection is shown here.
#include <QTreeWidget>

#include "editor/project/DocumentEditor.h"

namespace kd820 {

class CFrameTree : public QTreeWidget {
  Q_OBJECT

 public:
  CFrameTree(CKV410Doc& a_Doc, CDocumentEditor& a_Editor, QWidget* a_Parent = nullptr);

  // Follows a change event of the document editor.
  void OnChange(const CChange& a_Change);
  // Builds the tree anew from the project.
  void Rebuild();

  // The items of a frame and of an element; null when the tree has none.
  QTreeWidgetItem* FrameItem(const CHMIFrame* a_Frame) const;
  QTreeWidgetItem* ElementItem(const CGraphElement* a_Element) const;

  // The text of a frame's item: its name ("HMI3") and its description.
  static QString FrameText(const CHMIFrame& a_Frame);
  static QString ElementText(const CGraphElement& a_Element);

 private:
  void ShowSelection();
  void OnItemSelectionChanged();
  void UpdateTexts();

  CKV410Doc& m_Doc;
  CDocumentEditor& m_Editor;
  // Set while the tree itself changes its selection, so that it does not act on that.
  bool m_Syncing = false;
};

}  // namespace kd820
