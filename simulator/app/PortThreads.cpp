#include "simulator/app/PortThreads.h"

#include <chrono>

#include "simulator/PlcPorts.h"

namespace sim {

PortThreads::PortThreads(PlcPorts& a_Ports) {
  for (PortWorker* worker : a_Ports.HandOver()) {
    worker->SetSleep([this](int a_Ms) { Sleep(a_Ms); });
    m_Threads.emplace_back([this, worker] { Run(*worker); });
  }
}

PortThreads::~PortThreads() { Stop(); }

void PortThreads::Stop() {
  {
    std::lock_guard<std::mutex> lock(m_Lock);
    m_Stopping = true;
  }
  m_Wake.notify_all();
  for (std::thread& thread : m_Threads)
    if (thread.joinable()) thread.join();
}

bool PortThreads::Sleep(int a_Ms) {
  std::unique_lock<std::mutex> lock(m_Lock);
  return !m_Wake.wait_for(lock, std::chrono::milliseconds(a_Ms), [this] { return m_Stopping; });
}

void PortThreads::Run(PortWorker& a_Worker) {
  a_Worker.StartUp();
  for (;;) {
    {
      std::lock_guard<std::mutex> lock(m_Lock);
      if (m_Stopping) return;
    }
    a_Worker.Turn();
  }
}

}  // namespace sim
