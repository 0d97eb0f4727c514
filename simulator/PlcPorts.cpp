#include "simulator/PlcPorts.h"

#include "simulator/StatusLine.h"

namespace sim {

PlcPorts::PlcPorts(const SimImage& a_Image, StatusLine& a_Status, bool a_SwapWords) {
  for (const PortSettings& settings : PortSettings::FromImage(a_Image)) {
    a_Status.SetDisplayTime(settings.port, settings.errorSeconds);
    if (settings.port > 1 || m_Workers[settings.port]) continue;
    m_Workers[settings.port] =
        std::make_unique<PortWorker>(settings, m_Lock, m_Plc, a_Status, m_Control, a_SwapWords);
  }
}

bool PlcPorts::Fetch(RegisterAccessor& a_Accessor, uint8_t* a_Bytes, ReadMode a_Mode) {
  PortWorker* worker = Worker(a_Accessor.Descriptor().port);
  return worker != nullptr && worker->Fetch(a_Accessor, a_Bytes, a_Mode);
}

void PlcPorts::Request(RegisterAccessor& a_Accessor, RequestMode a_Mode) {
  if (PortWorker* worker = Worker(a_Accessor.Descriptor().port)) worker->Request(a_Accessor, a_Mode);
}

bool PlcPorts::Store(RegisterAccessor& a_Accessor, const uint8_t* a_Bytes, std::size_t a_Length) {
  PortWorker* worker = Worker(a_Accessor.Descriptor().port);
  return worker != nullptr && worker->Store(a_Accessor, a_Bytes, a_Length);
}

bool PlcPorts::Modify(RegisterAccessor& a_Accessor, const ModifyOperation& a_Operation) {
  PortWorker* worker = Worker(a_Accessor.Descriptor().port);
  return worker != nullptr && worker->Modify(a_Accessor, a_Operation);
}

void PlcPorts::BeginFrame() {
  for (auto& worker : m_Workers)
    if (worker) worker->BeginFrame();
}

void PlcPorts::StartPolling() {
  for (auto& worker : m_Workers)
    if (worker) worker->StartPolling();
}

void PlcPorts::Advance(int a_Milliseconds) {
  if (!m_Stepped) return;
  for (std::size_t i = 0; i < m_Workers.size(); ++i) {
    PortWorker* worker = m_Workers[i].get();
    if (worker == nullptr) continue;
    int64_t& budget = m_Budget[i];
    budget += a_Milliseconds;
    worker->SetSleep([&budget](int a_Ms) { budget -= a_Ms; });
    if (!m_Started) worker->StartUp();
    while (budget > 0) worker->Turn();
  }
  m_Started = true;
}

std::vector<PortWorker*> PlcPorts::HandOver() {
  m_Stepped = false;
  std::vector<PortWorker*> workers;
  for (auto& worker : m_Workers)
    if (worker) workers.push_back(worker.get());
  return workers;
}

}  // namespace sim
