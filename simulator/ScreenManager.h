#pragma once
// The panel's screen state: the loaded frame and the frame history, the switch queue, focus,
// dirty areas, the password level and gate, the alarm frame's show/leave rules, the screen
// saver and the backlight.
#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <string>

#include "simulator/DirtyAreas.h"
#include "simulator/FrameContainer.h"
#include "simulator/FrameTable.h"
#include "simulator/KeyScanner.h"
#include "simulator/LcdCanvas.h"
#include "simulator/PanelContext.h"

namespace sim {

class ScreenManager {
 public:
  enum Message : int { kJump = 256, kRedraw = 257, kOverlayJump = 258, kReturnJump = 259 };
  enum SwitchKind : int { kPlain = 0, kOverlay = 1, kReturn = 2 };

  ScreenManager(PanelContext& a_Context, int a_Width, int a_Height, uint16_t a_AlarmFrame);

  // Queues a message; a plain jump while an overlay frame is shown only becomes the requested
  // frame. Returns whether it was queued.
  bool Post(int a_Code, int a_Parameter);
  // Carries out the queued messages (each once, oldest first).
  void ProcessQueue();

  uint16_t CurrentFrame() const { return m_CurrentFrame; }
  uint16_t UserFrame() const { return m_UserFrame; }
  uint16_t PreviousFrame() const { return m_PreviousFrame; }
  int LastSwitchKind() const { return m_SwitchKind; }
  bool IsOverlay() const;
  void JumpToPrevious();
  void ReenterCurrent();

  // Keys and encoder (after the key scan).
  void DispatchKey(const KeyEvent& a_Event);
  void EncoderStep(int a_Step);
  void MoveFocus(int a_Step) { m_Container.MoveFocus(a_Step); }
  FrameContainer& Container() { return m_Container; }

  // Alarm frame.
  uint16_t AlarmFrame() const { return m_AlarmFrame; }
  bool ShowAlarmFrame();
  void LeaveAlarmFrame();

  // Password level and gate.
  int PasswordLevel() const { return m_Level; }
  void SetPasswordLevel(int a_Level);
  // Each cycle: a code written into words 254..255 grants its level; word 253 may lower the
  // level but not raise it.
  void ServicePasswords();
  void RequestPassword(int a_Target, int a_ReturnFrame, int a_Level, uint32_t a_Element,
                       bool a_Restore);
  void GrantPassword(int a_Level);
  // Escape on the password frame: back to the request's return frame, except that the saver's
  // request goes back to the saver until its password is given.
  void CancelPassword();
  bool PasswordPending() const { return m_Gate.pending; }

  // Screen saver: the idle check of each cycle, and the wake-up by any key change or encoder
  // step, which returns true when the panel consumes the event (it woke, or it is the release
  // of the key that sent the panel back to sleep).
  void ServiceScreenSaver();
  bool Wake(bool a_Release = false);
  bool BacklightOn() const { return m_Backlight; }

  // The status text shown in a box over the elements (empty = none).
  void SetStatusText(const std::string& a_Text, bool a_Visible);

  // Refresh step: elements refresh; a frame just loaded gets its frame-shown event and
  // completes a pending password request.
  void Refresh();
  // Paint step: clears and recomposes the dirty areas; true when something was drawn.
  bool Paint();

  void Invalidate(const Rect& a_Rect);
  void InvalidateAll();
  const LcdCanvas& Screen() const { return m_Screen; }

  // Called before a frame switch tears the old frame down, and after the new frame's first
  // refresh.
  std::function<void()> onFrameLeaving;
  std::function<void()> onFrameShown;
  // Called with the new frame number after every successful frame load.
  std::function<void(uint16_t)> onFrameLoaded;

 private:
  struct PasswordGate {
    bool pending = false;
    int target = 0;
    int returnFrame = 0;
    int level = 0;
    uint32_t element = 0;
    bool restore = false;
    int savedLevel = 255;  // 255 = none
    bool fromSaver = false;  // asked for on leaving the screen saver
  };

  bool SwitchTo(int a_Frame, int a_Kind);
  // Feeds a press to the input editor while an input (or step mode) is open; true when taken.
  bool InputKey(int a_Key);
  // Ends the open input; the element redraws.
  void EndInput();
  // Moves the focus on to the next element that accepts input and starts input on it.
  void StartNextInput();
  // The saver's password request was cancelled: the panel sleeps again as the saver left it.
  void ReturnToSaver();
  bool StatusShown() const { return m_StatusVisible && !m_StatusText.empty(); }
  bool IsOverlayFrame(int a_Frame) const;

  PanelContext& m_Context;
  FrameTable m_Frames;
  FrameContainer m_Container;
  LcdCanvas m_Screen;
  DirtyAreas m_Dirty;
  std::deque<std::pair<int, int>> m_Queue;

  uint16_t m_CurrentFrame = 0;
  uint16_t m_UserFrame = 0;
  uint16_t m_PreviousFrame = 0;
  uint16_t m_RequestedFrame = 0;
  int m_SwitchKind = kPlain;
  bool m_EditContinue = false;
  bool m_JustLoaded = false;
  int m_Level = 0;
  PasswordGate m_Gate;

  uint16_t m_AlarmFrame = 0;
  bool m_AlarmShown = false;
  uint16_t m_AlarmReturn = 0;

  uint16_t m_SaverSavedFrame = 0;
  bool m_Backlight = true;
  bool m_SaverHoldsRelease = false;  // the next key release does not wake the panel

  std::string m_StatusText;
  bool m_StatusVisible = false;
};

}  // namespace sim
