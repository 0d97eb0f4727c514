#include "editor/screens/SingleColorBitmapLib.h"

#include <algorithm>

#include "editor/screens/SingleColorBmp.h"

namespace kd820 {

KD_IMPLEMENT_SERIAL(CSingleColorBitmapLibItem, nullptr, 0)

namespace {

uint64_t PixelBytes(int64_t a_Width, int64_t a_Height) {
  return static_cast<uint64_t>(a_Height) * static_cast<uint64_t>((a_Width + 7) / 8);
}

}  // namespace

const CFieldTable& CSingleColorBitmapLibItem::Fields() {
  using B = CSingleColorBitmapLibItem;
  static const CField kFields[] = {
      Field<&B::m_Id>("id"),
      Field<&B::m_UseCount>("useCount"),
      Field<&B::m_Width>("width"),
      Field<&B::m_Height>("height"),
      Custom("rows",
             [](CArchive& a_Ar, void* a_Item) {
               auto* item = static_cast<B*>(a_Item);
               const std::size_t pixelsAt = a_Ar.Offset();
               a_Ar.IoByteArray(item->m_Pixels);
               if (a_Ar.IsLoading() && (item->m_Width < 0 || item->m_Height < 0 ||
                                        item->m_Pixels.size() != PixelBytes(item->m_Width, item->m_Height))) {
                 a_Ar.FailAt("bitmap of " + std::to_string(item->m_Width) + " x " +
                                 std::to_string(item->m_Height) + " pixels with " +
                                 std::to_string(item->m_Pixels.size()) + " bytes",
                             pixelsAt);
               }
             },
             [](void* a_Item, const void* a_From) {
               static_cast<B*>(a_Item)->m_Pixels = static_cast<const B*>(a_From)->m_Pixels;
             }),
  };
  static const CFieldTable kTable{kCurrentVersion, kFields};
  return kTable;
}

void CSingleColorBitmapLibItem::Serialize(CArchive& a_Ar) { SerializeFields(a_Ar, Fields(), this); }

bool CSingleColorBitmapLibItem::IsIdentical(const CSingleColorBitmapLibItem& a_Other) const {
  return m_Width == a_Other.m_Width && m_Height == a_Other.m_Height &&
         m_Pixels == a_Other.m_Pixels;
}

int32_t CSingleColorBitmapLib::LoadFromFile(const std::string& a_Path) {
  SingleColorBitmap bitmap;
  switch (ReadSingleColorBmpFile(a_Path, bitmap)) {
    case BmpStatus::kOk:
      break;
    case BmpStatus::kCannotOpen:
      return kCannotOpen;
    case BmpStatus::kNotBmp:
      return kNotBmp;
    case BmpStatus::kNotSingleColor:
      return kNotSingleColor;
  }
  return AddItem(bitmap.m_Width, bitmap.m_Height, std::move(bitmap.m_Pixels));
}

int32_t CSingleColorBitmapLib::AddItem(int32_t a_Width, int32_t a_Height,
                                       std::vector<uint8_t> a_Pixels) {
  if (a_Width < 0 || a_Height < 0 || a_Pixels.size() != PixelBytes(a_Width, a_Height)) return 0;
  // Spare bits after the last pixel of a row are 0, so that equal pictures compare equal.
  const std::size_t rowBytes = static_cast<std::size_t>((a_Width + 7) / 8);
  if (a_Width % 8 != 0) {
    const auto mask = static_cast<uint8_t>((1u << (a_Width % 8)) - 1);
    for (std::size_t end = rowBytes; end <= a_Pixels.size(); end += rowBytes) {
      a_Pixels[end - 1] &= mask;
    }
  }

  auto item = std::make_unique<CSingleColorBitmapLibItem>();
  item->m_Width = a_Width;
  item->m_Height = a_Height;
  item->m_Pixels = std::move(a_Pixels);
  for (const auto& existing : m_Items) {
    if (existing->IsIdentical(*item)) return existing->m_Id;
  }

  // The smallest id >= 1 that no item holds; one of 1..size+1 is always free.
  std::vector<bool> held(m_Items.size() + 2, false);
  for (const auto& existing : m_Items) {
    if (existing->m_Id >= 1 && static_cast<std::size_t>(existing->m_Id) < held.size()) {
      held[static_cast<std::size_t>(existing->m_Id)] = true;
    }
  }
  int32_t id = 1;
  while (held[static_cast<std::size_t>(id)]) ++id;
  item->m_Id = id;
  m_Items.push_back(std::move(item));
  return id;
}

const CSingleColorBitmapLibItem* CSingleColorBitmapLib::FindItem(int32_t a_Id) const {
  for (const auto& item : m_Items) {
    if (item->m_Id == a_Id) return item.get();
  }
  return nullptr;
}

int32_t CSingleColorBitmapLib::GetWidth(int32_t a_Id) const {
  const CSingleColorBitmapLibItem* item = FindItem(a_Id);
  return item != nullptr ? item->m_Width : 0;
}

int32_t CSingleColorBitmapLib::GetHeight(int32_t a_Id) const {
  const CSingleColorBitmapLibItem* item = FindItem(a_Id);
  return item != nullptr ? item->m_Height : 0;
}

void CSingleColorBitmapLib::ResetUseCounts() {
  for (auto& item : m_Items) item->m_UseCount = 0;
}

void CSingleColorBitmapLib::AddUse(int32_t a_Id) {
  for (auto& item : m_Items) {
    if (item->m_Id == a_Id) {
      ++item->m_UseCount;
      return;
    }
  }
}

void CSingleColorBitmapLib::Serialize(CArchive& a_Ar) {
  uint32_t version = kCurrentVersion;
  a_Ar.Io(version);
  if (a_Ar.IsLoading()) {
    a_Ar.IoObjectList(m_Items);
    return;
  }
  // Items no element counted are left out of the file.
  const auto used = static_cast<uint32_t>(std::count_if(
      m_Items.begin(), m_Items.end(), [](const auto& item) { return item->m_UseCount != 0; }));
  a_Ar.WriteCount(used);
  for (const auto& item : m_Items) {
    if (item->m_UseCount != 0) a_Ar.WriteObject(item.get());
  }
}

}  // namespace kd820
