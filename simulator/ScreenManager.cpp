#include "simulator/ScreenManager.h"

#include <algorithm>

#include "simulator/ElementComposition.h"
#include "simulator/InputEditor.h"
#include "simulator/InternalMemory.h"
#include "simulator/StatusBox.h"
#include "simulator/TickTimers.h"

namespace sim {
namespace {
constexpr TickTimers::Slot kSaverTimer = TickTimers::kScreenSaver;
constexpr uint32_t kTicksPerMinute = 600;
}  // namespace

ScreenManager::ScreenManager(PanelContext& a_Context, int a_Width, int a_Height,
                             uint16_t a_AlarmFrame)
    : m_Context(a_Context),
      m_Frames(a_Context.image),
      m_Container(a_Context),
      m_Screen(a_Width, a_Height),
      m_Dirty(Rect::FromSize(0, 0, a_Width, a_Height)),
      m_AlarmFrame(a_AlarmFrame) {}

bool ScreenManager::IsOverlayFrame(int a_Frame) const {
  return a_Frame > 0 && (a_Frame == m_AlarmFrame || a_Frame == m_Context.settings.passwordFrame ||
                         a_Frame == m_Context.settings.saverFrame);
}

bool ScreenManager::IsOverlay() const {
  return m_CurrentFrame != m_UserFrame && IsOverlayFrame(m_CurrentFrame);
}

bool ScreenManager::Post(int a_Code, int a_Parameter) {
  if (a_Code == kJump && IsOverlay()) {
    m_RequestedFrame = static_cast<uint16_t>(a_Parameter);
    return false;
  }
  m_Queue.emplace_back(a_Code, a_Parameter);
  return true;
}

void ScreenManager::JumpToPrevious() {
  if (m_PreviousFrame > 0) Post(kJump, m_PreviousFrame);
}

void ScreenManager::ReenterCurrent() { Post(kReturnJump, m_UserFrame); }

void ScreenManager::ProcessQueue() {
  for (std::size_t n = m_Queue.size(); n > 0 && !m_Queue.empty(); --n) {
    auto [code, parameter] = m_Queue.front();
    m_Queue.pop_front();
    if (code == kRedraw) {
      if (Element* element = m_Container.FindById(static_cast<uint32_t>(parameter)))
        element->Invalidate();
      continue;
    }
    if (code != kJump && code != kOverlayJump && code != kReturnJump) continue;
    int kind = code == kJump ? kPlain : code == kOverlayJump ? kOverlay : kReturn;
    if (m_Container.Loaded() && parameter == m_CurrentFrame) {
      m_SwitchKind = kind;
      continue;
    }
    if (m_Container.Busy()) {
      m_Queue.emplace_back(code, parameter);  // retried in a later cycle
      continue;
    }
    bool switched = SwitchTo(parameter, kind);
    if (!switched && code == kJump) {
      // A plain jump to a missing frame is dropped; forget it as the requested frame too,
      // so it is not posted again every cycle.
      m_RequestedFrame = m_UserFrame;
    }
    if (switched && code == kJump && !m_Backlight && m_SaverSavedFrame != 0)
      m_SaverSavedFrame = m_UserFrame;
  }
  if (m_RequestedFrame != m_UserFrame) Post(kJump, m_RequestedFrame);
}

bool ScreenManager::SwitchTo(int a_Frame, int a_Kind) {
  auto frame = m_Frames.Find(a_Frame);
  if (!frame) return false;
  m_SwitchKind = a_Kind;
  if (m_Container.Loaded()) m_Container.Event(6);  // the old frame is left
  if (m_Context.input) m_Context.input->Reset();
  if (onFrameLeaving) onFrameLeaving();
  m_Container.TearDown();
  m_Container.Load(*frame);
  m_EditContinue = false;
  m_JustLoaded = true;
  m_CurrentFrame = frame->number;
  if (onFrameLoaded) onFrameLoaded(m_CurrentFrame);
  if (a_Kind == kPlain) {
    m_PreviousFrame = m_UserFrame;
    m_UserFrame = m_RequestedFrame = m_CurrentFrame;
  }
  m_Container.DropFocus();
  InvalidateAll();
  return true;
}

void ScreenManager::EndInput() {
  InputEditor* input = m_Context.input;
  if (input == nullptr || input->Bound() == nullptr) return;
  const uint32_t id = input->Bound()->Identifier();
  input->Reset();
  Post(kRedraw, static_cast<int>(id));
}

void ScreenManager::StartNextInput() {
  Element* focused = nullptr;
  do {
    m_Container.MoveFocus(1);
    focused = m_Container.Focused();
  } while (focused && !focused->AcceptsInput());
  if (focused) focused->PressAction();
}

bool ScreenManager::InputKey(int a_Key) {
  InputEditor* input = m_Context.input;
  if (input == nullptr || (!input->Active() && !input->StepMode())) return false;
  switch (input->Key(a_Key)) {
    case InputEditor::Result::kIgnored:
      return false;
    case InputEditor::Result::kConsumed:
      return true;
    case InputEditor::Result::kStep:
      if (Element* focused = m_Container.Focused()) focused->Step(a_Key);
      return true;
    case InputEditor::Result::kAccepted:
      EndInput();
      if (m_EditContinue) StartNextInput();
      return true;
    case InputEditor::Result::kCancelled:
      EndInput();
      m_EditContinue = false;
      return true;
  }
  return false;
}

void ScreenManager::DispatchKey(const KeyEvent& a_Event) {
  if (a_Event.type == KeyEvent::kNone) return;
  if (a_Event.type == KeyEvent::kPress && InputKey(a_Event.key)) return;
  if (Element* element = m_Container.FindByKey(a_Event)) {
    if (!(a_Event.key == 6 && IsOverlay())) {
      if (a_Event.type == KeyEvent::kPress)
        element->PressAction();
      else
        element->ReleaseAction();
      return;
    }
  }
  if (a_Event.type != KeyEvent::kPress) return;
  switch (a_Event.key) {
    case 1: {
      // Start input on the next element that accepts it, and go on with the following ones.
      EndInput();
      StartNextInput();
      m_EditContinue = true;
      break;
    }
    case 2:
    case 3: {
      const FrameRecord* frame = m_Container.Frame();
      if (frame && !IsOverlay())
        Post(kJump, a_Event.key == 2 ? frame->previousFrame : frame->nextFrame);
      if (m_AlarmFrame != 0 && m_CurrentFrame == m_AlarmFrame) {
        // The alarm list scrolls.
        m_Container.Step(a_Event.key);
      }
      break;
    }
    case 4:
      m_Container.MoveFocus(-1);
      break;
    case 5:
      m_Container.MoveFocus(1);
      break;
    case 6:
      if (m_AlarmFrame != 0 && m_CurrentFrame == m_AlarmFrame)
        LeaveAlarmFrame();
      else if (m_Context.settings.passwordFrame != 0 &&
               m_CurrentFrame == m_Context.settings.passwordFrame)
        CancelPassword();
      m_Container.DropFocus();
      m_EditContinue = false;
      break;
    case 8:
      ShowAlarmFrame();
      break;
    default:
      break;
  }
}

void ScreenManager::EncoderStep(int a_Step) {
  if (m_Context.input && m_Context.input->Active()) {
    InputKey(a_Step > 0 ? 5 : 2);
    return;
  }
  m_Container.MoveFocus(a_Step > 0 ? 1 : -1);
}

bool ScreenManager::ShowAlarmFrame() {
  if (m_AlarmFrame == 0) return false;
  uint16_t saver = m_Context.settings.saverFrame;
  if (IsOverlay() && !(saver != 0 && m_CurrentFrame == saver)) return false;
  uint16_t password = m_Context.settings.passwordFrame;
  if (password != 0 && m_CurrentFrame == password)
    m_AlarmReturn = password;
  else if (saver != 0 && m_CurrentFrame == saver)
    m_AlarmReturn = saver;
  else
    m_AlarmReturn = m_UserFrame;
  Post(kOverlayJump, m_AlarmFrame);
  m_AlarmShown = true;
  return true;
}

void ScreenManager::LeaveAlarmFrame() {
  if (m_AlarmReturn != 0)
    Post(kReturnJump, m_AlarmReturn);
  else
    ReenterCurrent();
  m_AlarmReturn = 0;
  m_AlarmShown = false;
}

void ScreenManager::SetPasswordLevel(int a_Level) {
  m_Level = a_Level;
  m_Context.memory.WriteWord(InternalMemory::kPasswordLevel, static_cast<uint16_t>(a_Level));
}

void ScreenManager::ServicePasswords() {
  InternalMemory& memory = m_Context.memory;
  if (memory.Changed()) {
    const int level = m_Context.settings.PasswordLevel(memory.DoubleWord(InternalMemory::kPasswordEntry));
    if (level > 0) {
      GrantPassword(level);
      SetPasswordLevel(level);
    }
    memory.WriteDoubleWord(InternalMemory::kPasswordEntry, 0);
    memory.ClearChanged();
  }
  const int mirrored = memory.Word(InternalMemory::kPasswordLevel);
  if (mirrored != m_Level) SetPasswordLevel(std::min(mirrored, m_Level));
}

void ScreenManager::RequestPassword(int a_Target, int a_ReturnFrame, int a_Level,
                                    uint32_t a_Element, bool a_Restore) {
  uint16_t password = m_Context.settings.passwordFrame;
  if (password != 0 && a_Target == password) a_Target = m_UserFrame;
  m_Gate = {true, a_Target, a_ReturnFrame, a_Level, a_Element, a_Restore, 255, false};
  Post(kOverlayJump, password);
}

void ScreenManager::GrantPassword(int a_Level) {
  if (!m_Gate.pending || a_Level < m_Gate.level) return;
  m_Gate.savedLevel = m_Level;
  Post(kReturnJump, m_Gate.target);
}

void ScreenManager::CancelPassword() {
  if (m_Gate.pending && m_Gate.fromSaver && m_Gate.savedLevel == 255) {
    ReturnToSaver();
  } else if (m_Gate.pending) {
    if (m_Gate.returnFrame > 0) Post(kReturnJump, m_Gate.returnFrame);
    m_Gate.pending = false;
  } else {
    ReenterCurrent();
  }
}

void ScreenManager::ServiceScreenSaver() {
  uint32_t delay = m_Context.settings.saverDelayMinutes;
  if (m_SaverSavedFrame != 0 || !m_Backlight || delay == 0) return;
  if (!m_Context.timers.Elapsed(kSaverTimer, delay * kTicksPerMinute)) return;
  m_SaverSavedFrame = m_CurrentFrame;
  if (!(m_Context.settings.flags & SystemSettings::kSaverKeepsFrame)) {
    uint16_t password = m_Context.settings.passwordFrame;
    if (password != 0 && m_CurrentFrame == password)
      m_SaverSavedFrame = static_cast<uint16_t>(m_Gate.pending ? m_Gate.target : m_UserFrame);
    Post(kOverlayJump, m_Context.settings.saverFrame);
  }
  m_Backlight = false;
  InvalidateAll();
}

void ScreenManager::ReturnToSaver() {
  m_SaverSavedFrame = static_cast<uint16_t>(m_Gate.target);
  m_Gate.pending = false;
  // Back as the saver left it: its frame, or the saved frame under a dark backlight.
  if (m_Context.settings.flags & SystemSettings::kSaverKeepsFrame)
    Post(kReturnJump, m_SaverSavedFrame);
  else
    Post(kOverlayJump, m_Context.settings.saverFrame);
  m_Backlight = false;
  m_SaverHoldsRelease = true;  // of the escape key
  InvalidateAll();
}

bool ScreenManager::Wake(bool a_Release) {
  const bool held = m_SaverHoldsRelease;
  m_SaverHoldsRelease = false;
  if (held && a_Release && m_SaverSavedFrame != 0) return true;
  if (!m_Backlight) {
    m_Backlight = true;
    InvalidateAll();  // the window shows the backlight colour
  }
  m_Context.timers.Restart(kSaverTimer);
  if (m_SaverSavedFrame == 0) return false;
  uint16_t saved = m_SaverSavedFrame;
  m_SaverSavedFrame = 0;
  Post(kReturnJump, saved);
  if (m_Context.settings.flags & SystemSettings::kSaverAsksPassword) {
    RequestPassword(saved, saved, m_Context.settings.saverLevel, 0, false);
    m_Gate.fromSaver = true;
  }
  return true;
}

void ScreenManager::SetStatusText(const std::string& a_Text, bool a_Visible) {
  // The box's old place is cleared and its new one drawn in the next paint.
  if (StatusShown()) Invalidate(StatusBoxRect(m_Screen.Width(), m_Screen.Height(), m_StatusText.c_str()));
  m_StatusText = a_Text;
  m_StatusVisible = a_Visible;
  if (StatusShown()) Invalidate(StatusBoxRect(m_Screen.Width(), m_Screen.Height(), m_StatusText.c_str()));
}

void ScreenManager::Refresh() {
  m_Container.Refresh();
  if (!m_JustLoaded) return;
  m_JustLoaded = false;
  if (onFrameShown) onFrameShown();
  m_Container.Event(7);  // the frame is shown
  // A granted password request completes once its target frame is loaded.
  if (m_Gate.pending && m_Gate.savedLevel != 255 && m_Gate.target == m_CurrentFrame) {
    if (m_Gate.element != 0)
      if (Element* element = m_Container.FindById(m_Gate.element)) element->PressAction();
    if (m_Gate.restore && m_Gate.savedLevel < 128) SetPasswordLevel(m_Gate.savedLevel);
    m_Gate.pending = false;
  }
}

void ScreenManager::Invalidate(const Rect& a_Rect) { m_Dirty.Add(a_Rect); }

void ScreenManager::InvalidateAll() {
  m_Dirty.Add(Rect::FromSize(0, 0, m_Screen.Width(), m_Screen.Height()));
}

bool ScreenManager::Paint() {
  if (!m_Dirty.Any()) return false;
  ClearDirtyAreas(m_Screen, m_Dirty);
  m_Container.Compose(m_Screen, m_Dirty);
  if (StatusShown()) DrawStatusBox(m_Screen, m_StatusText.c_str());
  m_Dirty.Clear();
  return true;
}

}  // namespace sim
