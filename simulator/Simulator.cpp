#include "simulator/Simulator.h"

#include <optional>
#include <utility>

#include "common/ImageFormat.h"
#include "simulator/AlarmScan.h"
#include "simulator/DataTransfers.h"
#include "simulator/InputEditor.h"
#include "simulator/InternalMemory.h"
#include "simulator/SamplingGroups.h"
#include "simulator/KeyScanner.h"
#include "simulator/PanelContext.h"
#include "simulator/PlcPorts.h"
#include "simulator/RegisterAccessor.h"
#include "simulator/RegisterDescriptor.h"
#include "simulator/RetentiveStore.h"
#include "simulator/ScreenManager.h"
#include "simulator/SimClock.h"
#include "simulator/StatusLine.h"
#include "simulator/SystemSettings.h"
#include "simulator/TickTimers.h"

namespace sim {

struct Simulator::State {
  LaunchOptions options;
  IHost& host;
  SimImage image;
  SystemSettings settings;
  TickTimers timers;
  InternalMemory memory;
  RetentiveStore retentive;
  StatusLine status;
  SimClock clock;
  InputEditor input;
  AlarmScan alarms;
  SamplingGroups sampling;
  DataTransfers transfers;
  bool alarmFrameWanted = false;  // the alarm frame could not be shown yet
  std::unique_ptr<PlcPorts> ports;
  AccessContext access;
  PanelContext context;
  std::unique_ptr<ScreenManager> screen;
  KeyScanner scanner;
  uint32_t keyMask = 0;
  // Keys pressed since the last scan: a press released before the scan still counts as down
  // for that scan, so a click whose press and release come together gives a press and a release.
  uint32_t latchedKeys = 0;
  int encoder = 0;
  bool repaint = true;
  // Control registers: 0 frame request, 1 current frame.
  std::optional<RegisterAccessor> frameRequest;
  std::optional<RegisterAccessor> currentFrame;
  std::optional<int64_t> lastFrameRequest;

  State(const LaunchOptions& a_Options, IHost& a_Host,
        std::unique_ptr<RetentiveStorage> a_Retentive)
      : options(a_Options),
        host(a_Host),
        retentive(std::move(a_Retentive)),
        clock(a_Host),
        access{&memory, &retentive, nullptr, false},
        context{image, settings, timers, memory, access} {
    context.input = &input;
    context.status = &status;
    context.alarms = &alarms;
    context.sampling = &sampling;
  }

  std::optional<RegisterAccessor> MakeAccessor(uint32_t a_Descriptor) {
    auto descriptor = RegisterDescriptor::FromImage(image, a_Descriptor);
    if (!descriptor) return std::nullopt;
    return RegisterAccessor(*descriptor, access);
  }

  void ServiceControlRegister() {
    if (!frameRequest) return;
    auto value = frameRequest->ReadInt32(ReadMode::kPermanent);
    if (!value) return;
    if (lastFrameRequest && *lastFrameRequest == *value) return;
    lastFrameRequest = *value;
    if (*value != 0) screen->Post(ScreenManager::kJump, static_cast<int>(*value));
  }
};

Simulator::Simulator(const LaunchOptions& a_Options, IHost& a_Host)
    : Simulator(a_Options, a_Host, RetentiveStore::FileBesideImage(a_Options.imagePath)) {}

Simulator::Simulator(const LaunchOptions& a_Options, IHost& a_Host,
                     std::unique_ptr<RetentiveStorage> a_Retentive)
    : m_State(std::make_unique<State>(a_Options, a_Host, std::move(a_Retentive))) {}

Simulator::~Simulator() = default;

void Simulator::Start() {
  State& s = *m_State;
  s.image.Load(s.options.imagePath);
  Build();
}

void Simulator::StartWithImage(std::vector<uint8_t> a_Image) {
  m_State->image.Adopt(std::move(a_Image));
  Build();
}

void Simulator::Build() {
  State& s = *m_State;
  if (!s.image.Enabled()) s.status.Raise(StatusLine::kNoUserData, s.timers.Counter());
  s.settings = SystemSettings::FromImage(s.image);
  s.access.swapWords = (s.settings.flags & SystemSettings::kSwapWords) != 0;
  s.ports = std::make_unique<PlcPorts>(s.image, s.status, s.access.swapWords);
  s.access.plc = s.ports.get();
  s.frameRequest = s.MakeAccessor(s.settings.controlRegisters[0]);
  if (s.frameRequest) s.frameRequest->Request(RequestMode::kPermanent);
  s.currentFrame = s.MakeAccessor(s.settings.controlRegisters[1]);
  s.alarms.Load(s.image, s.access);
  s.sampling.Load(s.image, s.access, s.timers.Counter());
  s.transfers.Load(s.image, s.access, s.timers.Counter());
  uint16_t alarmFrame = s.image.Section(image::kAlarms) != 0 ? s.alarms.Frame() : 0;
  int width = std::max<int>(0, s.options.model.lcdWidth);
  int height = std::max<int>(0, s.options.model.lcdHeight);
  s.screen = std::make_unique<ScreenManager>(s.context, width, height, alarmFrame);
  s.context.screen = s.screen.get();
  s.screen->onFrameLeaving = [&s] { s.ports->BeginFrame(); };
  s.screen->onFrameShown = [&s] { s.ports->StartPolling(); };
  s.screen->onFrameLoaded = [&s](uint16_t a_Frame) {
    if (s.currentFrame) s.currentFrame->WriteInt32(a_Frame);
  };
  s.screen->Post(ScreenManager::kJump, s.settings.startFrame);
}

void Simulator::Tick() {
  m_State->timers.Advance();
  // Stepped ports spend the tick's line time; ports handed to threads keep their own time.
  if (m_State->ports) m_State->ports->Advance(kTickMilliseconds);
}

void Simulator::Cycle() {
  State& s = *m_State;
  if (!s.screen) return;  // not started
  ScreenManager& screen = *s.screen;
  uint16_t control = 0;
  s.memory.ReadWord(InternalMemory::kSimulationControl, control);
  s.ports->SetControl(control);
  // 1. Keys, then the encoder.
  KeyEvent event;
  const uint32_t scanned = s.keyMask | s.latchedKeys;
  s.latchedKeys = 0;
  if (s.scanner.Changed(scanned)) {
    event = s.scanner.Scan(scanned);
    if (screen.Wake(event.type == KeyEvent::kRelease)) event = {};
    if (event.type == KeyEvent::kPress && !(s.settings.flags & SystemSettings::kNoKeyBeep))
      s.host.Beep(1000, 100);
  }
  screen.DispatchKey(event);
  while (s.encoder != 0) {
    int step = s.encoder > 0 ? 1 : -1;
    if (!screen.Wake()) screen.EncoderStep(step);
    s.encoder -= step;
  }
  // 2. System settings: frame request, screen saver, passwords.
  s.ServiceControlRegister();
  screen.ServiceScreenSaver();
  screen.ServicePasswords();
  // 3, 4. Clock and status text.
  s.clock.Service(s.memory, s.timers);
  s.status.Service(s.timers, (s.settings.flags & SystemSettings::kEnglishTexts) != 0);
  if (s.status.Changed()) {
    screen.SetStatusText(s.status.CurrentText(), s.status.Visible());
    s.status.ClearChanged();
  }
  // 5. Alarms and the buzzer.
  const AlarmScan::Outcome alarms = s.alarms.Scan(s.host, s.timers);
  if (alarms.listEmptied && screen.AlarmFrame() != 0 && screen.CurrentFrame() == screen.AlarmFrame())
    screen.LeaveAlarmFrame();
  if (alarms.becameActive && s.alarms.AutoShow()) s.alarmFrameWanted = true;
  // A request is met by the alarm frame already shown, and void once no alarm is left; else
  // it would bring the frame back after the last alarm went.
  if (alarms.listEmptied || screen.CurrentFrame() == screen.AlarmFrame())
    s.alarmFrameWanted = false;
  if (s.alarmFrameWanted && screen.ShowAlarmFrame()) s.alarmFrameWanted = false;
  s.alarms.ServiceBuzzer(s.host, s.timers, (s.settings.flags & SystemSettings::kNoKeyBeep) != 0);
  // 6. Sampling groups.
  s.sampling.Service(s.timers.Counter());
  s.transfers.Service(s.timers.Counter(), screen.UserFrame());
  // 7. Frame switches, 8. cursor blink, 9. refresh, 10. paint.
  screen.ProcessQueue();
  s.input.Blink(s.timers);
  screen.Refresh();
  // A backlight change invalidates the whole screen, so it paints too.
  if (screen.Paint()) s.repaint = true;
}

void Simulator::SetKeyMask(uint32_t a_Mask) {
  m_State->latchedKeys |= a_Mask & ~m_State->keyMask;
  m_State->keyMask = a_Mask;
}
uint32_t Simulator::KeyMask() const { return m_State->keyMask; }
void Simulator::TurnEncoder(int a_Steps) {
  if (m_State->options.model.HasEncoder()) m_State->encoder += a_Steps;
}
const PanelModel& Simulator::Model() const { return m_State->options.model; }
int Simulator::LcdWidth() const {
  return m_State->screen ? m_State->screen->Screen().Width() : 0;
}
int Simulator::LcdHeight() const {
  return m_State->screen ? m_State->screen->Screen().Height() : 0;
}
const uint8_t* Simulator::LcdBits() const {
  return m_State->screen ? m_State->screen->Screen().Bits() : nullptr;
}
bool Simulator::BacklightOn() const { return !m_State->screen || m_State->screen->BacklightOn(); }
bool Simulator::TakeRepaintRequest() {
  bool repaint = m_State->repaint;
  m_State->repaint = false;
  return repaint;
}

PlcPorts* Simulator::Ports() { return m_State->ports.get(); }
const AlarmScan* Simulator::Alarms() const { return m_State->screen ? &m_State->alarms : nullptr; }

std::vector<uint16_t> Simulator::FrameNumbers() const {
  return FrameTable(m_State->image).Numbers();
}

uint16_t Simulator::CurrentFrame() const {
  return m_State->screen ? m_State->screen->CurrentFrame() : 0;
}

void Simulator::JumpTo(int a_Frame) {
  if (m_State->screen) m_State->screen->Post(ScreenManager::kJump, a_Frame);
}

bool Simulator::ReadWord(unsigned a_Address, uint16_t& a_Value) const {
  if (a_Address >= InternalMemory::kWordCount) return false;
  a_Value = m_State->memory.Word(a_Address);
  return true;
}

bool Simulator::WriteWord(unsigned a_Address, uint16_t a_Value) {
  if (a_Address >= InternalMemory::kWordCount) return false;
  return m_State->memory.WriteWord(a_Address, a_Value);
}

}  // namespace sim
