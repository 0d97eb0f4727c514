#pragma once
// The picture element: an image of the project's bitmap library.
#include <cstdint>
#include <memory>

#include "editor/screens/GraphElement.h"

namespace kd820 {

class CPictureGE : public CGraphElement {
  KD_DECLARE_SERIAL(CPictureGE)

 public:
  static constexpr uint32_t kCurrentVersion = 1;
  static constexpr int32_t kNoItem = 0;  // library ids start at 1

  // Drawing options handed to the panel unchanged (booleans, kept as stored).
  struct Trait {
    int32_t m_Compress = 0;
    int32_t m_Reverse = 0;
    int32_t m_Critical = 0;
    int32_t m_LeftFill = 0;
    bool operator==(const Trait&) const = default;
  };

  CPictureGE();

  std::unique_ptr<CGraphElement> Clone() const override;
  void CopyFrom(const CGraphElement& a_Other) override;
  // Storing counts a use of the library item in the project being stored, so that the
  // library leaves out the bitmaps no picture uses.
  void Compile(CRecordWriter& a_Writer) const override;
  void Serialize(CArchive& a_Ar) override;
  static const CFieldTable& Fields();

  // A new picture shows no library item until one is imported.
  int32_t m_ItemId = kNoItem;
  Trait m_Trait;
};

}  // namespace kd820
