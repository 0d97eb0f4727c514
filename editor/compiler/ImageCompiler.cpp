#include "editor/compiler/ImageCompiler.h"

#include <algorithm>
#include <cstring>

#include "common/ImageFormat.h"
#include "editor/project/KV410Project.h"
#include "editor/screens/TrendGE.h"

CImageCompiler::SamplingEntry CImageCompiler::SamplingEntryOf(const CTrendGE& a_Trend) {
  SamplingEntry entry{};
  const auto descriptor = a_Trend.m_Reg.Descriptor();
  std::copy(descriptor.begin(), descriptor.end(), entry.begin() + 4);
  const auto put = [&](std::size_t a_At, int32_t a_Value) {
    for (int i = 0; i < 4; ++i) entry[a_At + static_cast<std::size_t>(i)] = static_cast<uint8_t>(a_Value >> (8 * i));
  };
  put(16, a_Trend.m_Period);
  put(20, a_Trend.m_Points);
  return entry;
}

std::optional<uint16_t> CImageCompiler::SamplingIndex(const CTrendGE& a_Trend) const {
  const SamplingEntry entry = SamplingEntryOf(a_Trend);
  const auto it = std::find(m_Sampling.begin(), m_Sampling.end(), entry);
  if (it == m_Sampling.end()) return std::nullopt;
  return static_cast<uint16_t>(it - m_Sampling.begin());
}

void CImageCompiler::CollectSamplingEntries(const CKV410Project& a_Project) {
  m_Sampling.clear();
  for (const auto& frame : a_Project.GetFrames()) {
    for (const auto& element : frame->GetElements()) {
      if (element->GetTypeCode() != kTypeTrend) continue;
      const SamplingEntry entry = SamplingEntryOf(static_cast<const CTrendGE&>(*element));
      // Distinct entries, each new one in front: the table lists them newest first.
      if (std::find(m_Sampling.begin(), m_Sampling.end(), entry) == m_Sampling.end()) {
        m_Sampling.insert(m_Sampling.begin(), entry);
      }
    }
  }
}

std::vector<std::string> CImageCompiler::Compile(CKV410Project& a_Project) {
  std::vector<std::string> problems;
  m_Image.Clear();
  m_ObjectCache.Clear();
  m_TextCache.Clear();
  CollectSamplingEntries(a_Project);

  m_Image.Append(image::kTag, sizeof image::kTag);
  m_Image.AppendU32(image::kFormatNumber);
  m_Image.AppendU32(0);  // length
  m_Image.AppendU32(0);  // checksum
  m_Image.AppendU32(image::kDirectoryOffset);
  m_Image.ReserveSlots(image::kSectionCount);

  for (std::size_t section = 0; section < image::kSectionCount; ++section) {
    m_Image.Align();
    const std::size_t start = m_Image.Length();
    switch (section) {
      case image::kSettings:
        if (auto problem = a_Project.GetSettings().Compile(m_Image)) problems.push_back(*problem);
        break;
      case image::kPorts:
        WritePorts(a_Project);
        break;
      case image::kFrames:
        WriteFrames(a_Project);
        break;
      case image::kSamplingBuffers:
        WriteSampling();
        break;
      case image::kTransfers:
        WriteTransfers(a_Project);
        break;
      default:  // the reserved section stays empty; alarms need the text writers
        break;
    }
    if (m_Image.Length() != start) {
      m_Image.PatchU32(image::kDirectoryOffset + 4 * section, static_cast<uint32_t>(start));
    }
  }
  const auto length = static_cast<uint32_t>(m_Image.Length());
  m_Image.PatchU32(image::kLengthOffset, length);
  m_Image.PatchU32(image::kChecksumOffset, image::Checksum(m_Image.Bytes().data(), length));
  return problems;
}

void CImageCompiler::WritePorts(const CKV410Project& a_Project) {
  int count = a_Project.GetCanPort().IsEnabled() ? 1 : 0;
  for (int i = 0; i < CKV410Project::kSerialPortCount; ++i) count += a_Project.GetPort(i)->IsEnabled();
  m_Image.AppendU32(static_cast<uint32_t>(count));
  std::size_t slot = m_Image.ReserveSlots(static_cast<std::size_t>(count));
  const auto write = [&](const auto& a_Port) {
    std::vector<uint8_t> record;
    a_Port.Compile(record);
    if (record.empty()) return;
    m_Image.PatchU32(slot, static_cast<uint32_t>(m_Image.Length()));
    slot += 4;
    m_Image.AppendBytes(record);
  };
  for (int i = 0; i < CKV410Project::kSerialPortCount; ++i) write(*a_Project.GetPort(i));
  write(a_Project.GetCanPort());
}

void CImageCompiler::WriteFrames(CKV410Project& a_Project) {
  const auto& frames = a_Project.GetFrames();
  m_Image.AppendU32(static_cast<uint32_t>(frames.size()));
  const std::size_t slots = m_Image.ReserveSlots(frames.size());
  for (std::size_t i = 0; i < frames.size(); ++i) {
    m_Image.PatchU32(slots + 4 * i, static_cast<uint32_t>(m_Image.Length()));
    WriteFrame(*frames[i]);
  }
}

void CImageCompiler::WriteFrame(CHMIFrame& a_Frame) {
  const auto& elements = a_Frame.GetElements();
  m_Image.AppendU8(4);
  m_Image.AppendU8(0);
  m_Image.AppendU16(0);
  m_Image.AppendU8(0);
  m_Image.AppendU8(0);
  m_Image.AppendU8(static_cast<uint8_t>(m_DisplayWidth - 1));
  m_Image.AppendU8(static_cast<uint8_t>(m_DisplayHeight - 1));
  m_Image.AppendU16(a_Frame.GetNumber());
  m_Image.AppendU16(0);
  m_Image.AppendU16(a_Frame.GetPrevious());
  m_Image.AppendU16(a_Frame.GetNext());
  m_Image.AppendU16(0);
  m_Image.AppendU16(static_cast<uint16_t>(elements.size()));
  const std::size_t slots = m_Image.ReserveSlots(elements.size());
  for (const auto& e : elements) m_Image.AppendU16(static_cast<uint16_t>(e->GetTypeCode()));
  // Focus order: the indices of the elements that take part, by ascending order value;
  // equal values keep their list order.
  std::vector<std::size_t> focus;
  for (std::size_t i = 0; i < elements.size(); ++i) {
    if (elements[i]->GetInputOrder() != CGraphElement::kNotInFocusOrder) focus.push_back(i);
  }
  std::stable_sort(focus.begin(), focus.end(), [&](std::size_t a_A, std::size_t a_B) {
    return elements[a_A]->GetInputOrder() < elements[a_B]->GetInputOrder();
  });
  for (std::size_t index : focus) m_Image.AppendU16(static_cast<uint16_t>(index));
  m_Image.AppendU16(0xFFFF);
  for (std::size_t i = 0; i < elements.size(); ++i) {
    m_Image.Align();
    m_Image.PatchU32(slots + 4 * i, static_cast<uint32_t>(m_Image.Length()));
    elements[i]->Compile(*this);
  }
}

void CImageCompiler::WriteSampling() {
  m_Image.AppendU32(static_cast<uint32_t>(m_Sampling.size()));
  m_Image.Align();
  const std::size_t first = m_Image.Length() + 4 * m_Sampling.size();
  for (std::size_t i = 0; i < m_Sampling.size(); ++i) {
    m_Image.AppendU32(static_cast<uint32_t>(first + image::kSamplingEntrySize * i));
  }
  for (const auto& entry : m_Sampling) m_Image.Append(entry.data(), entry.size());
}

void CImageCompiler::WriteTransfers(CKV410Project& a_Project) {
  auto& items = a_Project.GetTransfers().m_Items;
  m_Image.AppendU32(static_cast<uint32_t>(items.size()));
  const std::size_t slots = m_Image.ReserveSlots(items.size());
  for (std::size_t i = 0; i < items.size(); ++i) {
    m_Image.Align();
    m_Image.PatchU32(slots + 4 * i, static_cast<uint32_t>(m_Image.Length()));
    items[i].Compile(m_Image);
  }
}
