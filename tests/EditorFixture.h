#pragma once
// A document with a new project (panel model 1: 192 x 64) and its editor, for the tests of
// the editing commands.
#include <gtest/gtest.h>

#include "editor/project/DocumentEditor.h"
#include "editor/screens/ElementTypes.h"
#include "tests/LibraryTestSupport.h"
#include "tests/ScriptedInteraction.h"
#include "tests/TestSupport.h"

namespace test {

// Records the kinds of the change events.
class ChangeRecorder : public kd820::IChangeListener {
 public:
  void OnChange(const kd820::CChange& a_Change) override { m_Changes.push_back(a_Change); }
  bool Saw(kd820::ChangeKind a_Kind) const {
    for (const auto& c : m_Changes) {
      if (c.m_Kind == a_Kind) return true;
    }
    return false;
  }
  std::vector<kd820::CChange> m_Changes;
};

class EditorTest : public ::testing::Test {
 protected:
  void SetUp() override {
    auto project = std::make_unique<kd820::CKV410Project>();
    project->SetHardwareModelId(1);
    project->SetPath(m_Dir.File("edit.FPJ"));
    ASSERT_TRUE(m_Doc.AdoptProject(std::move(project)));
    m_Editor.Reset();
    m_Editor.AddListener(m_Changes);
  }

  kd820::CHMIFrame& Frame() { return *m_Editor.CurrentFrame(); }

  // An LED at (a_Left, a_Top) of a_Width x a_Height, inserted through the editor.
  kd820::CGraphElement* Add(int32_t a_Left, int32_t a_Top, int32_t a_Width = 16, int32_t a_Height = 16,
                            int32_t a_Type = kTypeLed) {
    kd820::CInsertTool tool{a_Type, a_Width, a_Height, {}};
    return m_Editor.Insert(tool, a_Left, a_Top);
  }

  // Selects the elements in this order.
  void SelectInOrder(std::initializer_list<kd820::CGraphElement*> a_Elements) {
    m_Editor.SelectNone();
    for (auto* e : a_Elements) m_Editor.Select(e, true);
  }

  static kd820::CRect Rect(const kd820::CGraphElement* a_E) { return a_E->GetRect(); }

  std::vector<uint8_t> Stored() { return m_Doc.StoreToBytes(); }

  TempDir m_Dir;
  ScriptedInteraction m_Ui;
  DiagnosticCapture m_Problems;
  kd820::CKV410Doc m_Doc{m_Ui, m_Problems};
  kd820::CMemoryClipboard m_Clipboard;
  kd820::CDocumentEditor m_Editor{m_Doc, m_Clipboard};
  ChangeRecorder m_Changes;
};

}  // namespace test
