// Text forms of register addresses: number formatting and parsing in a base, range hints and
// range checks.
#include <cerrno>
#include <cinttypes>
#include <cstdio>
#include <cstdlib>

#include "editor/devices/Addr.h"
#include "editor/devices/InternalRegisters.h"
#include "editor/devices/EditorContext.h"
#include "editor/devices/PlcLibrary.h"

namespace kd820 {

namespace {

int Radix(int32_t a_Base) { return a_Base == kBaseOct ? 8 : a_Base == kBaseHex ? 16 : 10; }

char PatternLetter(int32_t a_Base) { return a_Base == kBaseOct ? 'O' : a_Base == kBaseHex ? 'H' : 'D'; }

// One letter per digit the maximum needs in the base.
std::string DigitPattern(int32_t a_Base, int64_t a_Max) {
  const int64_t radix = Radix(a_Base);
  std::string pattern(1, PatternLetter(a_Base));
  for (int64_t place = 1; place * radix <= a_Max; place *= radix) pattern += PatternLetter(a_Base);
  return pattern;
}

struct Ranges {
  int32_t m_AddressBase, m_AddressMin, m_AddressMax;
  bool m_HasSub;
  int32_t m_SubBase, m_SubMin, m_SubMax;
  bool m_HasIndex;
  int32_t m_IndexBase, m_IndexMin, m_IndexMax;
};

Ranges RangesOf(const CRegisterType& a_Type) {
  return {a_Type.m_AddressBase, a_Type.m_AddressMin, a_Type.m_AddressMax, a_Type.m_HasSubAddress,
          a_Type.m_SubBase,     a_Type.m_SubMin,     a_Type.m_SubMax,     a_Type.m_HasIndex,
          a_Type.m_IndexBase,   a_Type.m_IndexMin,   a_Type.m_IndexMax};
}

Ranges RangesOf(const InternalRegisterType& a_Type) {
  return {kBaseDec, 0, a_Type.m_AddressMax, a_Type.m_HasSub, kBaseHex, 0, a_Type.m_HasSub ? 15 : 0,
          false,    kBaseDec, 0, 0};
}

std::string RangeHint(const Ranges& a_R) {
  const std::string address = DigitPattern(a_R.m_AddressBase, a_R.m_AddressMax);
  if (!a_R.m_HasSub) {
    return address + "(" + FormatInBase(a_R.m_AddressMin, a_R.m_AddressBase) + "~" +
           FormatInBase(a_R.m_AddressMax, a_R.m_AddressBase) + ")";
  }
  return address + "." + DigitPattern(a_R.m_SubBase, a_R.m_SubMax) + "(" +
         FormatInBase(a_R.m_AddressMin, a_R.m_AddressBase) + "." +
         FormatInBase(a_R.m_SubMin, a_R.m_SubBase) + "~" +
         FormatInBase(a_R.m_AddressMax, a_R.m_AddressBase) + "." +
         FormatInBase(a_R.m_SubMax, a_R.m_SubBase) + ")";
}

// The ranges of the address's type, if it has a known one.
std::optional<Ranges> RangesFor(const CAddr& a_Addr, const CEditorContext& a_Context) {
  if (a_Addr.IsInternal()) {
    const InternalRegisterType* type = FindInternalRegisterType(a_Addr.m_TypeName);
    if (type == nullptr) return std::nullopt;
    return RangesOf(*type);
  }
  const CRegisterType* type = a_Addr.FindType(a_Context);
  if (type == nullptr) return std::nullopt;
  return RangesOf(*type);
}

// A value as typed in its base: a negative one with its sign, not as its 32 bits.
std::string Typed(int64_t a_Value, int32_t a_Base) {
  return a_Value < 0 ? "-" + FormatInBase(-a_Value, a_Base) : FormatInBase(a_Value, a_Base);
}

std::string OutOf(const char* a_What, int64_t a_Value, int32_t a_Base, int32_t a_Min, int32_t a_Max) {
  return std::string(a_What) + " " + Typed(a_Value, a_Base) + " is outside " + Typed(a_Min, a_Base) +
         "~" + Typed(a_Max, a_Base);
}

}  // namespace

std::string FormatInBase(int64_t a_Value, int32_t a_Base) {
  char text[32];
  const auto value = static_cast<unsigned>(a_Value);
  std::snprintf(text, sizeof text, a_Base == kBaseOct ? "%o" : a_Base == kBaseHex ? "%X" : "%u",
                value);
  return text;
}

std::optional<int64_t> ParseNumberInBase(const std::string& a_Text, int32_t a_Base) {
  if (a_Text.empty()) return std::nullopt;
  const char* begin = a_Text.c_str();
  char* end = nullptr;
  errno = 0;
  int64_t value = 0;
  if (a_Base == kBaseHex) {
    if (a_Text[0] == '-' || a_Text[0] == '+') return std::nullopt;
    const unsigned long v = std::strtoul(begin, &end, 16);
    if (v > 0xFFFFFFFFul) return std::nullopt;
    value = static_cast<int64_t>(v);
  } else {
    const long v = std::strtol(begin, &end, Radix(a_Base));
    if (v < INT32_MIN || v > INT32_MAX) return std::nullopt;
    value = v;
  }
  if (errno != 0 || end == begin || *end != '\0') return std::nullopt;
  return value;
}

std::string RangeText(const CRegisterType& a_Type) { return RangeHint(RangesOf(a_Type)); }

std::string CAddr::RangeText(const CEditorContext& a_Context) const {
  const auto ranges = RangesFor(*this, a_Context);
  return ranges ? RangeHint(*ranges) : std::string();
}

std::string CAddr::FormatNumber(const CEditorContext& a_Context) const {
  const auto ranges = RangesFor(*this, a_Context);
  const int32_t base = ranges ? ranges->m_AddressBase : kBaseDec;
  const int32_t subBase = ranges ? ranges->m_SubBase : kBaseHex;
  if (m_HasSubAddress == 0) return FormatInBase(m_Address, base);
  return FormatInBase(m_Address, base) + "." + FormatInBase(m_SubAddress, subBase);
}

bool CAddr::ParseNumber(const std::string& a_Text, const CEditorContext& a_Context) {
  const auto ranges = RangesFor(*this, a_Context);
  const int32_t base = ranges ? ranges->m_AddressBase : kBaseDec;
  const int32_t subBase = ranges ? ranges->m_SubBase : kBaseHex;
  const bool hasSub = ranges ? ranges->m_HasSub : a_Text.find('.') != std::string::npos;
  const std::size_t dot = a_Text.find('.');
  if (hasSub != (dot != std::string::npos)) return false;
  const auto address = ParseNumberInBase(a_Text.substr(0, dot), base);
  if (!address) return false;
  int64_t sub = 0;
  if (hasSub) {
    const auto parsed = ParseNumberInBase(a_Text.substr(dot + 1), subBase);
    if (!parsed) return false;
    sub = *parsed;
  }
  m_Address = static_cast<int32_t>(*address);
  m_HasSubAddress = hasSub ? 1 : 0;
  m_SubAddress = static_cast<int32_t>(sub);
  return true;
}

std::optional<std::string> CAddr::Validate(const CEditorContext& a_Context) const {
  if (IsInternal()) {
    const InternalRegisterType* type = FindInternalRegisterType(m_TypeName);
    if (type == nullptr) return "\"" + m_TypeName + "\" is not an internal register type (LW, LW.B, RW, RW.B)";
    if ((m_Width == kBit) != (type->m_Width == kBit)) {
      return m_TypeName + (type->m_Width == kBit ? " is a bit type" : " is a word type");
    }
    // Internal registers hold single words; only the default address a reset gives a
    // double-word field (Reset: LW 0, length 2) is kept, as the editor itself writes it.
    CAddr reset(kDoubleWord);
    reset.m_Note = m_Note;
    if (m_Width == kDoubleWord && !(*this == reset)) return m_TypeName + " holds single words";
  } else {
    if (m_Port < 0 || m_Port > 3) return "port " + std::to_string(m_Port) + " does not exist";
    const CPLCModel* model = a_Context.GetPortModel(m_Port);
    if (model == nullptr || !model->HasRegisterTypes()) {
      return "the PLC of port " + std::to_string(m_Port) + " has no register types";
    }
    const CRegisterType* type = FindType(a_Context);
    if (type == nullptr) {
      return "the PLC of port " + std::to_string(m_Port) + " has no " +
             (m_Width == kBit ? "bit" : "word") + " register type \"" + m_TypeName + "\"";
    }
    if (type->m_Width != m_Width) {
      return m_TypeName + " is " + (type->m_Width == kWidthBit    ? "a bit"
                                    : type->m_Width == kWidthWord ? "a word"
                                                                  : "a double-word") +
             " type";
    }
    if (type->m_HasIndex) {
      if (m_HasIndex == 0) return m_TypeName + " needs an index";
      if (m_Index < type->m_IndexMin || m_Index > type->m_IndexMax) {
        return OutOf("index", m_Index, type->m_IndexBase, type->m_IndexMin, type->m_IndexMax);
      }
    } else if (m_HasIndex != 0) {
      return m_TypeName + " has no index";
    }
  }
  const Ranges r = *RangesFor(*this, a_Context);
  if ((m_HasSubAddress != 0) != r.m_HasSub) {
    return m_TypeName + (r.m_HasSub ? " needs a bit number (address.bit)" : " has no bit number");
  }
  if (m_Address < r.m_AddressMin || m_Address > r.m_AddressMax) {
    return OutOf("address", m_Address, r.m_AddressBase, r.m_AddressMin, r.m_AddressMax) + " (" +
           RangeHint(r) + ")";
  }
  if (r.m_HasSub && (m_SubAddress < r.m_SubMin || m_SubAddress > r.m_SubMax)) {
    return OutOf("bit number", m_SubAddress, r.m_SubBase, r.m_SubMin, r.m_SubMax) + " (" +
           RangeHint(r) + ")";
  }
  return std::nullopt;
}

}  // namespace kd820
