#pragma once
// What the run-time parts of the panel share: the image, its settings and the services the
// elements and the screen manager call. Owned by the Simulator; everything lives for the run.
#include "simulator/SimImage.h"
#include "simulator/SystemSettings.h"

namespace sim {

struct AccessContext;
class InternalMemory;
class ScreenManager;
class TickTimers;

struct PanelContext {
  const SimImage& image;
  const SystemSettings& settings;
  TickTimers& timers;
  InternalMemory& memory;
  const AccessContext& access;      // where the elements' registers are read and written
  ScreenManager* screen = nullptr;  // set once the screen manager exists
};

}  // namespace sim
