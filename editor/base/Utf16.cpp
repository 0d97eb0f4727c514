#include "editor/base/Utf16.h"

namespace kd820 {

void AppendUtf8(std::string& a_Out, char32_t a_Cp) {
  if (a_Cp < 0x80) {
    a_Out += static_cast<char>(a_Cp);
  } else if (a_Cp < 0x800) {
    a_Out += static_cast<char>(0xC0 | (a_Cp >> 6));
    a_Out += static_cast<char>(0x80 | (a_Cp & 0x3F));
  } else if (a_Cp < 0x10000) {
    a_Out += static_cast<char>(0xE0 | (a_Cp >> 12));
    a_Out += static_cast<char>(0x80 | ((a_Cp >> 6) & 0x3F));
    a_Out += static_cast<char>(0x80 | (a_Cp & 0x3F));
  } else {
    a_Out += static_cast<char>(0xF0 | (a_Cp >> 18));
    a_Out += static_cast<char>(0x80 | ((a_Cp >> 12) & 0x3F));
    a_Out += static_cast<char>(0x80 | ((a_Cp >> 6) & 0x3F));
    a_Out += static_cast<char>(0x80 | (a_Cp & 0x3F));
  }
}

char32_t NextCodePoint(std::string_view a_Text, std::size_t& a_Pos) {
  const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(a_Text[i]); };
  const unsigned char lead = byte(a_Pos);
  int extra = 0;
  char32_t cp = 0;
  char32_t minimum = 0;
  if (lead < 0x80) {
    ++a_Pos;
    return lead;
  } else if ((lead & 0xE0) == 0xC0) {
    extra = 1; cp = lead & 0x1F; minimum = 0x80;
  } else if ((lead & 0xF0) == 0xE0) {
    extra = 2; cp = lead & 0x0F; minimum = 0x800;
  } else if ((lead & 0xF8) == 0xF0) {
    extra = 3; cp = lead & 0x07; minimum = 0x10000;
  } else {
    ++a_Pos;
    return 0xFFFD;
  }
  if (a_Pos + extra >= a_Text.size()) {
    ++a_Pos;
    return 0xFFFD;
  }
  for (int i = 1; i <= extra; ++i) {
    const unsigned char c = byte(a_Pos + i);
    if ((c & 0xC0) != 0x80) {
      ++a_Pos;
      return 0xFFFD;
    }
    cp = (cp << 6) | (c & 0x3F);
  }
  if (cp < minimum || cp > 0x10FFFF) {
    ++a_Pos;
    return 0xFFFD;
  }
  a_Pos += extra + 1;
  return cp;
}

std::u16string Utf8ToUtf16(std::string_view a_Text) {
  std::u16string out;
  out.reserve(a_Text.size());
  std::size_t pos = 0;
  while (pos < a_Text.size()) {
    const char32_t cp = NextCodePoint(a_Text, pos);
    if (cp >= 0x10000) {
      const char32_t v = cp - 0x10000;
      out += static_cast<char16_t>(0xD800 + (v >> 10));
      out += static_cast<char16_t>(0xDC00 + (v & 0x3FF));
    } else {
      out += static_cast<char16_t>(cp);  // lone surrogates come back as themselves
    }
  }
  return out;
}

std::string Utf16ToUtf8(std::u16string_view a_Text) {
  std::string out;
  out.reserve(a_Text.size() * 3);
  for (std::size_t i = 0; i < a_Text.size(); ++i) {
    const char16_t u = a_Text[i];
    if (u >= 0xD800 && u < 0xDC00 && i + 1 < a_Text.size() && a_Text[i + 1] >= 0xDC00 &&
        a_Text[i + 1] < 0xE000) {
      const char32_t cp = 0x10000 + ((static_cast<char32_t>(u) - 0xD800) << 10) +
                          (static_cast<char32_t>(a_Text[i + 1]) - 0xDC00);
      AppendUtf8(out, cp);
      ++i;
    } else {
      AppendUtf8(out, u);
    }
  }
  return out;
}

}  // namespace kd820
