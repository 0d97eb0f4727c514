#pragma once
// Read access to the library's XML files (hardware models, PLC index, PLC protocols).
// Names, values and texts are UTF-8; the file may be UTF-8 or UTF-16 with a byte-order mark.
// Node and list objects refer into their document and must not outlive it.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include <pugixml.hpp>

namespace kd820 {

class CXmlNodeListWrapper;

class CXmlNodeWrapper {
 public:
  CXmlNodeWrapper() = default;
  explicit CXmlNodeWrapper(pugi::xml_node a_Node) : m_Node(a_Node) {}

  bool IsNull() const { return !m_Node; }
  // The element's own name ("" for a null node).
  std::string GetName() const;
  // The first child element of that name; a null node when there is none.
  CXmlNodeWrapper FindNode(const std::string& a_Name) const;
  // Every child element of that name, in document order.
  CXmlNodeListWrapper FindNodes(const std::string& a_Name) const;
  // The number of child elements, and the child element at a 0-based index (null past the end).
  std::size_t NumNodes() const;
  CXmlNodeWrapper GetNode(std::size_t a_Index) const;
  // The text of an attribute; "" when the node or the attribute is missing.
  std::string GetValue(const std::string& a_Attribute) const;
  // True when the attribute is present (even with an empty value).
  bool HasValue(const std::string& a_Attribute) const;
  // The element's text content: every text below it, in document order, without leading and
  // trailing white space.
  std::string GetText() const;

 private:
  pugi::xml_node m_Node;
};

class CXmlNodeListWrapper {
 public:
  CXmlNodeListWrapper() = default;
  explicit CXmlNodeListWrapper(std::vector<CXmlNodeWrapper> a_Nodes) : m_Nodes(std::move(a_Nodes)) {}

  std::size_t Count() const { return m_Nodes.size(); }
  // The node at a 0-based index; a null node past the end.
  CXmlNodeWrapper Node(std::size_t a_Index) const;

 private:
  std::vector<CXmlNodeWrapper> m_Nodes;
};

class CXmlDocumentWrapper {
 public:
  // Library files are small; anything larger is refused rather than read into memory.
  static constexpr std::size_t kMaxFileSize = 16u << 20;

  // Parses the file; false when it is missing, unreadable, too large, not well-formed or has
  // no root element. A failed load leaves an empty document.
  bool Load(const std::string& a_Path);
  // Parses bytes held in memory, with the same rules.
  bool LoadFromMemory(const void* a_Data, std::size_t a_Size);
  // The root element; a null node before a successful load.
  CXmlNodeWrapper AsNode() const;

 private:
  pugi::xml_document m_Document;
};

// A decimal integer as the library files write them: optional white space and sign, then
// digits. Empty text (or only white space) reads as 0; other text, or a value outside int32,
// gives no value.
std::optional<int32_t> ParseXmlInteger(const std::string& a_Text);

}  // namespace kd820
