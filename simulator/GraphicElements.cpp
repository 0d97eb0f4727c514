#include "simulator/GraphicElements.h"

#include <algorithm>
#include <bit>
#include <cmath>

#include "simulator/LcdCanvas.h"
#include "simulator/SamplingGroups.h"
#include "simulator/TickTimers.h"

namespace sim {
namespace {

__extension__ typedef __int128 Int128;

uint64_t Load(const uint8_t* a_Value, std::size_t a_Size, std::size_t a_Want) {
  uint64_t value = 0;
  for (std::size_t i = std::min(a_Size, a_Want); i-- > 0;) value = value << 8 | a_Value[i];
  return value;
}

}  // namespace

std::size_t ValueSize(uint32_t a_Options) {
  switch ((a_Options >> 8) & 0xF) {
    case 3:
      return 4;
    case 4:
      return 8;
    default:
      return (a_Options & (1u << 18)) ? 4 : 2;
  }
}

std::optional<int> ScaleToLength(const uint8_t* a_Value, std::size_t a_Size, uint32_t a_Options,
                                 uint32_t a_Max, uint32_t a_Min, int a_Length) {
  if (a_Length <= 0) return std::nullopt;
  const unsigned type = (a_Options >> 8) & 0xF;
  if (type == 3 || type == 4) {
    const double max = std::bit_cast<float>(a_Max), min = std::bit_cast<float>(a_Min);
    const double value = type == 4 ? std::bit_cast<double>(Load(a_Value, a_Size, 8))
                                   : double{std::bit_cast<float>(static_cast<uint32_t>(Load(a_Value, a_Size, 4)))};
    const double span = max - min;
    if (!(span > 0) || !std::isfinite(span) || !std::isfinite(value)) return std::nullopt;
    const double length = std::floor((a_Length * (value - min) + span / 2) / span);
    return static_cast<int>(std::clamp(length, 0.0, double(a_Length - 1)));
  }
  const bool wide = (a_Options & (1u << 18)) != 0;
  const uint64_t raw = Load(a_Value, a_Size, wide ? 4 : 2);
  int64_t value;
  if (type == 0)
    value = wide ? int64_t{static_cast<int32_t>(raw)} : int64_t{static_cast<int16_t>(raw)};
  else
    value = static_cast<int64_t>(raw);
  const int64_t max = static_cast<int32_t>(a_Max), min = static_cast<int32_t>(a_Min);
  const int64_t span = max - min;
  if (span <= 0) return std::nullopt;
  Int128 length = (Int128{a_Length} * (value - min) + span / 2) / span;
  return static_cast<int>(std::clamp<Int128>(length, 0, a_Length - 1));
}

// LED.

void LedElement::Load() {
  m_Options = m_Context.image.U32(m_KindRecord);
  m_BlinkStamp = m_TimerStamp;
}

int LedElement::State() const {
  const int state = Element::State();
  if (state < 0) return state;
  return state ^ static_cast<int>((m_Options >> 9) & 1);
}

bool LedElement::Visible() const { return Element::Visible() && m_BlinkShown; }

void LedElement::Refresh() {
  Element::Refresh();
  const uint32_t now = m_Context.timers.Counter();
  bool blinking = false;
  if ((m_Options & 0x100) && m_Registers[0] && m_Registers[0]->Valid()) {
    const bool bit = (m_Registers[0]->Int32() & 1) != 0;
    blinking = bit == ((m_Options & 0x400) != 0);
  }
  if (!blinking) {
    if (!m_BlinkShown) Invalidate();
    m_BlinkShown = true;
    m_BlinkStamp = now;
    return;
  }
  const uint32_t period = std::max<uint32_t>((m_Options >> 16) & 0xFF, 1);
  if (now - m_BlinkStamp >= period) {
    m_BlinkStamp = now;
    m_BlinkShown = !m_BlinkShown;
    Invalidate();
  }
}

// Bar.

void BarElement::Load() {
  m_Options = m_Context.image.U32(m_KindRecord);
  m_Max = m_Context.image.U32(m_KindRecord + 4);
  m_Min = m_Context.image.U32(m_KindRecord + 8);
}

void BarElement::Paint(LcdCanvas& a_Canvas) {
  const int width = m_Rect.Width(), height = m_Rect.Height();
  a_Canvas.DrawRect(Rect::FromSize(0, 0, width, height), true, 1);
  if (!m_Registers[0] || !m_Registers[0]->Valid()) return;
  const unsigned direction = (m_Options >> 12) & 3;
  const int full = direction < 2 ? height : width;
  auto length = ScaleToLength(m_Registers[0]->Data(), m_Registers[0]->Size(), m_Options, m_Max,
                              m_Min, full);
  if (!length || *length <= 0) return;
  Rect bar;
  switch (direction) {
    case 0:
      bar = Rect::FromSize(0, height - *length, width, *length);
      break;
    case 1:
      bar = Rect::FromSize(0, 0, width, *length);
      break;
    case 2:
      bar = Rect::FromSize(width - *length, 0, *length, height);
      break;
    default:
      bar = Rect::FromSize(0, 0, *length, height);
      break;
  }
  a_Canvas.DrawRect(bar, true, 0);
}

// Trend.

void TrendElement::Load() {
  const SimImage& image = m_Context.image;
  m_Group = image.I16(m_KindRecord + 4);
  m_Points = image.U16(m_KindRecord + 6);
  m_CurveCount = std::clamp<int>(image.I16(m_KindRecord + 10), 0, kMaxCurves);
  for (int c = 0; c < m_CurveCount; ++c) {
    const uint32_t scale = image.U32(m_KindRecord + 12 + 4 * static_cast<uint32_t>(c));
    m_Curves[c] = {image.U32(scale), image.U32(scale + 4), image.U32(scale + 8)};
  }
}

void TrendElement::Refresh() {
  Element::Refresh();
  const SamplingGroups::Group* group =
      m_Context.sampling ? m_Context.sampling->At(m_Group) : nullptr;
  if (group && group->taken != m_SeenSamples) {
    m_SeenSamples = group->taken;
    Invalidate();
  }
}

void TrendElement::Paint(LcdCanvas& a_Canvas) {
  const SamplingGroups::Group* group =
      m_Context.sampling ? m_Context.sampling->At(m_Group) : nullptr;
  // One point makes no line (and would divide by zero).
  if (group == nullptr || m_Points < 2) return;
  const int width = m_Rect.Width(), height = m_Rect.Height();
  int previous[kMaxCurves] = {};
  bool hasPrevious[kMaxCurves] = {};
  int drawn = 0;
  for (int i = 0; i < m_Points; ++i) {
    const auto index = static_cast<std::size_t>(m_Points - 1 - i);
    if (index >= group->samples.size()) continue;
    const std::vector<uint8_t>& sample = group->samples[index];
    std::size_t at = 0;
    for (int c = 0; c < m_CurveCount; ++c) {
      const std::size_t size = ValueSize(m_Curves[c].options);
      if (at + size > sample.size()) break;
      auto length = ScaleToLength(sample.data() + at, size, m_Curves[c].options, m_Curves[c].max,
                                  m_Curves[c].min, height);
      at += size;
      if (!length) continue;
      const int y = height - 1 - *length;
      if (drawn >= 1 && hasPrevious[c])
        a_Canvas.Line({width * (drawn - 1) / (m_Points - 1), previous[c]},
                      {width * drawn / (m_Points - 1), y}, true);
      previous[c] = y;
      hasPrevious[c] = true;
    }
    ++drawn;
  }
}

}  // namespace sim
