// The XML access layer the libraries read their files through.
#include <gtest/gtest.h>

#include <string>

#include "editor/base/XmlDocumentWrapper.h"
#include "tests/LibraryTestSupport.h"
#include "tests/TestSupport.h"

using namespace kd820;

namespace {

constexpr const char* kSample = R"(<?xml version="1.0" encoding="UTF-8"?>
<root id="7" name="a &amp; b" empty="">
  <!-- a comment is not a child -->
  <item n="1">first</item>
  text between
  <other/>
  <item n="2">  <![CDATA[two]]> <b>and</b> more  </item>
  <item n="3"/>
  <名称>中文</名称>
</root>
)";

bool LoadText(CXmlDocumentWrapper& a_Doc, const std::string& a_Text) {
  return a_Doc.LoadFromMemory(a_Text.data(), a_Text.size());
}

TEST(XmlDocument, NavigatesAndReads) {
  CXmlDocumentWrapper doc;
  EXPECT_TRUE(doc.AsNode().IsNull());
  ASSERT_TRUE(LoadText(doc, kSample));
  const CXmlNodeWrapper root = doc.AsNode();
  EXPECT_EQ(root.GetName(), "root");
  EXPECT_EQ(root.NumNodes(), 5u);  // elements only: no comment, no text
  EXPECT_EQ(root.GetNode(1).GetName(), "other");
  EXPECT_TRUE(root.GetNode(5).IsNull());
  EXPECT_TRUE(root.FindNode("missing").IsNull());
  EXPECT_EQ(root.FindNode("missing").GetValue("n"), "");
  const CXmlNodeListWrapper items = root.FindNodes("item");
  ASSERT_EQ(items.Count(), 3u);
  EXPECT_EQ(items.Node(2).GetValue("n"), "3");
  EXPECT_TRUE(items.Node(3).IsNull());

  EXPECT_EQ(root.GetValue("name"), "a & b");
  EXPECT_EQ(root.GetValue("absent"), "");
  EXPECT_TRUE(root.HasValue("empty"));
  EXPECT_FALSE(root.HasValue("absent"));
  // Text content: every text below the element, CDATA included, trimmed at both ends.
  EXPECT_EQ(items.Node(0).GetText(), "first");
  EXPECT_EQ(items.Node(1).GetText(), "two and more");
  EXPECT_EQ(items.Node(2).GetText(), "");
  EXPECT_EQ(root.FindNode("名称").GetText(), "中文");
}

TEST(XmlDocument, RefusesWhatIsNotADocument) {
  CXmlDocumentWrapper doc;
  for (const std::string text : {"", "   ", "<a><b></a>", "<a attr=\"1></a>", "<?xml version=\"1.0\"?>",
                                 "<!-- only a comment -->", "plain text", "<a></a><b></b>"}) {
    SCOPED_TRACE(text);
    ASSERT_TRUE(LoadText(doc, "<ok/>"));
    EXPECT_FALSE(LoadText(doc, text));
    EXPECT_TRUE(doc.AsNode().IsNull());  // a failed load forgets what the document held
  }
}

TEST(XmlDocument, LoadsFilesAndRefusesMissingOrOversizedOnes) {
  test::TempDir dir;
  CXmlDocumentWrapper doc;
  EXPECT_FALSE(doc.Load(dir.File("missing.CFG")));
  EXPECT_FALSE(doc.Load(dir.Path().string()));  // a directory
  ASSERT_TRUE(doc.Load(test::WriteText(dir.Path() / "ok.CFG", kSample)));
  EXPECT_EQ(doc.AsNode().GetValue("id"), "7");

  std::string big = "<a>" + std::string(CXmlDocumentWrapper::kMaxFileSize, ' ') + "</a>";
  EXPECT_FALSE(doc.Load(test::WriteText(dir.Path() / "big.CFG", big)));
  EXPECT_FALSE(LoadText(doc, big));
}

TEST(XmlDocument, ReadsUtf16FilesAsUtf8) {
  std::vector<uint8_t> bytes = {0xFF, 0xFE};  // UTF-16LE with a byte-order mark
  for (char16_t c : std::u16string(u"<m name=\"型号\"/>")) {
    bytes.push_back(static_cast<uint8_t>(c & 0xFF));
    bytes.push_back(static_cast<uint8_t>(c >> 8));
  }
  CXmlDocumentWrapper doc;
  ASSERT_TRUE(doc.LoadFromMemory(bytes.data(), bytes.size()));
  EXPECT_EQ(doc.AsNode().GetValue("name"), "型号");
}

TEST(XmlDocument, DeepNestingDoesNotExhaustTheStack) {
  constexpr int kDepth = 200000;
  std::string text;
  for (int i = 0; i < kDepth; ++i) text += "<a>";
  text += "x";
  for (int i = 0; i < kDepth; ++i) text += "</a>";
  CXmlDocumentWrapper doc;
  ASSERT_TRUE(LoadText(doc, text));
  EXPECT_EQ(doc.AsNode().GetText(), "x");
}

TEST(XmlInteger, ReadsDecimalTextAndRefusesTheRest) {
  EXPECT_EQ(ParseXmlInteger(""), 0);
  EXPECT_EQ(ParseXmlInteger("  \n"), 0);
  EXPECT_EQ(ParseXmlInteger(" -5 "), -5);
  EXPECT_EQ(ParseXmlInteger("+007"), 7);
  EXPECT_EQ(ParseXmlInteger("2147483647"), INT32_MAX);
  EXPECT_EQ(ParseXmlInteger("-2147483648"), INT32_MIN);
  for (const char* bad : {"abc", "12x", "1 2", "-", "0x10", "1.5", "2147483648", "99999999999999999999"}) {
    SCOPED_TRACE(bad);
    EXPECT_FALSE(ParseXmlInteger(bad).has_value());
  }
}

}  // namespace
