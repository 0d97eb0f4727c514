#pragma once
// Conversion between the UTF-8 strings held in memory and the UTF-16 code units of the
// project archive. Unpaired surrogates survive the round trip: they are kept in memory as
// three-byte sequences of their own code point (generalised UTF-8), so a file read and
// stored again comes out byte for byte the same.
#include <string>
#include <string_view>

namespace kd820 {

std::u16string Utf8ToUtf16(std::string_view a_Text);
std::string Utf16ToUtf8(std::u16string_view a_Text);

// Appends the UTF-8 form of a code point; surrogate code points take three bytes like any
// other character of the basic plane.
void AppendUtf8(std::string& a_Out, char32_t a_CodePoint);

// Decodes the next code point of a_Text at a_Pos (advancing it); malformed bytes give U+FFFD.
char32_t NextCodePoint(std::string_view a_Text, std::size_t& a_Pos);

}  // namespace kd820
