#include "simulator/app/HeadlessRunner.h"

#include <charconv>
#include <istream>
#include <memory>
#include <optional>
#include <ostream>
#include <sstream>
#include <vector>

#include "simulator/RetentiveStore.h"
#include "simulator/Simulator.h"
#include "simulator/app/HeadlessHost.h"
#include "simulator/app/PngWriter.h"
#include "simulator/app/SkinBitmap.h"

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

std::unique_ptr<RetentiveStorage> RetentiveFor(const LaunchOptions& a_Launch, bool a_Keep) {
  if (a_Keep) return RetentiveStore::FileBesideImage(a_Launch.imagePath);
  return std::make_unique<RetentiveMemoryStorage>();
}

class Runner {
 public:
  Runner(const LaunchOptions& a_Launch, bool a_KeepRetentive, std::ostream& a_Out,
         std::ostream& a_Err)
      : m_Simulator(a_Launch, m_Host, RetentiveFor(a_Launch, a_KeepRetentive)),
        m_Out(a_Out),
        m_Err(a_Err) {
    m_Simulator.Start();
    m_Simulator.Cycle();
  }

  // Returns 0, 1 or 2 as the run's exit code for this line (0 = go on).
  int Execute(const std::vector<std::string>& a_Words, int a_Line) {
    const std::string& command = a_Words[0];
    std::vector<long> numbers;
    for (std::size_t i = 1; i < a_Words.size(); ++i) {
      if (command == "lcd" || command == "panel") break;
      long value = 0;
      if (!ParseNumber(a_Words[i], value)) return Fail(a_Line, "not a number: " + a_Words[i]);
      numbers.push_back(value);
    }
    auto want = [&](std::size_t a_Min, std::size_t a_Max) {
      return numbers.size() >= a_Min && numbers.size() <= a_Max;
    };
    if ((command == "press" || command == "click") && want(1, 1)) {
      if (numbers[0] < 1 || numbers[0] > kKeyCount) return Fail(a_Line, "keys are 1..32");
      m_Simulator.SetKeyMask(PanelModel::KeyBit(static_cast<int>(numbers[0])));
      m_Simulator.Cycle();
      if (command == "click") {
        m_Simulator.SetKeyMask(0);
        m_Simulator.Cycle();
      }
    } else if (command == "release" && want(0, 0)) {
      m_Simulator.SetKeyMask(0);
      m_Simulator.Cycle();
    } else if (command == "encoder" && want(1, 1)) {
      if (!m_Simulator.Model().HasEncoder())
        m_Err << "PanSim: line " << a_Line << ": this panel has no encoder\n";
      m_Simulator.TurnEncoder(static_cast<int>(numbers[0]));
      m_Simulator.Cycle();
    } else if ((command == "tick" || command == "wait") && want(0, 1)) {
      long ticks = numbers.empty() ? 1 : numbers[0];
      if (command == "wait") ticks *= 10;
      if (ticks < 0 || ticks > 100L * 3600 * 10) return Fail(a_Line, "tick count out of range");
      for (long i = 0; i < ticks; ++i) {
        m_Host.AdvanceTick();
        m_Simulator.Tick();
        m_Simulator.Cycle();
      }
    } else if (command == "cycle" && want(0, 1)) {
      long cycles = numbers.empty() ? 1 : numbers[0];
      if (cycles < 0 || cycles > 1000000) return Fail(a_Line, "cycle count out of range");
      for (long i = 0; i < cycles; ++i) m_Simulator.Cycle();
    } else if (command == "set" && want(2, 2)) {
      if (numbers[0] < 0 || !m_Simulator.WriteWord(static_cast<unsigned>(numbers[0]),
                                                   static_cast<uint16_t>(numbers[1])))
        return Fail(a_Line, "internal words are 0..255");
    } else if (command == "set32" && want(2, 2)) {
      uint32_t value = static_cast<uint32_t>(numbers[1]);
      if (numbers[0] < 0 || numbers[0] > 254 ||
          !m_Simulator.WriteWord(static_cast<unsigned>(numbers[0]) + 1,
                                 static_cast<uint16_t>(value >> 16)) ||
          !m_Simulator.WriteWord(static_cast<unsigned>(numbers[0]),
                                 static_cast<uint16_t>(value & 0xFFFF)))
        return Fail(a_Line, "a 32-bit value needs words WORD and WORD+1 within 0..255");
    } else if ((command == "get" && want(1, 1)) || (command == "expect" && want(2, 2))) {
      uint16_t value = 0;
      if (numbers[0] < 0 || !m_Simulator.ReadWord(static_cast<unsigned>(numbers[0]), value))
        return Fail(a_Line, "internal words are 0..255");
      if (command == "get") {
        m_Out << numbers[0] << " = " << value << '\n';
      } else if (value != static_cast<uint16_t>(numbers[1])) {
        m_Err << "PanSim: line " << a_Line << ": word " << numbers[0] << " is " << value
              << ", expected " << numbers[1] << '\n';
        return 1;
      }
    } else if (command == "expect-beeps" && want(1, 1)) {
      if (m_Host.BeepCount() != numbers[0]) {
        m_Err << "PanSim: line " << a_Line << ": " << m_Host.BeepCount() << " beeps, expected "
              << numbers[0] << '\n';
        return 1;
      }
    } else if ((command == "lcd" || command == "panel") && a_Words.size() == 2) {
      return Screenshot(command == "panel", a_Words[1], a_Line);
    } else {
      return Fail(a_Line, "cannot read \"" + command + "\" with " +
                              std::to_string(a_Words.size() - 1) + " argument(s)");
    }
    return 0;
  }

 private:
  int Fail(int a_Line, const std::string& a_Why) {
    m_Err << "PanSim: script line " << a_Line << ": " << a_Why << '\n';
    return 2;
  }

  int Screenshot(bool a_Panel, const std::string& a_Path, int a_Line) {
    std::string error;
    bool written;
    if (!a_Panel) {
      written = WriteLcdPng(a_Path, m_Simulator.LcdBits(), m_Simulator.LcdWidth(),
                            m_Simulator.LcdHeight(), error);
    } else {
      if (!m_Skin) {
        m_Skin.emplace();
        if (!m_Skin->LoadSkin(m_Simulator.Model().skinName, error)) {
          m_Err << "PanSim: line " << a_Line << ": " << error << '\n';
          m_Skin.reset();
          return 1;
        }
      }
      PanelPicture picture =
          ComposePanelPicture(*m_Skin, m_Simulator.Model(), m_Simulator.LcdBits(),
                              m_Simulator.LcdWidth(), m_Simulator.LcdHeight(),
                              m_Simulator.BacklightOn());
      written = WriteRgbPng(a_Path, picture.rgb.data(), picture.width, picture.height, error);
    }
    if (!written) {
      m_Err << "PanSim: line " << a_Line << ": " << error << '\n';
      return 1;
    }
    m_Out << "wrote " << a_Path << '\n';
    return 0;
  }

  HeadlessHost m_Host;
  Simulator m_Simulator;
  std::optional<SkinBitmap> m_Skin;
  std::ostream& m_Out;
  std::ostream& m_Err;
};

}  // namespace

int RunHeadless(const LaunchOptions& a_Launch, bool a_KeepRetentive, std::istream& a_Script,
                std::ostream& a_Out, std::ostream& a_Err) {
  Runner runner(a_Launch, a_KeepRetentive, a_Out, a_Err);
  std::string line;
  int number = 0;
  while (std::getline(a_Script, line)) {
    ++number;
    if (!line.empty() && line.back() == '\r') line.pop_back();
    std::istringstream words(line);
    std::vector<std::string> parts;
    for (std::string word; words >> word;) parts.push_back(word);
    if (parts.empty() || parts[0][0] == '#') continue;
    if (int code = runner.Execute(parts, number); code != 0) return code;
  }
  return 0;
}

}  // namespace sim
