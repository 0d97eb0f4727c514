#include "simulator/NumberFormat.h"

#include <string_view>

#include <algorithm>
#include <bit>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <limits>

#include "simulator/SimImage.h"

namespace sim {
namespace {

__extension__ typedef __int128 Int128;

constexpr double kFloatSpanFloor = 0.00001;

uint64_t LoadBytes(const uint8_t* a_Value, std::size_t a_Length, std::size_t a_Want) {
  uint64_t value = 0;
  for (std::size_t i = std::min(a_Length, a_Want); i-- > 0;) value = value << 8 | a_Value[i];
  return value;
}

int64_t Clamp64(Int128 a_Value) {
  constexpr Int128 lo = std::numeric_limits<int64_t>::min();
  constexpr Int128 hi = std::numeric_limits<int64_t>::max();
  return static_cast<int64_t>(std::clamp(a_Value, lo, hi));
}

float AsFloat(uint32_t a_Bits) { return std::bit_cast<float>(a_Bits); }

std::string Printf(const char* a_Format, auto... a_Arguments) {
  char buffer[512];
  int n = std::snprintf(buffer, sizeof buffer, a_Format, a_Arguments...);
  if (n < 0) return {};
  return std::string(buffer, std::min<std::size_t>(static_cast<std::size_t>(n), sizeof buffer - 1));
}

// "5" with two places becomes "0.05"; a leading "-" stays in front.
std::string InsertPoint(const std::string& a_Text, int a_Decimals) {
  const bool negative = !a_Text.empty() && a_Text[0] == '-';
  const std::string_view digits = std::string_view(a_Text).substr(negative ? 1 : 0);
  const std::size_t places = static_cast<std::size_t>(a_Decimals);
  const std::size_t zeros = digits.size() < places + 1 ? places + 1 - digits.size() : 0;
  std::string out = negative ? "-" : "";
  const std::size_t whole = zeros + digits.size() - places;  // digits before the point
  for (std::size_t i = 0; i < zeros + digits.size(); ++i) {
    if (i == whole) out += '.';
    out += i < zeros ? '0' : digits[i - zeros];
  }
  if (places == 0) out += '.';
  return out;
}

}  // namespace

NumberFormat NumberFormat::FromImage(const SimImage& a_Image, uint32_t a_Offset) {
  NumberFormat f;
  f.options = a_Image.U32(a_Offset);
  const uint32_t end = a_Offset + 4 * (f.options & 0xFF);
  uint32_t next = a_Offset + 4;
  auto pair = [&](uint32_t& a_Max, uint32_t& a_Min) {
    if (next + 8 <= end) {
      a_Max = a_Image.U32(next);
      a_Min = a_Image.U32(next + 4);
    }
    next += 8;
  };
  if (f.RangeCheck()) pair(f.r1, f.r2);
  if (f.Scaling()) pair(f.r3, f.r4);
  return f;
}

std::size_t NumberFormat::RecordBytes(const SimImage& a_Image, uint32_t a_Offset) {
  return 4 * std::max<std::size_t>(a_Image.U8(a_Offset), 1);
}

const char* NumberFormat::DigitSet() const {
  switch (TypeCode()) {
    case kUnsigned:
      return "*.0123456789";
    case kHex:
      return "*0123456789ABCDEF";
    default:
      return "*-.0123456789";
  }
}

bool NumberFormat::Allows(char a_Char, int a_Position) const {
  const int type = TypeCode();
  if (a_Char >= '0' && a_Char <= '9') return true;
  if (a_Char == '-') return a_Position == 0 && (type == kSigned || type == kFloat || type == kDouble);
  if (a_Char == '.') return Decimals() > 0;
  if (a_Char >= 'A' && a_Char <= 'F') return type == kHex;
  return false;
}

NumberFormat::Text NumberFormat::Format(const uint8_t* a_Value, std::size_t a_Length) const {
  const int digits = Digits();
  const int decimals = Decimals();
  if (Secret()) return {std::string(static_cast<std::size_t>(digits), '*'), true};
  const int type = TypeCode();
  std::string text;
  if (!IsFloat()) {
    const uint64_t raw = LoadBytes(a_Value, a_Length, Wide() ? 4 : 2);
    int64_t v;
    if (Wide())
      v = type == kSigned ? int64_t{static_cast<int32_t>(raw)} : static_cast<int64_t>(raw);
    else
      v = type == kSigned ? int64_t{static_cast<int16_t>(raw)} : static_cast<int64_t>(raw);
    if (Scaling()) {
      const int64_t max = static_cast<int32_t>(r1), min = static_cast<int32_t>(r2);
      const int64_t spanValue = max - min;
      // A value range without width cannot be mapped.
      if (spanValue <= 0) return {};
      const int64_t spanShown =
          std::max<int64_t>(int64_t{static_cast<int32_t>(r3)} - static_cast<int32_t>(r4), 1);
      Int128 scaled = (Int128{v - min} * spanShown + spanValue / 2) / spanValue;
      v = Clamp64(scaled + static_cast<int32_t>(r4));
    }
    const auto unsignedValue = static_cast<unsigned long long>(v < 0 ? static_cast<uint32_t>(v) : v);
    if (type == kSigned)
      text = Printf("%lld", static_cast<long long>(v));
    else if (type == kHex)
      text = Printf("%llX", unsignedValue);
    else
      text = Printf("%llu", unsignedValue);
    if (decimals > 0) text = InsertPoint(text, decimals);
  } else {
    double v = type == kDouble ? std::bit_cast<double>(LoadBytes(a_Value, a_Length, 8))
                               : double{AsFloat(static_cast<uint32_t>(LoadBytes(a_Value, a_Length, 4)))};
    if (Scaling()) {
      const double max = AsFloat(r1), min = AsFloat(r2);
      const double spanValue = max - min;
      if (!(spanValue > 0) || !std::isfinite(spanValue)) return {};
      const double spanShown = std::max(double{AsFloat(r3)} - AsFloat(r4), kFloatSpanFloor);
      v = std::trunc(((v - min) * spanShown + spanValue / 2) / spanValue) + AsFloat(r4);
    }
    if (std::isfinite(v)) text = Printf("%*.*f", digits, decimals, v);
    else text.assign(static_cast<std::size_t>(digits) + 1, '*');  // shown as too long
  }
  text.erase(0, text.find_first_not_of(' '));
  if (LeadingZeros()) {
    const std::size_t sign = !text.empty() && text[0] == '-' ? 1 : 0;
    if (text.size() < static_cast<std::size_t>(digits))
      text.insert(sign, static_cast<std::size_t>(digits) - text.size(), '0');
  }
  if (text.size() > static_cast<std::size_t>(digits)) {
    text.assign(static_cast<std::size_t>(digits), '*');
    const int point = digits - decimals - 1;
    if (decimals > 0 && point >= 0) text[static_cast<std::size_t>(point)] = '.';
    return {text, false};
  }
  return {text, true};
}

std::optional<std::vector<uint8_t>> NumberFormat::Parse(const std::string& a_Input) const {
  const int type = TypeCode();
  std::vector<uint8_t> bytes;
  if (!IsFloat()) {
    std::string text = a_Input;
    const std::size_t point = text.find('.');
    std::string fraction;
    if (point != std::string::npos) {
      fraction = text.substr(point + 1);
      text.erase(point);
      if (fraction.find('.') != std::string::npos) return std::nullopt;
    }
    fraction.resize(static_cast<std::size_t>(Decimals()), '0');
    text += fraction;
    int64_t number = 0;
    const char* first = text.data();
    const char* last = text.data() + text.size();
    if (type != kSigned && first != last && *first == '-') return std::nullopt;
    auto [end, error] = std::from_chars(first, last, number, type == kHex ? 16 : 10);
    if (error != std::errc() || end != last) return std::nullopt;
    const int64_t max = static_cast<int32_t>(r1), min = static_cast<int32_t>(r2);
    int64_t value = number;
    if (Scaling()) {
      const int64_t shownMax = static_cast<int32_t>(r3), shownMin = static_cast<int32_t>(r4);
      const int64_t spanShown = shownMax - shownMin;
      if (spanShown <= 0 || number < shownMin || number > shownMax) return std::nullopt;
      const int64_t spanValue = std::max<int64_t>(max - min, 1);
      value = Clamp64((Int128{number - shownMin} * spanValue + spanShown / 2) / spanShown + min);
    } else if (RangeCheck() && (number < min || number > max)) {
      return std::nullopt;
    }
    // A value the register cannot hold is refused rather than cut.
    int64_t lo, hi;
    if (type == kSigned) {
      lo = Wide() ? std::numeric_limits<int32_t>::min() : std::numeric_limits<int16_t>::min();
      hi = Wide() ? std::numeric_limits<int32_t>::max() : std::numeric_limits<int16_t>::max();
    } else {
      lo = 0;
      hi = Wide() ? std::numeric_limits<uint32_t>::max() : std::numeric_limits<uint16_t>::max();
    }
    if (value < lo || value > hi) return std::nullopt;
    const auto raw = static_cast<uint32_t>(value);
    for (int i = 0; i < 4; ++i) bytes.push_back(static_cast<uint8_t>(raw >> (8 * i)));
    return bytes;
  }
  if (a_Input.empty()) return std::nullopt;
  char* end = nullptr;
  double number = std::strtod(a_Input.c_str(), &end);
  if (end != a_Input.c_str() + a_Input.size() || !std::isfinite(number)) return std::nullopt;
  const double max = AsFloat(r1), min = AsFloat(r2);
  double value = number;
  if (Scaling()) {
    const double shownMax = AsFloat(r3), shownMin = AsFloat(r4);
    const double spanShown = shownMax - shownMin;
    if (!(spanShown > 0) || !std::isfinite(spanShown) || number < shownMin || number > shownMax)
      return std::nullopt;
    const double spanValue = std::max(max - min, kFloatSpanFloor);
    value = ((number - shownMin) * spanValue + spanShown / 2) / spanShown + min;
  } else if (RangeCheck() && (number < min || number > max)) {
    return std::nullopt;
  }
  // A range that is not a number or without end maps nothing the register could hold.
  if (!std::isfinite(value)) return std::nullopt;
  uint64_t raw;
  std::size_t size;
  if (type == kDouble) {
    raw = std::bit_cast<uint64_t>(value);
    size = 8;
  } else {
    if (std::fabs(value) > std::numeric_limits<float>::max()) return std::nullopt;
    raw = std::bit_cast<uint32_t>(static_cast<float>(value));
    size = 4;
  }
  for (std::size_t i = 0; i < size; ++i) bytes.push_back(static_cast<uint8_t>(raw >> (8 * i)));
  return bytes;
}

}  // namespace sim
