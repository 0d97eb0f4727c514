#pragma once
// The simulated LCD's pixel memory and its drawing operations: 1 bit per pixel, rows top to
// bottom, (width + 7) / 8 bytes per row, bit 0 of a byte = leftmost pixel, 1 = dark.
//
// Every operation clips to the canvas: coordinates outside it are ignored silently, whatever
// their size or sign, and nothing is ever written outside the pixel memory.
#include <cstdint>
#include <vector>

#include "simulator/Geometry.h"

namespace sim {

class LcdCanvas {
 public:
  // Larger canvases than any panel's LCD are refused by clamping to this size.
  static constexpr int kMaxWidth = 320;
  static constexpr int kMaxHeight = 240;

  // A cleared canvas; negative sizes give an empty canvas, larger ones are clamped.
  LcdCanvas(int a_Width, int a_Height);

  int Width() const { return m_Width; }
  int Height() const { return m_Height; }
  int BitsPerPixel() const { return 1; }
  int Stride() const { return m_Stride; }
  uint8_t* Bits() { return m_Bits.data(); }
  const uint8_t* Bits() const { return m_Bits.data(); }
  Rect Bounds() const { return {0, 0, m_Width - 1, m_Height - 1}; }

  bool GetPixel(int a_X, int a_Y) const;
  void SetPixel(int a_X, int a_Y, bool a_On);
  // a_Length pixels of row a_Y from a_X on.
  void FillSpan(int a_X, int a_Y, int a_Length, bool a_On);
  void InvertSpan(int a_X, int a_Y, int a_Length);
  void Clear();
  void ClearRect(const Rect& a_Rect);
  void InvertRect(const Rect& a_Rect);
  // Thickness 0 fills the rectangle; 1..15 draws a border that many pixels wide inside it
  // (a border as wide as half the rectangle fills it). Larger thicknesses count as 15,
  // negative ones draw nothing.
  void DrawRect(const Rect& a_Rect, bool a_On, int a_Thickness);
  // Horizontal and vertical lines as spans, others by Bresenham's method from a_From to a_To,
  // both end points included. Slanted lines with an end point further than kMaxLineCoordinate
  // from the origin are not drawn.
  static constexpr int kMaxLineCoordinate = 1 << 24;
  void Line(Point a_From, Point a_To, bool a_On);
  // Copies a bitmap of a_Rect's size to a_Rect's top-left corner. a_Rows holds Height() rows
  // of (Width() + 7) / 8 bytes, bit 0 = leftmost pixel; a_Invert flips the source bits. The
  // covered pixels are replaced; other pixels of the same bytes keep their value.
  void DrawBitmap(const Rect& a_Rect, const uint8_t* a_Rows, bool a_Invert);

 private:
  enum class Op { kClear, kSet, kInvert };
  // Applies a_Op to the pixels of the rectangle (64-bit edges, inclusive) inside the canvas.
  void ApplyRect(int64_t a_Left, int64_t a_Top, int64_t a_Right, int64_t a_Bottom, Op a_Op);

  int m_Width = 0;
  int m_Height = 0;
  int m_Stride = 0;
  std::vector<uint8_t> m_Bits;
};

enum BlitMode : int {
  kBlitCopy = 0,         // the destination pixels take the source pixels
  kBlitTransparent = 1,  // only dark source pixels are set; light ones let the destination show
};

// Copies a_Width x a_Height pixels from a_SrcPoint of a_Src to a_DstPoint of a_Dst, clipped to
// both canvases. Any other mode than kBlitTransparent copies.
void Blit(const LcdCanvas& a_Src, LcdCanvas& a_Dst, Point a_SrcPoint, Point a_DstPoint,
          int a_Width, int a_Height, int a_Mode);

}  // namespace sim
