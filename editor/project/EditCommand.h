#pragma once
// The command layer: every change to a project is a command object that applies itself and
// reverts itself exactly, kept in a history for undo and redo; and the change events that tell
// the front-ends what to redraw.
#include <cstddef>
#include <deque>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace kd820 {

class CGraphElement;
class CHMIFrame;

enum class ChangeKind {
  ElementsChanged,      // geometry or properties of m_Elements
  ElementsAdded,        // m_Elements were added to m_Frame
  ElementsRemoved,      // m_Elements were taken out of m_Frame (do not touch them any more)
  ElementOrderChanged,  // the drawing order of m_Frame changed
  FrameAdded,
  FrameRemoved,         // m_Frame was taken out of the project (do not touch it any more)
  FrameChanged,         // number, name, description or key frames of m_Frame
  SettingsChanged,      // ports, languages, global settings, alarms or data transfers
  SelectionChanged,
  CurrentFrameChanged,
  ModifiedChanged,
};

struct CChange {
  ChangeKind m_Kind;
  CHMIFrame* m_Frame = nullptr;
  std::vector<CGraphElement*> m_Elements;
};

using CChangeList = std::vector<CChange>;

// Told of every change, after it was made.
class IChangeListener {
 public:
  virtual ~IChangeListener() = default;
  virtual void OnChange(const CChange& a_Change) = 0;
};

class CEditCommand {
 public:
  virtual ~CEditCommand() = default;
  // Makes the change (again, after a revert) and lists what it changed.
  virtual void Apply(CChangeList& a_Changes) = 0;
  // Takes the change back, leaving the project as it was before Apply.
  virtual void Revert(CChangeList& a_Changes) = 0;
  // A short name of the command kind ("move", "delete", ...).
  virtual const char* Name() const = 0;
};

// Commands run in order as one step.
class CCompositeCommand : public CEditCommand {
 public:
  explicit CCompositeCommand(const char* a_Name) : m_Name(a_Name) {}
  void Add(std::unique_ptr<CEditCommand> a_Command) { m_Commands.push_back(std::move(a_Command)); }
  bool IsEmpty() const { return m_Commands.empty(); }
  void Apply(CChangeList& a_Changes) override;
  void Revert(CChangeList& a_Changes) override;
  const char* Name() const override { return m_Name; }

 private:
  const char* m_Name;
  std::vector<std::unique_ptr<CEditCommand>> m_Commands;
};

// The applied commands (to undo) and the undone ones (to redo). A new command drops the ones
// to redo; beyond the step limit the oldest is forgotten. The clean mark is the position of
// the saved state: the project is modified whenever the history stands elsewhere.
class CCommandHistory {
 public:
  static constexpr std::size_t kDefaultStepLimit = 200;

  explicit CCommandHistory(std::size_t a_StepLimit = kDefaultStepLimit) : m_StepLimit(a_StepLimit) {}

  // Applies the command and records it.
  void Execute(std::unique_ptr<CEditCommand> a_Command, CChangeList& a_Changes);
  bool CanUndo() const { return m_Position > 0; }
  bool CanRedo() const { return m_Position < m_Steps.size(); }
  bool Undo(CChangeList& a_Changes);
  bool Redo(CChangeList& a_Changes);
  // The command Undo (or Redo) would take back (or make again); null when there is none.
  const CEditCommand* NextUndo() const { return CanUndo() ? m_Steps[m_Position - 1].get() : nullptr; }
  const CEditCommand* NextRedo() const { return CanRedo() ? m_Steps[m_Position].get() : nullptr; }
  std::size_t UndoCount() const { return m_Position; }
  std::size_t RedoCount() const { return m_Steps.size() - m_Position; }

  // The current state is the saved one.
  void MarkClean() { m_Clean = static_cast<std::ptrdiff_t>(m_Position); }
  bool IsClean() const { return m_Clean == static_cast<std::ptrdiff_t>(m_Position); }
  // Forgets every step; the current state is the saved one when a_Clean is set.
  void Clear(bool a_Clean = true);

 private:
  std::size_t m_StepLimit;
  std::deque<std::unique_ptr<CEditCommand>> m_Steps;
  std::size_t m_Position = 0;
  // -1: the saved state is no longer reachable through the history.
  std::ptrdiff_t m_Clean = 0;
};

}  // namespace kd820
