#include "simulator/LcdCanvas.h"

#include <algorithm>
#include <cstdlib>

namespace sim {

namespace {

// Bits a_First..a_Last (0..7, inclusive) of a byte.
uint8_t EdgeMask(int a_First, int a_Last) {
  return static_cast<uint8_t>((0xFFu << a_First) & (0xFFu >> (7 - a_Last)));
}

int64_t FloorDiv8(int64_t a_Value) { return a_Value >= 0 ? a_Value / 8 : -((-a_Value + 7) / 8); }

// Eight source bits starting at bit a_Start of a row of a_Bytes bytes (bit 0 of the result =
// bit a_Start). Bits outside the row read as 0, so the row is never read past either end.
uint8_t Fetch8(const uint8_t* a_Row, int64_t a_Bytes, int64_t a_Start) {
  const int64_t byte = FloorDiv8(a_Start);
  const int shift = static_cast<int>(a_Start - byte * 8);
  unsigned value = 0;
  if (byte >= 0 && byte < a_Bytes) value = a_Row[byte] >> shift;
  if (shift != 0 && byte + 1 >= 0 && byte + 1 < a_Bytes) value |= unsigned{a_Row[byte + 1]} << (8 - shift);
  return static_cast<uint8_t>(value);
}

// Writes destination pixels a_X0..a_X1 (inclusive, inside the row) of a_Dst from the source row
// starting at bit a_SrcStart: replacing them, or with a_Or only setting the dark ones.
void MergeRow(uint8_t* a_Dst, int a_X0, int a_X1, const uint8_t* a_Src, int64_t a_SrcBytes,
              int64_t a_SrcStart, bool a_Invert, bool a_Or) {
  for (int b = a_X0 >> 3; b <= a_X1 >> 3; ++b) {
    const int first = std::max(a_X0, b * 8) - b * 8;
    const int last = std::min(a_X1, b * 8 + 7) - b * 8;
    const uint8_t mask = EdgeMask(first, last);
    uint8_t value = Fetch8(a_Src, a_SrcBytes, a_SrcStart + (int64_t{b} * 8 - a_X0));
    if (a_Invert) value = static_cast<uint8_t>(~value);
    if (a_Or) {
      a_Dst[b] |= static_cast<uint8_t>(value & mask);
    } else {
      a_Dst[b] = static_cast<uint8_t>((a_Dst[b] & ~mask) | (value & mask));
    }
  }
}

}  // namespace

LcdCanvas::LcdCanvas(int a_Width, int a_Height)
    : m_Width(std::clamp(a_Width, 0, kMaxWidth)),
      m_Height(std::clamp(a_Height, 0, kMaxHeight)),
      m_Stride((m_Width + 7) / 8),
      m_Bits(static_cast<std::size_t>(m_Stride) * m_Height, 0) {}

bool LcdCanvas::GetPixel(int a_X, int a_Y) const {
  if (a_X < 0 || a_Y < 0 || a_X >= m_Width || a_Y >= m_Height) return false;
  return (m_Bits[static_cast<std::size_t>(a_Y) * m_Stride + a_X / 8] >> (a_X % 8)) & 1;
}

void LcdCanvas::SetPixel(int a_X, int a_Y, bool a_On) {
  if (a_X < 0 || a_Y < 0 || a_X >= m_Width || a_Y >= m_Height) return;
  uint8_t& byte = m_Bits[static_cast<std::size_t>(a_Y) * m_Stride + a_X / 8];
  const auto bit = static_cast<uint8_t>(1u << (a_X % 8));
  byte = a_On ? static_cast<uint8_t>(byte | bit) : static_cast<uint8_t>(byte & ~bit);
}

void LcdCanvas::ApplyRect(int64_t a_Left, int64_t a_Top, int64_t a_Right, int64_t a_Bottom,
                          Op a_Op) {
  const int64_t left = std::max<int64_t>(a_Left, 0);
  const int64_t top = std::max<int64_t>(a_Top, 0);
  const int64_t right = std::min<int64_t>(a_Right, m_Width - 1);
  const int64_t bottom = std::min<int64_t>(a_Bottom, m_Height - 1);
  if (left > right || top > bottom) return;
  const int x0 = static_cast<int>(left);
  const int x1 = static_cast<int>(right);
  const int b0 = x0 >> 3;
  const int b1 = x1 >> 3;
  for (auto y = static_cast<int>(top); y <= bottom; ++y) {
    uint8_t* row = m_Bits.data() + static_cast<std::size_t>(y) * m_Stride;
    for (int b = b0; b <= b1; ++b) {
      const uint8_t mask = EdgeMask(b == b0 ? x0 & 7 : 0, b == b1 ? x1 & 7 : 7);
      switch (a_Op) {
        case Op::kClear: row[b] = static_cast<uint8_t>(row[b] & ~mask); break;
        case Op::kSet: row[b] = static_cast<uint8_t>(row[b] | mask); break;
        case Op::kInvert: row[b] = static_cast<uint8_t>(row[b] ^ mask); break;
      }
    }
  }
}

void LcdCanvas::FillSpan(int a_X, int a_Y, int a_Length, bool a_On) {
  if (a_Length <= 0) return;
  ApplyRect(a_X, a_Y, int64_t{a_X} + a_Length - 1, a_Y, a_On ? Op::kSet : Op::kClear);
}

void LcdCanvas::InvertSpan(int a_X, int a_Y, int a_Length) {
  if (a_Length <= 0) return;
  ApplyRect(a_X, a_Y, int64_t{a_X} + a_Length - 1, a_Y, Op::kInvert);
}

void LcdCanvas::Clear() { std::fill(m_Bits.begin(), m_Bits.end(), 0); }

void LcdCanvas::ClearRect(const Rect& a_Rect) {
  ApplyRect(a_Rect.left, a_Rect.top, a_Rect.right, a_Rect.bottom, Op::kClear);
}

void LcdCanvas::InvertRect(const Rect& a_Rect) {
  ApplyRect(a_Rect.left, a_Rect.top, a_Rect.right, a_Rect.bottom, Op::kInvert);
}

void LcdCanvas::DrawRect(const Rect& a_Rect, bool a_On, int a_Thickness) {
  if (a_Thickness < 0 || !a_Rect.Valid()) return;
  const Op op = a_On ? Op::kSet : Op::kClear;
  const int64_t left = a_Rect.left;
  const int64_t top = a_Rect.top;
  const int64_t right = a_Rect.right;
  const int64_t bottom = a_Rect.bottom;
  const int64_t t = std::min(a_Thickness, 15);
  if (t == 0 || 2 * t >= right - left + 1 || 2 * t >= bottom - top + 1) {
    ApplyRect(left, top, right, bottom, op);
    return;
  }
  ApplyRect(left, top, right, top + t - 1, op);                      // top band
  ApplyRect(left, bottom - t + 1, right, bottom, op);                // bottom band
  ApplyRect(left, top + t, left + t - 1, bottom - t, op);            // left side
  ApplyRect(right - t + 1, top + t, right, bottom - t, op);          // right side
}

void LcdCanvas::Line(Point a_From, Point a_To, bool a_On) {
  const Op op = a_On ? Op::kSet : Op::kClear;
  if (a_From.y == a_To.y) {
    ApplyRect(std::min(a_From.x, a_To.x), a_From.y, std::max(a_From.x, a_To.x), a_From.y, op);
    return;
  }
  if (a_From.x == a_To.x) {
    ApplyRect(a_From.x, std::min(a_From.y, a_To.y), a_From.x, std::max(a_From.y, a_To.y), op);
    return;
  }
  const auto far = [](int v) { return v > kMaxLineCoordinate || v < -kMaxLineCoordinate; };
  if (far(a_From.x) || far(a_From.y) || far(a_To.x) || far(a_To.y)) return;
  // Bresenham along the major axis. After i steps the minor coordinate has moved
  // floor((2 * minor * i + major - 1) / (2 * major)) times, exactly as the stepping form with
  // error term 2 * minor - major gives; computing it directly lets the loop visit only the steps
  // whose major coordinate lies on the canvas.
  const bool xMajor = std::abs(int64_t{a_To.x} - a_From.x) >= std::abs(int64_t{a_To.y} - a_From.y);
  const int64_t major0 = xMajor ? a_From.x : a_From.y;
  const int64_t minor0 = xMajor ? a_From.y : a_From.x;
  const int64_t majorDelta = xMajor ? int64_t{a_To.x} - a_From.x : int64_t{a_To.y} - a_From.y;
  const int64_t minorDelta = xMajor ? int64_t{a_To.y} - a_From.y : int64_t{a_To.x} - a_From.x;
  const int64_t major = std::abs(majorDelta);
  const int64_t minor = std::abs(minorDelta);
  const int64_t majorStep = majorDelta > 0 ? 1 : -1;
  const int64_t minorStep = minorDelta > 0 ? 1 : -1;
  const int64_t limit = (xMajor ? m_Width : m_Height) - 1;
  // Steps i in 0..major with major0 + majorStep * i inside 0..limit.
  int64_t first = 0;
  int64_t last = major;
  if (majorStep > 0) {
    first = std::max<int64_t>(first, -major0);
    last = std::min<int64_t>(last, limit - major0);
  } else {
    first = std::max<int64_t>(first, major0 - limit);
    last = std::min<int64_t>(last, major0);
  }
  for (int64_t i = first; i <= last; ++i) {
    const int64_t m = major0 + majorStep * i;
    const int64_t n = minor0 + minorStep * ((2 * minor * i + major - 1) / (2 * major));
    const int64_t x = xMajor ? m : n;
    const int64_t y = xMajor ? n : m;
    if (x >= 0 && y >= 0 && x < m_Width && y < m_Height) {
      SetPixel(static_cast<int>(x), static_cast<int>(y), a_On);
    }
  }
}

void LcdCanvas::DrawBitmap(const Rect& a_Rect, const uint8_t* a_Rows, bool a_Invert) {
  if (a_Rows == nullptr || !a_Rect.Valid()) return;
  const int64_t width = int64_t{a_Rect.right} - a_Rect.left + 1;
  const int64_t srcStride = (width + 7) / 8;
  const int x0 = std::max(a_Rect.left, 0);
  const int x1 = std::min(a_Rect.right, m_Width - 1);
  const int y0 = std::max(a_Rect.top, 0);
  const int y1 = std::min(a_Rect.bottom, m_Height - 1);
  if (x0 > x1 || y0 > y1) return;
  for (int y = y0; y <= y1; ++y) {
    const uint8_t* src = a_Rows + (int64_t{y} - a_Rect.top) * srcStride;
    MergeRow(m_Bits.data() + static_cast<std::size_t>(y) * m_Stride, x0, x1, src, srcStride,
             int64_t{x0} - a_Rect.left, a_Invert, false);
  }
}

void Blit(const LcdCanvas& a_Src, LcdCanvas& a_Dst, Point a_SrcPoint, Point a_DstPoint,
          int a_Width, int a_Height, int a_Mode) {
  if (a_Width <= 0 || a_Height <= 0) return;
  if (&a_Src == &a_Dst) {  // overlapping regions of one canvas: copy the source first
    const LcdCanvas copy = a_Src;
    Blit(copy, a_Dst, a_SrcPoint, a_DstPoint, a_Width, a_Height, a_Mode);
    return;
  }
  const int64_t sx = a_SrcPoint.x;
  const int64_t sy = a_SrcPoint.y;
  const int64_t dx = a_DstPoint.x;
  const int64_t dy = a_DstPoint.y;
  // Offsets i (columns) and j (rows) inside the copied block that land on both canvases.
  const int64_t i0 = std::max({int64_t{0}, -sx, -dx});
  const int64_t i1 = std::min({int64_t{a_Width} - 1, a_Src.Width() - 1 - sx, a_Dst.Width() - 1 - dx});
  const int64_t j0 = std::max({int64_t{0}, -sy, -dy});
  const int64_t j1 = std::min({int64_t{a_Height} - 1, a_Src.Height() - 1 - sy, a_Dst.Height() - 1 - dy});
  if (i0 > i1 || j0 > j1) return;
  const bool transparent = a_Mode == kBlitTransparent;
  for (int64_t j = j0; j <= j1; ++j) {
    const uint8_t* src = a_Src.Bits() + (sy + j) * a_Src.Stride();
    uint8_t* dst = a_Dst.Bits() + (dy + j) * a_Dst.Stride();
    MergeRow(dst, static_cast<int>(dx + i0), static_cast<int>(dx + i1), src, a_Src.Stride(), sx + i0,
             false, transparent);
  }
}

}  // namespace sim
