#include "editor/ui/window/FrameTree.h"

#include <QHeaderView>

#include "editor/project/KV410Project.h"
#include "editor/screens/HMIFrame.h"

namespace kd820 {

namespace {

enum Role { kFrameRole = Qt::UserRole + 1, kElementRole };

CHMIFrame* FrameOf(const QTreeWidgetItem* a_Item) {
  return static_cast<CHMIFrame*>(a_Item->data(0, kFrameRole).value<void*>());
}

CGraphElement* ElementOf(const QTreeWidgetItem* a_Item) {
  return static_cast<CGraphElement*>(a_Item->data(0, kElementRole).value<void*>());
}

}  // namespace

CFrameTree::CFrameTree(CKV410Doc& a_Doc, CDocumentEditor& a_Editor, QWidget* a_Parent)
    : QTreeWidget(a_Parent), m_Doc(a_Doc), m_Editor(a_Editor) {
  setHeaderHidden(true);
  setColumnCount(1);
  setSelectionMode(QAbstractItemView::ExtendedSelection);
  setUniformRowHeights(true);
  connect(this, &QTreeWidget::itemSelectionChanged, this, &CFrameTree::OnItemSelectionChanged);
  Rebuild();
}

QString CFrameTree::FrameText(const CHMIFrame& a_Frame) {
  QString text = QString::fromStdString(a_Frame.GetName());
  if (!a_Frame.GetDescription().empty()) text += "  " + QString::fromStdString(a_Frame.GetDescription());
  return text;
}

QString CFrameTree::ElementText(const CGraphElement& a_Element) {
  if (!a_Element.GetName().empty()) return QString::fromStdString(a_Element.GetName());
  return QString("%1%2").arg(QString::fromUtf8(a_Element.GetPrefix())).arg(a_Element.GetNumber());
}

QTreeWidgetItem* CFrameTree::FrameItem(const CHMIFrame* a_Frame) const {
  for (int i = 0; i < topLevelItemCount(); ++i) {
    if (FrameOf(topLevelItem(i)) == a_Frame) return topLevelItem(i);
  }
  return nullptr;
}

QTreeWidgetItem* CFrameTree::ElementItem(const CGraphElement* a_Element) const {
  for (int i = 0; i < topLevelItemCount(); ++i) {
    QTreeWidgetItem* frame = topLevelItem(i);
    for (int j = 0; j < frame->childCount(); ++j) {
      if (ElementOf(frame->child(j)) == a_Element) return frame->child(j);
    }
  }
  return nullptr;
}

void CFrameTree::Rebuild() {
  const bool syncing = m_Syncing;
  m_Syncing = true;
  clear();
  if (CKV410Project* project = m_Doc.GetProject()) {
    for (const auto& frame : project->GetFrames()) {
      auto* frameItem = new QTreeWidgetItem(this, {FrameText(*frame)});
      frameItem->setData(0, kFrameRole, QVariant::fromValue<void*>(frame.get()));
      for (const auto& element : frame->GetElements()) {
        auto* item = new QTreeWidgetItem(frameItem, {ElementText(*element)});
        item->setData(0, kFrameRole, QVariant::fromValue<void*>(frame.get()));
        item->setData(0, kElementRole, QVariant::fromValue<void*>(element.get()));
      }
    }
  }
  if (QTreeWidgetItem* current = FrameItem(m_Editor.CurrentFrame())) current->setExpanded(true);
  m_Syncing = syncing;
  ShowSelection();
}

void CFrameTree::UpdateTexts() {
  for (int i = 0; i < topLevelItemCount(); ++i) {
    QTreeWidgetItem* frameItem = topLevelItem(i);
    frameItem->setText(0, FrameText(*FrameOf(frameItem)));
    for (int j = 0; j < frameItem->childCount(); ++j)
      frameItem->child(j)->setText(0, ElementText(*ElementOf(frameItem->child(j))));
  }
}

void CFrameTree::OnChange(const CChange& a_Change) {
  switch (a_Change.m_Kind) {
    case ChangeKind::ElementsAdded:
    case ChangeKind::ElementsRemoved:
    case ChangeKind::ElementOrderChanged:
    case ChangeKind::FrameAdded:
    case ChangeKind::FrameRemoved:
      Rebuild();
      break;
    case ChangeKind::FrameChanged:
    case ChangeKind::ElementsChanged:
      UpdateTexts();
      break;
    case ChangeKind::SelectionChanged:
    case ChangeKind::CurrentFrameChanged:
      ShowSelection();
      break;
    case ChangeKind::SettingsChanged:
    case ChangeKind::ModifiedChanged:
      break;
  }
}

void CFrameTree::ShowSelection() {
  const bool syncing = m_Syncing;
  m_Syncing = true;
  clearSelection();
  const auto& selected = m_Editor.Selection().Elements();
  QTreeWidgetItem* current = nullptr;
  for (CGraphElement* e : selected) {
    if (QTreeWidgetItem* item = ElementItem(e)) {
      item->setSelected(true);
      current = item;
    }
  }
  QTreeWidgetItem* frameItem = FrameItem(m_Editor.CurrentFrame());
  if (current == nullptr && frameItem != nullptr) {
    frameItem->setSelected(true);
    current = frameItem;
  }
  if (frameItem != nullptr) frameItem->setExpanded(true);
  if (current != nullptr) {
    setCurrentItem(current, 0, QItemSelectionModel::NoUpdate);
    scrollToItem(current);
  }
  m_Syncing = syncing;
}

void CFrameTree::OnItemSelectionChanged() {
  if (m_Syncing) return;
  const QList<QTreeWidgetItem*> items = selectedItems();
  if (items.isEmpty()) return;
  // The frame of the item clicked last (the current item) is shown; of the other items only
  // the elements of that frame are selected.
  QTreeWidgetItem* anchor = currentItem() != nullptr && currentItem()->isSelected() ? currentItem() : items.back();
  CHMIFrame* frame = FrameOf(anchor);
  m_Syncing = true;
  if (frame != m_Editor.CurrentFrame()) m_Editor.SetCurrentFrame(frame);
  std::vector<CGraphElement*> elements;
  for (QTreeWidgetItem* item : items) {
    CGraphElement* e = ElementOf(item);
    if (e != nullptr && FrameOf(item) == frame && item != anchor) elements.push_back(e);
  }
  // The anchor last: it is the reference of the alignments.
  if (CGraphElement* e = ElementOf(anchor)) elements.push_back(e);
  m_Editor.SelectNone();
  for (CGraphElement* e : elements) m_Editor.Select(e, true);
  m_Syncing = false;
  ShowSelection();
}

}  // namespace kd820
