#include "editor/project/EditCommand.h"

namespace kd820 {

void CCompositeCommand::Apply(CChangeList& a_Changes) {
  for (auto& command : m_Commands) command->Apply(a_Changes);
}

void CCompositeCommand::Revert(CChangeList& a_Changes) {
  for (auto it = m_Commands.rbegin(); it != m_Commands.rend(); ++it) (*it)->Revert(a_Changes);
}

void CCommandHistory::Execute(std::unique_ptr<CEditCommand> a_Command, CChangeList& a_Changes) {
  a_Command->Apply(a_Changes);
  // The undone steps can no longer be redone; the saved state among them is lost with them.
  if (m_Clean > static_cast<std::ptrdiff_t>(m_Position)) m_Clean = -1;
  m_Steps.erase(m_Steps.begin() + static_cast<std::ptrdiff_t>(m_Position), m_Steps.end());
  m_Steps.push_back(std::move(a_Command));
  ++m_Position;
  if (m_Steps.size() > m_StepLimit) {
    m_Steps.pop_front();
    --m_Position;
    m_Clean = m_Clean > 0 ? m_Clean - 1 : -1;
  }
}

bool CCommandHistory::Undo(CChangeList& a_Changes) {
  if (!CanUndo()) return false;
  m_Steps[--m_Position]->Revert(a_Changes);
  return true;
}

bool CCommandHistory::Redo(CChangeList& a_Changes) {
  if (!CanRedo()) return false;
  m_Steps[m_Position++]->Apply(a_Changes);
  return true;
}

void CCommandHistory::Clear(bool a_Clean) {
  m_Steps.clear();
  m_Position = 0;
  m_Clean = a_Clean ? 0 : -1;
}

}  // namespace kd820
