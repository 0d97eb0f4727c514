#pragma once
// The elements that draw a register graphically: the LED, the bar and the trend.
#include <cstdint>

#include "simulator/Element.h"

namespace sim {

// Maps a value between a minimum and a maximum to a length 0..a_Length-1, as bars and trends
// scale. a_Options carries the value's type (bits 8..11) and width (bit 18); the limits are
// floats for the float types. Nothing when the limits leave no range (maximum <= minimum) or
// the value is not a number.
std::optional<int> ScaleToLength(const uint8_t* a_Value, std::size_t a_Size, uint32_t a_Options,
                                 uint32_t a_Max, uint32_t a_Min, int a_Length);
// Bytes one value of that type takes in a sample: 2 or 4 for integers, 4 single, 8 double.
std::size_t ValueSize(uint32_t a_Options);

// Kind 0: the bitmap of its state (the bit, inverted with option bit 9), blinking while the
// bit has the state option bit 10 names (option bit 8, period in bits 16..23).
class LedElement : public Element {
 public:
  using Element::Element;
  int State() const override;
  bool Visible() const override;
  void Refresh() override;

 protected:
  void Load() override;

 private:
  uint32_t m_Options = 0;
  bool m_BlinkShown = true;
  uint32_t m_BlinkStamp = 0;
};

// Kind 5: a one-pixel border and a bar in proportion to the value.
class BarElement : public Element {
 public:
  using Element::Element;

 protected:
  void Load() override;
  void Paint(LcdCanvas& a_Canvas) override;

 private:
  uint32_t m_Options = 0;
  uint32_t m_Max = 0;
  uint32_t m_Min = 0;
};

// Kind 6: the curves of its sampling group's samples, oldest left.
class TrendElement : public Element {
 public:
  using Element::Element;
  static constexpr int kMaxCurves = 8;
  void Refresh() override;

 protected:
  void Load() override;
  void Paint(LcdCanvas& a_Canvas) override;

 private:
  struct Curve {
    uint32_t options = 0;
    uint32_t max = 0;
    uint32_t min = 0;
  };
  int m_Group = -1;
  int m_Points = 0;
  int m_CurveCount = 0;
  Curve m_Curves[kMaxCurves];
  uint32_t m_SeenSamples = 0;
};

}  // namespace sim
