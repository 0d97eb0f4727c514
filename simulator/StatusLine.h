#pragma once
// The status texts the panel shows over its screen: program statuses (bits of a status word)
// and the communication state of every (port, station) the ports talk to. Each cycle the
// service picks the text to show and lets it blink; the screen manager redraws the status box
// when Changed() is set and draws CurrentText() while Visible().
#include <array>
#include <cstddef>
#include <cstdint>
#include <mutex>
#include <string>
#include <vector>

namespace sim {

class TickTimers;

class StatusLine {
 public:
  // Program statuses.
  static constexpr unsigned kDataInvalid = 4;  // a refused input; clears itself
  static constexpr unsigned kNoUserData = 5;   // the image is not usable; stays
  static constexpr uint32_t kDataInvalidTicks = 30;
  // A station's text shows once this many timeouts (or errors) came in a row.
  static constexpr unsigned kCountLimit = 10;
  static constexpr uint32_t kBlinkTicks = 4;

  // Raises program status 4 or 5 at tick a_Tick; other numbers are ignored.
  void Raise(unsigned a_Status, uint32_t a_Tick);
  bool IsRaised(unsigned a_Status) const;

  // The result of one transfer with a station (0 success, 2 timeout, 3 error); may be called
  // from the port threads. Counted at once: a port that fails without line time reports far
  // more often than the cycle runs, and a queue taken one report per cycle would keep showing
  // a failure long after the link came back.
  void Report(uint8_t a_Port, uint8_t a_Station, int a_Result);
  // Seconds a station's text stays visible after it first showed (0 = as long as it lasts).
  void SetDisplayTime(uint8_t a_Port, unsigned a_Seconds);

  // Once per cycle: expires status 4, chooses the text and blinks it.
  void Service(TickTimers& a_Timers, bool a_English);

  // The chosen text (GBK bytes), empty when there is none.
  const std::string& CurrentText() const { return m_Text; }
  bool Visible() const { return m_Visible; }
  bool Changed() const { return m_Changed; }
  void ClearChanged() { m_Changed = false; }

 private:
  struct Station {
    uint8_t port = 0;
    uint8_t station = 0;
    unsigned timeouts = 0;
    unsigned errors = 0;
    bool showing = false;
    uint32_t shownSince = 0;
  };

  std::string Choose(uint32_t a_Tick, bool a_English) const;

  // Guards the stations and the tick they are stamped with.
  mutable std::mutex m_ReportLock;
  uint32_t m_Tick = 0;

  uint16_t m_StatusWord = 0;
  uint32_t m_DataInvalidSince = 0;
  std::vector<Station> m_Stations;
  std::array<unsigned, 256> m_DisplaySeconds{};

  std::string m_Text;
  bool m_Visible = false;
  bool m_Changed = false;
};

}  // namespace sim
