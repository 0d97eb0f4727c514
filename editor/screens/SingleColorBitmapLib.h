#pragma once
// The project's library of single-colour bitmaps used by picture elements.
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "editor/base/Archive.h"
#include "editor/base/FieldTable.h"

namespace kd820 {

class CSingleColorBitmapLibItem : public CObject {
  KD_DECLARE_SERIAL(CSingleColorBitmapLibItem)

 public:
  static constexpr int32_t kCurrentVersion = 1;

  void Serialize(CArchive& a_Ar) override;
  // The pixels are a custom part, checked against the size when loading; their JSON form is
  // "rows" of hexadecimal digits, and the JSON use count is the one a save would store, so
  // the JSON form of an item is written by hand.
  static const CFieldTable& Fields();
  // Same size and the same pixel bytes.
  bool IsIdentical(const CSingleColorBitmapLibItem& a_Other) const;

  int32_t m_Id = 0;
  int32_t m_UseCount = 0;
  int32_t m_Width = 0;
  int32_t m_Height = 0;
  std::vector<uint8_t> m_Pixels;  // rows top down, (width + 7) / 8 bytes each, bit 0 leftmost, 1 = ink
};

class CSingleColorBitmapLib {
 public:
  static constexpr int32_t kCurrentVersion = 1;
  static constexpr int32_t kCannotOpen = -1;
  static constexpr int32_t kNotBmp = -2;
  static constexpr int32_t kNotSingleColor = -3;

  // Reads a single-colour BMP file as an item; returns its id (the id of an identical item
  // already in the library), or kCannotOpen, kNotBmp or kNotSingleColor.
  int32_t LoadFromFile(const std::string& a_Path);
  // Adds an item from pixels in the library layout; returns its id, or the id of an
  // identical item already in the library.
  int32_t AddItem(int32_t a_Width, int32_t a_Height, std::vector<uint8_t> a_Pixels);
  const CSingleColorBitmapLibItem* FindItem(int32_t a_Id) const;
  int32_t GetWidth(int32_t a_Id) const;
  int32_t GetHeight(int32_t a_Id) const;

  // Use counts: reset before a save, counted by the elements while they are written.
  void ResetUseCounts();
  void AddUse(int32_t a_Id);

  // Writes only the items in use; loading replaces the list.
  void Serialize(CArchive& a_Ar);

  std::vector<std::unique_ptr<CSingleColorBitmapLibItem>> m_Items;
};

}  // namespace kd820
