#include "editor/screens/DynamicText.h"

#include <algorithm>

#include "editor/screens/RecordWriter.h"
#include "editor/screens/StaticText.h"
#include "editor/screens/TextMetrics.h"

namespace kd820 {

KD_IMPLEMENT_SERIAL(CTextItem, nullptr, 0)
KD_IMPLEMENT_SERIAL(CDynamicText, &CGraphElement::classCGraphElement, 0)

const CFieldTable& CTextItem::Fields() {
  static const CField kFields[] = {
      Field<&CTextItem::m_SecondText>("secondText").JsonAt(1),
      Field<&CTextItem::m_Flag>("flag").JsonAt(2),
      Field<&CTextItem::m_Text>("text").JsonAt(0),
  };
  static const CFieldTable kTable{kCurrentVersion, kFields};
  return kTable;
}

void CTextItem::Serialize(CArchive& a_Ar) { SerializeFields(a_Ar, Fields(), this); }

CDynamicText::CDynamicText() : CGraphElement(kTypeDynamicText), m_Face(DefaultTextFace()) {}

const CDynamicText::KeyOrder& CDynamicText::ArchiveKeyOrder() {
  static const KeyOrder kOrder = [] {
    KeyOrder order{};
    std::size_t n = 0;
    for (int group = 0; group < kStateCount / 16; ++group) {
      for (int key = group * 16 + 15; key >= group * 16 && key >= 1; --key) {
        order[n++] = static_cast<uint16_t>(key);
      }
    }
    order[n] = static_cast<uint16_t>(kStateCount);
    return order;
  }();
  return kOrder;
}

CTextItem* CDynamicText::GetState(int32_t a_Value) {
  if (a_Value < 1 || a_Value > kStateCount) return nullptr;
  return &m_States[static_cast<std::size_t>(a_Value - 1)];
}

const CTextItem* CDynamicText::GetState(int32_t a_Value) const {
  return const_cast<CDynamicText*>(this)->GetState(a_Value);
}

bool CDynamicText::UsesBuiltinFont() const { return kd820::UsesBuiltinFont(m_SizeIndex, m_BuiltinOption); }

std::unique_ptr<CGraphElement> CDynamicText::Clone() const { return CloneElement(*this); }

const CFieldTable& CDynamicText::Fields() {
  using E = CDynamicText;
  static const CField kFields[] = {
      Field<&E::m_SizeIndex>("sizeIndex").JsonAt(2),
      Field<&E::m_FurtherWord>("furtherWord").JsonAt(5),
      Field<&E::m_Face>("font").JsonAt(3),
      Field<&E::m_Alignment>("alignment").Since(2).JsonAt(1),
      Flag<&E::m_BuiltinOption>("builtinFont").Since(3).JsonAt(4),
      // The JSON form keeps only the states that differ from a new one, keyed by value.
      Custom("states",
             [](CArchive& a_Ar, void* a_Text) {
               auto* text = static_cast<CDynamicText*>(a_Text);
               for (uint16_t key : ArchiveKeyOrder()) text->GetState(key)->Serialize(a_Ar);
             },
             [](void* a_Text, const void* a_From) {
               static_cast<CDynamicText*>(a_Text)->m_States = static_cast<const CDynamicText*>(a_From)->m_States;
             })
          .JsonAt(6),
      Field<&E::m_Reg>("register").JsonAt(0),
  };
  static const CFieldTable kTable{kCurrentVersion, kFields};
  return kTable;
}

void CDynamicText::CopyFrom(const CGraphElement& a_Other) {
  CGraphElement::CopyFrom(a_Other);
  CopyOwnFields(*this, a_Other);
}

void CDynamicText::Serialize(CArchive& a_Ar) {
  CGraphElement::Serialize(a_Ar);
  SerializeFields(a_Ar, Fields(), this);
}

void CDynamicText::Compile(CRecordWriter& a_Writer) const {
  CImageBuffer& image = a_Writer.Buffer();
  const auto slots = CompilePrefix(a_Writer, {{0, &m_Reg}}, 4);
  uint16_t options = 0x0001;
  if (IsReverse()) options |= 0x1000;
  if (m_Alignment == 1) options |= 0x4000;
  if (m_Alignment == 2) options |= 0x2000;
  image.AppendU16(options);
  image.AppendU16(0);
  std::vector<uint16_t> values;
  for (int32_t value = 1; value <= kStateCount; ++value) {
    if (!GetState(value)->m_Text.empty()) values.push_back(static_cast<uint16_t>(value));
  }
  // The list counts its texts in one byte.
  if (values.size() > 255) {
    a_Writer.Warn("warning: " + GetName() + ": only 255 state texts fit; state 256 is left out");
    values.resize(255);
  }
  image.AppendU16(static_cast<uint16_t>(values.size()));
  for (uint16_t value : values) image.AppendU16(value);
  image.PatchU32(slots[0], static_cast<uint32_t>(image.Length()));
  image.AppendU8(static_cast<uint8_t>(values.size()));
  const std::size_t textSlots = image.ReserveSlots(values.size());
  const int mode = TextFontMode(m_SizeIndex, m_BuiltinOption);
  for (std::size_t i = 0; i < values.size(); ++i) {
    image.PatchU32(textSlots + 4 * i, a_Writer.CompileText(GetState(values[i])->m_Text, m_Face,
                                                             FontPixelSize(m_SizeIndex), mode));
  }
}

void CDynamicText::UpdateSize(CEditorContext& a_Context) {
  int32_t width = 0;
  const bool builtin = kd820::UsesBuiltinFont(m_SizeIndex, m_BuiltinOption);
  for (const CTextItem& state : m_States) {
    if (!state.m_Text.empty()) width = std::max(width, TextWidth(a_Context, state.m_Text, m_SizeIndex, builtin, m_Face));
  }
  SetWidth(width);
  SetHeight(FontPixelSize(m_SizeIndex));
}

}  // namespace kd820
