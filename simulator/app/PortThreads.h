#pragma once
// Runs the port workers of a simulator each on a thread of its own, sleeping for real: the
// driver's line time, the pause after each call and the idle sleeps pass on the wall clock.
// Stopping wakes every sleep at once and joins the threads; it happens at the latest when the
// object goes, which must be before the simulator goes.
#include <condition_variable>
#include <mutex>
#include <thread>
#include <vector>

namespace sim {

class PlcPorts;
class PortWorker;

class PortThreads {
 public:
  explicit PortThreads(PlcPorts& a_Ports);
  ~PortThreads();
  PortThreads(const PortThreads&) = delete;
  PortThreads& operator=(const PortThreads&) = delete;

  void Stop();
  std::size_t Count() const { return m_Threads.size(); }

 private:
  void Run(PortWorker& a_Worker);
  // Sleeps a_Ms milliseconds unless Stop() comes first; false once stopping.
  bool Sleep(int a_Ms);

  std::mutex m_Lock;
  std::condition_variable m_Wake;
  bool m_Stopping = false;
  std::vector<std::thread> m_Threads;
};

}  // namespace sim
