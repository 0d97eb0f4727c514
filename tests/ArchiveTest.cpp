// The archive byte stream: primitives, strings, counts, object references and hostile input.
#include <gtest/gtest.h>

#include <optional>
#include <vector>

#include "editor/project/ClassTable.h"
#include "editor/devices/Addr.h"
#include "editor/base/Archive.h"
#include "editor/project/LangDefine.h"
#include "editor/base/Utf16.h"
#include "editor/screens/HMIFrame.h"

using namespace kd820;

namespace {

using Bytes = std::vector<uint8_t>;

Bytes StoreString(const std::string& a_Text) {
  CArchive ar;
  ar.WriteString(a_Text);
  return ar.Bytes();
}

std::string Repeat(char a_C, std::size_t a_N) { return std::string(a_N, a_C); }

}  // namespace

TEST(ArchivePrimitives, LittleEndianWithoutPadding) {
  CArchive ar;
  uint8_t b = 0x12;
  uint16_t w = 0x3456;
  int32_t i = -2;
  float f = 1.5f;
  double d = -0.25;
  ar.Io(b);
  ar.Io(w);
  ar.Io(i);
  ar.Io(f);
  ar.Io(d);
  const Bytes expected = {0x12, 0x56, 0x34, 0xFE, 0xFF, 0xFF, 0xFF, 0x00, 0x00, 0xC0, 0x3F,
                          0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0xD0, 0xBF};
  EXPECT_EQ(ar.Bytes(), expected);

  CArchive in(ar.Bytes(), FindArchiveClass);
  uint8_t b2 = 0;
  uint16_t w2 = 0;
  int32_t i2 = 0;
  float f2 = 0;
  double d2 = 0;
  in.Io(b2);
  in.Io(w2);
  in.Io(i2);
  in.Io(f2);
  in.Io(d2);
  EXPECT_EQ(b2, b);
  EXPECT_EQ(w2, w);
  EXPECT_EQ(i2, i);
  EXPECT_EQ(f2, f);
  EXPECT_EQ(d2, d);
  EXPECT_EQ(in.Remaining(), 0u);
}

TEST(ArchiveStrings, TagAndLengthForms) {
  EXPECT_EQ(StoreString(""), (Bytes{0xFF, 0xFE, 0xFF, 0x00}));
  EXPECT_EQ(StoreString("A"), (Bytes{0xFF, 0xFE, 0xFF, 0x01, 0x41, 0x00}));

  const Bytes s254 = StoreString(Repeat('x', 254));
  ASSERT_EQ(s254.size(), 4u + 254 * 2);
  EXPECT_EQ(s254[3], 254);

  const Bytes s255 = StoreString(Repeat('x', 255));
  ASSERT_EQ(s255.size(), 4u + 2 + 255 * 2);
  EXPECT_EQ(s255[3], 0xFF);
  EXPECT_EQ(s255[4], 0xFF);
  EXPECT_EQ(s255[5], 0x00);

  const Bytes s65534 = StoreString(Repeat('x', 0xFFFE));
  EXPECT_EQ(s65534[3], 0xFF);
  EXPECT_EQ(s65534[4], 0xFF);
  EXPECT_EQ(s65534[5], 0xFF);
  EXPECT_EQ(s65534[6], 0xFE);
  EXPECT_EQ(s65534[7], 0xFF);
  EXPECT_EQ(s65534.size(), 4u + 2 + 4 + 0xFFFE * 2);

  for (const std::string& text : {std::string(), Repeat('y', 254), Repeat('y', 255),
                                  Repeat('z', 0xFFFE), std::string("工程文件 A1")}) {
    const Bytes bytes = StoreString(text);
    CArchive in(bytes, FindArchiveClass);
    EXPECT_EQ(in.ReadString(), text);
    EXPECT_EQ(in.Remaining(), 0u);
  }
}

TEST(ArchiveStrings, ChineseTextIsUtf16) {
  EXPECT_EQ(StoreString("中"), (Bytes{0xFF, 0xFE, 0xFF, 0x01, 0x2D, 0x4E}));
  // A character outside the basic plane takes a surrogate pair.
  EXPECT_EQ(StoreString("\xF0\x9F\x98\x80"),
            (Bytes{0xFF, 0xFE, 0xFF, 0x02, 0x3D, 0xD8, 0x00, 0xDE}));
}

TEST(ArchiveStrings, UnpairedSurrogatesSurviveARoundTrip) {
  const Bytes stored = {0xFF, 0xFE, 0xFF, 0x03, 0x00, 0xD8, 0x41, 0x00, 0x00, 0xDC};
  CArchive in(stored, FindArchiveClass);
  const std::string text = in.ReadString();
  EXPECT_EQ(StoreString(text), stored);
  EXPECT_EQ(Utf8ToUtf16(Utf16ToUtf8(u"\xDC00\xD800")), std::u16string(u"\xDC00\xD800"));
}

TEST(ArchiveStrings, MalformedUtf8BecomesReplacementCharacter) {
  EXPECT_EQ(Utf8ToUtf16("a\xFF" "b"), std::u16string(u"a\xFFFD" "b"));
  EXPECT_EQ(Utf8ToUtf16("\xE4\xB8"), std::u16string(u"\xFFFD\xFFFD"));
}

TEST(ArchiveCounts, SmallAndLargeForms) {
  CArchive ar;
  ar.WriteCount(0);
  ar.WriteCount(0xFFFE);
  ar.WriteCount(0xFFFF);
  EXPECT_EQ(ar.Bytes(), (Bytes{0x00, 0x00, 0xFE, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0x00, 0x00}));
}

TEST(ArchiveObjects, ClassTagsAndIndicesShareOneCounter) {
  CHMIFrame first(1), second(2);
  CArchive ar;
  ar.WriteObject(&first);
  const std::size_t afterFirst = ar.Bytes().size();
  ar.WriteObject(&second);
  const std::size_t afterSecond = ar.Bytes().size();
  ar.WriteObject(&first);
  ar.WriteObject(nullptr);
  const Bytes& b = ar.Bytes();

  // New class: FFFF, schema 0, name length 9, "CHMIFrame", then the fields.
  const Bytes head = {0xFF, 0xFF, 0x00, 0x00, 0x09, 0x00, 'C', 'H', 'M', 'I', 'F', 'r', 'a', 'm', 'e'};
  EXPECT_TRUE(std::equal(head.begin(), head.end(), b.begin()));
  // Class index 1, object index 2: the second frame names its class as 0x8001.
  EXPECT_EQ(b[afterFirst], 0x01);
  EXPECT_EQ(b[afterFirst + 1], 0x80);
  // The first frame written again is the index 2 alone; then the null reference.
  ASSERT_EQ(b.size(), afterSecond + 4);
  EXPECT_EQ(b[afterSecond], 0x02);
  EXPECT_EQ(b[afterSecond + 1], 0x00);
  EXPECT_EQ(b[afterSecond + 2], 0x00);
  EXPECT_EQ(b[afterSecond + 3], 0x00);

  CArchive in(b, FindArchiveClass);
  std::unique_ptr<CObject> a(in.ReadObject(CHMIFrame::StaticClass()));
  std::unique_ptr<CObject> c(in.ReadObject(CHMIFrame::StaticClass()));
  CObject* again = in.ReadObject(CHMIFrame::StaticClass());
  EXPECT_EQ(again, a.get());
  EXPECT_EQ(in.ReadObject(CHMIFrame::StaticClass()), nullptr);
  EXPECT_EQ(static_cast<CHMIFrame*>(c.get())->GetNumber(), 2);
}

TEST(ArchiveObjects, EmptyListIsTheCountAlone) {
  std::vector<std::unique_ptr<CLangDefineItem>> list;
  CArchive ar;
  ar.IoObjectList(list);
  EXPECT_EQ(ar.Bytes(), (Bytes{0x00, 0x00}));
}

namespace {

// Expects loading a_Bytes as one frame reference to fail with an archive error at a_Offset.
void ExpectFrameLoadFails(const Bytes& a_Bytes, std::size_t a_Offset, const char* a_Why) {
  SCOPED_TRACE(a_Why);
  CArchive in(a_Bytes, FindArchiveClass);
  try {
    auto frame = in.ReadOwned<CHMIFrame>();
    ADD_FAILURE() << "loaded";
  } catch (const ArchiveError& e) {
    EXPECT_EQ(e.Offset(), a_Offset) << e.what();
  }
}

Bytes StoredFrame() {
  CHMIFrame frame(7);
  CArchive ar;
  ar.WriteObject(&frame);
  return ar.Bytes();
}

}  // namespace

TEST(ArchiveHostileInput, RefusedWithTheOffsetOfTheFault) {
  Bytes unknown = {0xFF, 0xFF, 0x00, 0x00, 0x04, 0x00, 'C', 'B', 'a', 'd'};
  ExpectFrameLoadFails(unknown, 0, "class not in the table");

  Bytes schema = StoredFrame();
  schema[2] = 0x01;
  ExpectFrameLoadFails(schema, 0, "wrong schema");

  ExpectFrameLoadFails({0x05, 0x00}, 0, "index not yet seen");
  ExpectFrameLoadFails({0x01, 0x80}, 0, "class index not yet seen");

  Bytes wrongClass = {0xFF, 0xFF, 0x00, 0x00, 0x04, 0x00, 'C', 'A', 'd', 'd', 'r'};
  wrongClass[4] = 5;
  ExpectFrameLoadFails(wrongClass, 0, "object of the wrong class");

  ExpectFrameLoadFails({0x00, 0x00}, 0, "null where a frame must be");

  Bytes truncated = StoredFrame();
  truncated.resize(truncated.size() - 1);
  ExpectFrameLoadFails(truncated, truncated.size() - 1, "truncated element count");

  Bytes hugeCount = StoredFrame();
  hugeCount.resize(hugeCount.size() - 2);
  hugeCount.push_back(0xFF);
  hugeCount.push_back(0xFF);
  for (uint8_t b : {0xFF, 0xFF, 0xFF, 0x7F}) hugeCount.push_back(b);
  ExpectFrameLoadFails(hugeCount, hugeCount.size() - 6, "count beyond the remaining bytes");
}

TEST(ArchiveHostileInput, StringLengthBeyondTheEnd) {
  const Bytes bytes = {0xFF, 0xFE, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0x7F, 0x41, 0x00};
  CArchive in(bytes, FindArchiveClass);
  EXPECT_THROW(in.ReadString(), ArchiveError);
  const Bytes narrow = {0x03, 'a', 'b', 'c'};
  CArchive in2(narrow, FindArchiveClass);
  EXPECT_THROW(in2.ReadString(), ArchiveError);
}

TEST(ArchiveHostileInput, SecondReferenceToAnOwnedObjectIsRefused) {
  CHMIFrame frame(3);
  CArchive ar;
  ar.WriteObject(&frame);
  ar.WriteObject(&frame);
  CArchive in(ar.Bytes(), FindArchiveClass);
  auto first = in.ReadOwned<CHMIFrame>();
  EXPECT_THROW(in.ReadOwned<CHMIFrame>(), ArchiveError);
}

TEST(AddrArchive, VersionOneLoadsWithoutIndex) {
  CAddr addr(CAddr::kBit);
  addr.m_Port = 1;
  addr.m_Station = 4;
  addr.m_TypeName = "X";
  addr.m_Note = "pump";
  addr.m_Address = 12;
  addr.m_SubAddress = 3;
  addr.m_HasIndex = 1;
  addr.m_Index = 2;
  addr.m_Bcd = 1;
  CArchive ar;
  addr.Serialize(ar);
  CArchive in(ar.Bytes(), FindArchiveClass);
  CAddr back;
  back.Serialize(in);
  EXPECT_EQ(back, addr);

  // Version 1: the same body without the two index fields.
  Bytes v1 = ar.Bytes();
  v1[0] = 1;
  v1.resize(v1.size() - 8);
  CArchive in1(v1, FindArchiveClass);
  CAddr old;
  old.m_HasIndex = 1;
  old.m_Index = 9;
  old.Serialize(in1);
  EXPECT_EQ(old.m_HasIndex, 0);
  EXPECT_EQ(old.m_Index, 0);
  EXPECT_EQ(old.m_TypeName, "X");
  EXPECT_EQ(old.m_Address, 12);
  EXPECT_EQ(in1.Remaining(), 0u);
}

TEST(AddrDefaults, InternalResetAndPortSwap) {
  CAddr bit(CAddr::kBit);
  EXPECT_EQ(bit.m_TypeName, "LW.B");
  EXPECT_EQ(bit.m_HasSubAddress, 1);
  EXPECT_EQ(bit.m_Length, 1);
  EXPECT_TRUE(bit.IsInternal());
  CAddr dword(CAddr::kDoubleWord);
  EXPECT_EQ(dword.m_TypeName, "LW");
  EXPECT_EQ(dword.m_Length, 2);
  EXPECT_EQ(dword.m_HasSubAddress, 0);

  CAddr a;
  a.m_Port = 0;
  a.SwapPort(0, 1);
  EXPECT_EQ(a.m_Port, 1);
  a.SwapPort(0, 1);
  EXPECT_EQ(a.m_Port, 0);
  a.SwapPort(2, 2);
  EXPECT_EQ(a.m_Port, 0);
  a.SwapPort(1, 2);
  EXPECT_EQ(a.m_Port, 0);

  a.m_Port = 2;
  a.m_TypeName = "D";
  a.ResetIfPortChanged({false, false, true, false});
  EXPECT_TRUE(a.IsInternal());
  EXPECT_EQ(a.m_TypeName, "LW");
}

namespace {

// The archive error of reading one more frame reference after a stored frame, followed by
// a_Tag (little endian); empty when it loads.
std::optional<ArchiveError> ErrorOfReferenceAfterFrame(uint16_t a_Tag, std::size_t& a_TagOffset) {
  Bytes bytes = StoredFrame();  // class index 1, frame index 2
  a_TagOffset = bytes.size();
  bytes.push_back(static_cast<uint8_t>(a_Tag));
  bytes.push_back(static_cast<uint8_t>(a_Tag >> 8));
  CArchive in(bytes, FindArchiveClass);
  auto first = in.ReadOwned<CHMIFrame>();
  try {
    auto second = in.ReadOwned<CHMIFrame>();
  } catch (const ArchiveError& e) {
    return e;
  }
  return std::nullopt;
}

}  // namespace

TEST(ArchiveHostileInput, ReferenceToTheIndexAfterTheLastReadIsNotYetSeen) {
  std::size_t at = 0;
  // Index 3 is the next one the reader would hand out: not seen.
  const auto next = ErrorOfReferenceAfterFrame(0x0003, at);
  ASSERT_TRUE(next.has_value());
  EXPECT_EQ(next->Offset(), at);
  EXPECT_NE(std::string(next->what()).find("not yet seen"), std::string::npos) << next->what();
  // Index 2, the frame just read, is seen (and refused only as a second reference to it).
  const auto last = ErrorOfReferenceAfterFrame(0x0002, at);
  ASSERT_TRUE(last.has_value());
  EXPECT_EQ(std::string(last->what()).find("not yet seen"), std::string::npos) << last->what();
}

TEST(ArchiveHostileInput, StringWithMoreUnitsThanRemainButNotMoreBytesIsRefusedAtItsStart) {
  // Three UTF-16 units claimed, five bytes left: fewer than the six the units need, more than
  // the three a count of bytes would ask for.
  const Bytes bytes = {'x', 0xFF, 0xFE, 0xFF, 0x03, 'A', 0x00, 'B', 0x00, 'C'};
  CArchive in(bytes, FindArchiveClass);
  EXPECT_EQ(in.ReadU8(), 'x');
  try {
    in.ReadString();
    ADD_FAILURE() << "read";
  } catch (const ArchiveError& e) {
    EXPECT_EQ(e.Offset(), 1u) << e.what();
  }
  // Six bytes left: the string is read.
  Bytes whole = bytes;
  whole.push_back(0x00);
  CArchive fits(whole, FindArchiveClass);
  fits.ReadU8();
  EXPECT_EQ(fits.ReadString(), "ABC");
}
