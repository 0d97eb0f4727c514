#include "simulator/app/SdlWindow.h"

#include "simulator/app/PanelScript.h"

#define SDL_MAIN_HANDLED
#include <SDL.h>
#include <SDL_shape.h>
#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <ctime>
#include <vector>

#include "simulator/app/PanelScript.h"

namespace sim {
namespace {

// Sends standard error to /dev/null while it lives.
class QuietStandardError {
 public:
  QuietStandardError() {
    std::fflush(stderr);
    m_Saved = dup(STDERR_FILENO);
    const int null = open("/dev/null", O_WRONLY | O_CLOEXEC);
    if (m_Saved >= 0 && null >= 0) dup2(null, STDERR_FILENO);
    if (null >= 0) close(null);
  }
  ~QuietStandardError() {
    if (m_Saved < 0) return;
    std::fflush(stderr);
    dup2(m_Saved, STDERR_FILENO);
    close(m_Saved);
  }
  QuietStandardError(const QuietStandardError&) = delete;
  QuietStandardError& operator=(const QuietStandardError&) = delete;

 private:
  int m_Saved = -1;
};

constexpr uint32_t kSubsystems = SDL_INIT_VIDEO | SDL_INIT_TIMER | SDL_INIT_EVENTS;

// The pop-up menu's single item, "&Close", in the 6 x 10 misc-fixed face; the mnemonic's
// underline is the last row.
constexpr int kLabelWidth = 30;
constexpr int kLabelHeight = 10;
constexpr const char* kCloseLabel[kLabelHeight] = {
    "..............................", ".###...##.....................",
    "#...#...#.....................", "#.......#....###...###...###..",
    "#.......#...#...#.#.....#...#.", "#.......#...#...#..###..#####.",
    "#...#...#...#...#.....#.#.....", ".###...###...###..####...###..",
    "..............................", "#####.........................",
};
constexpr int kMenuPadX = 10;
constexpr int kMenuPadY = 4;
constexpr int kMenuWidth = kLabelWidth + 2 * kMenuPadX;
constexpr int kMenuHeight = kLabelHeight + 2 * kMenuPadY;

uint32_t PushTick(uint32_t a_Interval, void* a_Param) {
  SDL_Event event{};
  event.type = static_cast<uint32_t>(reinterpret_cast<uintptr_t>(a_Param));
  SDL_PushEvent(&event);
  return a_Interval;
}

}  // namespace

SkinWindow::SkinWindow(Simulator& a_Simulator, const PanelModel& a_Model, const SkinBitmap& a_Skin,
                       const WindowOptions& a_Options)
    : m_Simulator(a_Simulator), m_Model(a_Model), m_Skin(a_Skin), m_Options(a_Options) {}

SkinWindow::~SkinWindow() {
  if (m_TimerId != 0) SDL_RemoveTimer(m_TimerId);
  if (m_Texture != nullptr) SDL_DestroyTexture(m_Texture);
  if (m_Renderer != nullptr) SDL_DestroyRenderer(m_Renderer);
  if (m_Window != nullptr) SDL_DestroyWindow(m_Window);
  if (m_SdlStarted) {
    // Tick events still queued would reach the next window of this process.
    if (m_TickEvent != 0) SDL_FlushEvent(m_TickEvent);
    SDL_QuitSubSystem(kSubsystems);
  }
}

bool SkinWindow::Open(std::string& a_Error) {
  if (m_Window != nullptr) return true;
  if (m_Skin.Empty()) {
    a_Error = "no skin picture";
    return false;
  }
  SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
  // The picture is drawn in software; keep SDL from putting a GL renderer behind the window's
  // surface (that loads the whole GL stack, even under the offscreen driver).
  SDL_SetHintWithPriority(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0", SDL_HINT_DEFAULT);
  if (SDL_InitSubSystem(kSubsystems) != 0) {
    a_Error = std::string("cannot start SDL: ") + SDL_GetError();
    return false;
  }
  m_SdlStarted = true;
  const int w = m_Skin.Width();
  const int h = m_Skin.Height();
  const char* title = m_Options.title.c_str();
  if ((m_Model.flags & PanelModel::kShapedWindow) != 0) {
    m_Window = SDL_CreateShapedWindow(title, SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED,
                                      static_cast<unsigned>(w), static_cast<unsigned>(h),
                                      SDL_WINDOW_BORDERLESS);
    std::string why;
    if (m_Window != nullptr && ApplyShape(why)) {
      m_Shaped = true;
    } else if (m_Window != nullptr) {
      SDL_DestroyWindow(m_Window);
      m_Window = nullptr;
    }
  }
  // Video drivers without shaped windows (offscreen, Wayland) get a plain borderless window.
  if (m_Window == nullptr) {
    m_Window = SDL_CreateWindow(title, SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED, w, h,
                                SDL_WINDOW_BORDERLESS | SDL_WINDOW_HIDDEN);
  }
  if (m_Window == nullptr) {
    a_Error = std::string("Set HMI size fail\xEF\xBC\x81 ") + SDL_GetError();
    return false;
  }
  m_Renderer = SDL_CreateRenderer(m_Window, -1, SDL_RENDERER_SOFTWARE);
  if (m_Renderer == nullptr) {
    a_Error = std::string("cannot draw into the window: ") + SDL_GetError();
    return false;
  }
  m_Texture = SDL_CreateTexture(m_Renderer, SDL_PIXELFORMAT_RGB24, SDL_TEXTUREACCESS_STREAMING, w, h);
  if (m_Texture == nullptr) {
    a_Error = std::string("cannot make the window picture: ") + SDL_GetError();
    return false;
  }
  SDL_ShowWindow(m_Window);
  m_TickEvent = SDL_RegisterEvents(1);
  if (m_TickEvent == static_cast<uint32_t>(-1)) {
    m_TickEvent = 0;
    a_Error = "no event number left for the tick timer";
    return false;
  }
  if (m_Options.tickTimer) {
    m_TimerId = SDL_AddTimer(static_cast<uint32_t>(std::max(m_Options.tickPeriodMs, 1)), PushTick,
                             reinterpret_cast<void*>(static_cast<uintptr_t>(m_TickEvent)));
    if (m_TimerId == 0) {
      a_Error = std::string("cannot start the tick timer: ") + SDL_GetError();
      return false;
    }
  }
  Compose();
  Present();
  return true;
}

bool SkinWindow::ApplyShape(std::string& a_Error) {
  const int w = m_Skin.Width();
  const int h = m_Skin.Height();
  SDL_Surface* shape = SDL_CreateRGBSurfaceWithFormat(0, w, h, 32, SDL_PIXELFORMAT_RGBA32);
  if (shape == nullptr) {
    a_Error = SDL_GetError();
    return false;
  }
  const std::vector<uint8_t> mask = m_Skin.OutlineMask();
  SDL_LockSurface(shape);
  for (int y = 0; y < h; ++y) {
    auto* row = static_cast<uint8_t*>(shape->pixels) + static_cast<std::ptrdiff_t>(y) * shape->pitch;
    for (int x = 0; x < w; ++x) {
      const uint8_t inside = mask[static_cast<std::size_t>(y) * w + x] ? 0xFF : 0;
      row[4 * x] = row[4 * x + 1] = row[4 * x + 2] = 0;
      row[4 * x + 3] = inside;
    }
  }
  SDL_UnlockSurface(shape);
  SDL_WindowShapeMode mode{};
  mode.mode = ShapeModeBinarizeAlpha;
  mode.parameters.binarizationCutoff = 128;
  const int result = SDL_SetWindowShape(m_Window, shape, &mode);
  SDL_FreeSurface(shape);
  if (result != 0) {
    a_Error = SDL_GetError();
    return false;
  }
  return true;
}

bool SkinWindow::Step() {
  if (m_Window == nullptr || m_Closed) return false;
  SDL_Event event;
  while (!m_Closed && SDL_PollEvent(&event)) Handle(event);
  if (m_Closed) return false;
  ServiceScript();
  m_Simulator.Cycle();
  ++m_Cycles;
  // A backlight change repaints the whole LCD, so it comes with a repaint request too.
  if (m_Simulator.TakeRepaintRequest()) {
    Compose();
    Present();
  }
  if (m_Options.cyclePauseMs > 0) SDL_Delay(static_cast<uint32_t>(m_Options.cyclePauseMs));
  return !m_Closed;
}

void SkinWindow::AttachScript(PanelScript& a_Script) {
  m_Script = &a_Script;
  m_ScriptWaitsForTicks = false;
  m_ScriptWaitUntil = m_Cycles;
}

void SkinWindow::ServiceScript() {
  if (m_Script == nullptr) return;
  if ((m_ScriptWaitsForTicks ? m_Ticks : m_Cycles) < m_ScriptWaitUntil) return;
  const PanelScript::Step step = m_Script->Next();
  if (step.kind == PanelScript::Step::kEnd) {
    m_ScriptExit = step.exitCode;
    m_Script = nullptr;
    return;
  }
  m_ScriptWaitsForTicks = step.kind == PanelScript::Step::kTicks;
  m_ScriptWaitUntil = (m_ScriptWaitsForTicks ? m_Ticks : m_Cycles) + step.count;
}

void SkinWindow::Run() {
  while (Step()) {
  }
}

int SkinWindow::RunCycles(int a_Passes) {
  int cycles = 0;
  for (int i = 0; i < a_Passes && Step(); ++i) ++cycles;
  return cycles;
}

void SkinWindow::Handle(const SDL_Event& a_Event) {
  if (m_TickEvent != 0 && a_Event.type == m_TickEvent) {
    m_Simulator.Tick();
    ++m_Ticks;
    return;
  }
  switch (a_Event.type) {
    case SDL_QUIT:
      Close();
      break;
    case SDL_WINDOWEVENT:
      if (a_Event.window.event == SDL_WINDOWEVENT_CLOSE) Close();
      if (a_Event.window.event == SDL_WINDOWEVENT_EXPOSED) Present();
      break;
    case SDL_MOUSEBUTTONDOWN:
      OnButtonDown(a_Event.button.button, a_Event.button.x, a_Event.button.y, a_Event.button.clicks);
      break;
    case SDL_MOUSEBUTTONUP:
      OnButtonUp(a_Event.button.button);
      break;
    case SDL_MOUSEMOTION:
      OnMotion(a_Event.motion.x, a_Event.motion.y);
      break;
    case SDL_MOUSEWHEEL: {
      if (!m_Model.HasEncoder()) break;
      int notches = a_Event.wheel.y;
      if (a_Event.wheel.direction == SDL_MOUSEWHEEL_FLIPPED) notches = -notches;
      // One encoder step per notch; a purely sideways scroll turns nothing.
      if (notches != 0) m_Simulator.TurnEncoder(notches);
      break;
    }
    case SDL_KEYDOWN: {
      const SDL_Keycode key = a_Event.key.keysym.sym;
      if (key == SDLK_ESCAPE && m_MenuOpen) {
        m_MenuOpen = false;
        Present();
      } else if (key == SDLK_RETURN || key == SDLK_KP_ENTER || key == SDLK_ESCAPE ||
                 key == SDLK_SPACE) {
        Close();
      }
      break;
    }
    default:
      break;
  }
}

void SkinWindow::OnButtonDown(int a_Button, int a_X, int a_Y, int a_Clicks) {
  if (m_MenuOpen) {
    // A click on the item chooses it; any other click only takes the menu away.
    const bool chosen = a_Button == SDL_BUTTON_LEFT && InMenu(a_X, a_Y);
    m_MenuOpen = false;
    if (chosen) {
      Close();
    } else {
      Present();
    }
    return;
  }
  if (a_Button == SDL_BUTTON_RIGHT) {
    m_MenuOpen = true;
    m_MenuX = std::clamp(a_X, 0, std::max(m_Skin.Width() - kMenuWidth, 0));
    m_MenuY = std::clamp(a_Y, 0, std::max(m_Skin.Height() - kMenuHeight, 0));
    Present();
    return;
  }
  if (a_Button != SDL_BUTTON_LEFT) return;
  if (const int area = m_Model.KeyAt(a_X, a_Y); area != 0) {
    m_Simulator.SetKeyMask(PanelModel::KeyBit(area));
    return;
  }
  if (a_Clicks >= 2) return;  // a double click never starts a drag
  int wx = 0, wy = 0;
  SDL_GetWindowPosition(m_Window, &wx, &wy);
  m_Dragging = true;
  m_DragX = wx + a_X;
  m_DragY = wy + a_Y;
  SDL_CaptureMouse(SDL_TRUE);
}

void SkinWindow::OnButtonUp(int a_Button) {
  if (a_Button != SDL_BUTTON_LEFT) return;
  if (m_Dragging) {
    m_Dragging = false;
    SDL_CaptureMouse(SDL_FALSE);
  }
  m_Simulator.SetKeyMask(0);
}

void SkinWindow::OnMotion(int a_X, int a_Y) {
  if (!m_Dragging) return;
  // The event is relative to the window, which moves with the drag: follow the cursor on the
  // screen instead.
  int wx = 0, wy = 0;
  SDL_GetWindowPosition(m_Window, &wx, &wy);
  const int sx = wx + a_X;
  const int sy = wy + a_Y;
  if (sx != m_DragX || sy != m_DragY) {
    SDL_SetWindowPosition(m_Window, wx + sx - m_DragX, wy + sy - m_DragY);
    m_DragX = sx;
    m_DragY = sy;
  }
}

void SkinWindow::Close() {
  m_Closed = true;
  m_MenuOpen = false;
  if (m_Dragging) SDL_CaptureMouse(SDL_FALSE);
  m_Dragging = false;
  if (m_Window != nullptr) SDL_HideWindow(m_Window);
}

void SkinWindow::Compose() {
  const PanelPicture picture =
      ComposePanelPicture(m_Skin, m_Model, m_Simulator.LcdBits(), m_Simulator.LcdWidth(),
                          m_Simulator.LcdHeight(), m_Simulator.BacklightOn());
  SDL_UpdateTexture(m_Texture, nullptr, picture.rgb.data(), picture.width * 3);
  m_Composed = true;
  ++m_Repaints;
}

void SkinWindow::Present() {
  if (m_Renderer == nullptr || !m_Composed) return;
  SDL_RenderCopy(m_Renderer, m_Texture, nullptr, nullptr);
  if (m_MenuOpen) DrawMenu();
  SDL_RenderPresent(m_Renderer);
}

void SkinWindow::DrawMenu() {
  const SDL_Rect box{m_MenuX, m_MenuY, kMenuWidth, kMenuHeight};
  SDL_SetRenderDrawColor(m_Renderer, 240, 240, 240, 255);
  SDL_RenderFillRect(m_Renderer, &box);
  SDL_SetRenderDrawColor(m_Renderer, 100, 100, 100, 255);
  SDL_RenderDrawRect(m_Renderer, &box);
  std::vector<SDL_Point> ink;
  for (int y = 0; y < kLabelHeight; ++y)
    for (int x = 0; x < kLabelWidth; ++x)
      if (kCloseLabel[y][x] == '#')
        ink.push_back({m_MenuX + kMenuPadX + x, m_MenuY + kMenuPadY + y});
  SDL_SetRenderDrawColor(m_Renderer, 0, 0, 0, 255);
  SDL_RenderDrawPoints(m_Renderer, ink.data(), static_cast<int>(ink.size()));
}

bool SkinWindow::InMenu(int a_X, int a_Y) const {
  return a_X >= m_MenuX && a_X < m_MenuX + kMenuWidth && a_Y >= m_MenuY &&
         a_Y < m_MenuY + kMenuHeight;
}

void SkinWindow::InjectMouseButton(bool a_Down, int a_Button, int a_X, int a_Y, int a_Clicks) {
  SDL_Event event{};
  event.type = a_Down ? SDL_MOUSEBUTTONDOWN : SDL_MOUSEBUTTONUP;
  event.button.windowID = m_Window != nullptr ? SDL_GetWindowID(m_Window) : 0;
  event.button.button = static_cast<uint8_t>(a_Button);
  event.button.state = a_Down ? SDL_PRESSED : SDL_RELEASED;
  event.button.clicks = static_cast<uint8_t>(a_Clicks);
  event.button.x = a_X;
  event.button.y = a_Y;
  SDL_PushEvent(&event);
}

void SkinWindow::InjectMouseMotion(int a_X, int a_Y) {
  SDL_Event event{};
  event.type = SDL_MOUSEMOTION;
  event.motion.windowID = m_Window != nullptr ? SDL_GetWindowID(m_Window) : 0;
  event.motion.x = a_X;
  event.motion.y = a_Y;
  SDL_PushEvent(&event);
}

void SkinWindow::InjectWheel(int a_Notches) {
  SDL_Event event{};
  event.type = SDL_MOUSEWHEEL;
  event.wheel.windowID = m_Window != nullptr ? SDL_GetWindowID(m_Window) : 0;
  event.wheel.y = a_Notches;
  event.wheel.direction = SDL_MOUSEWHEEL_NORMAL;
  SDL_PushEvent(&event);
}

void SkinWindow::InjectKey(int32_t a_Keycode) {
  SDL_Event event{};
  event.type = SDL_KEYDOWN;
  event.key.windowID = m_Window != nullptr ? SDL_GetWindowID(m_Window) : 0;
  event.key.state = SDL_PRESSED;
  event.key.keysym.sym = a_Keycode;
  SDL_PushEvent(&event);
}

void SkinWindow::InjectClose() {
  SDL_Event event{};
  event.type = SDL_WINDOWEVENT;
  event.window.windowID = m_Window != nullptr ? SDL_GetWindowID(m_Window) : 0;
  event.window.event = SDL_WINDOWEVENT_CLOSE;
  SDL_PushEvent(&event);
}

bool SkinWindow::ReadPixels(PanelPicture& a_Picture, std::string& a_Error) {
  if (m_Renderer == nullptr) {
    a_Error = "the window is not open";
    return false;
  }
  int w = 0, h = 0;
  if (SDL_GetRendererOutputSize(m_Renderer, &w, &h) != 0) {
    a_Error = SDL_GetError();
    return false;
  }
  a_Picture.width = w;
  a_Picture.height = h;
  a_Picture.rgb.assign(static_cast<std::size_t>(w) * h * 3, 0);
  if (SDL_RenderReadPixels(m_Renderer, nullptr, SDL_PIXELFORMAT_RGB24, a_Picture.rgb.data(), w * 3) != 0) {
    a_Error = SDL_GetError();
    return false;
  }
  return true;
}

WindowHost::~WindowHost() {
  if (m_Device != 0) SDL_CloseAudioDevice(m_Device);
  if (m_AudioStarted) SDL_QuitSubSystem(SDL_INIT_AUDIO);
}

HostTime WindowHost::Now() {
  const std::time_t now = std::time(nullptr);
  std::tm local{};
  localtime_r(&now, &local);
  return {local.tm_year + 1900, local.tm_mon + 1, local.tm_mday,
          local.tm_hour,        local.tm_min,     std::min(local.tm_sec, 59)};
}

bool WindowHost::OpenAudio() {
  if (m_AudioTried) return m_Device != 0;
  m_AudioTried = true;
  {
    // The sound libraries below SDL report a missing device in many lines of their own.
    QuietStandardError quiet;
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) == 0) {
      m_AudioStarted = true;
      SDL_AudioSpec want{};
      want.freq = 22050;
      want.format = AUDIO_S16SYS;
      want.channels = 1;
      want.samples = 512;
      SDL_AudioSpec have{};
      m_Device = SDL_OpenAudioDevice(nullptr, 0, &want, &have, 0);
      m_Rate = have.freq;
    }
  }
  if (m_Device == 0) {
    std::fprintf(stderr, "PanSim: no sound device, the panel's beeps are silent\n");
    return false;
  }
  SDL_PauseAudioDevice(m_Device, 0);
  return true;
}

void WindowHost::Beep(int a_Hertz, int a_Milliseconds) {
  ++m_BeepCount;
  if (a_Hertz <= 0 || a_Milliseconds <= 0 || !OpenAudio()) return;
  // Do not let beeps pile up beyond a second of sound.
  if (SDL_GetQueuedAudioSize(m_Device) > static_cast<uint32_t>(m_Rate) * 2) return;
  const int hertz = std::clamp(a_Hertz, 20, 10000);
  const int count = m_Rate * std::min(a_Milliseconds, 2000) / 1000;
  const int fade = std::min(count / 4, m_Rate / 500);  // soft edges, no clicks
  std::vector<int16_t> samples(static_cast<std::size_t>(count));
  for (int i = 0; i < count; ++i) {
    const bool high = static_cast<long>(i) * 2 * hertz / m_Rate % 2 == 0;
    double level = 6000;
    if (fade > 0 && i < fade) level *= static_cast<double>(i) / fade;
    if (fade > 0 && count - i < fade) level *= static_cast<double>(count - i) / fade;
    samples[i] = static_cast<int16_t>(high ? level : -level);
  }
  SDL_QueueAudio(m_Device, samples.data(), static_cast<uint32_t>(samples.size() * sizeof(int16_t)));
}

bool RunWindow(Simulator& a_Simulator, const PanelModel& a_Model, const SkinBitmap& a_Skin,
               std::string& a_Error, const WindowOptions& a_Options, PanelScript* a_Script) {
  SkinWindow window(a_Simulator, a_Model, a_Skin, a_Options);
  if (!window.Open(a_Error)) return false;
  if (a_Script != nullptr) window.AttachScript(*a_Script);
  window.Run();
  return true;
}

void ShowMessage(const std::string& a_Title, const std::string& a_Text) {
  if (SDL_ShowSimpleMessageBox(SDL_MESSAGEBOX_INFORMATION, a_Title.c_str(), a_Text.c_str(), nullptr) != 0)
    std::fprintf(stderr, "%s: %s\n", a_Title.c_str(), a_Text.c_str());
}

}  // namespace sim
