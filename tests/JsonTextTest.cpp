// The JSON reader and writer of the project form: exact doubles, lossless strings, strict
// grammar.
#include <gtest/gtest.h>

#include <charconv>
#include <cstring>
#include <random>

#include "editor/project/ProjectJsonText.h"
#include "editor/base/Utf16.h"

using namespace kd820;

namespace {

pjson::Value ParseOk(const std::string& a_Text) {
  pjson::Value value;
  pjson::ParseError error;
  EXPECT_TRUE(pjson::Parse(a_Text, value, error)) << error.m_Message << " in " << a_Text;
  return value;
}

std::string ParseFailure(const std::string& a_Text) {
  pjson::Value value;
  pjson::ParseError error;
  EXPECT_FALSE(pjson::Parse(a_Text, value, error)) << a_Text;
  return error.m_Message;
}

}  // namespace

TEST(JsonText, DoublesAreWrittenInTheirShortestExactForm) {
  std::mt19937_64 random(20240611);
  for (int i = 0; i < 20000; ++i) {
    uint64_t bits = random();
    double value = 0;
    std::memcpy(&value, &bits, sizeof value);
    if (!std::isfinite(value)) continue;
    const std::string text = pjson::Value::Double(value).Text();
    double back = 0;
    std::from_chars(text.data(), text.data() + text.size(), back);
    uint64_t backBits = 0;
    std::memcpy(&backBits, &back, sizeof back);
    ASSERT_EQ(backBits, bits) << text;
    ASSERT_NE(text.find_first_of(".e"), std::string::npos) << text;
  }
  EXPECT_EQ(pjson::Value::Double(9999.0).Text(), "9999.0");
  EXPECT_EQ(pjson::Value::Double(-0.0).Text(), "-0.0");
  EXPECT_EQ(pjson::Value::Double(0.1).Text(), "0.1");
  EXPECT_EQ(pjson::Value::Double(1e300).Text(), "1e+300");
}

TEST(JsonText, AnyUtf16TextSurvivesTheWriterAndTheReader) {
  std::mt19937 random(7);
  // Code units around the surrogate ranges and the control characters, where it matters.
  const char16_t picks[] = {0x0000, 0x0001, 0x001F, 0x0022, 0x005C, 0x007F, 0x00E9, 0x4E2D,
                            0xD7FF, 0xD800, 0xDBFF, 0xDC00, 0xDFFF, 0xE000, 0xFFFD, 0xFFFF};
  for (int i = 0; i < 3000; ++i) {
    std::u16string units;
    const int length = static_cast<int>(random() % 8);
    for (int k = 0; k < length; ++k) units += picks[random() % std::size(picks)];
    const std::string quoted = pjson::Quote(Utf16ToUtf8(units));
    const pjson::Value back = ParseOk(quoted);
    ASSERT_EQ(Utf8ToUtf16(back.Text()), units) << quoted;
  }
  EXPECT_EQ(pjson::Quote(Utf16ToUtf8(u"a\xD800" "b\x0001\t\"\\")), R"("a\ud800b\u0001\t\"\\")");
  // Bytes that are not UTF-8 are written as the replacement character the archive stores.
  EXPECT_EQ(pjson::Quote("x\xFFy"), "\"x\xEF\xBF\xBDy\"");
}

TEST(JsonText, EscapesAndPairsAreRead) {
  EXPECT_EQ(ParseOk(R"("\u00e9\/\n\ud83d\ude00")").Text(), "é/\n😀");
  // A high surrogate followed by an escape that is not a low one stays alone, as does the other.
  EXPECT_EQ(Utf8ToUtf16(ParseOk(R"("\ud800\u0041")").Text()), std::u16string(u"\xD800" "A"));
  EXPECT_EQ(ParseFailure("\"a\tb\""), "a control character in a string must be escaped");
  EXPECT_EQ(ParseFailure(R"("\x41")"), "unknown escape \\x");
  EXPECT_EQ(ParseFailure(R"("\u12")"), "expected four hexadecimal digits after \\u");
  EXPECT_EQ(ParseFailure("\"abc"), "the string is not closed");
}

TEST(JsonText, NumbersFollowTheGrammarAndKeepTheirText) {
  for (const char* good : {"0", "-0", "12", "-3.25", "1e5", "2E-3", "123456789012345678901234567890"}) {
    const pjson::Value v = ParseOk(good);
    EXPECT_EQ(v.GetKind(), pjson::Value::Kind::Number);
    EXPECT_EQ(v.Text(), good);
  }
  EXPECT_TRUE(ParseOk("42").IsIntegerText());
  EXPECT_FALSE(ParseOk("42.0").IsIntegerText());
  EXPECT_EQ(ParseFailure("-"), "expected a digit, found the end of the text");
  EXPECT_EQ(ParseFailure("1."), "expected a digit after the decimal point, found the end of the text");
  EXPECT_EQ(ParseFailure("1e"), "expected a digit in the exponent, found the end of the text");
  EXPECT_EQ(ParseFailure("+1"), "expected a value, found '+'");
  EXPECT_EQ(ParseFailure("NaN"), "expected a value, found 'N'");
}

TEST(JsonText, WrittenDocumentsReadBackTheSame) {
  const std::string text =
      R"({"a": [1, 2.5, "x"], "b": {"c": null, "d": true, "e": false}, "f": [], "g": {}, )"
      R"("long": ["0123456789012345678901234567890123456789", "0123456789012345678901234567890123456789", "z"]})";
  const std::string written = pjson::Write(ParseOk(text));
  EXPECT_EQ(pjson::Write(ParseOk(written)), written);
  // Containers that fit stay on one line; the long array does not.
  EXPECT_NE(written.find(R"("b": {"c": null, "d": true, "e": false})"), std::string::npos) << written;
  EXPECT_NE(written.find("\"long\": [\n"), std::string::npos) << written;
  const pjson::Value back = ParseOk(written);
  ASSERT_EQ(back.Members().size(), 5u);
  EXPECT_EQ(back.Find("a")->Items()[1].Text(), "2.5");
  EXPECT_EQ(back.Find("long")->Items().size(), 3u);
}
