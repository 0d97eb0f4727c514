#include "simulator/app/PanelScript.h"

#include <algorithm>
#include <charconv>
#include <cstdio>
#include <istream>
#include <ostream>
#include <sstream>

#include "platform/ProgramDirectory.h"
#include "simulator/AlarmScan.h"
#include "simulator/PlcPorts.h"
#include "simulator/Simulator.h"
#include "simulator/app/PngWriter.h"

namespace sim {
namespace {

bool ParseNumber(const std::string& a_Text, long& a_Value) {
  int base = 10;
  std::size_t start = 0;
  bool negative = false;
  if (start < a_Text.size() && (a_Text[start] == '-' || a_Text[start] == '+')) {
    negative = a_Text[start] == '-';
    ++start;
  }
  if (a_Text.compare(start, 2, "0x") == 0 || a_Text.compare(start, 2, "0X") == 0) {
    base = 16;
    start += 2;
  }
  const char* first = a_Text.data() + start;
  const char* last = a_Text.data() + a_Text.size();
  auto [end, error] = std::from_chars(first, last, a_Value, base);
  if (error != std::errc() || end != last || first == last) return false;
  if (negative) a_Value = -a_Value;
  return true;
}

PanelScript::Step Pause(PanelScript::Step::Kind a_Kind, long a_Count) {
  return {a_Kind, a_Count, 0};
}

PanelScript::Step End(int a_Code) { return {PanelScript::Step::kEnd, 0, a_Code}; }

}  // namespace

PanelScript::PanelScript(Simulator& a_Simulator, std::istream& a_Script, std::ostream& a_Out,
                         std::ostream& a_Err, std::function<int()> a_BeepCount)
    : m_Simulator(a_Simulator),
      m_Script(a_Script),
      m_Out(a_Out),
      m_Err(a_Err),
      m_BeepCount(std::move(a_BeepCount)) {}

PanelScript::Step PanelScript::Next() {
  if (m_Ended) return End(m_ExitCode);
  for (;;) {
    std::optional<Step> step;
    if (m_Actions.empty()) {
      step = Read();
    } else {
      Action action = std::move(m_Actions.front());
      m_Actions.pop_front();
      step = action();
    }
    if (!step) continue;
    if (step->kind == Step::kEnd) {
      m_Ended = true;
      m_ExitCode = step->exitCode;
    }
    return *step;
  }
}

std::optional<PanelScript::Step> PanelScript::Read() {
  std::string line;
  if (!std::getline(m_Script, line)) return End(0);
  ++m_Line;
  if (!line.empty() && line.back() == '\r') line.pop_back();
  std::istringstream words(line);
  std::vector<std::string> parts;
  for (std::string word; words >> word;) parts.push_back(word);
  if (parts.empty() || parts[0][0] == '#') return std::nullopt;
  auto step = Parse(parts);
  // A window's script runs while a person watches: its output shows as it comes.
  m_Out.flush();
  return step;
}

std::optional<PanelScript::Step> PanelScript::Broken(const std::string& a_Why) {
  m_Err << "PanSim: script line " << m_Line << ": " << a_Why << '\n';
  return End(2);
}

std::optional<PanelScript::Step> PanelScript::Fail(const std::string& a_Why) {
  m_Err << "PanSim: line " << m_Line << ": " << a_Why << '\n';
  return End(1);
}

std::optional<PanelScript::Step> PanelScript::Parse(const std::vector<std::string>& a_Words) {
  const std::string& command = a_Words[0];
  if (command.rfind("plc-", 0) == 0) return Plc(command, a_Words);
  std::vector<long> numbers;
  for (std::size_t i = 1; i < a_Words.size(); ++i) {
    if (command == "lcd" || command == "panel") break;
    long value = 0;
    if (!ParseNumber(a_Words[i], value)) return Broken("not a number: " + a_Words[i]);
    numbers.push_back(value);
  }
  auto want = [&](std::size_t a_Min, std::size_t a_Max) {
    return numbers.size() >= a_Min && numbers.size() <= a_Max;
  };
  auto cycleAfter = [this] { m_Actions.push_back([] { return Pause(Step::kCycles, 1); }); };
  if ((command == "press" || command == "click") && want(1, 1)) {
    if (numbers[0] < 1 || numbers[0] > kKeyCount) return Broken("keys are 1..32");
    m_Simulator.SetKeyMask(PanelModel::KeyBit(static_cast<int>(numbers[0])));
    cycleAfter();
    if (command == "click") {
      m_Actions.push_back([this]() -> std::optional<Step> {
        m_Simulator.SetKeyMask(0);
        return std::nullopt;
      });
      cycleAfter();
    }
  } else if (command == "release" && want(0, 0)) {
    m_Simulator.SetKeyMask(0);
    cycleAfter();
  } else if (command == "encoder" && want(1, 1)) {
    if (!m_Simulator.Model().HasEncoder())
      m_Err << "PanSim: line " << m_Line << ": this panel has no encoder\n";
    m_Simulator.TurnEncoder(static_cast<int>(numbers[0]));
    cycleAfter();
  } else if ((command == "tick" || command == "wait") && want(0, 1)) {
    long ticks = numbers.empty() ? 1 : numbers[0];
    if (command == "wait") ticks *= 10;
    if (ticks < 0 || ticks > 100L * 3600 * 10) return Broken("tick count out of range");
    if (ticks > 0) return Pause(Step::kTicks, ticks);
  } else if (command == "cycle" && want(0, 1)) {
    long cycles = numbers.empty() ? 1 : numbers[0];
    if (cycles < 0 || cycles > 1000000) return Broken("cycle count out of range");
    if (cycles > 0) return Pause(Step::kCycles, cycles);
  } else if (command == "set" && want(2, 2)) {
    if (numbers[0] < 0 || !m_Simulator.WriteWord(static_cast<unsigned>(numbers[0]),
                                                 static_cast<uint16_t>(numbers[1])))
      return Broken("internal words are 0..255");
  } else if (command == "set32" && want(2, 2)) {
    uint32_t value = static_cast<uint32_t>(numbers[1]);
    if (numbers[0] < 0 || numbers[0] > 254 ||
        !m_Simulator.WriteWord(static_cast<unsigned>(numbers[0]) + 1,
                               static_cast<uint16_t>(value >> 16)) ||
        !m_Simulator.WriteWord(static_cast<unsigned>(numbers[0]),
                               static_cast<uint16_t>(value & 0xFFFF)))
      return Broken("a 32-bit value needs words WORD and WORD+1 within 0..255");
  } else if ((command == "get" && want(1, 1)) || (command == "expect" && want(2, 2))) {
    uint16_t value = 0;
    if (numbers[0] < 0 || !m_Simulator.ReadWord(static_cast<unsigned>(numbers[0]), value))
      return Broken("internal words are 0..255");
    if (command == "get") {
      m_Out << numbers[0] << " = " << value << '\n';
    } else if (value != static_cast<uint16_t>(numbers[1])) {
      return Fail("word " + std::to_string(numbers[0]) + " is " + std::to_string(value) +
                  ", expected " + std::to_string(numbers[1]));
    }
  } else if (command == "expect-beeps" && want(1, 1)) {
    const int beeps = m_BeepCount ? m_BeepCount() : 0;
    if (beeps != numbers[0])
      return Fail(std::to_string(beeps) + " beeps, expected " + std::to_string(numbers[0]));
  } else if (command == "alarms" && want(0, 0)) {
    PrintAlarms();
  } else if ((command == "lcd" || command == "panel") && a_Words.size() == 2) {
    return Screenshot(command == "panel", a_Words[1]);
  } else {
    return Broken("cannot read \"" + command + "\" with " + std::to_string(a_Words.size() - 1) +
                  " argument(s)");
  }
  return std::nullopt;
}

const PlcRegisterTypes& PanelScript::TypesOf(uint8_t a_Port) {
  auto found = m_Types.find(a_Port);
  if (found != m_Types.end()) return found->second;
  uint16_t protocol = 0;
  if (PlcPorts* ports = m_Simulator.Ports())
    if (PortWorker* worker = ports->Worker(a_Port)) protocol = worker->Settings().protocol;
  const std::string library = (ProgramDirectory() / "lib" / "plc").string();
  return m_Types.emplace(a_Port, PlcRegisterTypes::Load(library, protocol)).first->second;
}

std::optional<PanelScript::Step> PanelScript::Plc(const std::string& a_Command,
                                                   const std::vector<std::string>& a_Words) {
  const bool set = a_Command == "plc-set", get = a_Command == "plc-get",
             expect = a_Command == "plc-expect";
  const std::size_t wanted = get ? 5 : 6;
  if ((!set && !get && !expect) || a_Words.size() != wanted)
    return Broken("cannot read \"" + a_Command + "\" with " +
                  std::to_string(a_Words.size() - 1) + " argument(s)");
  long port = 0, station = 0, address = 0, value = 0;
  if (!ParseNumber(a_Words[1], port) || port < 0 || port > 255)
    return Broken("not a port number: " + a_Words[1]);
  if (!ParseNumber(a_Words[2], station) || station < 0 || station > 255)
    return Broken("not a station number: " + a_Words[2]);
  if (!ParseNumber(a_Words[4], address) || address < 0 || address > 0xFFFFFFFFL)
    return Broken("not an address: " + a_Words[4]);
  if (wanted == 6 && !ParseNumber(a_Words[5], value)) return Broken("not a number: " + a_Words[5]);
  PlcPorts* ports = m_Simulator.Ports();
  if (ports == nullptr) return Broken("the panel has not started");
  const auto type = TypesOf(static_cast<uint8_t>(port)).Find(a_Words[3]);
  if (!type) return Broken("not a register type of port " + a_Words[1] + ": " + a_Words[3]);

  SimulatedPlc& plc = ports->Plc();
  const uint32_t key = SimulatedPlc::Key(static_cast<uint8_t>(port),
                                         static_cast<uint8_t>(station), type->code);
  const std::size_t width = type->widthBytes;
  const uint64_t location = width == 0 ? uint64_t(address)
                                       : uint64_t(address) * std::max(1u, type->addressBytes);
  uint8_t bytes[4] = {};
  if (set) {
    for (std::size_t i = 0; i < 4; ++i)
      bytes[i] = static_cast<uint8_t>(static_cast<unsigned long>(value) >> (8 * i));
    if (width == 0) {
      bytes[0] &= 1;
      plc.WriteBits(key, location, bytes, 1);
    } else {
      if (type->bigEndian) std::reverse(bytes, bytes + width);
      plc.WriteBytes(key, location, bytes, width);
    }
    return std::nullopt;
  }
  unsigned long held = 0;
  if (width == 0) {
    plc.ReadBits(key, location, bytes, 1);
    held = bytes[0] & 1u;
  } else {
    plc.ReadBytes(key, location, bytes, width);
    if (type->bigEndian) std::reverse(bytes, bytes + width);
    for (std::size_t i = width; i-- > 0;) held = held << 8 | bytes[i];
  }
  const std::string name = "plc " + a_Words[1] + " " + a_Words[2] + " " + a_Words[3] + " " +
                           a_Words[4];
  if (get) {
    m_Out << name << " = " << held << '\n';
    return std::nullopt;
  }
  const unsigned long mask = width == 0 ? 1ul : width >= 4 ? 0xFFFFFFFFul : (1ul << (8 * width)) - 1;
  if ((static_cast<unsigned long>(value) & mask) != held)
    return Fail(name + " is " + std::to_string(held) + ", expected " + a_Words[5]);
  return std::nullopt;
}

void PanelScript::PrintAlarms() {
  const AlarmScan* alarms = m_Simulator.Alarms();
  if (alarms == nullptr || alarms->ActiveAlarms().empty()) {
    m_Out << "no active alarm\n";
    return;
  }
  m_Out << alarms->ActiveAlarms().size() << " active alarm(s), newest first\n";
  for (const AlarmScan::Active& active : alarms->ActiveAlarms()) {
    const HostTime& t = active.since;
    char since[40];
    std::snprintf(since, sizeof since, "%04d-%02d-%02d %02d:%02d:%02d", t.year, t.month, t.day,
                  t.hour, t.minute, t.second);
    m_Out << "alarm " << active.alarm << " since " << since << '\n';
  }
}

std::optional<PanelScript::Step> PanelScript::Screenshot(bool a_Panel, const std::string& a_Path) {
  std::string error;
  bool written;
  if (!a_Panel) {
    written = WriteLcdPng(a_Path, m_Simulator.LcdBits(), m_Simulator.LcdWidth(),
                          m_Simulator.LcdHeight(), error);
  } else {
    if (!m_Skin) {
      m_Skin.emplace();
      if (!m_Skin->LoadSkin(m_Simulator.Model().skinName, error)) {
        m_Skin.reset();
        return Fail(error);
      }
    }
    PanelPicture picture =
        ComposePanelPicture(*m_Skin, m_Simulator.Model(), m_Simulator.LcdBits(),
                            m_Simulator.LcdWidth(), m_Simulator.LcdHeight(),
                            m_Simulator.BacklightOn());
    written = WriteRgbPng(a_Path, picture.rgb.data(), picture.width, picture.height, error);
  }
  if (!written) return Fail(error);
  m_Out << "wrote " << a_Path << '\n';
  return std::nullopt;
}

}  // namespace sim
