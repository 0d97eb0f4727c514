#include "editor/project/ProjectJsonText.h"

#include <charconv>
#include <cmath>
#include <system_error>
#include <unordered_set>

#include "editor/base/Utf16.h"

namespace kd820 {

namespace pjson {

// ---- values -------------------------------------------------------------------------------

Value Value::Bool(bool a_Value) {
  Value v;
  v.m_Kind = Kind::Bool;
  v.m_Bool = a_Value;
  return v;
}

Value Value::Integer(int64_t a_Value) { return NumberText(std::to_string(a_Value)); }

Value Value::Double(double a_Value) {
  char text[64];
  const auto result = std::to_chars(text, text + sizeof text, a_Value);
  std::string out(text, result.ptr);
  if (out.find_first_of(".eE") == std::string::npos) out += ".0";
  return NumberText(std::move(out));
}

Value Value::String(std::string a_Text) {
  Value v;
  v.m_Kind = Kind::String;
  v.m_Text = std::move(a_Text);
  return v;
}

Value Value::Array() {
  Value v;
  v.m_Kind = Kind::Array;
  return v;
}

Value Value::Object() {
  Value v;
  v.m_Kind = Kind::Object;
  return v;
}

Value Value::NumberText(std::string a_Text) {
  Value v;
  v.m_Kind = Kind::Number;
  v.m_Text = std::move(a_Text);
  return v;
}

bool Value::IsIntegerText() const {
  return m_Kind == Kind::Number && m_Text.find_first_of(".eE") == std::string::npos;
}

const Value* Value::Find(std::string_view a_Key) const {
  for (const Member& m : m_Members) {
    if (m.first == a_Key) return &m.second;
  }
  return nullptr;
}

Value& Value::Push(Value a_Value) {
  m_Items.push_back(std::move(a_Value));
  return m_Items.back();
}

Value& Value::Add(std::string a_Key, Value a_Value) {
  m_Members.emplace_back(std::move(a_Key), std::move(a_Value));
  return m_Members.back().second;
}

const char* Value::KindName(Kind a_Kind) {
  switch (a_Kind) {
    case Kind::Null:
      return "null";
    case Kind::Bool:
      return "a boolean";
    case Kind::Number:
      return "a number";
    case Kind::String:
      return "a string";
    case Kind::Array:
      return "an array";
    case Kind::Object:
      return "an object";
  }
  return "a value";
}

std::string Value::Describe() const {
  switch (m_Kind) {
    case Kind::Number:
      return m_Text;
    case Kind::String: {
      constexpr std::size_t kLongest = 40;
      if (m_Text.size() <= kLongest) return Quote(m_Text);
      std::size_t cut = kLongest;
      while (cut > 0 && (static_cast<unsigned char>(m_Text[cut]) & 0xC0) == 0x80) --cut;
      return Quote(m_Text.substr(0, cut)) + "...";
    }
    case Kind::Bool:
      return m_Bool ? "true" : "false";
    default:
      return KindName(m_Kind);
  }
}

// ---- reader -------------------------------------------------------------------------------

namespace {

class Reader {
 public:
  explicit Reader(std::string_view a_Text) : m_Text(a_Text) {}

  bool Document(Value& a_Out, ParseError& a_Error) {
    try {
      SkipSpace();
      a_Out = ParseValue(0);
      SkipSpace();
      if (m_Pos < m_Text.size()) Fail("unexpected text after the document");
      return true;
    } catch (const ParseError& e) {
      a_Error = e;
      return false;
    }
  }

 private:
  [[noreturn]] void Fail(const std::string& a_Message) const {
    throw ParseError{a_Message, m_Line, m_Column};
  }

  bool AtEnd() const { return m_Pos >= m_Text.size(); }
  char Peek() const { return m_Text[m_Pos]; }

  // Moves one byte on; columns count characters, so continuation bytes do not count.
  void Advance() {
    const auto c = static_cast<unsigned char>(m_Text[m_Pos++]);
    if (c == '\n') {
      ++m_Line;
      m_Column = 1;
    } else if ((c & 0xC0) != 0x80) {
      ++m_Column;
    }
  }

  void SkipSpace() {
    while (!AtEnd() && (Peek() == ' ' || Peek() == '\t' || Peek() == '\n' || Peek() == '\r')) {
      Advance();
    }
  }

  void Expect(char a_Char, const char* a_What) {
    if (AtEnd() || Peek() != a_Char) Fail(std::string("expected ") + a_What + Found());
    Advance();
  }

  std::string Found() const {
    if (AtEnd()) return ", found the end of the text";
    const auto c = static_cast<unsigned char>(Peek());
    if (c >= 0x20 && c < 0x7F) return std::string(", found '") + static_cast<char>(c) + "'";
    return "";
  }

  Value ParseValue(int a_Depth) {
    if (AtEnd()) Fail("expected a value, found the end of the text");
    if (++m_Values > kMaxValues) Fail("more than " + std::to_string(kMaxValues) + " values");
    const int line = m_Line, column = m_Column;
    Value v;
    switch (Peek()) {
      case '{':
        v = ParseObject(a_Depth + 1);
        break;
      case '[':
        v = ParseArray(a_Depth + 1);
        break;
      case '"':
        v = Value::String(ParseString());
        break;
      case 't':
        Word("true");
        v = Value::Bool(true);
        break;
      case 'f':
        Word("false");
        v = Value::Bool(false);
        break;
      case 'n':
        Word("null");
        break;
      default:
        if (Peek() == '-' || (Peek() >= '0' && Peek() <= '9')) {
          v = ParseNumber();
        } else {
          Fail("expected a value" + Found());
        }
    }
    v.SetPosition(line, column);
    return v;
  }

  void Word(std::string_view a_Word) {
    if (m_Text.substr(m_Pos, a_Word.size()) != a_Word) Fail("expected a value" + Found());
    for (std::size_t i = 0; i < a_Word.size(); ++i) Advance();
  }

  Value ParseObject(int a_Depth) {
    if (a_Depth > kMaxDepth) Fail("nested deeper than " + std::to_string(kMaxDepth) + " levels");
    Advance();  // '{'
    Value object = Value::Object();
    SkipSpace();
    if (!AtEnd() && Peek() == '}') {
      Advance();
      return object;
    }
    // The keys seen so far: looked up by hash once the object has more than a few, so that
    // an object of very many keys is read in time linear in its text.
    constexpr std::size_t kFewKeys = 16;
    std::unordered_set<std::string> keys;
    for (;;) {
      SkipSpace();
      if (AtEnd() || Peek() != '"') Fail("expected a key in double quotes" + Found());
      const int line = m_Line, column = m_Column;
      std::string key = ParseString();
      const std::size_t count = object.Members().size();
      if (count == kFewKeys) {
        for (const Value::Member& member : object.Members()) keys.insert(member.first);
      }
      const bool twice = count < kFewKeys ? object.Find(key) != nullptr : !keys.insert(key).second;
      if (twice) {
        throw ParseError{"the key " + Quote(key) + " is given twice", line, column};
      }
      SkipSpace();
      Expect(':', "':' after the key");
      SkipSpace();
      object.Add(std::move(key), ParseValue(a_Depth));
      SkipSpace();
      if (!AtEnd() && Peek() == ',') {
        Advance();
        continue;
      }
      Expect('}', "',' or '}'");
      return object;
    }
  }

  Value ParseArray(int a_Depth) {
    if (a_Depth > kMaxDepth) Fail("nested deeper than " + std::to_string(kMaxDepth) + " levels");
    Advance();  // '['
    Value array = Value::Array();
    SkipSpace();
    if (!AtEnd() && Peek() == ']') {
      Advance();
      return array;
    }
    for (;;) {
      SkipSpace();
      array.Push(ParseValue(a_Depth));
      SkipSpace();
      if (!AtEnd() && Peek() == ',') {
        Advance();
        continue;
      }
      Expect(']', "',' or ']'");
      return array;
    }
  }

  Value ParseNumber() {
    const std::size_t start = m_Pos;
    const auto digits = [&] {
      const std::size_t from = m_Pos;
      while (!AtEnd() && Peek() >= '0' && Peek() <= '9') Advance();
      return m_Pos - from;
    };
    if (Peek() == '-') Advance();
    if (!AtEnd() && Peek() == '0') {
      Advance();
    } else if (digits() == 0) {
      Fail("expected a digit" + Found());
    }
    if (!AtEnd() && Peek() == '.') {
      Advance();
      if (digits() == 0) Fail("expected a digit after the decimal point" + Found());
    }
    if (!AtEnd() && (Peek() == 'e' || Peek() == 'E')) {
      Advance();
      if (!AtEnd() && (Peek() == '+' || Peek() == '-')) Advance();
      if (digits() == 0) Fail("expected a digit in the exponent" + Found());
    }
    if (!AtEnd() && ((Peek() >= '0' && Peek() <= '9') || Peek() == '.')) {
      Fail("a number may not have leading zeros");
    }
    return Value::NumberText(std::string(m_Text.substr(start, m_Pos - start)));
  }

  unsigned Hex4() {
    unsigned value = 0;
    for (int i = 0; i < 4; ++i) {
      if (AtEnd()) Fail("expected four hexadecimal digits after \\u");
      const char c = Peek();
      unsigned digit = 0;
      if (c >= '0' && c <= '9') {
        digit = static_cast<unsigned>(c - '0');
      } else if (c >= 'a' && c <= 'f') {
        digit = static_cast<unsigned>(c - 'a' + 10);
      } else if (c >= 'A' && c <= 'F') {
        digit = static_cast<unsigned>(c - 'A' + 10);
      } else {
        Fail("expected four hexadecimal digits after \\u");
      }
      value = value * 16 + digit;
      Advance();
    }
    return value;
  }

  // One raw UTF-8 character of a string literal; strict: no surrogates, no overlong forms.
  void RawCharacter(std::string& a_Out) {
    const auto lead = static_cast<unsigned char>(Peek());
    int extra = 0;
    char32_t cp = 0, minimum = 0;
    if (lead < 0x80) {
      a_Out += static_cast<char>(lead);
      Advance();
      return;
    } else if ((lead & 0xE0) == 0xC0) {
      extra = 1; cp = lead & 0x1F; minimum = 0x80;
    } else if ((lead & 0xF0) == 0xE0) {
      extra = 2; cp = lead & 0x0F; minimum = 0x800;
    } else if ((lead & 0xF8) == 0xF0) {
      extra = 3; cp = lead & 0x07; minimum = 0x10000;
    } else {
      Fail("the text is not valid UTF-8");
    }
    if (m_Text.size() - m_Pos <= static_cast<std::size_t>(extra)) Fail("the text is not valid UTF-8");
    for (int i = 1; i <= extra; ++i) {
      const auto c = static_cast<unsigned char>(m_Text[m_Pos + static_cast<std::size_t>(i)]);
      if ((c & 0xC0) != 0x80) Fail("the text is not valid UTF-8");
      cp = (cp << 6) | (c & 0x3F);
    }
    if (cp < minimum || cp > 0x10FFFF || (cp >= 0xD800 && cp < 0xE000)) {
      Fail("the text is not valid UTF-8");
    }
    a_Out.append(m_Text.substr(m_Pos, static_cast<std::size_t>(extra) + 1));
    for (int i = 0; i <= extra; ++i) Advance();
  }

  std::string ParseString() {
    Advance();  // '"'
    std::string out;
    for (;;) {
      if (AtEnd()) Fail("the string is not closed");
      const auto c = static_cast<unsigned char>(Peek());
      if (c == '"') {
        Advance();
        return out;
      }
      if (c < 0x20) Fail("a control character in a string must be escaped");
      if (c != '\\') {
        RawCharacter(out);
        continue;
      }
      Advance();
      if (AtEnd()) Fail("the string is not closed");
      const char e = Peek();
      Advance();
      switch (e) {
        case '"': out += '"'; break;
        case '\\': out += '\\'; break;
        case '/': out += '/'; break;
        case 'b': out += '\b'; break;
        case 'f': out += '\f'; break;
        case 'n': out += '\n'; break;
        case 'r': out += '\r'; break;
        case 't': out += '\t'; break;
        case 'u': {
          char32_t cp = Hex4();
          // A high surrogate followed by an escaped low one is one character; any other
          // surrogate stays a lone one.
          if (cp >= 0xD800 && cp < 0xDC00 && m_Text.substr(m_Pos, 2) == "\\u") {
            const std::size_t pos = m_Pos;
            const int line = m_Line, column = m_Column;
            Advance();
            Advance();
            const char32_t low = Hex4();
            if (low >= 0xDC00 && low < 0xE000) {
              cp = 0x10000 + ((cp - 0xD800) << 10) + (low - 0xDC00);
            } else {
              m_Pos = pos;
              m_Line = line;
              m_Column = column;
            }
          }
          AppendUtf8(out, cp);
          break;
        }
        default:
          Fail(std::string("unknown escape \\") + (e >= 0x20 && e < 0x7F ? std::string(1, e) : ""));
      }
    }
  }

  std::string_view m_Text;
  std::size_t m_Pos = 0;
  std::size_t m_Values = 0;
  int m_Line = 1;
  int m_Column = 1;
};

// ---- writer -------------------------------------------------------------------------------

constexpr std::size_t kLineWidth = 100;

void WriteOneLine(const Value& a_Value, std::string& a_Out) {
  switch (a_Value.GetKind()) {
    case Value::Kind::Null:
      a_Out += "null";
      return;
    case Value::Kind::Bool:
      a_Out += a_Value.GetBool() ? "true" : "false";
      return;
    case Value::Kind::Number:
      a_Out += a_Value.Text();
      return;
    case Value::Kind::String:
      a_Out += Quote(a_Value.Text());
      return;
    case Value::Kind::Array: {
      a_Out += '[';
      bool first = true;
      for (const Value& item : a_Value.Items()) {
        if (!first) a_Out += ", ";
        first = false;
        WriteOneLine(item, a_Out);
      }
      a_Out += ']';
      return;
    }
    case Value::Kind::Object: {
      a_Out += '{';
      bool first = true;
      for (const auto& [key, item] : a_Value.Members()) {
        if (!first) a_Out += ", ";
        first = false;
        a_Out += Quote(key);
        a_Out += ": ";
        WriteOneLine(item, a_Out);
      }
      a_Out += '}';
      return;
    }
  }
}

// Characters, not bytes, decide whether a line fits.
std::size_t Width(std::string_view a_Text) {
  std::size_t n = 0;
  for (char c : a_Text) n += (static_cast<unsigned char>(c) & 0xC0) != 0x80;
  return n;
}

void WriteIndented(const Value& a_Value, std::size_t a_Indent, std::size_t a_Used,
                   std::string& a_Out) {
  const bool container =
      a_Value.GetKind() == Value::Kind::Array || a_Value.GetKind() == Value::Kind::Object;
  std::string line;
  WriteOneLine(a_Value, line);
  if (!container || a_Used + Width(line) <= kLineWidth) {
    a_Out += line;
    return;
  }
  const std::string inner(a_Indent + 2, ' ');
  if (a_Value.GetKind() == Value::Kind::Array) {
    a_Out += "[\n";
    for (std::size_t i = 0; i < a_Value.Items().size(); ++i) {
      a_Out += inner;
      WriteIndented(a_Value.Items()[i], a_Indent + 2, a_Indent + 2, a_Out);
      a_Out += i + 1 < a_Value.Items().size() ? ",\n" : "\n";
    }
    a_Out += std::string(a_Indent, ' ') + "]";
    return;
  }
  a_Out += "{\n";
  for (std::size_t i = 0; i < a_Value.Members().size(); ++i) {
    const auto& [key, item] = a_Value.Members()[i];
    const std::string head = Quote(key) + ": ";
    a_Out += inner + head;
    WriteIndented(item, a_Indent + 2, a_Indent + 2 + Width(head), a_Out);
    a_Out += i + 1 < a_Value.Members().size() ? ",\n" : "\n";
  }
  a_Out += std::string(a_Indent, ' ') + "}";
}

}  // namespace

bool Parse(std::string_view a_Text, Value& a_Out, ParseError& a_Error) {
  return Reader(a_Text).Document(a_Out, a_Error);
}

std::string Quote(std::string_view a_Text) {
  static constexpr char kHex[] = "0123456789abcdef";
  std::string out = "\"";
  std::size_t pos = 0;
  while (pos < a_Text.size()) {
    const std::size_t start = pos;
    const char32_t cp = NextCodePoint(a_Text, pos);
    const auto escape = [&](char32_t a_Unit) {
      out += "\\u";
      for (int shift = 12; shift >= 0; shift -= 4) out += kHex[(a_Unit >> shift) & 0xF];
    };
    switch (cp) {
      case '"': out += "\\\""; continue;
      case '\\': out += "\\\\"; continue;
      case '\b': out += "\\b"; continue;
      case '\f': out += "\\f"; continue;
      case '\n': out += "\\n"; continue;
      case '\r': out += "\\r"; continue;
      case '\t': out += "\\t"; continue;
      default: break;
    }
    if (cp < 0x20 || (cp >= 0xD800 && cp < 0xE000)) {
      escape(cp);  // control characters and unpaired surrogates
    } else if (cp == 0xFFFD && !(pos - start == 3 && a_Text.substr(start, 3) == "\xEF\xBF\xBD")) {
      out += "\xEF\xBF\xBD";  // malformed bytes: what the archive would store for them
    } else {
      out.append(a_Text.substr(start, pos - start));
    }
  }
  out += '"';
  return out;
}

std::string Write(const Value& a_Value) {
  std::string out;
  WriteIndented(a_Value, 0, 0, out);
  out += '\n';
  return out;
}

}  // namespace pjson

}  // namespace kd820
