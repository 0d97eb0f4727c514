#pragma once
// A small JSON document model with its reader and writer, made for the project's JSON form.
// Objects keep their key order and refuse a key given twice; numbers keep their text, so that
// integers and doubles convert exactly; strings are UTF-8 and may carry unpaired UTF-16
// surrogates, written as \ud800-style escapes and held in memory as the three-byte sequences
// the archive strings use (see Utf16.h).
//
// It is ours rather than a JSON library's because the project's form needs what those do not
// give: unpaired surrogates kept both ways (a library refuses "\ud800"), a key given twice
// refused instead of one silently winning, numbers kept as their text, and the line and column
// of every value for the import's messages.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace kd820 {

namespace pjson {

class Value {
 public:
  enum class Kind { Null, Bool, Number, String, Array, Object };
  using Member = std::pair<std::string, Value>;

  Value() = default;
  static Value Bool(bool a_Value);
  static Value Integer(int64_t a_Value);
  // A finite double in its shortest exact text, always with a fraction or an exponent.
  static Value Double(double a_Value);
  static Value String(std::string a_Text);
  static Value Array();
  static Value Object();
  // A number from its JSON text, as the reader found it.
  static Value NumberText(std::string a_Text);

  Kind GetKind() const { return m_Kind; }
  bool IsNull() const { return m_Kind == Kind::Null; }
  bool GetBool() const { return m_Bool; }
  // Number text, or string contents.
  const std::string& Text() const { return m_Text; }
  // True for a number written without fraction and exponent.
  bool IsIntegerText() const;

  const std::vector<Value>& Items() const { return m_Items; }
  const std::vector<Member>& Members() const { return m_Members; }
  // The member of an object with that key; null when there is none.
  const Value* Find(std::string_view a_Key) const;
  // Appends to an array or an object.
  Value& Push(Value a_Value);
  Value& Add(std::string a_Key, Value a_Value);

  // Where the reader found the value (1-based; 0 for values made in code).
  int Line() const { return m_Line; }
  int Column() const { return m_Column; }
  void SetPosition(int a_Line, int a_Column) {
    m_Line = a_Line;
    m_Column = a_Column;
  }

  // A short description of the value for messages: the number, the quoted string (cut when
  // long), or the kind.
  std::string Describe() const;
  static const char* KindName(Kind a_Kind);

 private:
  Kind m_Kind = Kind::Null;
  bool m_Bool = false;
  std::string m_Text;
  std::vector<Value> m_Items;
  std::vector<Member> m_Members;
  int m_Line = 0;
  int m_Column = 0;
};

struct ParseError {
  std::string m_Message;
  int m_Line = 0;
  int m_Column = 0;
};

// The deepest nesting of arrays and objects the reader accepts.
inline constexpr int kMaxDepth = 64;
// The most values (numbers, strings, containers...) a document may hold.
inline constexpr std::size_t kMaxValues = 4'000'000;

// Parses a whole document: one value, surrounded by white space only. False with a_Error set
// (its position counted in characters) when the text is not such a document.
bool Parse(std::string_view a_Text, Value& a_Out, ParseError& a_Error);

// The document as text: two-space indentation, and a container on one line when it fits.
std::string Write(const Value& a_Value);

// A string as a JSON string literal, with quotes.
std::string Quote(std::string_view a_Text);

}  // namespace pjson

}  // namespace kd820
