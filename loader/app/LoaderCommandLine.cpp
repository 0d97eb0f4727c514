#include "loader/app/LoaderCommandLine.h"

#include <charconv>

namespace nd620 {

namespace {

bool ToInt(const std::string& a_Text, int32_t& a_Value, int32_t a_Min, int32_t a_Max) {
  int32_t value = 0;
  const auto [end, ec] = std::from_chars(a_Text.data(), a_Text.data() + a_Text.size(), value);
  if (ec != std::errc() || end != a_Text.data() + a_Text.size() || value < a_Min || value > a_Max) return false;
  a_Value = value;
  return true;
}

}  // namespace

void ApplyTokenRule(const std::vector<std::string>& a_Tokens, LoaderCommandLine& a_Line) {
  if (a_Tokens.size() < 4) return;
  for (std::size_t i = 1; i < a_Tokens.size(); ++i) {
    const std::string& token = a_Tokens[i];
    if (token == "-D" || token == "-d") {
      a_Line.m_Upload = false;
    } else if (token == "-U" || token == "-u") {
      a_Line.m_Upload = true;
    } else if (token == "-f" || token == "-F") {
      // As the last token it takes the empty path.
      a_Line.m_HasPath = true;
      a_Line.m_Path = i + 1 < a_Tokens.size() ? a_Tokens[++i] : std::string();
    }
  }
}

bool ParseLoaderCommandLine(const std::vector<std::string>& a_Arguments, LoaderCommandLine& a_Line,
                            std::string& a_Error) {
  std::vector<std::string> tokens;
  if (!a_Arguments.empty()) tokens.push_back(a_Arguments[0]);
  int transports = 0;
  for (std::size_t i = 1; i < a_Arguments.size(); ++i) {
    std::string word = a_Arguments[i];
    if (word.size() < 3 || word.compare(0, 2, "--") != 0) {
      if (word == "-h") {
        a_Line.m_Help = true;
        continue;
      }
      tokens.push_back(word);
      continue;
    }
    std::string value;
    bool hasValue = false;
    const auto equals = word.find('=');
    if (equals != std::string::npos) {
      value = word.substr(equals + 1);
      word.resize(equals);
      hasValue = true;
    }
    const auto takeValue = [&]() {
      if (hasValue) return true;
      if (i + 1 >= a_Arguments.size()) {
        a_Error = word + " needs a value";
        return false;
      }
      value = a_Arguments[++i];
      return true;
    };
    const auto number = [&](int32_t& a_Field, int32_t a_Min, int32_t a_Max) {
      if (!takeValue()) return false;
      if (!ToInt(value, a_Field, a_Min, a_Max)) {
        a_Error = word + ": not a number from " + std::to_string(a_Min) + " to " + std::to_string(a_Max) + ": " + value;
        return false;
      }
      return true;
    };
    bool ok = true;
    if (word == "--help") {
      a_Line.m_Help = true;
    } else if (word == "--version") {
      a_Line.m_Version = true;
    } else if (word == "--no-window") {
      a_Line.m_NoWindow = true;
    } else if (word == "--force-gui") {
      a_Line.m_ForceGui = true;
    } else if (word == "--usb") {
      a_Line.m_Transport.m_Kind = kUsb;
      ++transports;
    } else if (word == "--serial") {
      ok = takeValue();
      a_Line.m_Transport.m_Kind = kSerial;
      a_Line.m_Transport.m_ComName = value;
      ++transports;
    } else if (word == "--udp") {
      ok = takeValue();
      const auto colon = value.rfind(':');
      if (ok && (colon == std::string::npos || colon == 0 || colon + 1 == value.size())) {
        a_Error = "--udp wants HOST:PORT, not " + value;
        ok = false;
      }
      if (ok) {
        a_Line.m_Transport.m_Kind = kNetwork;
        a_Line.m_Transport.m_Address = value.substr(0, colon);
        a_Line.m_Transport.m_Port = value.substr(colon + 1);
      }
      ++transports;
    } else if (word == "--baud") {
      ok = number(a_Line.m_Transport.m_BaudRate, 1, 4000000);
    } else if (word == "--usb-id") {
      UsbId id;
      ok = takeValue();
      if (ok && !ParseUsbId(value, id)) {
        a_Error = "--usb-id wants VVVV:PPPP in hexadecimal, not " + value;
        ok = false;
      }
      if (ok) a_Line.m_Transport.m_UsbIds.push_back(id);
    } else if (word == "--unit-ms") {
      ok = number(a_Line.m_Transport.m_UnitMs, 1, 600000);
    } else if (word == "--interval-ms") {
      ok = number(a_Line.m_Transport.m_SerialIntervalMs, 1, 60000);
    } else if (word == "--info-delay-ms") {
      ok = number(a_Line.m_Timing.m_InfoDelayMs, 0, 600000);
    } else if (word == "--reconnect-wait-ms") {
      ok = number(a_Line.m_Timing.m_ReconnectWaitMs, 0, 600000);
    } else if (word == "--retry-delay-ms") {
      ok = number(a_Line.m_Timing.m_RetryDelayMs, 0, 600000);
    } else if (word == "--attempts") {
      ok = number(a_Line.m_Timing.m_Attempts, 1, 100000);
    } else {
      a_Error = "unknown option " + word;
      ok = false;
    }
    if (!ok) return false;
  }
  if (transports > 1) {
    a_Error = "choose one of --usb, --serial and --udp";
    return false;
  }
  ApplyTokenRule(tokens, a_Line);
  return true;
}

std::string LoaderUsage(const std::string& a_Program) {
  return "Usage: " + a_Program +
         " [-D] -f PACKAGE.td [--usb | --serial DEVICE [--baud B] | --udp HOST:PORT] [--force-gui]\n"
         "Sends a download package (made by KD820 download) to a panel.\n"
         "\n"
         "  -D, -d              download (the default); -U, -u (upload) is recorded and ignored\n"
         "  -f, -F PATH         the package; the program's own words count only when there are at\n"
         "                      least three after the program name (-D -f PATH), as the editor gives them\n"
         "  --usb               the panel on USB (the default; ids from lib/loader/usb-ids)\n"
         "  --usb-id VVVV:PPPP  look for this vendor and product id instead (may be repeated)\n"
         "  --serial DEVICE     the panel on a serial line, e.g. /dev/ttyUSB0\n"
         "  --baud B            its bit rate (115200; rates outside the table leave the port's)\n"
         "  --udp HOST:PORT     the panel on the network\n"
         "  --force-gui         send the panel firmware whatever its version\n"
         "  --no-window         stay on the terminal where the dialog could open\n"
         "  --unit-ms N         one time-out unit (USB 2000, serial and network 500)\n"
         "  --interval-ms N     serial: longest pause between the bytes of one read (1)\n"
         "  --info-delay-ms N, --reconnect-wait-ms N, --retry-delay-ms N, --attempts N\n"
         "                      the protocol's waits (100, 3000, 100) and reconnection attempts (100)\n"
         "  --help, --version\n"
         "\n"
         "Exit status: 0 downloaded, 1 failed, 2 usage error.\n";
}

}  // namespace nd620
