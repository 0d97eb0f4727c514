#include "editor/compiler/ImageCompiler.h"

#include <algorithm>

#include "common/ImageFormat.h"
#include "editor/devices/EditorContext.h"
#include "editor/project/KV410Project.h"
#include "editor/screens/TrendGE.h"

namespace kd820 {

CImageCompiler::CImageCompiler(CEditorContext& a_Context) : m_Resources(a_Context) {}

bool CImageCompiler::SetDisplaySize(int32_t a_Width, int32_t a_Height) {
  if (a_Width < 1 || a_Width > kMaxDisplaySize || a_Height < 1 || a_Height > kMaxDisplaySize) {
    return false;
  }
  m_DisplayWidth = a_Width;
  m_DisplayHeight = a_Height;
  return true;
}

void CImageCompiler::CollectSamplingEntries(const CKV410Project& a_Project) {
  std::vector<CResourceWriter::SamplingEntry> sampling;
  for (const auto& frame : a_Project.GetFrames()) {
    for (const auto& element : frame->GetElements()) {
      if (element->GetTypeCode() != kTypeTrend) continue;
      const auto entry = m_Resources.SamplingEntryOf(static_cast<const CTrendGE&>(*element));
      // Distinct entries, each new one in front: the table lists them newest first.
      if (std::find(sampling.begin(), sampling.end(), entry) == sampling.end()) {
        sampling.insert(sampling.begin(), entry);
      }
    }
  }
  m_Resources.SetSamplingEntries(std::move(sampling));
}

std::vector<std::string> CImageCompiler::Compile(const CKV410Project& a_Project) {
  std::vector<std::string> problems;
  m_Resources.Clear();
  m_Resources.SetBitmapLib(&a_Project.GetBitmapLib());
  m_LastRecordStart = 0;
  CImageBuffer& image = m_Resources.Buffer();
  CollectSamplingEntries(a_Project);

  image.Append(image::kTag, sizeof image::kTag);
  image.AppendU32(image::kFormatNumber);
  image.AppendU32(0);  // length
  image.AppendU32(0);  // checksum
  image.AppendU32(image::kDirectoryOffset);
  image.ReserveSlots(image::kSectionCount);

  for (std::size_t section = 0; section < image::kSectionCount; ++section) {
    image.Align();
    const std::size_t start = image.Length();
    switch (section) {
      case image::kSettings:
        m_Resources.SetWhere("", "settings");
        if (auto problem = a_Project.GetSettings().Compile(m_Resources)) problems.push_back(*problem);
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
        m_Resources.SetWhere("", "data transfers");
        WriteTransfers(a_Project);
        break;
      case image::kAlarms:
        m_Resources.SetWhere("", "alarms");
        a_Project.GetAlarms().Compile(m_Resources, a_Project);
        break;
      default:  // the reserved section stays empty
        break;
    }
    if (image.Length() != start) {
      image.PatchU32(image::kDirectoryOffset + 4 * section, static_cast<uint32_t>(start));
    }
  }
  if (m_LastRecordStart >= image::kElementOffsetLimit) {
    problems.push_back("the image is too large for the panel: element records must start below byte " +
                       std::to_string(image::kElementOffsetLimit) + " (1 MB), the last one starts at byte " +
                       std::to_string(m_LastRecordStart) + ", " +
                       std::to_string(m_LastRecordStart - image::kElementOffsetLimit + 1) +
                       " bytes too far (the image has " + std::to_string(image.Length()) + " bytes)");
  }
  const auto length = static_cast<uint32_t>(image.Length());
  image.PatchU32(image::kLengthOffset, length);
  image.PatchU32(image::kChecksumOffset, image::Checksum(image.Bytes().data(), length));
  return problems;
}

void CImageCompiler::WritePorts(const CKV410Project& a_Project) {
  CImageBuffer& image = m_Resources.Buffer();
  int count = a_Project.GetCanPort().IsEnabled() ? 1 : 0;
  for (int i = 0; i < CKV410Project::kSerialPortCount; ++i) count += a_Project.GetPort(i)->IsEnabled();
  image.AppendU32(static_cast<uint32_t>(count));
  std::size_t slot = image.ReserveSlots(static_cast<std::size_t>(count));
  const auto write = [&](const auto& a_Port) {
    std::vector<uint8_t> record;
    a_Port.Compile(record, m_Resources.Context().Problems());
    if (record.empty()) return;
    image.PatchU32(slot, static_cast<uint32_t>(image.Length()));
    slot += 4;
    image.AppendBytes(record);
  };
  for (int i = 0; i < CKV410Project::kSerialPortCount; ++i) write(*a_Project.GetPort(i));
  write(a_Project.GetCanPort());
}

void CImageCompiler::WriteFrames(const CKV410Project& a_Project) {
  CImageBuffer& image = m_Resources.Buffer();
  const auto& frames = a_Project.GetFrames();
  image.AppendU32(static_cast<uint32_t>(frames.size()));
  const std::size_t slots = image.ReserveSlots(frames.size());
  for (std::size_t i = 0; i < frames.size(); ++i) {
    image.PatchU32(slots + 4 * i, static_cast<uint32_t>(image.Length()));
    WriteFrame(*frames[i]);
  }
}

void CImageCompiler::WriteFrame(const CHMIFrame& a_Frame) {
  CImageBuffer& image = m_Resources.Buffer();
  const auto& elements = a_Frame.GetElements();
  image.AppendU8(4);
  image.AppendU8(0);
  image.AppendU16(0);
  image.AppendU8(0);
  image.AppendU8(0);
  image.AppendU8(static_cast<uint8_t>(m_DisplayWidth - 1));
  image.AppendU8(static_cast<uint8_t>(m_DisplayHeight - 1));
  image.AppendU16(a_Frame.GetNumber());
  image.AppendU16(0);
  image.AppendU16(a_Frame.GetPrevious());
  image.AppendU16(a_Frame.GetNext());
  image.AppendU16(0);
  image.AppendU16(static_cast<uint16_t>(elements.size()));
  const std::size_t slots = image.ReserveSlots(elements.size());
  for (const auto& e : elements) image.AppendU16(static_cast<uint16_t>(e->GetTypeCode()));
  // Focus order: the indices of the elements that take part, by ascending order value;
  // equal values keep their list order.
  std::vector<std::size_t> focus;
  for (std::size_t i = 0; i < elements.size(); ++i) {
    if (elements[i]->GetInputOrder() != CGraphElement::kNotInFocusOrder) focus.push_back(i);
  }
  std::stable_sort(focus.begin(), focus.end(), [&](std::size_t a_A, std::size_t a_B) {
    return elements[a_A]->GetInputOrder() < elements[a_B]->GetInputOrder();
  });
  for (std::size_t index : focus) image.AppendU16(static_cast<uint16_t>(index));
  image.AppendU16(0xFFFF);
  for (std::size_t i = 0; i < elements.size(); ++i) {
    image.Align();
    image.PatchU32(slots + 4 * i, static_cast<uint32_t>(image.Length()));
    m_LastRecordStart = std::max(m_LastRecordStart, static_cast<uint32_t>(image.Length()));
    m_Resources.SetWhere(a_Frame.GetName(), elements[i]->GetName());
    elements[i]->Compile(m_Resources);
  }
  m_Resources.SetWhere("", "");
}

void CImageCompiler::WriteSampling() {
  CImageBuffer& image = m_Resources.Buffer();
  const auto& sampling = m_Resources.SamplingEntries();
  image.AppendU32(static_cast<uint32_t>(sampling.size()));
  image.Align();
  const std::size_t first = image.Length() + 4 * sampling.size();
  for (std::size_t i = 0; i < sampling.size(); ++i) {
    image.AppendU32(static_cast<uint32_t>(first + image::kSamplingEntrySize * i));
  }
  for (const auto& entry : sampling) image.Append(entry.data(), entry.size());
}

void CImageCompiler::WriteTransfers(const CKV410Project& a_Project) {
  CImageBuffer& image = m_Resources.Buffer();
  const auto& items = a_Project.GetTransfers().m_Items;
  image.AppendU32(static_cast<uint32_t>(items.size()));
  const std::size_t slots = image.ReserveSlots(items.size());
  for (std::size_t i = 0; i < items.size(); ++i) {
    image.Align();
    image.PatchU32(slots + 4 * i, static_cast<uint32_t>(image.Length()));
    items[i].Compile(m_Resources);
  }
}

}  // namespace kd820
