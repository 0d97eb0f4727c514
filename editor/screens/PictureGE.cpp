#include "editor/screens/PictureGE.h"

#include "editor/screens/RecordWriter.h"

namespace kd820 {

KD_IMPLEMENT_SERIAL(CPictureGE, &CGraphElement::classCGraphElement, 0)

CPictureGE::CPictureGE() : CGraphElement(kTypePicture) {}

std::unique_ptr<CGraphElement> CPictureGE::Clone() const { return CloneElement(*this); }

const CFieldTable& CPictureGE::Fields() {
  // The drawing options follow the item id without a version word of their own.
  static const CField kTraitFields[] = {
      Flag<&Trait::m_Compress>("compress"),
      Flag<&Trait::m_Reverse>("reverse"),
      Flag<&Trait::m_Critical>("critical"),
      Flag<&Trait::m_LeftFill>("leftFill"),
  };
  static const CFieldTable kTraitTable{0, kTraitFields};
  static const CField kFields[] = {
      Field<&CPictureGE::m_ItemId>("bitmap"),
      Group<&CPictureGE::m_Trait>("trait", kTraitTable),
  };
  static const CFieldTable kTable{kCurrentVersion, kFields};
  return kTable;
}

void CPictureGE::CopyFrom(const CGraphElement& a_Other) {
  CGraphElement::CopyFrom(a_Other);
  CopyOwnFields(*this, a_Other);
}

void CPictureGE::Serialize(CArchive& a_Ar) {
  CGraphElement::Serialize(a_Ar);
  SerializeFields(a_Ar, Fields(), this);
}

void CPictureGE::Compile(CRecordWriter& a_Writer) const {
  CImageBuffer& image = a_Writer.Buffer();
  const auto slots = CompilePrefix(a_Writer, {}, 1);
  const uint32_t list = a_Writer.CompileList("PICTURE_" + std::to_string(m_ItemId), 1, [&](std::size_t) {
    return a_Writer.CompileBitmapLibItem(m_ItemId);
  });
  image.PatchU32(slots[0], list);
}

}  // namespace kd820
