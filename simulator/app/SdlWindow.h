#pragma once
// The simulator's window: the skin with the LCD in it, the mouse-operated keys and the encoder
// wheel, the tick timer and the run cycle on an idle message loop. SDL2 with the software
// renderer; runs without a display under SDL_VIDEODRIVER=offscreen.
#include <cstdint>
#include <string>

#include "simulator/Host.h"
#include "simulator/Simulator.h"
#include "simulator/app/SkinBitmap.h"

struct SDL_Window;
struct SDL_Renderer;
struct SDL_Texture;
union SDL_Event;

namespace sim {

class PanelScript;

struct WindowOptions {
  std::string title = "PanSim";
  int tickPeriodMs = 95;   // one Simulator::Tick per timer period
  int cyclePauseMs = 25;   // pause after each cycle, so the idle loop does not spin
  bool tickTimer = true;   // tests turn the timer off to keep ticks out of their way
};

class SkinWindow {
 public:
  SkinWindow(Simulator& a_Simulator, const PanelModel& a_Model, const SkinBitmap& a_Skin,
             const WindowOptions& a_Options = {});
  ~SkinWindow();
  SkinWindow(const SkinWindow&) = delete;
  SkinWindow& operator=(const SkinWindow&) = delete;

  // Creates the window (shaped to the skin's outline when the model asks for it and the video
  // driver can, else plain and borderless), centred, and starts the tick timer.
  bool Open(std::string& a_Error);
  // One pass of the message loop: handles every waiting event; then, the loop being idle, runs
  // one cycle, repaints when the simulator asks for it or the backlight changed, and pauses.
  // Returns false once the window is closed.
  bool Step();
  // Steps until the window is closed.
  void Run();
  // Up to a_Passes passes of Step(); returns how many cycles ran.
  int RunCycles(int a_Passes);

  // A script whose commands act on the live panel between cycles; its waits count the
  // window's own ticks and cycles. The window stays open when the script ends.
  void AttachScript(PanelScript& a_Script);
  bool ScriptRunning() const { return m_Script != nullptr; }
  // The script's exit code once it ended (0 while it runs or without one).
  int ScriptExitCode() const { return m_ScriptExit; }

  bool IsClosed() const { return m_Closed; }
  bool IsShaped() const { return m_Shaped; }
  bool IsMenuOpen() const { return m_MenuOpen; }
  bool IsDragging() const { return m_Dragging; }
  int TicksHandled() const { return m_Ticks; }
  int RepaintCount() const { return m_Repaints; }

  // Test hooks: queue events for this window in window coordinates, as the video driver would.
  void InjectMouseButton(bool a_Down, int a_Button, int a_X, int a_Y, int a_Clicks = 1);
  void InjectMouseMotion(int a_X, int a_Y);
  void InjectWheel(int a_Notches);
  void InjectKey(int32_t a_Keycode);
  void InjectClose();
  // The window's pixels as last presented, top-down RGB.
  bool ReadPixels(PanelPicture& a_Picture, std::string& a_Error);

 private:
  void Handle(const SDL_Event& a_Event);
  void OnButtonDown(int a_Button, int a_X, int a_Y, int a_Clicks);
  void OnButtonUp(int a_Button);
  void OnMotion(int a_X, int a_Y);
  void Close();
  void Compose();
  void Present();
  void DrawMenu();
  bool InMenu(int a_X, int a_Y) const;
  bool ApplyShape(std::string& a_Error);
  void ServiceScript();

  Simulator& m_Simulator;
  const PanelModel& m_Model;
  const SkinBitmap& m_Skin;
  WindowOptions m_Options;

  SDL_Window* m_Window = nullptr;
  SDL_Renderer* m_Renderer = nullptr;
  SDL_Texture* m_Texture = nullptr;
  bool m_SdlStarted = false;
  int m_TimerId = 0;
  uint32_t m_TickEvent = 0;

  bool m_Shaped = false;
  bool m_Closed = false;
  bool m_Dragging = false;
  int m_DragX = 0, m_DragY = 0;  // cursor position on the screen when last seen
  bool m_MenuOpen = false;
  int m_MenuX = 0, m_MenuY = 0;
  bool m_Composed = false;
  int m_Ticks = 0;
  int m_Repaints = 0;
  long m_Cycles = 0;

  PanelScript* m_Script = nullptr;
  bool m_ScriptWaitsForTicks = false;
  long m_ScriptWaitUntil = 0;  // the tick or cycle count the script waits for
  int m_ScriptExit = 0;
};

// The host of a windowed run: the local time and the beeper as a short tone.
class WindowHost : public IHost {
 public:
  WindowHost() = default;
  ~WindowHost() override;
  WindowHost(const WindowHost&) = delete;
  WindowHost& operator=(const WindowHost&) = delete;

  HostTime Now() override;
  // A square-wave tone when an audio device opens; silence otherwise.
  void Beep(int a_Hertz, int a_Milliseconds) override;
  int BeepCount() const { return m_BeepCount; }

 private:
  bool OpenAudio();
  uint32_t m_Device = 0;
  int m_Rate = 0;
  bool m_AudioTried = false;
  bool m_AudioStarted = false;
  int m_BeepCount = 0;
};

// Opens the window and runs it until it is closed. Returns false with a_Error when the window
// cannot be made.
// With a_Script, its commands drive the panel while the window is shown.
bool RunWindow(Simulator& a_Simulator, const PanelModel& a_Model, const SkinBitmap& a_Skin,
               std::string& a_Error, const WindowOptions& a_Options = {},
               PanelScript* a_Script = nullptr);

// A message box (on the terminal when no window can show it).
void ShowMessage(const std::string& a_Title, const std::string& a_Text);

}  // namespace sim
