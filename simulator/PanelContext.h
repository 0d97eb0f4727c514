#pragma once
// What the run-time parts of the panel share: the image, its settings and the services the
// elements and the screen manager call. Owned by the Simulator; everything lives for the run.
#include "simulator/SimImage.h"
#include "simulator/SystemSettings.h"

namespace sim {

struct AccessContext;
class AlarmScan;
class InputEditor;
class InternalMemory;
class SamplingGroups;
class ScreenManager;
class StatusLine;
class TickTimers;

struct PanelContext {
  const SimImage& image;
  const SystemSettings& settings;
  TickTimers& timers;
  InternalMemory& memory;
  const AccessContext& access;      // where the elements' registers are read and written
  ScreenManager* screen = nullptr;  // set once the screen manager exists
  InputEditor* input = nullptr;
  StatusLine* status = nullptr;
  const AlarmScan* alarms = nullptr;
  const SamplingGroups* sampling = nullptr;
};

}  // namespace sim
