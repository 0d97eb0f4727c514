#include "editor/base/XmlDocumentWrapper.h"

#include <fstream>

namespace kd820 {

namespace {

bool IsXmlSpace(char a_C) { return a_C == ' ' || a_C == '\t' || a_C == '\r' || a_C == '\n'; }

}  // namespace

std::string CXmlNodeWrapper::GetName() const { return m_Node ? m_Node.name() : std::string(); }

CXmlNodeWrapper CXmlNodeWrapper::FindNode(const std::string& a_Name) const {
  if (!m_Node) return {};
  return CXmlNodeWrapper(m_Node.child(a_Name.c_str()));
}

CXmlNodeListWrapper CXmlNodeWrapper::FindNodes(const std::string& a_Name) const {
  std::vector<CXmlNodeWrapper> nodes;
  if (m_Node) {
    for (pugi::xml_node child : m_Node.children(a_Name.c_str())) {
      if (child.type() == pugi::node_element) nodes.emplace_back(child);
    }
  }
  return CXmlNodeListWrapper(std::move(nodes));
}

std::size_t CXmlNodeWrapper::NumNodes() const {
  std::size_t count = 0;
  if (m_Node) {
    for (pugi::xml_node child : m_Node.children()) {
      if (child.type() == pugi::node_element) ++count;
    }
  }
  return count;
}

CXmlNodeWrapper CXmlNodeWrapper::GetNode(std::size_t a_Index) const {
  if (!m_Node) return {};
  for (pugi::xml_node child : m_Node.children()) {
    if (child.type() != pugi::node_element) continue;
    if (a_Index == 0) return CXmlNodeWrapper(child);
    --a_Index;
  }
  return {};
}

std::string CXmlNodeWrapper::GetValue(const std::string& a_Attribute) const {
  if (!m_Node) return {};
  return m_Node.attribute(a_Attribute.c_str()).value();
}

bool CXmlNodeWrapper::HasValue(const std::string& a_Attribute) const {
  return m_Node && m_Node.attribute(a_Attribute.c_str());
}

std::string CXmlNodeWrapper::GetText() const {
  std::string text;
  if (!m_Node) return text;
  // Walk the subtree without recursion: deeply nested input must not exhaust the stack.
  pugi::xml_node node = m_Node.first_child();
  while (node) {
    if (node.type() == pugi::node_pcdata || node.type() == pugi::node_cdata) text += node.value();
    if (node.first_child()) {
      node = node.first_child();
      continue;
    }
    while (node && node != m_Node && !node.next_sibling()) node = node.parent();
    if (!node || node == m_Node) break;
    node = node.next_sibling();
  }
  std::size_t begin = 0, end = text.size();
  while (begin < end && IsXmlSpace(text[begin])) ++begin;
  while (end > begin && IsXmlSpace(text[end - 1])) --end;
  return text.substr(begin, end - begin);
}

CXmlNodeWrapper CXmlNodeListWrapper::Node(std::size_t a_Index) const {
  return a_Index < m_Nodes.size() ? m_Nodes[a_Index] : CXmlNodeWrapper();
}

bool CXmlDocumentWrapper::Load(const std::string& a_Path) {
  m_Document.reset();
  std::ifstream in(a_Path, std::ios::binary);
  if (!in) return false;
  in.seekg(0, std::ios::end);
  const std::streamoff size = in.tellg();
  if (size < 0 || static_cast<std::uint64_t>(size) > kMaxFileSize) return false;
  in.seekg(0, std::ios::beg);
  std::vector<char> bytes(static_cast<std::size_t>(size));
  if (size > 0 && !in.read(bytes.data(), size)) return false;
  return LoadFromMemory(bytes.data(), bytes.size());
}

bool CXmlDocumentWrapper::LoadFromMemory(const void* a_Data, std::size_t a_Size) {
  m_Document.reset();
  if (a_Size > kMaxFileSize) return false;
  if (a_Size == 0) return false;
  // White-space-only text is kept so that an element's text content reads as written.
  const pugi::xml_parse_result result = m_Document.load_buffer(
      a_Data, a_Size, pugi::parse_default | pugi::parse_ws_pcdata, pugi::encoding_auto);
  // Well-formed means exactly one root element (the parser itself accepts several).
  std::size_t roots = 0;
  for (pugi::xml_node child : m_Document.children()) {
    if (child.type() == pugi::node_element) ++roots;
  }
  if (!result || roots != 1) {
    m_Document.reset();
    return false;
  }
  return true;
}

CXmlNodeWrapper CXmlDocumentWrapper::AsNode() const {
  return CXmlNodeWrapper(m_Document.document_element());
}

std::optional<int32_t> ParseXmlInteger(const std::string& a_Text) {
  std::size_t i = 0, end = a_Text.size();
  while (i < end && IsXmlSpace(a_Text[i])) ++i;
  while (end > i && IsXmlSpace(a_Text[end - 1])) --end;
  if (i == end) return 0;
  bool negative = false;
  if (a_Text[i] == '+' || a_Text[i] == '-') {
    negative = a_Text[i] == '-';
    ++i;
  }
  if (i == end) return std::nullopt;
  int64_t value = 0;
  for (; i < end; ++i) {
    const char c = a_Text[i];
    if (c < '0' || c > '9') return std::nullopt;
    value = value * 10 + (c - '0');
    if (value > int64_t{INT32_MAX} + 1) return std::nullopt;
  }
  if (negative) value = -value;
  if (value > INT32_MAX || value < INT32_MIN) return std::nullopt;
  return static_cast<int32_t>(value);
}

}  // namespace kd820
