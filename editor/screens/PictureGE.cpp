#include "editor/screens/PictureGE.h"

#include "editor/screens/RecordWriter.h"

namespace kd820 {

KD_IMPLEMENT_SERIAL(CPictureGE, &CGraphElement::classCGraphElement, 0)

CPictureGE::CPictureGE() : CGraphElement(kTypePicture) {}

std::unique_ptr<CGraphElement> CPictureGE::Clone() const { return CloneElement(*this); }

void CPictureGE::CopyFrom(const CGraphElement& a_Other) {
  CGraphElement::CopyFrom(a_Other);
  if (const auto* other = dynamic_cast<const CPictureGE*>(&a_Other)) {
    m_ItemId = other->m_ItemId;
    m_Trait = other->m_Trait;
  }
}

void CPictureGE::Serialize(CArchive& a_Ar) {
  CGraphElement::Serialize(a_Ar);
  uint32_t version = kCurrentVersion;
  a_Ar.Io(version);
  a_Ar.Io(m_ItemId);
  a_Ar.Io(m_Trait.m_Compress);
  a_Ar.Io(m_Trait.m_Reverse);
  a_Ar.Io(m_Trait.m_Critical);
  a_Ar.Io(m_Trait.m_LeftFill);
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
